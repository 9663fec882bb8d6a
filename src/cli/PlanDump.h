#pragma once

// Reading a plan back from the text printed on its pages, as the editor's
// open command does: each field is found at its fixed place on the page and
// its lines become the value that the editor would show and the next save
// would store. The result is the plan's JSON form (the keys and order of
// PlanJson.h), with null where the printed text does not give a value.

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plandump {

// The lines (CP932) printed at a field index 0..247, or nullptr when the
// file holds no text there. `pdfreader::TPdfStream::item` answers this.
using ItemLookup = std::function<const std::vector<std::string> *(int fieldIndex)>;

// True when the document information marks a plan file: Author "Ｒ１．０"
// and Subject "ＲＩＨＡ" after blanks and control bytes are removed from
// both ends. Both are CP932 bytes as read from the file.
bool isPlanFile(std::string_view author, std::string_view subject);

// "このＰＤＦファイルはリハビリ実施計画書ではありません。" (CP932).
const std::string &notAPlanMessage();

// The plan as the open command refills the editor from the printed items:
//   - PlanDate, BirthDate: the era date text read as "YYYY-MM-DD"; null when
//     it does not read as a date;
//   - Age, HDS: line 1 read as an integer (leading spaces, optional sign,
//     digits); null otherwise;
//   - Sex: "男性" 0, "女性" 1, anything else or nothing printed -1;
//   - KaigoLevel: position of line 1 among the seven care levels, else -1;
//   - flags: line 1 is "レ";
//   - memos: every line, "\n" between them; single-line fields: line 1;
//   - marks: line 1 followed by line 2, kept only as far as the letters
//     A, B, C appear in this order (what a mark cell can show);
//   - Special: "○" 1, "◎" 2, anything else 0;
//   - Team: 13 names, line 1 each.
// Texts are converted from CP932 to UTF-8. A field with nothing printed
// reads as empty (no lines).
nlohmann::ordered_json dumpPlan(const ItemLookup &item);

} // namespace plandump
