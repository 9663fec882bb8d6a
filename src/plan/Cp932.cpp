#include "plan/Cp932.h"
#include "plan/Cp932Codec.h"

#include <atomic>

namespace cp932 {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Encodes one code point; false when CP932 has no bytes for it.
bool encodeOne(char32_t cp, std::string &out)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
        return true;
    }
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
        return false;
    }
    return codec::encode(cp, out);
}

// What the system's tables give for each non-ASCII byte and each pair of
// bytes, asked once per process and kept: kUnknown not asked yet, kNone
// no character, else the character. Threads that ask at once store the same
// value, so relaxed atomics suffice. The arrays are zero at start (kUnknown)
// and cost nothing until a text is decoded.
constexpr char32_t kUnknown = 0;
constexpr char32_t kNone = 0xFFFFFFFF;
std::atomic<char32_t> singleBytes[256];
std::atomic<char32_t> bytePairs[65536];

// The character of the one or two bytes at `bytes` (`length` 1 or 2), from
// the table; kNone when they are none.
char32_t decodeKnown(const char *bytes, std::size_t length)
{
    const auto first = static_cast<unsigned char>(bytes[0]);
    std::atomic<char32_t> &slot =
        length == 1 ? singleBytes[first] : bytePairs[(first << 8) | static_cast<unsigned char>(bytes[1])];
    char32_t known = slot.load(std::memory_order_relaxed);
    if (known == kUnknown) {
        char32_t cp = 0;
        known = codec::decode(bytes, length, cp) && cp != kUnknown && cp != kNone ? cp : kNone;
        slot.store(known, std::memory_order_relaxed);
    }
    return known;
}

// Decodes the character at `pos`, advancing `pos`.
char32_t decodeOne(std::string_view bytes, std::size_t &pos)
{
    const auto c = static_cast<unsigned char>(bytes[pos]);
    if (c < 0x80) {
        ++pos;
        return c;
    }
    const std::size_t len = (isLeadByte(c) && pos + 1 < bytes.size()) ? 2 : 1;
    const char32_t cp = decodeKnown(bytes.data() + pos, len);
    if (cp != kNone) {
        pos += len;
        return cp;
    }
    ++pos;
    return kReplacement;
}

// Iterates the code points of UTF-16 text; broken surrogates give an invalid
// code point (a lone surrogate value) so the encoder refuses them.
template <typename F> void forEachUtf16(std::u16string_view text, F f)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        char32_t cp = text[i++];
        if (cp >= 0xD800 && cp <= 0xDBFF && i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i++] - 0xDC00);
        }
        if (!f(cp, start)) {
            return;
        }
    }
}

// Iterates the code points of UTF-8 text; malformed sequences give U+D800
// (refused by the encoder) and advance one byte.
template <typename F> void forEachUtf8(std::string_view text, F f)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        char32_t cp = 0xD800;
        if (len != 0 && i + len <= text.size()) {
            cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
            for (std::size_t k = 1; k < len; ++k) {
                const auto t = static_cast<unsigned char>(text[i + k]);
                if ((t & 0xC0) != 0x80) {
                    cp = 0xD800;
                    len = 1;
                    break;
                }
                cp = (cp << 6) | (t & 0x3F);
            }
        } else {
            len = 1;
        }
        i += len;
        if (!f(cp, start)) {
            return;
        }
    }
}

void appendUtf8(char32_t cp, std::string &out)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        const char bytes[2] = {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
        out.append(bytes, 2);
    } else if (cp < 0x10000) {
        const char bytes[3] = {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                               static_cast<char>(0x80 | (cp & 0x3F))};
        out.append(bytes, 3);
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void appendUtf16(char32_t cp, std::u16string &out)
{
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

} // namespace

std::u16string toUtf16(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        appendUtf16(decodeOne(bytes, pos), out);
    }
    return out;
}

std::string toUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    for (std::size_t pos = 0; pos < bytes.size();) {
        appendUtf8(decodeOne(bytes, pos), out);
    }
    return out;
}

namespace {

// Encodes code points given by `forEach`; unrepresentable ones become "?".
template <typename ForEach, typename Text> std::string encodeAll(ForEach forEach, Text text)
{
    std::string out;
    out.reserve(text.size() * 2);
    forEach(text, [&](char32_t cp, std::size_t) {
        if (!encodeOne(cp, out)) {
            out.push_back('?');
        }
        return true;
    });
    return out;
}

// Position of the first code point given by `forEach` that CP932 lacks.
template <typename ForEach, typename Text> std::optional<std::size_t> findUnrepresentable(ForEach forEach, Text text)
{
    std::optional<std::size_t> found;
    std::string scratch;
    forEach(text, [&](char32_t cp, std::size_t at) {
        scratch.clear();
        if (!encodeOne(cp, scratch)) {
            found = at;
            return false;
        }
        return true;
    });
    return found;
}

} // namespace

std::string fromUtf16(std::u16string_view text)
{
    return encodeAll([](auto t, auto f) { forEachUtf16(t, f); }, text);
}

std::string fromUtf8(std::string_view text)
{
    return encodeAll([](auto t, auto f) { forEachUtf8(t, f); }, text);
}

std::optional<std::size_t> firstUnrepresentable(std::u16string_view text)
{
    return findUnrepresentable([](auto t, auto f) { forEachUtf16(t, f); }, text);
}

std::optional<std::size_t> firstUnrepresentableUtf8(std::string_view text)
{
    return findUnrepresentable([](auto t, auto f) { forEachUtf8(t, f); }, text);
}

std::vector<LookAlike> lookAlikesUtf8(std::string_view text)
{
    std::vector<LookAlike> found;
    std::string bytes;
    forEachUtf8(text, [&](char32_t cp, std::size_t) {
        bytes.clear();
        if (cp < 0x80 || !encodeOne(cp, bytes)) {
            return true;
        }
        std::size_t at = 0;
        const char32_t back = decodeOne(bytes, at);
        if (back == cp) {
            return true;
        }
        for (const LookAlike &known : found) {
            if (known.from == cp) {
                return true;
            }
        }
        found.push_back({cp, back});
        return true;
    });
    return found;
}

std::size_t charsInBytes(std::string_view text, std::size_t bytes)
{
    std::size_t chars = 0;
    for (std::size_t pos = 0; pos < bytes && pos < text.size(); ++chars) {
        pos += (isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) ? 2 : 1;
    }
    return chars;
}

std::size_t bytesInChars(std::string_view text, std::size_t chars)
{
    std::size_t pos = 0;
    for (std::size_t n = 0; n < chars && pos < text.size(); ++n) {
        pos += (isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) ? 2 : 1;
    }
    return pos;
}

} // namespace cp932
