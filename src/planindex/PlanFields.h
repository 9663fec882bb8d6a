#pragma once

// Every field of a plan one by one, with the caption the form shows beside
// it and its value as the form shows it, in the order of the form. The
// differences between two plans (PlanDiff.h) are listed with these captions.
// Captions and values are code-page-932 texts.

#include "plan/PracticePlanType.h"
#include "planfile/PlanFieldTable.h"

#include <functional>
#include <string>
#include <vector>

namespace planindex {

// What kind of value a field holds; the summary of changes words each kind
// in its own way.
using FieldKind = planfile::FieldKind;

struct PlanField {
    // The record field, as written in code: "Name", "ExerciseFlag",
    // "ActivityItems[3].ABC[0]", "MotionItems[7].Special", "Team[1]" (row
    // and member positions as the record counts them).
    std::string key;
    // The caption as on the form; a cell of a table is captioned by its row
    // item and its column head, a field inside a group by the group and its
    // own caption, joined by a full-width space: "屋内移動　使用用具".
    std::string caption;
    FieldKind kind = FieldKind::Text;
    // The value as the form shows it (CP932). A blank target period ("　",
    // which the editor shows in an empty cell) reads as empty.
    std::function<std::string(const TPRACTDATA &)> value;
};

// Every field of the record (one for each printed field) in the order of the form: page 1 top to
// bottom (each table row by row, a row left to right), then page 2.
const std::vector<PlanField> &planFields();

} // namespace planindex
