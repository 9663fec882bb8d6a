#include "pdfreader/Contents.h"

#include "plan/Cp932.h"

#include <algorithm>

TPdfContents::TPdfContents(std::unique_ptr<TPdfInputStream> stream) : TPdfDocumentCatalog(std::move(stream))
{
    m_walkFinished = true;
    m_top = 0;
    m_stack[0] = StackEntry();
}

void TPdfContents::loadNode(const std::string &reference)
{
    m_node = TPdfNodeValues();
    if (reference.size() <= 4)
        return;
    TPdfReference ref;
    findObject(reference, &ref);
    m_node.objectNumber = ref.number;
    m_node.generation = ref.generation;
    if (readBytes(2) == "<<") {
        if (!readNodeDictionary())
            failAt("Pages Error Object Address : ");
    }
    const std::int64_t mark = position();
    if (readBytes(6) == "endobj") {
        SkipBlanks();
        SkipLineEnd();
    } else {
        seek(mark + 6);
    }
}

bool TPdfContents::readNodeDictionary()
{
    return readDictionaryBody([this](const std::string &key) {
        TPdfNodeValues &n = m_node;
        if (key == "Type") {
            n.type = ReadName();
        } else if (key == "Parent") {
            n.parent = ReadReference();
        } else if (key == "Kids") {
            n.kids = GetIDArrayToken();
        } else if (key == "Count") {
            n.count = ReadToken();
        } else if (key == "LastModified") {
            n.lastModified = ReadStringOrArray();
        } else if (key == "Resources") {
            const std::int64_t valueStart = position();
            unsigned char c = 0;
            const bool direct = tryReadByte(c) && c == '<';
            seek(valueStart);
            if (direct) {
                n.resources = GetDictionaryToken();
            } else {
                const std::string reference = ReadReference();
                if (reference.size() < 5)
                    failAt("PDF PAGE RESOURCES ERROR Address : ");
                const std::int64_t after = position();
                SkipBlanks();
                n.resources = findObject(reference);
                seek(after);
            }
        } else if (key == "MediaBox" || key == "CropBox") {
            // Kept as written, for the caller to tell the page's size.
            const std::int64_t start = position();
            SkipArray();
            const std::int64_t end = position();
            seek(start);
            std::string &box = key == "MediaBox" ? n.mediaBox : n.cropBox;
            box = readBytes(static_cast<std::size_t>(std::min<std::int64_t>(end - start, 64)));
            seek(end);
        } else if (key == "BleedBox" || key == "TrimBox" || key == "ArtBox" || key == "B") {
            SkipArray();
        } else if (key == "BoxColoInfo" || key == "Group" || key == "Trans" || key == "AA" || key == "PieceInfo"
                   || key == "SeparationInfo" || key == "PresSteps" || key == "VP") {
            SkipDictionary();
        } else if (key == "Contents") {
            n.contents = ReadReference();
        } else if (key == "Rotate") {
            n.rotate = ReadDigits();
        } else if (key == "Dur") {
            n.dur = ReadDigits();
        } else if (key == "StructParents") {
            n.structParents = ReadDigits();
        } else if (key == "PZ") {
            n.pz = ReadDigits();
        } else if (key == "UserUnit") {
            n.userUnit = ReadDigits();
        } else if (key == "ID") {
            n.id = ReadReference();
        } else if (key == "Tabs") {
            n.tabs = ReadName();
        } else if (key == "TemplateInstantiated") {
            n.templateInstantiated = ReadName();
        } else if (key == "Annots") {
            n.annots = GetIDArrayToken();
        } else if (key == "Thumb") {
            static const std::string message = "thumb " + cp932::fromUtf8("未サポート");
            fail(message);
        } else if (key == "Metadata") {
            static const std::string message = "Metadata " + cp932::fromUtf8("未サポート");
            fail(message);
        } else {
            return false;
        }
        return true;
    });
}

// Each element is read with ReadReference, as it stands: an element that
// is no reference is kept as its text and refused when the walk reaches it
// (an empty text, as after a CR LF between two elements, names no node). An
// element from which ReadReference reads nothing at all (a direct
// dictionary, a name) would be read again and again: such an array is
// refused at once.
void TPdfContents::readKids()
{
    seek(m_node.kids);
    m_kids.clear();
    unsigned char c = 0;
    while (!atEnd()) {
        const std::int64_t start = position();
        if (!tryReadByte(c) || c == ']')
            break;
        seek(start);
        std::string reference = ReadReference();
        if (position() == start)
            fail("PDF KIDS ARRAY ERROR");
        if (m_kids.size() >= MaxPages)
            failAt("PDF READ LIMIT ERROR Address : ");
        m_kids.push_back(std::move(reference));
    }
}

void TPdfContents::push(const std::string &reference, int index, std::vector<std::string> kids)
{
    if (++m_top > MaxLevels)
        fail("PDF STACK OVERFLOW ERROR");
    // Descending into a node that is already on the stack leads back to it,
    // one level deeper each time, until the stack overflows: say so at once.
    if (index == 0) {
        const auto ref = ParseReference(reference);
        for (int i = 1; i < m_top && ref; ++i) {
            const auto other = ParseReference(m_stack[i].reference);
            if (other && other->number == ref->number && other->generation == ref->generation)
                fail("PDF STACK OVERFLOW ERROR");
        }
    }
    m_stack[m_top].reference = reference;
    m_stack[m_top].index = index;
    m_stack[m_top].kids = std::move(kids);
}

TPdfContents::StackEntry TPdfContents::pop()
{
    StackEntry entry = std::move(m_stack[m_top]);
    m_stack[m_top] = StackEntry();
    if (m_top > 0)
        --m_top;
    return entry;
}

void TPdfContents::descend(std::string reference)
{
    loadNode(reference);
    while (m_node.type == "Pages") {
        readKids();
        if (m_kids.empty())
            fail("PDF INDEX ARRAY ERROR");
        m_currentKid = 0;
        push(reference, 0, m_kids);
        reference = m_kids[0];
        loadNode(reference);
    }
    if (m_node.type != "Page")
        fail("PDF PAGE TYPE ERROR");
    reachedPage();
}

// Kids arrays may name a page more than once, and every naming is a page of
// the walk. Sharing nodes between levels multiplies the pages, though: a
// small file could make millions of them. A tree without sharing cannot
// have more pages than the file has references of at least 5 bytes ("4 0 R"),
// so more pages than that are refused as a work limit, and so are more than
// MaxPages pages in any file (a plan has two).
void TPdfContents::reachedPage()
{
    if (++m_pageVisits > std::min<std::int64_t>(fileSize() / 5, MaxPages))
        failAt("PDF READ LIMIT ERROR Address : ");
    m_walkFinished = false;
}

void TPdfContents::startWalk()
{
    m_top = 0;
    m_stack[0] = StackEntry();
    m_pageVisits = 0;
    descend(catalog().pages);
}

void TPdfContents::nextPage()
{
    if (m_walkFinished)
        return;
    for (;;) {
        StackEntry entry = pop();
        if (entry.reference.empty()) {
            m_walkFinished = true;
            return;
        }
        // The node's kids were read when it was pushed; the file does not
        // change, so they are not read again.
        ++entry.index;
        if (entry.index >= static_cast<int>(entry.kids.size()))
            continue;
        m_currentKid = entry.index;
        const std::string kid = entry.kids[static_cast<std::size_t>(entry.index)];
        push(entry.reference, entry.index, std::move(entry.kids));
        loadNode(kid);
        if (m_node.type == "Pages")
            descend(kid);
        else if (m_node.type == "Page")
            reachedPage();
        else
            fail("PDF PAGE TYPE ERROR");
        return;
    }
}
