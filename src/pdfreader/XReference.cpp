#include "pdfreader/XReference.h"

#include <set>

TPdfXReference::TPdfXReference(std::unique_ptr<TPdfInputStream> stream) : TPdfBase(std::move(stream))
{
    // The chain of sections is followed in a loop; an offset met twice
    // would make it endless and is refused like a Prev that is no number.
    std::set<std::int64_t> visited;
    std::int64_t offset = lastCrossReferenceOffset();
    TPdfTrailerValues newest;
    bool first = true;
    for (;;) {
        visited.insert(offset);
        m_trailer = TPdfTrailerValues();
        readSection(offset);
        if (first) {
            newest = m_trailer;
            first = false;
        }
        std::int64_t prev = 0;
        if (!m_trailer.prev.empty()) {
            const auto value = toInt64(m_trailer.prev);
            if (!value)
                fail("PDF TRAILER PREV XREF ERROR");
            prev = *value;
        }
        if (prev == 0)
            break;
        if (visited.count(prev))
            fail("PDF TRAILER PREV XREF ERROR");
        offset = prev;
    }
    m_trailer = newest;
}

void TPdfXReference::readSection(std::int64_t offset)
{
    seek(offset);
    if (ReadLine().substr(0, 4) != "xref")
        fail("PDF XREF ERROR");
    SkipBlanks();
    SkipLineEnd();

    for (;;) {
        const auto firstNumber = toInt32(ReadDigits());
        if (!firstNumber)
            fail("PDF OBJ NO ERROR");
        SkipBlanks();
        const auto count = toInt32(ReadDigits());
        if (!count)
            fail("PDF GEN NO ERROR");
        SkipBlanks();
        SkipLineEnd();
        // An entry line takes at least 19 bytes, so the file cannot hold
        // more entries than that allows, in this section or in all sections
        // together: a count beyond it is refused before the lines are read.
        const std::int64_t room = (fileSize() - position()) / 19 + 1;
        if (*count > room || static_cast<std::int64_t>(m_entries.count()) + *count > fileSize() / 19 + 1)
            failAt("PDF READ LIMIT ERROR Address : ");
        for (std::int32_t index = 0; index < *count; ++index) {
            // Columns of a 20-byte entry line: offset 1-10, generation
            // 12-16, kind 18.
            const std::string line = ReadLine();
            const std::string_view view(line);
            const auto entryOffset = toInt64(view.substr(0, 10));
            if (!entryOffset)
                fail("PDF XREF ENTRY OBJ NO ERROR");
            const auto generation = toInt32(view.size() > 11 ? view.substr(11, 5) : std::string_view());
            if (!generation)
                fail("PDF XREF ENTRY GEN NO ERROR");
            if (view.size() < 18 || (view[17] != 'n' && view[17] != 'f'))
                fail("PDF XREF ENTRY N/F ERROR");
            TXrefEntry entry;
            entry.objectNumber = static_cast<std::int64_t>(*firstNumber) + index;
            entry.generation = *generation;
            entry.offset = *entryOffset;
            entry.kind = view[17];
            m_entries.add(entry);
        }
        const std::int64_t mark = position();
        if (readBytes(7) == "trailer")
            break;
        seek(mark);
        if (atEnd())
            break;
    }

    SkipBlanks();
    SkipLineEnd();
    const std::int64_t mark = position();
    const std::string line = ReadLine();
    if (line.substr(0, 2) == "<<") {
        seek(mark);
        if (!readTrailerDictionary())
            fail("PDF DICTIONARY ERROR");
    }
}

bool TPdfXReference::readTrailerDictionary()
{
    if (readBytes(2) != "<<")
        return false;
    return readDictionaryBody([this](const std::string &key) {
        if (key == "Size")
            m_trailer.size = ReadDigits();
        else if (key == "Root")
            m_trailer.root = ReadReference();
        else if (key == "Info")
            m_trailer.info = ReadReference();
        else if (key == "Prev")
            m_trailer.prev = ReadDigits();
        else if (key == "Encrypt")
            m_trailer.encrypt = ReadToken();
        else if (key == "ID")
            m_trailer.id = GetIDArrayToken();
        else if (key == "DocChecksum")
            m_trailer.docChecksum = ReadName();
        else if (key == "XRefStm")
            m_trailer.xrefStm = ReadToken();
        else
            SkipToLineEnd();
        return true;
    });
}
