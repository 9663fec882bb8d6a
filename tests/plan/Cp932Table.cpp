// Prints the whole code-page-932 mapping as this build converts it: every
// byte from 0x80 and every two-byte sequence with a lead byte decoded, and
// every character up to U+10FFFF that encodes, with its bytes. The Windows
// build's output is compared with the Linux build's, so that both read and
// write every plan text alike.

#include "plan/Cp932.h"

#include <cstdio>
#include <string>

namespace {

void printHex(const std::string &bytes)
{
    for (const char c : bytes) {
        std::printf(" %02X", static_cast<unsigned char>(c));
    }
}

std::u16string utf16(char32_t cp)
{
    if (cp < 0x10000) {
        return std::u16string(1, static_cast<char16_t>(cp));
    }
    cp -= 0x10000;
    return {static_cast<char16_t>(0xD800 + (cp >> 10)), static_cast<char16_t>(0xDC00 + (cp & 0x3FF))};
}

} // namespace

int main()
{
    for (unsigned first = 0x80; first <= 0xFF; ++first) {
        const unsigned lastTrail = cp932::isLeadByte(static_cast<unsigned char>(first)) ? 0xFF : 0;
        for (unsigned trail = 0; trail <= lastTrail; ++trail) {
            std::string bytes(1, static_cast<char>(first));
            if (lastTrail != 0) {
                bytes.push_back(static_cast<char>(trail));
            }
            printHex(bytes);
            std::printf(" ->");
            for (const char16_t unit : cp932::toUtf16(bytes)) {
                std::printf(" %04X", static_cast<unsigned>(unit));
            }
            std::printf("\n");
        }
    }
    for (char32_t cp = 0x80; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            continue;
        }
        const std::u16string text = utf16(cp);
        if (cp932::firstUnrepresentable(text)) {
            continue;
        }
        std::printf("U+%04X <-", static_cast<unsigned>(cp));
        printHex(cp932::fromUtf16(text));
        std::printf("\n");
    }
    return 0;
}
