#include "pdfreader/Base.h"

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
