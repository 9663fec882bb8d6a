#pragma once

// The differences between two plans of a patient, field by field with the
// form's captions, and a short summary of them for the field
// 前回計画書作成時からの変化点 of the newer plan. Texts are CP932.

#include "plan/PracticePlanType.h"
#include "planfile/PlanFieldTable.h"

#include <string>
#include <vector>

namespace planindex {

// A field whose value differs; values as the form shows them
// (planfile::shownText).
struct FieldChange {
    const planfile::PlanField *field = nullptr; // a field of the newest layout
    std::string before;                         // the value in the older plan
    std::string after;                          // the value in the newer plan
};

// The fields whose shown values differ, in the order of the form: page 1
// top to bottom (the cells of a table row together, left to right), then
// page 2.
std::vector<FieldChange> diffPlans(const TPRACTDATA &older, const TPRACTDATA &newer);

// One line per change, "・caption：before → after" (CR LF between lines),
// leaving out the plan date, the age and 前回計画書作成時からの変化点 itself,
// which always change or describe the change. An empty value reads "なし";
// a memo's line breaks become "／"; a value longer than 40 bytes is cut at a
// character boundary and ends with "…". Empty when nothing else changed.
std::string changeSummary(const std::vector<FieldChange> &changes);

} // namespace planindex
