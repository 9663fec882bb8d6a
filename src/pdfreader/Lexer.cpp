#include "pdfreader/Lexer.h"

#include "plan/Cp932.h"
#include "plan/TextParse.h"
#include "pdfreader/PdfLiteral.h"

#include <algorithm>
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

} // namespace

TPdfLexer::TPdfLexer(std::unique_ptr<TPdfInputStream> stream, TEndOfInput atEnd)
    : m_stream(std::move(stream)), m_atEnd(atEnd)
{
}

std::optional<std::int32_t> TPdfLexer::toInt32(std::string_view text) { return plantext::parseInt<std::int32_t>(text); }
std::optional<std::int64_t> TPdfLexer::toInt64(std::string_view text) { return plantext::parseInt<std::int64_t>(text); }

void TPdfLexer::fail(const std::string &message) const { throw EPdfReadError(message); }
void TPdfLexer::failAt(const std::string &message) const { throw EPdfReadError(message + hexPosition(position())); }
void TPdfLexer::readPastEnd() const { failAt("PDF FILE READ ERROR Address : "); }

unsigned char TPdfLexer::readByte()
{
    unsigned char c = 0;
    if (!m_stream->readByte(c))
        readPastEnd();
    m_currentByte = c;
    return c;
}

bool TPdfLexer::needByte(unsigned char &byte)
{
    if (!m_stream->readByte(byte)) {
        if (m_atEnd == TEndOfInput::Raise)
            readPastEnd();
        return false;
    }
    m_currentByte = byte;
    return true;
}

std::string TPdfLexer::readRange(std::int64_t pos, std::int64_t length)
{
    std::string storage;
    const std::string_view bytes = readRangeView(pos, length, storage);
    if (!storage.empty())
        return storage;
    return std::string(bytes);
}

std::string_view TPdfLexer::readRangeView(std::int64_t pos, std::int64_t length, std::string &storage)
{
    if (pos < 0 || length < 0 || pos > fileSize() || length > fileSize() - pos) {
        seek(fileSize());
        readPastEnd();
    }
    seek(pos);
    return m_stream->readView(length, storage);
}

void TPdfLexer::keep(std::string &token, unsigned char c)
{
    if (token.size() >= MaxTokenLength)
        failAt("PDF READ LIMIT ERROR Address : ");
    token.push_back(static_cast<char>(c));
}

void TPdfLexer::SkipBlanks()
{
    unsigned char c = 0;
    while (needByte(c)) {
        if (!isBlank(c)) {
            seek(position() - 1);
            return;
        }
        if (isLineEnd(c))
            return;
    }
}

void TPdfLexer::SkipLineEnd()
{
    unsigned char c = 0;
    if (!needByte(c))
        return;
    if (!isLineEnd(c)) {
        seek(position() - 1);
        return;
    }
    unsigned char next = 0;
    if (tryReadByte(next) && !isLineEnd(next))
        seek(position() - 1);
}

void TPdfLexer::SkipToLineEnd()
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
// of the file (or a read at the very end) raises the read error there. Only
// the first MaxLineKept bytes are kept: every line the reader looks at
// (the xref keyword, an entry, a comment) is decided by its first bytes, and
// a "line" of millions of bytes is passed over without being stored.
std::string TPdfLexer::ReadLine()
{
    std::string line;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (isLineEnd(c)) {
            seek(position() - 1);
            break;
        }
        if (line.size() < MaxLineKept)
            line.push_back(static_cast<char>(c));
    }
    SkipLineEnd();
    return line;
}

std::string TPdfLexer::ReadKey()
{
    std::string key;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (endsKey(c)) {
            seek(position() - 1);
            break;
        }
        keep(key, c);
    }
    return key;
}

std::string TPdfLexer::ReadName()
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
        keep(name, c);
    }
    return name;
}

std::string TPdfLexer::ReadToken()
{
    std::string token;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (endsToken(c)) {
            seek(position() - 1);
            break;
        }
        keep(token, c);
    }
    return token;
}

std::string TPdfLexer::ReadReference()
{
    SkipBlanks();
    std::string text;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (endsToken(c)) {
            seek(position() - 1);
            return text;
        }
        keep(text, c);
        if (c == 'R') {
            SkipBlanks();
            return text;
        }
    }
    return text;
}

std::string TPdfLexer::ReadDigits()
{
    std::string digits;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (!isDigit(c)) {
            seek(position() - 1);
            break;
        }
        keep(digits, c);
    }
    return digits;
}

std::string TPdfLexer::ReadHexDigits()
{
    std::string digits;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (!isUpperHex(c)) {
            seek(position() - 1);
            break;
        }
        keep(digits, c);
    }
    return digits;
}

TPdfCurrency TPdfLexer::ReadReal()
{
    std::string text;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (!isDigit(c) && c != '.') {
            seek(position() - 1);
            break;
        }
        keep(text, c);
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

bool TPdfLexer::ReadLiteral(std::string &out)
{
    auto get = [this](unsigned char &c) { return tryReadByte(c); };
    auto unget = [this] { seek(position() - 1); };
    switch (pdfreader::decodeLiteral(get, unget, out, MaxTokenLength)) {
    case pdfreader::LiteralEnd::Closed:
        return true;
    case pdfreader::LiteralEnd::TooLong:
        failAt("PDF READ LIMIT ERROR Address : ");
    case pdfreader::LiteralEnd::EndOfInput:
        break;
    }
    if (m_atEnd == TEndOfInput::Raise)
        readPastEnd();
    return false;
}

// Compares bytes as they come rather than reading `word.size()` bytes at
// every position: a stream of megabytes without the word is passed over
// at the cost of reading it once.
bool TPdfLexer::SkipPast(std::string_view word)
{
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (c != static_cast<unsigned char>(word.front()))
            continue;
        // After a partial match, the search goes on from the byte after its
        // first byte.
        const std::int64_t resume = position();
        std::size_t matched = 1;
        while (matched < word.size() && tryReadByte(c) && c == static_cast<unsigned char>(word[matched]))
            ++matched;
        if (matched == word.size())
            return true;
        seek(resume);
    }
    return false;
}

std::optional<unsigned char> TPdfLexer::SkipToAnyOf(std::string_view stops)
{
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (stops.find(static_cast<char>(c)) != std::string_view::npos)
            return c;
    }
    return std::nullopt;
}

// A literal string (PDF syntax) or the writer's Unicode hex string. Bytes
// before the string are passed over; a line end met before any string gives
// an empty result, so a string value must stand on its key's line.
std::string TPdfLexer::ReadString()
{
    std::string kept;
    for (;;) {
        const unsigned char c = readByte();
        if (c == '(') {
            std::string literal;
            ReadLiteral(literal);
            return literal;
        }
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

std::string TPdfLexer::ReadStringOrArray()
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

std::string TPdfLexer::ReadNameOrArray()
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
        keep(text, b);
        if (b == '[')
            ++depth;
        else if (b == ']')
            --depth;
    }
    return text;
}

void TPdfLexer::skipNested(unsigned char open, unsigned char close)
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

void TPdfLexer::skipNestedPairs()
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

void TPdfLexer::SkipArray()
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

void TPdfLexer::SkipDictionary()
{
    const std::int64_t start = position();
    if (readBytes(2) != "<<") {
        seek(start);
        return;
    }
    skipNestedPairs();
}

void TPdfLexer::SkipDictionaryOrArray()
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

std::int64_t TPdfLexer::GetIDArrayToken()
{
    if (readByte() != '[')
        fail("Not Array : GetIDArrayToken");
    const std::int64_t start = position();
    skipNested('[', ']');
    return start;
}

std::int64_t TPdfLexer::GetDictionaryToken()
{
    const std::int64_t start = position();
    if (readByte() != '<')
        fail("Not < : Dictionary" + hexPosition(start));
    if (readByte() != '<')
        fail("Not << : Dictionary");
    skipNestedPairs();
    return start;
}

std::int64_t TPdfLexer::GetDictionaryOrArrayToken()
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

std::optional<TPdfReference> TPdfLexer::ParseReference(std::string_view text)
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

unsigned char TPdfLexer::HexPairToByte(char high, char low)
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

std::string TPdfLexer::DecodeUnicodeHex(std::string_view hex)
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
