#pragma once

// Reading a plan back from the text printed on its pages, as the editor's
// open command does (planfile::decodePlan): each field is found at its fixed
// place on the page and its lines become the value that the editor would
// show and the next save would store. The result is the plan's JSON form
// (the keys and order of PlanJson.h), with null where the printed text does
// not give a value.

#include "planfile/PlanDecode.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plandump {

// The lines (CP932) printed at a field index, or nullptr when the
// file holds no text there. `pdfreader::TPdfStream::item` answers this.
using ItemLookup = std::function<const std::vector<std::string> *(int fieldIndex)>;

// True when the document information marks a plan file
// (planfile::isPlanFile). Both are CP932 bytes as read from the file.
bool isPlanFile(std::string_view author, std::string_view subject);

// "このＰＤＦファイルはリハビリ実施計画書ではありません。" (CP932).
const std::string &notAPlanMessage();

// The plan as the open command refills the editor from the printed items,
// in the JSON form of planjson::planToJson: PlanDate and BirthDate are null
// when the printed era date text does not read as a date, Age and HDS when
// line 1 does not read as a number. Texts are converted from CP932 to UTF-8.
// The fields are those of `layout`, the layout that wrote the file.
nlohmann::ordered_json dumpPlan(const ItemLookup &item, const planfile::PlanLayout &layout = planfile::currentLayout());
nlohmann::ordered_json dumpPlan(const planfile::PrintedPlan &printed,
                                const planfile::PlanLayout &layout = planfile::currentLayout());

} // namespace plandump
