#pragma once

// Reading a plan back from the text printed on its pages. Each field is the
// text object that starts at the field's fixed place (PlanFieldTable.h);
// nothing is found by label text or by order. The open command puts the
// result into the editor's controls, `ovilant-plan dump` prints it.

#include "plan/PracticePlanType.h"
#include "planfile/PlanCheck.h"
#include "planfile/PlanLayouts.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace planfile {

// How far (in whole units, both ways, bounds included) a text object may
// start from a field's position and still hold the field.
constexpr int kFieldTolerance = 5;

// True when a text object starting at (x, y) of `page` lies within
// kFieldTolerance of the point (pointX, pointY) of page `pointPage`.
bool liesNear(int page, std::int64_t x, std::int64_t y, int pointPage, std::int64_t pointX, std::int64_t pointY);

// True when a text object starting at (x, y) of `page` holds `field`: it
// lies near the field's position.
bool liesAtField(const PlanField &field, int page, std::int64_t x, std::int64_t y);

// Where a text object starts: its page (from 1) and the point its Td moved
// to in whole PDF units (truncated toward zero).
struct ItemPlace {
    int page;
    std::int64_t x;
    std::int64_t y;
};

// For every field index of `layout`, the index of the text object that
// holds it: the first of `places`, in list order, that lies at the field;
// kNoItem when there is none, and for every field index not below the
// number of places (a list shorter than the field index holds none of it).
// One item may hold several fields. Takes time in proportion to the number
// of places.
constexpr std::size_t kNoItem = static_cast<std::size_t>(-1);
using FieldItems = std::vector<std::size_t>;
FieldItems findFieldItems(std::span<const ItemPlace> places, const PlanLayout &layout = currentLayout());
// The same when `places` are some of the file's `itemCount` text objects, in
// their order, among them every object that lies at a field wanted: those
// fields are found as among all the objects, the others may be missed.
FieldItems findFieldItems(std::span<const ItemPlace> places, std::size_t itemCount, const PlanLayout &layout);

// The lines printed for a field index of the layout, or nullptr when nothing
// holds it.
using FieldLines = std::function<const std::vector<std::string> *(int fieldIndex)>;

// Every field of the plan as read from the printed text:
//   - texts: line 1 (single-line fields) or every line joined by CR LF (memos);
//   - Sex: 0 for "男性", 1 for "女性", -1 for anything else or nothing;
//   - KaigoLevel: the position of line 1 among the care levels, else -1;
//   - ticks: line 1 is "レ";
//   - marks: line 1 followed by line 2, kept as far as a mark cell shows
//     them (the letters A, B, C in this order);
//   - Special: 1 for "○", 2 for "◎", 0 for anything else;
//   - PlanDate, BirthDate: the era date text read as a date; Age, HDS: line 1
//     read as a number; 0 when the text does not read (see the flags).
// A field with nothing printed reads as an empty text.
struct PrintedPlan {
    // The layout whose fields were read.
    const PlanLayout *Layout = nullptr;
    TPRACTDATA Plan;
    // Line 1 of the date, age and HDS-R fields as printed, and whether each
    // read as a date or a 32-bit number.
    std::string PlanDateText;
    std::string BirthText;
    std::string AgeText;
    std::string HDSText;
    bool HasPlanDate = false;
    bool HasBirthDate = false;
    bool HasAge = false;
    bool HasHDS = false;
    // Line 1 of each row's priority mark as printed, rows in the order of
    // planRowNumbers() (0-12, then 20-27).
    std::vector<std::string> PriorityTexts;
    // Line 1 of every field as printed, by field index, and whether a Date
    // or Number field's line read as a date or a 32-bit number (always true
    // for the other kinds).
    std::vector<std::string> FirstLines;
    std::vector<bool> Readable;

    // Line 1 of the field printed with the same record member as `field`
    // (a field of any layout); empty when the plan's layout lacks it.
    std::string_view firstLine(const PlanField &field) const;
};

// The plan printed in the fields of `layout`; a field the layout does not
// print keeps the record's empty value.
PrintedPlan decodePlan(const FieldLines &lines, const PlanLayout &layout = currentLayout());
// The same for the fields of `layout` with the indices `fields` alone: every
// other field keeps the record's empty value and an empty line 1.
PrintedPlan decodePlan(const FieldLines &lines, const PlanLayout &layout, std::span<const int> fields);

} // namespace planfile
