#include "plan/Cp932Codec.h"

#include <windows.h>

namespace cp932::codec {
namespace {

constexpr UINT kCodePage = 932;

// Characters of the JIS tables that CP932 holds only as a look-alike (the
// JIS wave dash as the full-width tilde, the yen sign as the backslash
// byte, ...). The POSIX conversion writes them as that look-alike; Windows
// refuses them without its best-fit guesses, which would turn far more into
// something else (an accented letter into a plain one). So these few are
// written here, and everything else is Windows' own table.
struct LookAlike {
    char32_t cp;
    const char *bytes;
};
constexpr LookAlike kLookAlikes[] = {
    {0x00A2, "\x81\x91"}, // cent sign: full-width cent
    {0x00A3, "\x81\x92"}, // pound sign: full-width pound
    {0x00A5, "\x5C"},      // yen sign: the backslash byte
    {0x00AC, "\x81\xCA"}, // not sign: full-width not
    {0x2014, "\x81\x5C"}, // em dash: the horizontal bar
    {0x2016, "\x81\x61"}, // double vertical line: parallel
    {0x203E, "\x7E"},      // overline: the tilde byte
    {0x2212, "\x81\x7C"}, // minus sign: full-width hyphen-minus
    {0x301C, "\x81\x60"}, // wave dash: full-width tilde
};

// Windows' table gives the single bytes 0x80, 0xA0 and 0xFD to 0xFF
// characters of their own (U+0080 and U+F8F0 to U+F8F3); in CP932 they are
// no characters, and the POSIX conversion refuses them both ways.
bool isWindowsOnly(char32_t cp)
{
    return cp == 0x0080 || (cp >= 0xF8F0 && cp <= 0xF8F3);
}

} // namespace

bool encode(char32_t cp, std::string &out)
{
    for (const LookAlike &l : kLookAlikes) {
        if (l.cp == cp) {
            out += l.bytes;
            return true;
        }
    }
    if (isWindowsOnly(cp)) {
        return false;
    }
    wchar_t units[2];
    int count = 1;
    if (cp < 0x10000) {
        units[0] = static_cast<wchar_t>(cp);
    } else {
        units[0] = static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        count = 2;
    }
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int length =
        WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, units, count, bytes, sizeof bytes, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) {
        return false;
    }
    out.append(bytes, static_cast<std::size_t>(length));
    return true;
}

bool decode(const char *bytes, std::size_t length, char32_t &cp)
{
    wchar_t units[4];
    const int count =
        MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(length), units, 4);
    if (count != 1 || isWindowsOnly(units[0])) {
        return false;
    }
    cp = static_cast<char32_t>(units[0]);
    return true;
}

} // namespace cp932::codec
