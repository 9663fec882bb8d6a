#pragma once

// The items of the two printed plan pages, in printing order, as generated
// by tools/gen_layout.py from the form's layout tables. Coordinates are
// whole points relative to the page's layout panel, y downward.

#include <array>

namespace planlayout {

enum class LayoutItemKind { Label, Text, Rect };

struct LayoutItemDef {
    int number; // position in the page's printing order, from 1
    const char *name;
    LayoutItemKind kind;
    int left;
    int top;
    int width;
    int height;
    int fontSize;     // labels and text blocks
    bool bold;        // only the title of page 2
    int leading;      // text blocks
    bool wordWrap;    // text blocks
    const char *text; // fixed content (UTF-8, lines separated by CR LF); empty for filled items
    bool filled;      // the content comes from the plan record
};

extern const std::array<LayoutItemDef, 495> kPage1Items;
extern const std::array<LayoutItemDef, 63> kPage2Items;

} // namespace planlayout
