#pragma once

// Whether the texts of a plan fit their printed boxes. The plan file keeps
// only what prints: a line wider than its box is cut at the right edge and
// lines below the box's bottom are dropped, so whatever does not print is
// gone once the file is opened again. These functions say beforehand what
// will not print, with the report engine's own line breaking and measuring
// (TPRText::Layout), on the items the plan fill writes each input into.
//
// Texts are CP932; memo lines are separated by CR LF. Inputs printed by a
// label (the Time cells) are never cut: a label prints its whole text.

#include "plan/PracticePlanType.h"
#include "planfile/PlanFieldTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace planfit {

// A printed line wider than its box.
struct WideLine {
    int line = 0;     // the printed line, counted from 1
    std::string lost; // its bytes beyond the right edge
};

// What of one input's text will not print.
struct FieldFit {
    const planfile::PlanField *where = nullptr;
    std::vector<WideLine> wideLines;
    // The first printed line that falls below the box (from 1), 0 when none,
    // and the text from there to the end, which is dropped.
    int firstDroppedLine = 0;
    std::string dropped;

    bool fits() const { return wideLines.empty() && firstDroppedLine == 0; }
};

// The text fields of `plan` that would be cut, in the order the checks
// before saving examine them (planfile::checkedFields()). Empty when the
// whole plan prints.
std::vector<FieldFit> CheckPlanFit(const TPRACTDATA &plan);

// One field holding `text`, measured alone: for checking a control while it
// is edited.
FieldFit CheckFieldFit(const planfile::PlanField &field, std::string_view text);

// `text` with a line break (CR LF) wherever one of its printed lines is cut
// at the right edge, as often as needed, so that every piece fits the width
// as the printout measures it. A cut at a blank (half- or full-width), or
// right after a half-width one, puts the break in place of that blank;
// every other character is kept. Lines that fall below the box are not
// helped by this; CheckFieldFit of the result tells whether all of it prints.
// Lone CR or LF line breaks come back as CR LF.
std::string BreakWideLines(const planfile::PlanField &field, std::string_view text);

// The text of a memo field broken by BreakWideLines, when it is cut now and
// the broken text prints whole and stays within the field's byte limit (the
// checks before a save refuse more); nothing otherwise, and for every field
// that is not a memo.
std::optional<std::string> BreakToFit(const planfile::PlanField &field, std::string_view text);

// What the printed box of a text field shows: the most lines, and the most
// full-width (two-byte) and half-width characters one line shows; whether
// the box wraps its lines at blanks. All zero for a field printed by a
// label, which prints its whole text.
struct PrintedRoom {
    int lines = 0;
    int fullWidth = 0;
    int halfWidth = 0;
    bool wraps = false;
};
PrintedRoom RoomOf(const planfile::PlanField &field);

} // namespace planfit
