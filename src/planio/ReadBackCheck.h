#pragma once

// Whether a plan file reads back as printed. Our writer is deterministic:
// the plan read from a file's printed text (decoded once, as it is opened),
// laid out again by the report engine, prints every text object of both
// pages at the same point with the same lines: every field, every fixed
// caption and the page-2 header. A file changed after it was written (a
// damaged byte in a text, a lost text object, a moved one, a changed
// caption) prints something the plan read from it does not, and so is
// found out, even when the change only makes a field read as empty. A text
// object taken out whole (a filled cell that then prints nothing) leaves the
// text colour selection printed before it, which is counted per page. The
// printed age must be the one the printed dates give, and the plan read
// back must also pass the checks a save makes (a character a save would
// refuse, a text over its limit).
//
// Equal means equal as printed: blanks and control bytes at the end of a
// text object's last shown line, and blank lines after it, show nothing, so
// a text cut at a blank or before a blank line compares equal to the same
// text laid out again, which drops them. A memo whose box wraps is laid out
// at the line breaks the file shows (reading joins its printed lines with
// line breaks), so where the wrap broke it is not compared. The name the
// page-2 header repeats in a box wider than the name field's is compared as
// laid out from what that header shows: both boxes must show it so.
//
// No file is written and none parsed again: the layout runs on a canvas
// that only records the text objects, with the same measuring and line
// breaking as the file's.

#include "planio/PlanRead.h"

#include <cstdint>
#include <optional>
#include <string>

namespace planio {

// Where the file and the plan read from it first part.
struct Difference {
    // Where the file's text object lies (page from 1, whole units), or where
    // the layout prints one the file lacks, or the field's place when a
    // check before a save refuses its value.
    int page = 0;
    std::int64_t x = 0;
    std::int64_t y = 0;
    // The field index printed there, or -1 for a fixed text, for a text
    // object the layout does not print, or when laying the plan out failed
    // altogether.
    int fieldIndex = -1;
    // The layout item printed there ("NameText", "SexLabel"); empty for a
    // text object the layout does not print.
    std::string itemName;
};

// Compares the text objects of a plan file (read.items, page and content
// order) with those the plan read from it (read.printed) prints, object by
// object, then runs the checks a save makes over that plan. Nothing when
// the file is sound.
std::optional<Difference> findDifference(const PlanFileRead &read);

// "この計画書ファイルは一部が読み取れない可能性があります。\n印刷された計画書と照らし合わせてください。" (CP932)
const std::string &damagedPlanMessage();

} // namespace planio
