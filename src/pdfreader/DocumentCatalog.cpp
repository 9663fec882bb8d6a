#include "pdfreader/DocumentCatalog.h"

TPdfDocumentCatalog::TPdfDocumentCatalog(std::unique_ptr<TPdfInputStream> stream)
    : TPdfXReference(std::move(stream))
{
    readCatalog();
    readInformation();
}

bool TPdfDocumentCatalog::openOptionalDictionary(const std::string &reference)
{
    if (reference.size() <= 4)
        return false;
    findObject(reference);
    return readBytes(2) == "<<";
}

std::int64_t TPdfDocumentCatalog::findObject(std::string_view reference, TPdfReference *found)
{
    const auto ref = ParseReference(reference);
    if (!ref)
        fail("PDF OBJ FORMAT ERROR");
    const auto offset = entries().find(ref->number, ref->generation);
    if (!offset)
        fail("PDF OBJ INDEX ERROR");
    seek(*offset);
    const auto number = toInt32(ReadDigits());
    if (!number)
        failAt("PDF OBJ NO ERROR Address : ");
    SkipBlanks();
    const auto generation = toInt32(ReadDigits());
    if (!generation)
        fail("PDF GEN NO ERROR");
    SkipBlanks();
    if (readBytes(3) != "obj")
        failAt("PDF OBJ NOT FOUND ERROR Address : ");
    if (*number != ref->number)
        fail("SYSTEM OBJ UNMATCH ERROR");
    if (*generation != ref->generation)
        fail("SYSTEM GEN UNMATCH ERROR");
    SkipBlanks();
    SkipLineEnd();
    if (found)
        *found = *ref;
    return position();
}

void TPdfDocumentCatalog::readCatalog()
{
    m_catalog = TPdfCatalogValues();
    TPdfReference ref;
    const std::int64_t start = findObject(trailer().root, &ref);
    m_catalog.objectNumber = ref.number;
    m_catalog.generation = ref.generation;
    if (readBytes(2) != "<<")
        fail("PDF CATALOG DICTIONARY ERROR");
    seek(start + 2);
    const bool ok = readDictionaryBody([this](const std::string &key) {
        TPdfCatalogValues &c = m_catalog;
        if (key == "Type")
            c.type = ReadName();
        else if (key == "Version")
            c.version = ReadName();
        else if (key == "PageLayout")
            c.pageLayout = ReadName();
        else if (key == "PageMode")
            c.pageMode = ReadName();
        else if (key == "Pages")
            c.pages = ReadReference();
        else if (key == "PageLabels")
            c.pageLabels = ReadReference();
        else if (key == "Names")
            c.names = ReadReference();
        else if (key == "Outlines")
            c.outlines = ReadReference();
        else if (key == "Metadata")
            c.metadata = ReadReference();
        else if (key == "StructTreeRoot")
            c.structTreeRoot = ReadReference();
        else if (key == "Collection")
            c.collection = ReadReference();
        else if (key == "Dests")
            c.dests = GetDictionaryToken();
        else if (key == "ViewerPreferences")
            c.viewerPreferences = GetDictionaryToken();
        else if (key == "MarkInfo")
            c.markInfo = GetDictionaryToken();
        else if (key == "Threads")
            c.threads = GetIDArrayToken();
        else if (key == "OpenAction")
            c.openAction = GetDictionaryOrArrayToken();
        else if (key == "AA" || key == "URI" || key == "AcroForm" || key == "Spiderinfo" || key == "Outputintents"
                 || key == "Pleceinfo" || key == "Perms" || key == "Legal" || key == "Requirements"
                 || key == "NeedsRendering")
            ReadName();
        else if (key == "Lang")
            ReadString();
        else
            fail("PDF CATALOG KEY NOT SUPPORT");
        return true;
    });
    if (!ok)
        fail("PDF CATALOG PAGE ERROR");
    SkipBlanks();
    if (readBytes(6) != "endobj")
        fail("PDF CATALOG PAGE ERROR");
}

void TPdfDocumentCatalog::readInformation()
{
    m_info = TPdfInfoValues();
    TPdfReference ref;
    const std::int64_t start = findObject(trailer().info, &ref);
    m_info.objectNumber = ref.number;
    m_info.generation = ref.generation;
    if (readBytes(2) != "<<")
        fail("PDF INFO DICTIONARY ERROR");
    seek(start + 2);
    const bool ok = readDictionaryBody([this](const std::string &key) {
        TPdfInfoValues &i = m_info;
        if (key == "Title")
            i.title = ReadString();
        else if (key == "Author")
            i.author = ReadString();
        else if (key == "Subject")
            i.subject = ReadString();
        else if (key == "Keywords")
            i.keywords = ReadString();
        else if (key == "Creator")
            i.creator = ReadString();
        else if (key == "Producer")
            i.producer = ReadString();
        else if (key == "CreationDate")
            i.creationDate = ReadString();
        else if (key == "ModDate")
            i.modDate = ReadString();
        else if (key == "Trapped")
            i.trapped = ReadName();
        else
            fail("PDF INFO KEY NOT SUPPORT");
        return true;
    });
    if (!ok)
        fail("PDF INFO OBJ ERROR");
    SkipBlanks();
    if (readBytes(6) != "endobj")
        fail("PDF INFO OBJ ERROR");
}
