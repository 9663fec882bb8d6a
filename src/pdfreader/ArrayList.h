#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
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

    // Offset of the first in-use entry for (object number, generation) in
    // list order, so a newer section overrides an older one and free entries
    // are passed over. Object 0 is never found.
    std::optional<std::int64_t> find(std::int64_t objectNumber, std::int32_t generation) const;

private:
    struct Key {
        std::int64_t number;
        std::int32_t generation;
        bool operator==(const Key &) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key &k) const
        {
            return std::hash<std::int64_t>()(k.number * 65599 + k.generation);
        }
    };

    std::vector<TXrefEntry> m_entries;
    // Built on the first lookup after a change; keeps the first in-use entry
    // of each key, which is what a scan in list order would find.
    mutable std::unordered_map<Key, std::int64_t, KeyHash> m_index;
    mutable bool m_indexValid = false;
};
