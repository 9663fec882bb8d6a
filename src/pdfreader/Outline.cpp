// The document outline, read for the pages' titles: its root and the items
// of its top level in Next order.
#include "pdfreader/Contents.h"

#include <set>

void TPdfContents::loadOutlineItem(const std::string &reference)
{
    m_outline.item = TPdfOutlineItem();
    if (!openOptionalDictionary(reference))
        return;
    const bool ok = readDictionaryBody([this](const std::string &key) {
        TPdfOutlineItem &i = m_outline.item;
        if (key == "Title")
            i.title = ReadString();
        else if (key == "Parent")
            i.parent = ReadReference();
        else if (key == "Prev")
            i.prev = ReadReference();
        else if (key == "Next")
            i.next = ReadReference();
        else if (key == "First")
            i.first = ReadReference();
        else if (key == "Last")
            i.last = ReadReference();
        else if (key == "Count")
            i.count = ReadDigits();
        else if (key == "A")
            i.a = ReadDigits();
        else if (key == "SE")
            i.se = ReadDigits();
        else if (key == "C")
            i.c = ReadDigits();
        else if (key == "F")
            i.f = ReadDigits();
        else if (key == "Dest")
            i.dest = GetIDArrayToken();
        else
            return false;
        return true;
    });
    if (!ok)
        failAt("PDF OUTLINE OBJ ERROR Address :");
}

// Reads the outline's top level once. The search for a page stops at the
// first item naming it, so what an uncached search would have raised is
// kept and raised again by every search that gets that far.
void TPdfContents::readOutline()
{
    m_outline.read = true;
    try {
        m_outline.type.clear();
        m_outline.first.clear();
        m_outline.last.clear();
        std::string count;
        if (catalog().outlines.size() > 4) {
            findObject(catalog().outlines);
            if (readBytes(2) == "<<") {
                const bool ok = readDictionaryBody([&](const std::string &key) {
                    if (key == "Type")
                        m_outline.type = ReadName();
                    else if (key == "First")
                        m_outline.first = ReadReference();
                    else if (key == "Last")
                        m_outline.last = ReadReference();
                    else if (key == "Count")
                        count = ReadDigits();
                    else
                        return false;
                    return true;
                });
                if (!ok)
                    fail("PDF OUTLINE DICTIONARY ERROR");
            }
        }
        if (m_outline.type != "Outlines")
            return;
        const auto value = toInt32(count);
        if (!value)
            fail("PDF OUTLINES COUNT ERROR");
        m_outline.count = *value;
        if (m_outline.count < 1)
            return;

        // An item whose Next leads back to one already seen ends the list.
        std::set<std::string> seen;
        auto keyOf = [](const std::string &reference) {
            const auto ref = ParseReference(reference);
            return ref ? std::to_string(ref->number) + " " + std::to_string(ref->generation) : reference;
        };
        std::string reference = m_outline.first;
        seen.insert(keyOf(reference));
        loadOutlineItem(reference);
        for (;;) {
            seek(m_outline.item.dest);
            const auto dest = ParseReference(ReadReference());
            if (!dest)
                fail("PDF OUTLINE DEST ERROR");
            m_outline.titles.emplace(std::make_pair(dest->number, dest->generation), m_outline.item.title);
            if (m_outline.item.next.size() <= 4)
                return;
            if (!seen.insert(keyOf(m_outline.item.next)).second)
                return;
            reference = m_outline.item.next;
            loadOutlineItem(reference);
        }
    } catch (const EPdfReadError &error) {
        m_outline.error = error;
    }
}

std::string TPdfContents::pageTitle(std::int32_t objectNumber, std::int32_t generation)
{
    if (!m_outline.read)
        readOutline();
    if (const auto title = m_outline.titles.find({objectNumber, generation}); title != m_outline.titles.end())
        return title->second;
    if (m_outline.error)
        throw *m_outline.error;
    return std::string();
}
