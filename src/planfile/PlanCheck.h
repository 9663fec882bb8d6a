#pragma once

// The checks a plan passes before it is saved: byte limits, the birth date
// and the HDS-R score, in one fixed order, stopping at the first fault. The
// editor runs them over its controls, `ovilant-plan render` over a JSON plan.
// Limits count code-page-932 bytes; a memo's line break (CR LF) counts 2.
// Messages are CP932 texts with "\n" as line break.

#include "plan/PracticePlanType.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace planfile {

constexpr std::size_t kName = 50;        // Name, Team[1-13]
constexpr std::size_t kHealthMemo = 254; // Kenkou, Gapei, Seikatsu
constexpr std::size_t kEtc = 38;         // EtcText
constexpr std::size_t kLine = 98;        // participation and impairment texts, SonotaText
constexpr std::size_t kGoods = 58;       // Goods, Kaigo of a row
constexpr std::size_t kTime = 8;         // Time of a row
constexpr std::size_t kBuffer = 1000;    // approach memos and page-2 memos
constexpr std::size_t kHds = 2;          // the HDS-R score as typed

// "入力文字数がオーバーしています。\n半角L文字・全角L/2文字以内で入力してください。"
// ("半角2文字で入力してください。" for the limit 2).
std::string tooLongMessage(std::size_t limit);
// "半角2文字の数字で入力してください。"
std::string hdsDigitsMessage();
// "0 から 30 までの数値を入力してください。"
std::string hdsRangeMessage();
// "日付エラーです。"
std::string dateErrorMessage();
// "使用できない文字が含まれています。" (a character code page 932 cannot hold)
std::string unrepresentableMessage();

// Reads a number as typed or printed (the HDS-R score, the age): leading
// spaces skipped, an optional sign, then digits; an empty or otherwise
// shaped text gives nothing.
std::optional<long> readNumber(std::string_view text);

// True when the birth date falls on a later calendar day than the plan date
// (times of day do not count): such a plan is refused with the date error.
bool bornAfterPlanDate(TDateTime birthDate, TDateTime planDate);

// The inputs that the checks examine, in the order they examine them.
// Goods, Kaigo and Time are cells of a table row; Team is one member's box.
enum class PlanInput {
    Name,
    BirthDate,
    Kenkou,
    Gapei,
    Seikatsu,
    EtcText,
    HomeWork,
    Social,
    GoOut,
    FreeTime,
    TaiinText,
    ExerciseText,
    SenseText,
    BrainText,
    KoushukuText,
    ArthralgiaText,
    SonotaText,
    HDS,
    Goods,
    Kaigo,
    Time,
    PTOTST0Text,
    Kango0Text,
    Jitchi0Text,
    PTOTST1Text,
    Kango1Text,
    Jitchi1Text,
    SelfHopeText,
    FarmilyHopeText,
    LifePointText,
    RihaTergetText,
    SelfDoText,
    AskFarmilyText,
    DiseseCareText,
    VariationText,
    RemarkText,
    Team,
};

// One input: for Goods, Kaigo and Time the row number (0-12, 20-27), for
// Team the member number (1-13), 0 otherwise.
struct PlanInputRef {
    PlanInput input = PlanInput::Name;
    int number = 0;
    friend bool operator==(const PlanInputRef &, const PlanInputRef &) = default;
};

// Every input in the order the checks examine them, rows (0-12, then 20-27,
// each Goods, Kaigo, Time) and team members (1-13) spelt out.
const std::vector<PlanInputRef> &checkedInputs();

// The record field an input is stored in: "Name", "BirthDate", ..., "Goods",
// "Team".
std::string_view inputName(PlanInput input);
// True for the inputs on the second page (the page-2 memos and the team).
bool onSecondPage(PlanInput input);

// The text of a text input in the record (every input but BirthDate and
// HDS), and storing one.
std::string_view inputText(const TPRACTDATA &plan, PlanInputRef ref);
void setInputText(TPRACTDATA &plan, PlanInputRef ref, std::string_view text);

// A plan as entered, before the checks: the record with the entered texts,
// ticks, choices and marks, and what the record holds only in another form.
// The record's BirthDate, Age and HDS are not read.
struct PlanEntry {
    TPRACTDATA Plan;
    std::string BirthText; // the birth date as an era date text
    std::string HDSText;   // the HDS-R score as typed
    // The first input (in check order) whose text has a character code page
    // 932 cannot hold; its text in Plan is then not what was entered.
    std::optional<PlanInputRef> Unrepresentable;
};

struct PlanFault {
    PlanInputRef where;
    std::string message; // CP932
};

// Runs the checks in their order and returns the first fault, or nothing
// when the plan may be saved:
//   Name; the birth date must read as an era date on or before the plan
//   date (entry.Plan.PlanDate); Kenkou, Gapei,
//   Seikatsu; EtcText; HomeWork, Social, GoOut, FreeTime, TaiinText; the
//   impairment texts and SonotaText; HDS (at most 2 bytes, a number, 0 to
//   30); rows 0-12 (Goods, Kaigo, Time each); PTOTST0Text, Kango0Text,
//   Jitchi0Text; rows 20-27; PTOTST1Text, Kango1Text, Jitchi1Text; the
//   page-2 memos; Team[1] to Team[13].
// An unrepresentable input fails before its length is measured.
//
// With `store`, every value whose step passed is copied into it in the same
// order, as the save does, and the fields after a fault keep their values:
// Sex after Name; BirthDate and Age (against store->PlanDate) after the birth
// date; KaigoLevel; the ticks Home and Etc before EtcText, Taiin before
// HomeWork, each impairment's tick before its text; a row's marks before its
// Goods. The rows' Special is never copied.
std::optional<PlanFault> CheckPlan(const PlanEntry &entry, TPRACTDATA *store = nullptr);

} // namespace planfile
