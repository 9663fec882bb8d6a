#pragma once

// A layout version: the fields of a plan and the items of both printed
// pages, as one version of the form prints them. Every file names the
// layout that wrote it (a file without a mark is layout 1, as every file of
// the first release is); the decoder, the fill, the read-back check and the
// JSON form take the layout of the file at hand, and a save writes the
// newest. A released layout never changes: a changed form is a new version,
// and every file an older one wrote still reads back sound.

#include "planfile/PlanFieldTable.h"

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace planfile {

enum class LayoutItemKind { Label, Text, Rect };

// One item of a printed page. Coordinates are whole points relative to the
// page's layout panel, y downward.
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

// A printed page, and the panel on it that holds every item (points, y down).
struct PageDef {
    int width;
    int height;
    int panelLeft;
    int panelTop;
    int panelWidth;
    int panelHeight;
};

struct PlanLayout {
    int version; // from 1
    std::span<const PlanField> fields;
    std::span<const LayoutItemDef> page1Items;
    std::span<const LayoutItemDef> page2Items;
    std::array<PageDef, 2> pages;

    // The items of page 1 or 2 in printing order.
    std::span<const LayoutItemDef> items(int page) const { return page == 1 ? page1Items : page2Items; }
    // The field kept in a record member ("Name", "Team[1]"), or nullptr.
    const PlanField *field(std::string_view key) const;
};

// The layouts a build reads, oldest first; the last is the one it writes.
class LayoutCatalog {
public:
    explicit LayoutCatalog(std::vector<const PlanLayout *> layouts);
    const PlanLayout &newest() const { return *m_layouts.back(); }
    // The layout of a version, or nullptr when this build does not know it.
    const PlanLayout *find(int version) const;

private:
    std::vector<const PlanLayout *> m_layouts;
};

// The layouts of this build (generated, PlanLayouts.cpp).
const LayoutCatalog &builtInLayouts();
// The layout a save writes.
const PlanLayout &currentLayout();

// What a caller works out from a layout once and keeps while the program
// runs (lookup tables, orders): `make(layout)` runs on the first call for
// each layout, and every later call returns that. Safe on any thread.
template <class T, class Make> const T &perLayout(const PlanLayout &layout, Make make)
{
    static std::mutex mutex;
    static std::map<const PlanLayout *, std::unique_ptr<const T>> made;
    const std::lock_guard lock(mutex);
    auto &slot = made[&layout];
    if (!slot) {
        slot = std::make_unique<const T>(make(layout));
    }
    return *slot;
}

// The mark of a layout version in a file's Keywords: none for layout 1 (so
// that its files stay what they have always been), "OvilantLayout N" from
// layout 2 on.
std::string layoutMark(int version);
// The layout version a file's Keywords name, blanks around them aside: 1
// for a text that is no mark (files of layout 1 carry an empty text), N for
// "OvilantLayout N", and 0 for a mark whose number does not read: a file of
// a layout that no build of today knows.
int markedLayout(std::string_view keywords);

// "この計画書は新しい版のOvilantで作られています。" (CP932): a file of a
// layout this build does not know.
inline constexpr std::string_view kNewerLayoutMessage =
    "\x82\xB1\x82\xCC\x8C\x76\x89\xE6\x8F\x91\x82\xCD\x90\x56\x82\xB5\x82\xA2\x94\xC5\x82\xCC\x4F\x76\x69\x6C"
    "\x61\x6E\x74\x82\xC5\x8D\xEC\x82\xE7\x82\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81\x42";

} // namespace planfile
