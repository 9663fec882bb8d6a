#pragma once

// The differences between two plans of a patient, field by field with the
// form's captions, and a short summary of them for the field
// 前回計画書作成時からの変化点 of the newer plan. Texts are CP932.

#include "planindex/PlanFields.h"
#include "plan/PracticePlanType.h"

#include <string>
#include <vector>

namespace planindex {

struct FieldChange {
    const PlanField *field = nullptr; // an element of planFields()
    std::string before;               // the value in the older plan
    std::string after;                // the value in the newer plan
};

// The fields whose shown values differ, in the order of planFields().
std::vector<FieldChange> diffPlans(const TPRACTDATA &older, const TPRACTDATA &newer);

// One line per change, "・caption：before → after" (CR LF between lines),
// leaving out the plan date, the age and 前回計画書作成時からの変化点 itself,
// which always change or describe the change. An empty value reads "なし";
// a memo's line breaks become "／"; a value longer than 40 bytes is cut at a
// character boundary and ends with "…". Empty when nothing else changed.
std::string changeSummary(const std::vector<FieldChange> &changes);

} // namespace planindex
