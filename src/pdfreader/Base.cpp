#include "pdfreader/Base.h"

#include "plan/Cp932.h"
#include "pdfreader/PdfLiteral.h"

#include <charconv>
#include <new>

using pdfreader::hexPosition;

namespace {

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isUpperHex(unsigned char c) { return isDigit(c) || (c >= 'A' && c <= 'F'); }

// Delimiters of ReadKey, ReadName and ReadToken.
bool endsKey(unsigned char c)
{
    return c == 10 || c == 13 || c == ' ' || c == '%' || c == '(' || c == '/' || c == '<' || c == '[' || c == '{';
}
bool endsToken(unsigned char c)
{
    return c == 10 || c == 13 || c == '%' || c == '(' || c == ')' || c == '/' || c == '<' || c == '>' || c == '['
        || c == ']' || c == '{' || c == '}';
}
bool endsName(unsigned char c) { return c == ' ' || endsToken(c); }

template <class T>
std::optional<T> parseDigits(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    for (char c : text) {
        if (!isDigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    }
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

TPdfBase::TPdfBase(std::unique_ptr<TPdfInputStream> stream) : m_stream(std::move(stream))
{
    open();
}

std::optional<std::int32_t> TPdfBase::toInt32(std::string_view text) { return parseDigits<std::int32_t>(text); }
std::optional<std::int64_t> TPdfBase::toInt64(std::string_view text) { return parseDigits<std::int64_t>(text); }

void TPdfBase::fail(const std::string &message) const { throw EPdfReadError(message); }
void TPdfBase::failAt(const std::string &message) const { throw EPdfReadError(message + hexPosition(position())); }
void TPdfBase::readPastEnd() const { failAt("PDF FILE READ ERROR Address : "); }

unsigned char TPdfBase::readByte()
{
    unsigned char c = 0;
    if (!m_stream->readByte(c))
        readPastEnd();
    m_currentByte = c;
    return c;
}

std::string TPdfBase::readRange(std::int64_t pos, std::int64_t length)
{
    if (pos < 0 || length < 0 || pos > fileSize() || length > fileSize() - pos) {
        seek(fileSize());
        readPastEnd();
    }
    seek(pos);
    return readBytes(length);
}

// Header, first object (linearization), "%%EOF" and "startxref".
void TPdfBase::open()
{
    seek(0);
    if (readBytes(5) != "%PDF-")
        fail("PDF FILE ERROR");
    m_version = readBytes(3);
    if (m_version.size() != 3 || m_version[0] != '1' || m_version[1] != '.' || m_version[2] < '0'
        || m_version[2] > '7')
        fail("PDF VERSION NOT SUPPORT");
    SkipBlanks();
    SkipLineEnd();

    // Comment lines after the header (a marker line of high bytes, say).
    for (;;) {
        const std::int64_t lineStart = position();
        const std::string line = ReadLine();
        if (line.empty() || line[0] != '%') {
            seek(lineStart);
            break;
        }
    }

    if (m_version[2] >= '2') {
        if (!toInt32(ReadDigits()))
            failAt("PDF OBJ NO ERROR Address : ");
        SkipBlanks();
        if (!toInt32(ReadDigits()))
            fail("PDF GEN NO ERROR");
        SkipBlanks();
        if (readBytes(3) != "obj")
            failAt("PDF OBJ NOT FOUND ERROR Address : ");
        SkipBlanks();
        SkipLineEnd();
        SkipBlanks();
        if (readBytes(2) == "<<")
            readLinearization();
    }

    // The file ends with "%%EOF" and at most two line-end bytes.
    const std::int64_t size = fileSize();
    std::int64_t pos = size - 1;
    unsigned char c = 0;
    seek(pos);
    if (pos >= 0 && tryReadByte(c) && isLineEnd(c)) {
        pos = size - 2;
        seek(pos);
        if (pos >= 0 && tryReadByte(c) && isLineEnd(c))
            pos = size - 3;
        else
            pos = size - 2;
    } else {
        pos = size - 1;
    }
    pos -= 4;
    if (pos < 0)
        fail("PDF FILE EOF ERROR");
    seek(pos);
    if (readBytes(5) != "%%EOF")
        fail("PDF FILE EOF ERROR");

    // "startxref" must begin within the 50 bytes that end with "%%EOF".
    std::int64_t scan = position() - 50;
    if (scan < 1)
        scan = 1;
    seek(scan);
    bool found = false;
    while (tryReadByte(c)) {
        if (c != 's')
            continue;
        const std::int64_t after = position();
        seek(after - 1);
        if (readBytes(9) == "startxref") {
            found = true;
            break;
        }
        seek(after);
    }
    if (!found)
        fail("PDF STARTXREF ERROR");
    SkipLineEnd();
    const auto offset = toInt64(ReadDigits());
    if (!offset)
        fail("PDF LASTCROSSREF ERROR");
    m_lastXref = *offset;
}

void TPdfBase::readLinearization()
{
    SkipBlanks();
    SkipLineEnd();
    for (;;) {
        SkipBlanks();
        const unsigned char c = readByte();
        if (c != '/') {
            const unsigned char next = readByte();
            m_linearized = c == '>' && next == '>';
            return;
        }
        const std::string key = ReadKey();
        SkipBlanks();
        if (key == "H")
            m_lin.hPosition = GetIDArrayToken();
        else if (key == "Linearized")
            m_lin.linearized = ReadDigits();
        else if (key == "L")
            m_lin.l = ReadDigits();
        else if (key == "O")
            m_lin.o = ReadDigits();
        else if (key == "E")
            m_lin.e = ReadDigits();
        else if (key == "N")
            m_lin.n = ReadDigits();
        else if (key == "T")
            m_lin.t = ReadDigits();
        else if (key == "P")
            m_lin.p = ReadDigits();
        else {
            m_linearized = false;
            return;
        }
        SkipLineEnd();
    }
}

void TPdfBase::SkipBlanks()
{
    for (;;) {
        const unsigned char c = readByte();
        if (!isBlank(c)) {
            seek(position() - 1);
            return;
        }
        if (isLineEnd(c))
            return;
    }
}

void TPdfBase::SkipLineEnd()
{
    const unsigned char c = readByte();
    if (!isLineEnd(c)) {
        seek(position() - 1);
        return;
    }
    unsigned char next = 0;
    if (tryReadByte(next) && !isLineEnd(next))
        seek(position() - 1);
}

void TPdfBase::SkipToLineEnd()
{
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (isLineEnd(c)) {
            seek(position() - 1);
            return;
        }
    }
}

// The line end is always skipped afterwards, so a line that runs to the end
// of the file (or a read at the very end) raises the read error there.
std::string TPdfBase::ReadLine()
{
    std::string line;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (isLineEnd(c)) {
            seek(position() - 1);
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    SkipLineEnd();
    return line;
}

std::string TPdfBase::ReadKey()
{
    std::string key;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (endsKey(c)) {
            seek(position() - 1);
            break;
        }
        key.push_back(static_cast<char>(c));
    }
    return key;
}

std::string TPdfBase::ReadName()
{
    std::string name;
    if (readByte() != '/')
        return name;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (endsName(c)) {
            seek(position() - 1);
            break;
        }
        name.push_back(static_cast<char>(c));
    }
    return name;
}

std::string TPdfBase::ReadToken()
{
    std::string token;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (endsToken(c)) {
            seek(position() - 1);
            break;
        }
        token.push_back(static_cast<char>(c));
    }
    return token;
}

std::string TPdfBase::ReadReference()
{
    SkipBlanks();
    std::string text;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (endsToken(c)) {
            seek(position() - 1);
            return text;
        }
        text.push_back(static_cast<char>(c));
        if (c == 'R') {
            SkipBlanks();
            return text;
        }
    }
    return text;
}

std::string TPdfBase::ReadDigits()
{
    std::string digits;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (!isDigit(c)) {
            seek(position() - 1);
            break;
        }
        digits.push_back(static_cast<char>(c));
    }
    return digits;
}

std::string TPdfBase::ReadHexDigits()
{
    std::string digits;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (!isUpperHex(c)) {
            seek(position() - 1);
            break;
        }
        digits.push_back(static_cast<char>(c));
    }
    return digits;
}

TPdfCurrency TPdfBase::ReadReal()
{
    std::string text;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (!isDigit(c) && c != '.') {
            seek(position() - 1);
            break;
        }
        text.push_back(static_cast<char>(c));
    }
    return pdfreader::parseCurrency(text);
}

TPdfCurrency pdfreader::parseCurrency(std::string_view text)
{
    // Digits with at most one point and at least one digit; four decimals
    // kept, the fifth rounds. Anything else, or a value too large, is 0.
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() && fraction.empty())
        return 0;
    if (fraction.find('.') != std::string_view::npos)
        return 0;
    std::int64_t value = 0;
    for (char ch : whole) {
        if (value > 99'999'999'999'999)
            return 0;
        value = value * 10 + (ch - '0');
    }
    std::int64_t frac = 0;
    for (std::size_t i = 0; i < 4; ++i)
        frac = frac * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    // The largest whole part a four-decimal 64-bit value holds.
    if (value > 922'337'203'685'476)
        return 0;
    value = value * CurrencyScale + frac;
    if (fraction.size() > 4 && fraction[4] >= '5')
        ++value;
    return value;
}

std::string TPdfBase::readLiteralBody()
{
    std::string out;
    auto get = [this](unsigned char &c) { return tryReadByte(c); };
    auto unget = [this] { seek(position() - 1); };
    if (!pdfreader::decodeLiteral(get, unget, out))
        readPastEnd();
    return out;
}

// A literal string (PDF syntax) or the writer's Unicode hex string. Bytes
// before the string are passed over; a line end met before any string gives
// an empty result, so a string value must stand on its key's line.
std::string TPdfBase::ReadString()
{
    std::string kept;
    for (;;) {
        const unsigned char c = readByte();
        if (c == '(')
            return readLiteralBody();
        if (c == '<') {
            const std::string digits = ReadHexDigits();
            // The first 16 digits are the byte-order mark and language escape.
            kept = digits.size() > 16 ? digits.substr(16, 255) : std::string();
        } else if (c == '>') {
            return DecodeUnicodeHex(kept);
        } else if (isLineEnd(c)) {
            return std::string();
        }
    }
}

std::string TPdfBase::ReadStringOrArray()
{
    const unsigned char c = readByte();
    seek(position() - 1);
    if (c == '[') {
        SkipArray();
        return std::string();
    }
    if (c == '(' || c == '<')
        return ReadString();
    seek(position() + 1);
    return std::string();
}

std::string TPdfBase::ReadNameOrArray()
{
    const unsigned char c = readByte();
    if (c == '/') {
        seek(position() - 1);
        return ReadName();
    }
    if (c != '[')
        failAt("PDF ARRAY OR / TOKEN ERROR Adaress : ");
    std::string text(1, '[');
    int depth = 1;
    unsigned char b = 0;
    while (depth > 0 && tryReadByte(b)) {
        text.push_back(static_cast<char>(b));
        if (b == '[')
            ++depth;
        else if (b == ']')
            --depth;
    }
    return text;
}

void TPdfBase::skipNested(unsigned char open, unsigned char close)
{
    int depth = 1;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (c == open) {
            ++depth;
        } else if (c == close) {
            if (--depth == 0)
                return;
        }
    }
}

void TPdfBase::skipNestedPairs()
{
    int depth = 1;
    unsigned char c = 0;
    unsigned char next = 0;
    while (tryReadByte(c)) {
        if (c == '<') {
            if (!tryReadByte(next))
                return;
            if (next == '<')
                ++depth;
        } else if (c == '>') {
            if (!tryReadByte(next))
                return;
            if (next == '>' && --depth == 0)
                return;
        }
    }
}

void TPdfBase::SkipArray()
{
    unsigned char c = 0;
    if (!tryReadByte(c))
        return;
    if (c != '[') {
        seek(position() - 1);
        return;
    }
    skipNested('[', ']');
}

void TPdfBase::SkipDictionary()
{
    const std::int64_t start = position();
    if (readBytes(2) != "<<") {
        seek(start);
        return;
    }
    skipNestedPairs();
}

void TPdfBase::SkipDictionaryOrArray()
{
    const unsigned char c = readByte();
    if (c == '[') {
        seek(position() - 1);
        SkipArray();
    } else if (c == '<') {
        seek(position() - 1);
        SkipDictionary();
    } else {
        failAt("PDF DICTIONARY OR ARRAY ERROR address : ");
    }
}

std::int64_t TPdfBase::GetIDArrayToken()
{
    if (readByte() != '[')
        fail("Not Array : GetIDArrayToken");
    const std::int64_t start = position();
    skipNested('[', ']');
    return start;
}

std::int64_t TPdfBase::GetDictionaryToken()
{
    const std::int64_t start = position();
    if (readByte() != '<')
        fail("Not < : Dictionary" + hexPosition(start));
    if (readByte() != '<')
        fail("Not << : Dictionary");
    skipNestedPairs();
    return start;
}

std::int64_t TPdfBase::GetDictionaryOrArrayToken()
{
    const std::int64_t start = position();
    const unsigned char c = readByte();
    if (c == '<') {
        if (readByte() != '<')
            fail("Not << : Dictionary");
        seek(start);
        return GetDictionaryToken();
    }
    if (c == '[') {
        seek(start);
        return GetIDArrayToken();
    }
    // Unlike GetDictionaryToken, the position is where reading stopped, after
    // the byte that is neither `<` nor `[`.
    failAt("Not < : Dictionary");
}

std::optional<TPdfReference> TPdfBase::ParseReference(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isDigit(static_cast<unsigned char>(text[i])))
        ++i;
    const auto number = toInt32(text.substr(0, i));
    if (!number)
        return std::nullopt;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::size_t genStart = i;
    while (i < text.size() && isDigit(static_cast<unsigned char>(text[i])))
        ++i;
    const auto generation = toInt32(text.substr(genStart, i - genStart));
    if (!generation)
        return std::nullopt;
    return TPdfReference{*number, *generation};
}

unsigned char TPdfBase::HexPairToByte(char high, char low)
{
    auto value = [](char c) -> unsigned {
        if (c >= '0' && c <= '9')
            return static_cast<unsigned>(c - '0');
        if (c >= 'A' && c <= 'F')
            return static_cast<unsigned>(c - 'A' + 10);
        return 0;
    };
    return static_cast<unsigned char>(value(high) * 16 + value(low));
}

std::string TPdfBase::DecodeUnicodeHex(std::string_view hex)
{
    // Whole pairs only; a trailing odd byte is the high byte of a last code
    // unit whose low byte is 0. The text ends at a U+0000 code unit.
    std::u16string units;
    try {
        std::string bytes;
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
            bytes.push_back(static_cast<char>(HexPairToByte(hex[i], hex[i + 1])));
        for (std::size_t i = 0; i < bytes.size(); i += 2) {
            const unsigned high = static_cast<unsigned char>(bytes[i]);
            const unsigned low = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
            const char16_t unit = static_cast<char16_t>(high << 8 | low);
            if (unit == 0)
                break;
            units.push_back(unit);
        }
    } catch (const std::bad_alloc &) {
        throw EPdfReadError(cp932::fromUtf8("変換元メモリ不足です。"));
    }
    std::string text;
    try {
        text = cp932::fromUtf16(units);
    } catch (const std::bad_alloc &) {
        throw EPdfReadError(cp932::fromUtf8("格納先メモリ不足です。"));
    }
    if (text.empty())
        return "Error";
    return text;
}
