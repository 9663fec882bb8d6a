#include "plan/Marks.h"

#include "plan/Cp932.h"

#include <array>

namespace {

// "Ａ", "Ｂ", "Ｃ" as CP932 bytes, index 0-2.
const std::array<std::string, 3> &fullWidthLetters()
{
    static const std::array<std::string, 3> letters{cp932::fromUtf8("Ａ"), cp932::fromUtf8("Ｂ"),
                                                    cp932::fromUtf8("Ｃ")};
    return letters;
}

constexpr std::array<char, 3> kHalfWidthLetters{'A', 'B', 'C'};

} // namespace

std::string MarkToHalfWidth(std::string_view mark)
{
    const auto &full = fullWidthLetters();
    std::string result;
    // Position p (0-2) holds two bytes and may carry the letters from index p on.
    for (std::size_t position = 0; position < 3; ++position) {
        const std::size_t offset = position * 2;
        if (mark.size() < offset + 2) {
            break;
        }
        const std::string_view pair = mark.substr(offset, 2);
        for (std::size_t letter = position; letter < 3; ++letter) {
            if (pair == full[letter]) {
                result += kHalfWidthLetters[letter];
                break;
            }
        }
    }
    return result;
}

std::string MarkToFullWidth(std::string_view letters)
{
    const auto &full = fullWidthLetters();
    std::string result;
    for (std::size_t position = 0; position < 3 && position < letters.size(); ++position) {
        for (std::size_t letter = position; letter < 3; ++letter) {
            if (letters[position] == kHalfWidthLetters[letter]) {
                result += full[letter];
                break;
            }
        }
    }
    return result;
}
