#include "pdfreader/Base.h"

#include <algorithm>
#include <optional>
#include <string_view>

TPdfBase::TPdfBase(std::unique_ptr<TPdfInputStream> stream) : TPdfLexer(std::move(stream))
{
    open();
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

    // "startxref" must begin within the 50 bytes that end with "%%EOF"; of
    // several there the last counts, as a file updated incrementally ends
    // with its newest one. A "startxref" inside a comment (after a "%" on
    // its line) or inside a longer word is no keyword. The bytes read before
    // the window find the start of the first line; a line that does not
    // start within them is taken as a comment.
    const std::int64_t eofAt = position() - 5;
    const std::int64_t windowStart = std::max<std::int64_t>(eofAt - 45, 1);
    const std::int64_t regionStart = std::max<std::int64_t>(windowStart - 1024, 0);
    seek(regionStart);
    const std::string region = readBytes(static_cast<std::size_t>(eofAt - regionStart));
    const auto isSpace = [](char b) {
        return b == ' ' || b == '\r' || b == '\n' || b == '\t' || b == '\f' || b == '\0';
    };
    const auto inComment = [&](std::size_t at) {
        for (std::size_t i = at; i-- > 0;) {
            if (region[i] == '\r' || region[i] == '\n')
                return false;
            if (region[i] == '%')
                return true;
        }
        return regionStart > 0;
    };
    std::optional<std::size_t> keyword;
    const std::string_view word = "startxref";
    for (std::size_t at = static_cast<std::size_t>(windowStart - regionStart); at < region.size(); ++at) {
        if (region.compare(at, word.size(), word) != 0)
            continue;
        const bool boundedBefore = at == 0 || isSpace(region[at - 1]);
        const bool boundedAfter = at + word.size() >= region.size() || isSpace(region[at + word.size()]);
        if (boundedBefore && boundedAfter && !inComment(at))
            keyword = at;
    }
    if (!keyword)
        fail("PDF STARTXREF ERROR");
    seek(regionStart + static_cast<std::int64_t>(*keyword + word.size()));
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
