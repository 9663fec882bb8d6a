#pragma once

#include <cstddef>
#include <string>

namespace pdfreader {

// Decodes the body of a PDF literal string, the opening `(` already
// consumed: a backslash escapes the next byte (\n \r \t \b \f \( \) \\, one
// to three octal digits, backslash + end of line continues the line, any
// other byte stands for itself) and unescaped parentheses nest, so the
// string ends at the `)` that closes the first `(`. Bytes are otherwise
// taken as they stand.
//
// `get(byte)` delivers the next byte or returns false at the end of the
// input; `unget()` steps back over the byte just delivered. The string may
// decode to at most `maxBytes` bytes: the byte that would exceed them ends
// the reading with TooLong, so no string keeps more. EndOfInput when the
// input ends before the string does; `out` then holds what was read.
enum class LiteralEnd { Closed, EndOfInput, TooLong };

template <class Get, class Unget>
LiteralEnd decodeLiteral(Get &&get, Unget &&unget, std::string &out, std::size_t maxBytes)
{
    int depth = 1;
    unsigned char c = 0;
    while (get(c)) {
        // The byte the string holds for what was just read; none for a
        // backslash that continues the line.
        int kept = c;
        if (c == '\\') {
            unsigned char e = 0;
            if (!get(e))
                return LiteralEnd::EndOfInput;
            switch (e) {
            case 'n': kept = '\n'; break;
            case 'r': kept = '\r'; break;
            case 't': kept = '\t'; break;
            case 'b': kept = '\b'; break;
            case 'f': kept = '\f'; break;
            case '\r': {
                unsigned char lf = 0;
                if (get(lf) && lf != '\n')
                    unget();
                kept = -1;
                break;
            }
            case '\n': kept = -1; break;
            default:
                kept = e;
                if (e >= '0' && e <= '7') {
                    unsigned value = e - '0';
                    for (int i = 0; i < 2; ++i) {
                        unsigned char d = 0;
                        if (!get(d))
                            break;
                        if (d < '0' || d > '7') {
                            unget();
                            break;
                        }
                        value = value * 8 + (d - '0');
                    }
                    kept = static_cast<int>(value & 0xFF);
                }
            }
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth == 0)
                return LiteralEnd::Closed;
        }
        if (kept < 0)
            continue;
        if (out.size() >= maxBytes)
            return LiteralEnd::TooLong;
        out.push_back(static_cast<char>(kept));
    }
    return LiteralEnd::EndOfInput;
}

} // namespace pdfreader
