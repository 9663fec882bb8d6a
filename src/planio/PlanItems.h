#pragma once

// The reader's text items as the plan decoder reads them: a field's text is
// the item that starts near the field's place (planfile's rule, on
// coordinates truncated toward zero to whole units).

#include "pdfreader/PdfString.h"
#include "planfile/PlanDecode.h"

#include <array>
#include <vector>

namespace planio {

// For every field index, the item of `items` that holds the field, or
// nullptr when none does.
using ItemsByField = std::array<const TTextItem *, planfile::kFieldCount>;
ItemsByField itemsByField(const std::vector<TTextItem> &items);

// The plan printed in `items` (all pages, in page and content order).
planfile::PrintedPlan decodeItems(const std::vector<TTextItem> &items);

} // namespace planio
