#pragma once

// Whether a plan file reads back as a whole. Our writer is deterministic:
// the plan read from a file's printed text (planfile::decodePlan), written
// again, prints its text objects at the same places and at every field's
// place the same text, whatever its creator text and time. A file changed after it
// was written (a damaged byte in a text, a lost text object, a moved one)
// prints something the plan read from it does not, and so is found out,
// even when the change only makes a field read as empty.

#include "pdfreader/PdfString.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace planio {

// The first field whose text item differs between the file and the plan
// read from it.
struct Difference {
    // Where the file's item lies (page from 1, whole units), or the field's
    // place when the file has none there.
    int page = 0;
    std::int64_t x = 0;
    std::int64_t y = 0;
    // The field (0..247), or -1 for a text object that lies elsewhere than
    // the plan's would, or when writing the plan failed altogether.
    int fieldIndex = -1;
    // The field's layout item name ("KenkouMemo"), empty without a field.
    std::string fieldName;
};

// Compares the text items read from a plan file (page and content order)
// with those of the plan they decode to, written again with `creator`
// (CP932, the file's Creator text): the item of every field (found as
// planio::itemsByField finds it) with its text, then the places of all
// items. Nothing when they agree.
std::optional<Difference> findDifference(const std::vector<TTextItem> &fileItems,
                                         const std::string &creator);

// "この計画書ファイルは一部が読み取れない可能性があります。\n印刷された計画書と照らし合わせてください。" (CP932)
const std::string &damagedPlanMessage();

} // namespace planio
