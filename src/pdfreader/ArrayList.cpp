#include "pdfreader/ArrayList.h"

void TArrayList::add(const TXrefEntry &entry)
{
    m_entries.push_back(entry);
    m_indexValid = false;
}

void TArrayList::clear()
{
    m_entries.clear();
    m_index.clear();
    m_indexValid = false;
}

std::optional<std::int64_t> TArrayList::find(std::int64_t objectNumber, std::int32_t generation) const
{
    if (objectNumber == 0)
        return std::nullopt;
    if (!m_indexValid) {
        m_index.clear();
        for (const TXrefEntry &entry : m_entries) {
            if (entry.kind == 'n')
                m_index.try_emplace(Key{entry.objectNumber, entry.generation}, entry.offset);
        }
        m_indexValid = true;
    }
    const auto it = m_index.find(Key{objectNumber, generation});
    if (it == m_index.end())
        return std::nullopt;
    return it->second;
}
