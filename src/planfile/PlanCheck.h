#pragma once

// The checks a plan passes before it is saved: byte limits, the birth date
// and the HDS-R score, in one fixed order, stopping at the first fault. The
// editor runs them over its controls, `ovilant-plan render` over a JSON plan.
// Limits count code-page-932 bytes; a memo's line break (CR LF) counts 2.
// Messages are CP932 texts with "\n" as line break.

#include "plan/PracticePlanType.h"
#include "planfile/PlanLayouts.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace planfile {

// The byte limit of the HDS-R score, whose message words it differently.
constexpr std::size_t kHds = 2;

// "入力文字数がオーバーしています。\n半角L文字・全角L/2文字以内で入力してください。"
// ("半角2文字で入力してください。" for the limit 2).
std::string tooLongMessage(std::size_t limit);
// "半角2文字の数字で入力してください。"
std::string hdsDigitsMessage();
// "0 から 30 までの数値を入力してください。"
std::string hdsRangeMessage();
// "日付エラーです。"
std::string dateErrorMessage();
// "使用できない文字が含まれています。" (a character code page 932 cannot hold,
// or a control character other than a line break)
std::string unrepresentableMessage();

// Reads a number as typed or printed (the HDS-R score, the age): leading
// spaces skipped, an optional sign, then digits; an empty or otherwise
// shaped text gives nothing.
std::optional<long> readNumber(std::string_view text);

// True when the birth date falls on a later calendar day than the plan date
// (times of day do not count): such a plan is refused with the date error.
bool bornAfterPlanDate(TDateTime birthDate, TDateTime planDate);

// A plan as entered, before the checks: the record with the entered texts,
// ticks, choices and marks, and what the record holds only in another form.
// The record's BirthDate, Age and HDS are not read.
struct PlanEntry {
    TPRACTDATA Plan;
    std::string BirthText; // the birth date as an era date text
    std::string HDSText;   // the HDS-R score as typed
    // The first checked field (in check order) whose text has a character
    // code page 932 cannot hold; its text in Plan is then not what was
    // entered. nullptr when there is none.
    const PlanField *Unrepresentable = nullptr;
};

struct PlanFault {
    const PlanField *where = nullptr;
    std::string message; // CP932
};

// Runs the checks in their order (the fields' check places) and returns the
// first fault, or nothing when the plan may be saved: a text field must
// hold at most its limit of bytes; the birth date must read as an era date
// on or before the plan date (entry.Plan.PlanDate); the HDS-R score must be
// at most 2 bytes, a number, 0 to 30. An unrepresentable field fails before
// its length is measured.
//
// With `store`, every value whose step passed is copied into it in the same
// order, and the fields after a fault keep their values: a field without a
// check is copied once every checked field before it in field order has
// passed (Sex after Name, a tick before the text that follows it, the
// marks of the tables before their texts); BirthDate and Age (against
// store->PlanDate) with the birth date. PlanDate and the rows' Special are
// never copied. The fields and their limits are those of `layout`.
std::optional<PlanFault> CheckPlan(const PlanEntry &entry, TPRACTDATA *store = nullptr,
                                   const PlanLayout &layout = currentLayout());

} // namespace planfile
