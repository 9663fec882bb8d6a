#pragma once

#include "pdfreader/PdfReadError.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One outline item's values as read; Dest is the position after its `[`.
struct TPdfOutlineItem {
    std::string title, parent, prev, next, first, last, count, a, se, c, f;
    std::int64_t dest = 0;
};

// A top-level item's destination page and title.
struct TPdfOutlineEntry {
    std::int32_t number = 0;
    std::int32_t generation = 0;
    std::string title;
};

// What the page walk knows of the document outline: the root's values, the
// item loaded last, and the top level, which is the same for every page and
// so is read once: the (destination, title) pairs in Next order up to where
// a search would stop, and the failure met there if any.
struct TPdfOutline {
    std::string type, first, last;
    std::int32_t count = 0;
    TPdfOutlineItem item;

    bool read = false;
    std::vector<TPdfOutlineEntry> entries;
    std::optional<EPdfReadError> error;
};
