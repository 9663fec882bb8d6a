#pragma once

#include "pdfreader/PdfReadError.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

// One outline item's values as read; Dest is the position after its `[`.
struct TPdfOutlineItem {
    std::string title, parent, prev, next, first, last, count, a, se, c, f;
    std::int64_t dest = 0;
};

// What the page walk knows of the document outline: the root's values, the
// item loaded last, and the top level, which is the same for every page and
// so is read once: the title of the first item naming each destination page
// (object number and generation), read in Next order up to where a search
// would stop, and the failure met there if any. Looking a page up costs the
// same however long the outline is, since a page tree may visit pages
// thousands of times.
struct TPdfOutline {
    std::string type, first, last;
    std::int32_t count = 0;
    TPdfOutlineItem item;

    bool read = false;
    std::map<std::pair<std::int32_t, std::int32_t>, std::string> titles;
    std::optional<EPdfReadError> error;
};
