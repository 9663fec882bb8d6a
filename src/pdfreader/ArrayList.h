#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One entry of a cross-reference section.
struct TXrefEntry {
    std::int64_t objectNumber = 0; // first number of the subsection + index in it
    std::int32_t generation = 0;
    std::int64_t offset = 0;
    char kind = 'f'; // 'n' in use, 'f' free
};

// The entries of every cross-reference section read, newest section first.
class TArrayList {
public:
    void add(const TXrefEntry &entry);
    void clear();
    std::size_t count() const { return m_entries.size(); }
    const TXrefEntry &at(std::size_t index) const { return m_entries.at(index); }

    // Offset of the object's newest revision: the first entry for the object
    // number in list order (a newer section overrides an older one, and the
    // first of two entries in one section counts) when that entry is in use
    // and has this generation. An object freed or given another generation
    // in a newer section is not found, as a viewer does not show it. Object
    // 0 is never found.
    std::optional<std::int64_t> find(std::int64_t objectNumber, std::int32_t generation) const;

private:
    std::vector<TXrefEntry> m_entries;
    // Built on the first lookup after a change: the positions in m_entries
    // of each object number's first entry, sorted by object number and
    // searched by halving, so that no choice of numbers makes a lookup slow.
    mutable std::vector<std::uint32_t> m_newest;
    mutable bool m_indexValid = false;
};
