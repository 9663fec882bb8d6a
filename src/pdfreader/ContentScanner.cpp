#include "pdfreader/ContentScanner.h"

#include "pdfreader/PdfLiteral.h"
#include "pdfreader/PdfReadError.h"

#include <algorithm>
#include <array>

namespace {

constexpr bool isBlank(unsigned char c)
{
    return c == 0 || c == 9 || c == 10 || c == 12 || c == 13 || c == 32;
}

constexpr bool isLineEnd(unsigned char c)
{
    return c == 10 || c == 13;
}

constexpr bool isDelimiter(unsigned char c)
{
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}' || c == '/' ||
           c == '%';
}

bool isUpperHex(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// A token as the scanner compares it: its bytes equal `word`.
// What a byte is to the token reading between text objects.
enum class ByteKind : unsigned char { Regular, Blank, Delimiter };

constexpr std::array<ByteKind, 256> kByteKinds = [] {
    std::array<ByteKind, 256> kinds{};
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<unsigned char>(c);
        kinds[byte] = isBlank(byte) ? ByteKind::Blank : isDelimiter(byte) ? ByteKind::Delimiter : ByteKind::Regular;
    }
    return kinds;
}();

// The bytes at which the scan between text objects stops: the delimiters
// and the first bytes of the operators it acts on.
constexpr std::array<bool, 256> kScanStops = [] {
    std::array<bool, 256> stops{};
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<unsigned char>(c);
        stops[byte] = isDelimiter(byte) || byte == 'B' || byte == 'T' || byte == 'r';
    }
    return stops;
}();

} // namespace

void TPdfContentScanner::failAt(const char *message) const
{
    throw EPdfReadError(message + pdfreader::hexPosition(static_cast<std::int64_t>(m_at)));
}

bool TPdfContentScanner::nextTwoAre(const char *word)
{
    const std::size_t count = std::min<std::size_t>(2, m_data.size() - m_at);
    const bool same = count == 2 && m_data[m_at] == word[0] && m_data[m_at + 1] == word[1];
    m_at += count;
    return same;
}

// Blanks up to and including the first line end.
void TPdfContentScanner::skipBlanks()
{
    unsigned char c = 0;
    while (next(c)) {
        if (!isBlank(c)) {
            back();
            return;
        }
        if (isLineEnd(c))
            return;
    }
}

// One line end of one or two bytes (CR, LF, CR LF, LF CR, CR CR, LF LF).
void TPdfContentScanner::skipLineEnd()
{
    unsigned char c = 0;
    if (!next(c))
        return;
    if (!isLineEnd(c)) {
        back();
        return;
    }
    if (next(c) && !isLineEnd(c))
        back();
}

bool TPdfContentScanner::skipPast(std::string_view word)
{
    const std::size_t found = m_data.find(word, m_at);
    if (found == std::string_view::npos) {
        m_at = m_data.size();
        return false;
    }
    m_at = found + word.size();
    return true;
}

// Digits and points as the lexer's ReadReal takes them.
TPdfCurrency TPdfContentScanner::readReal()
{
    // Most operands are at most 14 digits with at most four decimals, whose
    // value fits without a check: worked out in one pass; anything else as
    // the lexer works it out.
    const auto digit = [this](std::size_t at) {
        return at < m_data.size() && m_data[at] >= '0' && m_data[at] <= '9';
    };
    const std::size_t start = m_at;
    std::size_t at = start;
    std::int64_t whole = 0;
    for (; digit(at) && at - start < 14; ++at)
        whole = whole * 10 + (m_data[at] - '0');
    std::int64_t fraction = 0;
    std::size_t decimals = 0;
    if (!digit(at) && at < m_data.size() && m_data[at] == '.') {
        for (++at; digit(at) && decimals < 4; ++at, ++decimals)
            fraction = fraction * 10 + (m_data[at] - '0');
    }
    if (!digit(at) && !(at < m_data.size() && m_data[at] == '.')) {
        m_at = at;
        for (; decimals < 4; ++decimals)
            fraction *= 10;
        return whole * CurrencyScale + fraction;
    }
    std::size_t end = at;
    while (digit(end) || (end < m_data.size() && m_data[end] == '.'))
        ++end;
    if (end - start > TPdfLexer::MaxTokenLength) {
        m_at = start + TPdfLexer::MaxTokenLength + 1;
        failAt("PDF READ LIMIT ERROR Address : ");
    }
    m_at = end;
    return pdfreader::parseCurrency(m_data.substr(start, end - start));
}

// The stream is read token by token between text objects, so that a `BT`
// counts only where a viewer would run it. Strings, comments and the data
// of inline images are passed over whole; a `BT` inside one of them would
// be text no viewer shows, and so is one drawn in an invisible rendering
// mode (3, or 7, which only clips): either refuses the stream.
//
// Only a delimiter and a token that starts with `B`, `T` or `r` (`BT`,
// `BI`, `Tr`, `rg`) do anything, so the scan goes from one such byte to the
// next; the numbers and other operators between are passed over without
// being told apart. Whether the token before a `Tr` is the operand 3 or 7
// is worked out when a `Tr` comes, from the last place after which no
// token has been passed over (`settled`).
void TPdfContentScanner::scan(TPdfString &items)
{
    m_lines = items.lineCount();
    m_bytes = items.textBytes();
    const char *const bytes = m_data.data();
    const std::size_t size = m_data.size();
    const auto kindAt = [bytes](std::size_t at) { return kByteKinds[static_cast<unsigned char>(bytes[at])]; };
    std::size_t settled = m_at;
    while (m_at < size) {
        std::size_t at = m_at;
        while (at < size && !kScanStops[static_cast<unsigned char>(bytes[at])])
            ++at;
        if (at == size) {
            m_at = size;
            break;
        }
        const unsigned char c = static_cast<unsigned char>(bytes[at]);
        if (kByteKinds[c] == ByteKind::Delimiter) {
            m_at = at + 1;
            switch (c) {
            case '%':
                skipHidden(HiddenKind::Comment); // the token before still counts
                continue;
            case '(':
                skipHidden(HiddenKind::Literal);
                break;
            case '<': {
                unsigned char after = 0;
                if (next(after) && after != '<') {
                    back();
                    skipHidden(HiddenKind::Hex);
                }
                break;
            }
            case '/':
                // A name, up to the next blank or delimiter.
                while (m_at < size && kindAt(m_at) == ByteKind::Regular)
                    ++m_at;
                break;
            default:
                break;
            }
            settled = m_at;
            continue;
        }
        // `B`, `T` or `r`: only the first byte of a token matters. A token
        // starts after a blank, or where the scan went on after the last
        // thing it acted on.
        if (at != settled && kindAt(at - 1) == ByteKind::Regular) {
            m_at = at + 1;
            continue;
        }
        std::size_t end = at + 1;
        while (end < size && kindAt(end) == ByteKind::Regular)
            ++end;
        m_at = end;
        if (end - at == 2) {
            const unsigned char second = static_cast<unsigned char>(bytes[at + 1]);
            if (c == 'T' && second == 'r') {
                if (afterInvisibleMode(settled, at))
                    failAt("PDF HIDDEN TEXT ERROR Address : ");
            } else if (c == 'r' && second == 'g') {
                items.addFillColour();
            } else if (c == 'B' && second == 'I') {
                skipInlineImage();
            } else if (c == 'B' && second == 'T') {
                addTextObject(items);
            }
        }
        settled = m_at;
    }
}

// Whether the last token between `from` and `to` is the operand 3 or 7:
// between them lie only blanks, comments and tokens, `from` at a token's
// start.
bool TPdfContentScanner::afterInvisibleMode(std::size_t from, std::size_t to) const
{
    bool invisible = false;
    std::size_t at = from;
    while (at < to) {
        const unsigned char c = static_cast<unsigned char>(m_data[at++]);
        if (isBlank(c))
            continue;
        if (c == '%') {
            while (at < to && !isLineEnd(static_cast<unsigned char>(m_data[at])))
                ++at;
            ++at; // its line end
            continue;
        }
        const std::size_t start = at - 1;
        while (at < to && kByteKinds[static_cast<unsigned char>(m_data[at])] == ByteKind::Regular)
            ++at;
        invisible = at - start == 1 && (c == '3' || c == '7');
    }
    return invisible;
}

void TPdfContentScanner::addTextObject(TPdfString &items)
{
    if (items.seenCount() >= MaxTextItems)
        failAt("PDF READ LIMIT ERROR Address : ");
    skipLineEnd();
    TPdfCurrency x = 0;
    TPdfCurrency y = 0;
    m_passedColours = 0;
    m_objectLines = 0;
    m_objectBytes = 0;
    std::vector<std::string> lines = readTextObject(items, x, y);
    if (m_keep)
        items.add(x, y, std::move(lines));
    else
        items.pass(m_objectLines, m_objectBytes);
    for (; m_passedColours > 0; --m_passedColours)
        items.addFillColour();
}

// Passes over a comment (to its line end), a literal string (to its
// balancing parenthesis, escapes honoured) or a hex string (to its `>`),
// its opening byte already read; a `BT` inside refuses the stream.
void TPdfContentScanner::skipHidden(HiddenKind kind)
{
    int depth = 1;
    unsigned char last = 0;
    unsigned char c = 0;
    while (next(c)) {
        if (last == 'B' && c == 'T')
            failAt("PDF HIDDEN TEXT ERROR Address : ");
        last = c;
        switch (kind) {
        case HiddenKind::Comment:
            if (c == '\r' || c == '\n')
                return;
            break;
        case HiddenKind::Hex:
            if (c == '>')
                return;
            break;
        case HiddenKind::Literal:
            if (c == '\\') {
                if (!next(c))
                    return;
                last = 0;
            } else if (c == '(') {
                ++depth;
            } else if (c == ')' && --depth == 0) {
                return;
            }
            break;
        }
    }
}

// After `BI`: the image's dictionary up to `ID` and one blank, then its
// data up to a blank, `EI` and a blank or the end. A `BT` in the data
// refuses the stream.
void TPdfContentScanner::skipInlineImage()
{
    if (!skipPast("ID"))
        return;
    unsigned char c = 0;
    if (!next(c))
        return;
    unsigned char before2 = 0; // the two bytes before `c`
    unsigned char before1 = 0;
    while (next(c)) {
        if (before1 == 'B' && c == 'T')
            failAt("PDF HIDDEN TEXT ERROR Address : ");
        if (before1 == 'E' && c == 'I' && isBlank(before2)) {
            unsigned char after = 0;
            if (!next(after))
                return;
            if (isBlank(after))
                return;
            back();
        }
        before2 = before1;
        before1 = c;
    }
}

void TPdfContentScanner::keepLine(std::vector<std::string> &lines, std::string &line)
{
    const std::size_t size = m_keep ? line.size() : m_lineSize;
    m_bytes += size;
    if (++m_lines > MaxTextLines || m_bytes > MaxTextBytes)
        failAt("PDF READ LIMIT ERROR Address : ");
    ++m_objectLines;
    m_objectBytes += size;
    if (m_keep)
        lines.push_back(std::move(line));
    line.clear();
    m_lineSize = 0;
}

std::int32_t TPdfContentScanner::fillColoursIn(std::string_view bytes)
{
    std::int32_t count = 0;
    if (bytes.size() < 2)
        return count; // a line end, most often
    for (std::size_t at = bytes.find("rg"); at != std::string_view::npos; at = bytes.find("rg", at + 2)) {
        const bool startsToken = at == 0 || isBlank(static_cast<unsigned char>(bytes[at - 1]));
        const bool endsToken = at + 2 == bytes.size() || isBlank(static_cast<unsigned char>(bytes[at + 2])) ||
                               isDelimiter(static_cast<unsigned char>(bytes[at + 2]));
        count += startsToken && endsToken ? 1 : 0;
    }
    return count;
}

bool TPdfContentScanner::readLiteral(std::string &line)
{
    auto get = [this](unsigned char &c) { return next(c); };
    auto unget = [this] { back(); };
    switch (pdfreader::decodeLiteral(get, unget, line, TPdfLexer::MaxTokenLength)) {
    case pdfreader::LiteralEnd::Closed:
        m_lineSize = line.size();
        return true;
    case pdfreader::LiteralEnd::TooLong:
        failAt("PDF READ LIMIT ERROR Address : ");
    case pdfreader::LiteralEnd::EndOfInput:
        break;
    }
    return false;
}

// Upper-case hex digits, two to a byte, a lone last digit taken as its high
// half; the string must end with `>`.
bool TPdfContentScanner::readHex(std::string &line)
{
    const std::size_t start = m_at;
    std::size_t end = start;
    while (end < m_data.size() && isUpperHex(static_cast<unsigned char>(m_data[end])))
        ++end;
    if (end - start > TPdfLexer::MaxTokenLength) {
        m_at = start + TPdfLexer::MaxTokenLength + 1;
        failAt("PDF READ LIMIT ERROR Address : ");
    }
    m_at = end;
    if (m_keep) {
        for (std::size_t i = start; i < end; i += 2)
            line.push_back(static_cast<char>(TPdfLexer::HexPairToByte(m_data[i], i + 1 < end ? m_data[i + 1] : '0')));
    } else {
        m_lineSize = (end - start + 1) / 2; // only its size counts
    }
    unsigned char c = 0;
    return next(c) && c == '>';
}

std::vector<std::string> TPdfContentScanner::readTextObject(const TPdfString &items, TPdfCurrency &x, TPdfCurrency &y)
{
    std::vector<std::string> lines;
    x = 0;
    y = 0;
    m_keep = items.wants(x, y);
    m_lineSize = 0;

    // A font selection inside the object: pass over it up to its Tf.
    unsigned char c = 0;
    if (!next(c))
        return lines;
    if (c == '/') {
        skipPast("Tf");
        skipLineEnd();
    } else {
        back();
    }

    x = readReal();
    skipBlanks();
    y = readReal();
    skipBlanks();
    m_keep = items.wants(x, y);
    m_at = std::min(m_at + 3, m_data.size()); // over "Td" and its line end

    std::size_t mark = m_at;
    std::string line;
    if (nextTwoAre("ET")) {
        skipLineEnd();
        keepLine(lines, line);
        return lines;
    }
    m_at = mark;

    for (;;) {
        // The next string of the object.
        const std::size_t from = m_at;
        std::size_t found = from;
        while (found < m_data.size() && m_data[found] != '(' && m_data[found] != '<')
            ++found;
        if (found == m_data.size()) {
            m_at = found;
            return lines;
        }
        m_passedColours += fillColoursIn(m_data.substr(from, found - from));
        m_at = found + 1;
        line.clear();
        m_lineSize = 0;
        if (m_data[found] == '(') {
            if (!readLiteral(line))
                return lines;
        } else if (!readHex(line)) {
            return lines;
        }
        skipBlanks();
        if (!nextTwoAre("Tj"))
            return lines;
        skipLineEnd();

        mark = m_at;
        if (nextTwoAre("ET")) {
            keepLine(lines, line);
            return lines;
        }
        m_at = mark;
        if (!nextTwoAre("T*"))
            return lines;
        // One or more T*: each ends a line, the first the one just read.
        for (;;) {
            keepLine(lines, line);
            skipLineEnd();
            mark = m_at;
            if (nextTwoAre("T*"))
                continue;
            m_at = mark;
            if (nextTwoAre("ET"))
                return lines;
            m_at = mark;
            break;
        }
    }
}
