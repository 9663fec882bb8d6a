#pragma once

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
// input; `unget()` steps back over the byte just delivered. Returns false
// when the input ends before the string does (`out` then holds what was read).
template <class Get, class Unget>
bool decodeLiteral(Get &&get, Unget &&unget, std::string &out)
{
    int depth = 1;
    unsigned char c = 0;
    while (get(c)) {
        if (c == '\\') {
            unsigned char e = 0;
            if (!get(e))
                return false;
            switch (e) {
            case 'n': out.push_back('\n'); break;
            case 'r': out.push_back('\r'); break;
            case 't': out.push_back('\t'); break;
            case 'b': out.push_back('\b'); break;
            case 'f': out.push_back('\f'); break;
            case '\r': {
                unsigned char lf = 0;
                if (get(lf) && lf != '\n')
                    unget();
                break;
            }
            case '\n': break;
            default:
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
                    out.push_back(static_cast<char>(value & 0xFF));
                } else {
                    out.push_back(static_cast<char>(e));
                }
            }
            continue;
        }
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth == 0)
                return true;
        }
        out.push_back(static_cast<char>(c));
    }
    return false;
}

} // namespace pdfreader
