#include "pdfreader/ContentScanner.h"

#include <algorithm>

TPdfContentScanner::TPdfContentScanner(std::string_view data)
    : TPdfLexer(TPdfInputStream::fromView(data), TEndOfInput::Stop)
{
}

namespace {

bool isDelimiter(unsigned char c)
{
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}' || c == '/' ||
           c == '%';
}

} // namespace

// The stream is read token by token between text objects, so that a `BT`
// counts only where a viewer would run it. Strings, comments and the data
// of inline images are passed over whole; a `BT` inside one of them would
// be text no viewer shows, and so is one drawn in an invisible rendering
// mode (3, or 7, which only clips): either refuses the stream.
void TPdfContentScanner::scan(TPdfString &items)
{
    m_lines = items.lineCount();
    m_bytes = items.textBytes();
    std::string previous; // the token before the current one, its first bytes
    std::string token;
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (isBlank(c))
            continue;
        if (c == '%') {
            skipHidden(HiddenKind::Comment);
            continue;
        }
        if (c == '(') {
            skipHidden(HiddenKind::Literal);
            previous.clear();
            continue;
        }
        if (c == '<') {
            unsigned char next = 0;
            if (tryReadByte(next) && next != '<') {
                seek(position() - 1);
                skipHidden(HiddenKind::Hex);
            }
            previous.clear();
            continue;
        }
        if (isDelimiter(c) && c != '/') {
            previous.clear();
            continue;
        }
        // A name or a regular token: numbers and operators.
        const bool name = c == '/';
        token.assign(1, static_cast<char>(c));
        while (tryReadByte(c)) {
            if (isBlank(c) || isDelimiter(c)) {
                seek(position() - 1);
                break;
            }
            if (token.size() < 8)
                token.push_back(static_cast<char>(c));
        }
        if (name) {
            previous.clear();
            continue;
        }
        if (token == "Tr" && (previous == "3" || previous == "7"))
            failAt("PDF HIDDEN TEXT ERROR Address : ");
        if (token == "rg") {
            items.addFillColour();
        } else if (token == "BI") {
            skipInlineImage();
        } else if (token == "BT") {
            if (items.count() >= MaxTextItems)
                failAt("PDF READ LIMIT ERROR Address : ");
            SkipLineEnd();
            TPdfCurrency x = 0;
            TPdfCurrency y = 0;
            m_passedColours = 0;
            std::vector<std::string> lines = readTextObject(x, y);
            items.add(x, y, std::move(lines));
            for (; m_passedColours > 0; --m_passedColours)
                items.addFillColour();
            token.clear();
        }
        previous = token;
    }
}

// Passes over a comment (to its line end), a literal string (to its
// balancing parenthesis, escapes honoured) or a hex string (to its `>`),
// its opening byte already read; a `BT` inside refuses the stream.
void TPdfContentScanner::skipHidden(HiddenKind kind)
{
    int depth = 1;
    unsigned char last = 0;
    unsigned char c = 0;
    while (tryReadByte(c)) {
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
                if (!tryReadByte(c))
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
    if (!SkipPast("ID"))
        return;
    unsigned char c = 0;
    if (!tryReadByte(c))
        return;
    unsigned char before2 = 0; // the two bytes before `c`
    unsigned char before1 = 0;
    while (tryReadByte(c)) {
        if (before1 == 'B' && c == 'T')
            failAt("PDF HIDDEN TEXT ERROR Address : ");
        if (before1 == 'E' && c == 'I' && isBlank(before2)) {
            unsigned char after = 0;
            if (!tryReadByte(after))
                return;
            if (isBlank(after))
                return;
            seek(position() - 1);
        }
        before2 = before1;
        before1 = c;
    }
}

void TPdfContentScanner::keepLine(std::vector<std::string> &lines, std::string line)
{
    m_bytes += line.size();
    if (++m_lines > MaxTextLines || m_bytes > MaxTextBytes)
        failAt("PDF READ LIMIT ERROR Address : ");
    lines.push_back(std::move(line));
}

std::int32_t TPdfContentScanner::fillColoursIn(std::string_view bytes)
{
    std::int32_t count = 0;
    for (std::size_t at = bytes.find("rg"); at != std::string_view::npos; at = bytes.find("rg", at + 2)) {
        const bool startsToken = at == 0 || isBlank(static_cast<unsigned char>(bytes[at - 1]));
        const bool endsToken = at + 2 == bytes.size() || isBlank(static_cast<unsigned char>(bytes[at + 2])) ||
                               isDelimiter(static_cast<unsigned char>(bytes[at + 2]));
        count += startsToken && endsToken ? 1 : 0;
    }
    return count;
}

std::string TPdfContentScanner::hexBytes(std::string_view hex)
{
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(HexPairToByte(hex[i], i + 1 < hex.size() ? hex[i + 1] : '0')));
    return bytes;
}

std::vector<std::string> TPdfContentScanner::readTextObject(TPdfCurrency &x, TPdfCurrency &y)
{
    std::vector<std::string> lines;
    x = 0;
    y = 0;

    // A font selection inside the object: pass over it up to its Tf.
    unsigned char c = 0;
    if (!tryReadByte(c))
        return lines;
    if (c == '/') {
        SkipPast("Tf");
        SkipLineEnd();
    } else {
        seek(position() - 1);
    }

    x = ReadReal();
    SkipBlanks();
    y = ReadReal();
    SkipBlanks();
    seek(std::min(position() + 3, fileSize())); // over "Td" and its line end

    std::int64_t mark = position();
    if (readBytes(2) == "ET") {
        SkipLineEnd();
        keepLine(lines, std::string());
        return lines;
    }
    seek(mark);

    std::string line;
    for (;;) {
        // The next string of the object.
        const std::int64_t from = position();
        const std::optional<unsigned char> open = SkipToAnyOf("(<");
        if (!open)
            return lines;
        const std::int64_t found = position();
        seek(from);
        m_passedColours += fillColoursIn(readBytes(found - 1 - from));
        seek(found);
        line.clear();
        if (*open == '(') {
            if (!ReadLiteral(line))
                return lines;
        } else {
            line = hexBytes(ReadHexDigits());
            if (!tryReadByte(c) || c != '>')
                return lines;
        }
        SkipBlanks();
        if (readBytes(2) != "Tj")
            return lines;
        SkipLineEnd();

        const std::string op = readBytes(2);
        if (op == "ET") {
            keepLine(lines, std::move(line));
            return lines;
        }
        if (op != "T*")
            return lines;
        // One or more T*: each ends a line, the first the one just read.
        for (;;) {
            keepLine(lines, std::move(line));
            line.clear();
            SkipLineEnd();
            mark = position();
            const std::string next = readBytes(2);
            if (next == "T*")
                continue;
            if (next == "ET")
                return lines;
            seek(mark);
            break;
        }
    }
}
