#pragma once

// Reading and writing one field of a plan record through its row of the
// field table (PlanFieldTable.h), and the text the printed form shows for
// it. Every text is code page 932.

#include "plan/PracticePlanType.h"
#include "planfile/PlanLayouts.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace planfile {

// The field of the newest layout with this record key
// ("ActivityItems[3].Goods") or editor control name ("Goods3"); nullptr
// when there is none.
const PlanField *fieldByKey(std::string_view key);
const PlanField *fieldByControl(std::string_view control);

// The fields of a layout that the checks before a save examine, in the
// order they do.
const std::vector<const PlanField *> &checkedFields(const PlanLayout &layout = currentLayout());

// The field's caption in CP932.
std::string fieldCaption(const PlanField &field);

// The texts a Choice field's value indexes.
std::span<const std::string_view> choiceItems(ChoiceList list);

// The value of a Text, Memo or Mark field, and storing one (cut to the
// member's capacity as the record cuts it). Other kinds read as empty and
// ignore a stored text.
std::string_view fieldText(const TPRACTDATA &plan, const PlanField &field);
void setFieldText(TPRACTDATA &plan, const PlanField &field, std::string_view text);

// The value of a Number, Choice or Priority field (a Tick reads 0 or 1; a
// Date or text field 0), and storing one.
std::int32_t fieldNumber(const TPRACTDATA &plan, const PlanField &field);
void setFieldNumber(TPRACTDATA &plan, const PlanField &field, std::int32_t value);

// The value of a Tick field, and storing one.
bool fieldTick(const TPRACTDATA &plan, const PlanField &field);
void setFieldTick(TPRACTDATA &plan, const PlanField &field, bool value);

// The value of a Date field, and storing one.
TDateTime fieldDate(const TPRACTDATA &plan, const PlanField &field);
void setFieldDate(TPRACTDATA &plan, const PlanField &field, TDateTime value);

// The text the form prints for the field:
//   Date: the era date text; Number: decimal; Choice: the chosen item, empty
//   for none; Tick: "レ", or a single space (which prints nothing) when not
//   set; Mark: the letters, the third on a second line ("AB" CR "C");
//   Priority: "　", "○" or "◎", empty for any other value; Text and Memo: the
//   text as it is.
std::string printedText(const TPRACTDATA &plan, const PlanField &field);

// The value as the editor shows it, for listing a field beside its caption:
// like printedText, but an unset tick and a blank priority mark or target
// period show as empty, and marks as the full-width letters Ａ, Ｂ, Ｃ.
std::string shownText(const TPRACTDATA &plan, const PlanField &field);

} // namespace planfile
