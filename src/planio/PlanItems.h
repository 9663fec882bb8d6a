#pragma once

// The reader's text items as the plan decoder reads them: a field's text is
// the item that starts near the field's place (planfile's rule, on
// coordinates truncated toward zero to whole units).

#include "pdfreader/PdfString.h"
#include "planfile/PlanDecode.h"

#include <array>
#include <span>
#include <vector>

namespace planio {

// For every field index of `layout`, the item of `items` that holds the
// field, or nullptr when none does.
using ItemsByField = std::vector<const TTextItem *>;
ItemsByField itemsByField(const std::vector<TTextItem> &items,
                          const planfile::PlanLayout &layout = planfile::currentLayout());
// The same when `items` are those of the file's `itemCount` text items that
// lie near some fields (planfile::findFieldItems): those fields are found as
// among all the items.
ItemsByField itemsByField(const std::vector<TTextItem> &items, std::size_t itemCount,
                          const planfile::PlanLayout &layout);

// The plan printed in `items` (all pages, in page and content order) in the
// fields of `layout`.
planfile::PrintedPlan decodeItems(const std::vector<TTextItem> &items,
                                  const planfile::PlanLayout &layout = planfile::currentLayout());
// The fields with the indices `fields` of the plan printed in some of a
// file's `itemCount` items (as itemsByField); the other fields keep the
// record's empty values.
planfile::PrintedPlan decodeItems(const std::vector<TTextItem> &items, std::size_t itemCount,
                                  const planfile::PlanLayout &layout, std::span<const int> fields);

} // namespace planio
