#pragma once

// Conversion between code-page-932 (Shift-JIS with the NEC and IBM
// extensions) byte strings and Unicode. Inside the core every plan text is a
// CP932 byte string and every length and limit counts its bytes; the GUI and
// the command-line tool convert at their edge through these functions only.
//
// Encoding follows Windows: characters that CP932 holds twice (NEC-selected
// and IBM extension rows, such as U+4E28 or U+2170) go to the IBM extension
// bytes, and the JIS variants (U+301C wave dash, U+2212 minus, ...) go to
// their CP932 look-alikes. A character CP932 cannot hold at all (emoji,
// U+20BB7 and the like) becomes "?"; callers that must not lose text ask
// firstUnrepresentable() first.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cp932 {

// True for the first byte of a double-byte character: 0x81-0x9F, 0xE0-0xFC.
constexpr bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// CP932 -> Unicode. A byte sequence that is not valid CP932 decodes to U+FFFD
// and decoding goes on with the next byte.
std::u16string toUtf16(std::string_view bytes);
std::string toUtf8(std::string_view bytes);

// Unicode -> CP932. Unrepresentable characters and broken surrogates or
// invalid UTF-8 become "?".
std::string fromUtf16(std::u16string_view text);
std::string fromUtf8(std::string_view text);

// Index (in UTF-16 code units, resp. UTF-8 bytes) of the first character that
// CP932 cannot represent, or nothing when the whole text converts losslessly.
std::optional<std::size_t> firstUnrepresentable(std::u16string_view text);
std::optional<std::size_t> firstUnrepresentableUtf8(std::string_view text);

// A character that CP932 holds only as a look-alike (U+301C wave dash as
// U+FF5E full-width tilde, U+00A5 yen sign as the backslash, ...): what
// fromUtf8 writes reads back as `to`.
struct LookAlike {
    char32_t from;
    char32_t to;
};
// The characters of a UTF-8 text that fromUtf8 turns into look-alikes,
// each once, in the order they first appear. Linear in the text: a text
// holds at most a few dozen such characters.
std::vector<LookAlike> lookAlikesUtf8(std::string_view text);

// Number of whole characters in the first `bytes` bytes of a CP932 text
// (a lead byte counts with its trail byte), and the inverse: the byte offset
// of character number `chars`. Used to map an edit control's caret, which
// counts characters, to byte positions and back.
std::size_t charsInBytes(std::string_view text, std::size_t bytes);
std::size_t bytesInChars(std::string_view text, std::size_t chars);

} // namespace cp932
