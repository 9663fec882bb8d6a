#pragma once

// Small text helpers shared by the libraries, the editor and the
// command-line tool: one integer reader and one trim. Texts are CP932 bytes;
// no byte below 0x21 is part of a double-byte character, so trimming by
// bytes never cuts a character.

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace plantext {

// What an integer text may look like besides its digits.
enum class IntForm {
    // Decimal digits only, the whole text: what a PDF number or a date
    // field holds. No sign, no blanks.
    Digits,
    // Leading spaces, an optional + or -, then digits to the end: what the
    // editor reads from a short number field. Trailing blanks are refused.
    Signed,
};

// The whole text as an integer of type T; nothing when the text has another
// shape or its value does not fit T.
template <class T>
std::optional<T> parseInt(std::string_view text, IntForm form = IntForm::Digits)
{
    bool negative = false;
    if (form == IntForm::Signed) {
        while (!text.empty() && text.front() == ' ') {
            text.remove_prefix(1);
        }
        if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
            negative = text.front() == '-';
            text.remove_prefix(1);
        }
    }
    // from_chars takes a minus of its own; the sign was handled above.
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt;
    }
    T value{};
    const char *const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return negative ? static_cast<T>(-value) : value;
}

// The text without its leading and trailing blanks and control bytes
// (every byte up to the space).
std::string_view trimmed(std::string_view text);

} // namespace plantext
