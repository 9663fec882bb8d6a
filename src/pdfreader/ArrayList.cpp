#include "pdfreader/ArrayList.h"

#include <algorithm>

void TArrayList::add(const TXrefEntry &entry)
{
    m_entries.push_back(entry);
    m_indexValid = false;
}

void TArrayList::clear()
{
    m_entries.clear();
    m_newest.clear();
    m_indexValid = false;
}

std::optional<std::int64_t> TArrayList::find(std::int64_t objectNumber, std::int32_t generation) const
{
    if (objectNumber == 0)
        return std::nullopt;
    const auto numberAt = [this](std::uint32_t position) { return m_entries[position].objectNumber; };
    if (!m_indexValid) {
        // The entries' count is bounded by the file's size (far below 2^32).
        m_newest.resize(m_entries.size());
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            m_newest[i] = static_cast<std::uint32_t>(i);
        // A stable sort keeps list order among the entries of one number,
        // so the first of each run is the newest.
        std::stable_sort(m_newest.begin(), m_newest.end(),
                         [&](std::uint32_t a, std::uint32_t b) { return numberAt(a) < numberAt(b); });
        m_newest.erase(std::unique(m_newest.begin(), m_newest.end(),
                                   [&](std::uint32_t a, std::uint32_t b) { return numberAt(a) == numberAt(b); }),
                       m_newest.end());
        m_newest.shrink_to_fit();
        m_indexValid = true;
    }
    const auto it =
        std::lower_bound(m_newest.begin(), m_newest.end(), objectNumber,
                         [&](std::uint32_t position, std::int64_t number) { return numberAt(position) < number; });
    if (it == m_newest.end() || numberAt(*it) != objectNumber)
        return std::nullopt;
    const TXrefEntry &entry = m_entries[*it];
    if (entry.kind != 'n' || entry.generation != generation)
        return std::nullopt;
    return entry.offset;
}
