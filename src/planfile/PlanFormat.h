#pragma once

// The fixed texts of a plan file, as the code-page-932 bytes that the file
// holds. The writer prints them, the open command and `ovilant-plan dump`
// compare printed lines with them, and the editor shows the same choices.

#include <array>
#include <string_view>

namespace planfile {

// Document information that marks a plan file.
inline constexpr std::string_view kAuthor = "\x82\x71\x82\x50\x81\x44\x82\x4F";  // "Ｒ１．０"
inline constexpr std::string_view kSubject = "\x82\x71\x82\x68\x82\x67\x82\x60"; // "ＲＩＨＡ"

// The sexes by the record's `Sex` 0 and 1 ("男性", "女性").
inline constexpr std::array<std::string_view, 2> kSexes = {"\x92\x6A\x90\xAB", "\x8F\x97\x90\xAB"};

// The care levels by the record's `KaigoLevel` 0 to 6: "要支援１", "要支援２",
// "要介護１" to "要介護５".
inline constexpr std::array<std::string_view, 7> kCareLevels = {
    "\x97\x76\x8E\x78\x89\x87\x82\x50", "\x97\x76\x8E\x78\x89\x87\x82\x51", "\x97\x76\x89\xEE\x8C\xEC\x82\x50",
    "\x97\x76\x89\xEE\x8C\xEC\x82\x51", "\x97\x76\x89\xEE\x8C\xEC\x82\x52", "\x97\x76\x89\xEE\x8C\xEC\x82\x53",
    "\x97\x76\x89\xEE\x8C\xEC\x82\x54"};

// A ticked check box prints "レ".
inline constexpr std::string_view kTick = "\x83\x8C";

// The priority marks by the rows' `Special` 0, 1, 2: "　" (a full-width
// space), "○", "◎".
inline constexpr std::array<std::string_view, 3> kPriorityMarks = {"\x81\x40", "\x81\x9B", "\x81\x9D"};

// "このＰＤＦファイルはリハビリ実施計画書ではありません。": what opening a file
// without the two markers reports.
inline constexpr std::string_view kNotAPlanMessage =
    "\x82\xB1\x82\xCC\x82\x6F\x82\x63\x82\x65\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\x83\x8A\x83\x6E\x83\x72"
    "\x83\x8A\x8E\xC0\x8E\x7B\x8C\x76\x89\xE6\x8F\x91\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1"
    "\x81\x42";

// An information text with leading and trailing blanks and control bytes
// (every byte up to 0x20) removed. No such byte is part of a double-byte
// character in code page 932.
std::string_view trimmedInfo(std::string_view text);

// True when the document information marks a plan file: the trimmed Author
// is kAuthor and the trimmed Subject is kSubject.
bool isPlanFile(std::string_view author, std::string_view subject);

// Position of `text` among `choices`, or -1 when it is none of them.
template <std::size_t N> int choiceIndex(const std::array<std::string_view, N> &choices, std::string_view text)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (choices[i] == text) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace planfile
