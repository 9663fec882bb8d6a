#include "pdfreader/ContentScanner.h"

#include <algorithm>

TPdfContentScanner::TPdfContentScanner(std::string_view data)
    : TPdfLexer(TPdfInputStream::fromView(data), TEndOfInput::Stop)
{
}

void TPdfContentScanner::scan(TPdfString &items)
{
    m_lines = items.lineCount();
    m_bytes = items.textBytes();
    unsigned char c = 0;
    while (tryReadByte(c)) {
        if (c != 'B')
            continue;
        if (!tryReadByte(c) || c != 'T')
            continue;
        if (items.count() >= MaxTextItems)
            failAt("PDF READ LIMIT ERROR Address : ");
        SkipLineEnd();
        TPdfCurrency x = 0;
        TPdfCurrency y = 0;
        std::vector<std::string> lines = readTextObject(x, y);
        items.add(x, y, std::move(lines));
    }
}

void TPdfContentScanner::keepLine(std::vector<std::string> &lines, std::string line)
{
    m_bytes += line.size();
    if (++m_lines > MaxTextLines || m_bytes > MaxTextBytes)
        failAt("PDF READ LIMIT ERROR Address : ");
    lines.push_back(std::move(line));
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
        const std::optional<unsigned char> open = SkipToAnyOf("(<");
        if (!open)
            return lines;
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
