#include "pdfreader/Page.h"

#include "pdfreader/ContentScanner.h"

using pdfreader::hexPosition;

namespace {

constexpr std::size_t ExternalObjectSlots = 20;

} // namespace

TPdfPage::TPdfPage(std::unique_ptr<TPdfInputStream> stream, const std::vector<TTextWindow> *keepOnly)
    : TPdfContents(std::move(stream))
{
    m_strings.setCurrentPage(1);
    if (keepOnly != nullptr)
        m_strings.keepOnly(*keepOnly);
    m_contentBudget = ContentBudgetFactor * fileSize() + ContentBudgetExtra;
    extractAllPages();
}

std::unique_ptr<TPdfPage> TPdfPage::openFile(const std::filesystem::path &fileName)
{
    return std::make_unique<TPdfPage>(TPdfInputStream::fromFile(fileName));
}

std::unique_ptr<TPdfPage> TPdfPage::fromBytes(std::string bytes)
{
    return std::make_unique<TPdfPage>(TPdfInputStream::fromBytes(std::move(bytes)));
}

std::string TPdfPage::imageData(std::size_t pageIndex)
{
    const TPageRecord &record = m_pages.records().at(pageIndex);
    if (record.imageDataLength <= 0)
        return std::string();
    return readRange(record.imageDataPosition, record.imageDataLength);
}

void TPdfPage::extractAllPages()
{
    startWalk();
    std::int32_t pageNumber = 1;
    while (!walkFinished()) {
        const TPdfNodeValues current = node();
        TPageRecord record;
        record.objectNumber = current.objectNumber;
        record.generation = current.generation;

        m_xobjectPosition = 0;
        seek(current.resources);
        if (readBytes(2) != "<<" || !readResources())
            fail("PDF PAGE RESOURCE ERROR");

        // Resources without an XObject entry simply have no external objects.
        m_externalObjects.clear();
        if (m_xobjectPosition != 0) {
            seek(m_xobjectPosition);
            if (readBytes(2) != "<<" || !readExternalObjectTable())
                fail("PDF PAGE XOBJECT ERROR");
        }
        if (!m_externalObjects.empty()) {
            record.externalObjectName = m_externalObjects.front().first;
            readFirstExternalObject(record);
        }

        if (current.annots != 0) {
            seek(current.annots);
            record.annotationText = readAnnotation(ReadReference());
        }
        record.title = pageTitle(current.objectNumber, current.generation);
        record.mediaBox = current.mediaBox;
        record.cropBox = current.cropBox;
        record.userUnit = current.userUnit;
        // A page tree may visit one page thousands of times, each visit
        // keeping its title and note again: they count against the same
        // text limit as the text items.
        m_recordTextBytes += record.annotationText.size() + record.title.size();
        if (m_recordTextBytes > TPdfContentScanner::MaxTextBytes)
            failAt("PDF READ LIMIT ERROR Address : ");
        readContentStream(current.contents);

        m_pages.add(record);
        ++pageNumber;
        m_strings.setCurrentPage(pageNumber);
        nextPage();
    }
}

bool TPdfPage::readResources()
{
    const bool version14 = version() == "1.4";
    return readDictionaryBody([&](const std::string &key) {
        if (key == "ExtGState" || key == "Font") {
            if (version14)
                ReadReference();
            else
                SkipDictionary();
        } else if (key == "ColorSpace" || key == "Pattern" || key == "Shading" || key == "Properties") {
            SkipDictionary();
        } else if (key == "XObject") {
            m_xobjectPosition = GetDictionaryToken();
        } else if (key == "ProcSet") {
            SkipArray();
        } else {
            return false;
        }
        return true;
    });
}

bool TPdfPage::readExternalObjectTable()
{
    SkipBlanks();
    SkipLineEnd();
    for (;;) {
        SkipBlanks();
        const unsigned char c = readByte();
        if (c != '/') {
            const unsigned char next = readByte();
            return c == '>' && next == '>';
        }
        const std::string name = ReadKey();
        SkipBlanks();
        const std::string reference = ReadReference();
        SkipLineEnd();
        m_externalObjects.emplace_back(name, reference);
        // 20 slots: storing the 20th entry fails, so at most 19 are accepted.
        if (m_externalObjects.size() >= ExternalObjectSlots)
            return false;
    }
}

void TPdfPage::readFirstExternalObject(TPageRecord &record)
{
    m_external = TPdfExternalObject();
    const std::string &reference = m_externalObjects.front().second;
    if (!openOptionalDictionary(reference))
        return;
    const bool ok = readDictionaryBody([this](const std::string &key) {
        TPdfExternalObject &e = m_external;
        if (key == "Length")
            e.length = ReadDigits();
        else if (key == "DL")
            e.dl = ReadDigits();
        else if (key == "Width")
            e.width = ReadDigits();
        else if (key == "Height")
            e.height = ReadDigits();
        else if (key == "BitsPerComponent")
            e.bitsPerComponent = ReadDigits();
        else if (key == "SMasklnData")
            e.sMaskInData = ReadDigits();
        else if (key == "StructParent")
            e.structParent = ReadDigits();
        else if (key == "Filter")
            e.filter = ReadNameOrArray();
        else if (key == "FFilter")
            e.fFilter = ReadNameOrArray();
        else if (key == "DecodeParms" || key == "FDecodeParms" || key == "Mask")
            SkipDictionaryOrArray();
        else if (key == "Type")
            e.type = ReadName();
        else if (key == "Subtype")
            e.subtype = ReadName();
        else if (key == "ColorSpace")
            e.colorSpace = ReadName();
        else if (key == "Intent")
            e.intent = ReadName();
        else if (key == "Name")
            e.name = ReadName();
        else if (key == "ImageMask")
            e.imageMask = ReadToken();
        else if (key == "Interpolate")
            e.interpolate = ReadToken();
        else if (key == "Decode")
            e.decode = GetIDArrayToken();
        else if (key == "Alternates")
            e.alternates = GetIDArrayToken();
        else if (key == "ID")
            e.id = ReadString();
        else if (key == "OPI")
            e.opi = GetDictionaryToken();
        else if (key == "OC")
            e.oc = GetDictionaryToken();
        else if (key == "F")
            fail("F KEYIS NO SURPORTED ");
        else if (key == "SMask")
            fail("SMasklnData KEYIS NO SURPORTED");
        else if (key == "Metadata")
            fail("Metadata KEYIS NO SURPORTED");
        else
            return false;
        return true;
    });
    if (!ok)
        failAt("PDF EXTERNAL OBJECT ERROR ");
    if (m_external.subtype != "Image")
        return;
    if (readBytes(6) != "stream")
        failAt("PDF EXTERNAL OBJECT ERROR ");
    SkipLineEnd();
    const auto length = toInt32(m_external.length);
    if (!length)
        fail("'" + m_external.length + "' is not a valid integer value");
    // The data must lie inside the file before anyone reads or allocates it.
    if (*length > fileSize() - position())
        failAt("PDF EXTERNAL OBJECT ERROR ");
    record.imageDataPosition = position();
    record.imageDataLength = *length;
}

std::string TPdfPage::readAnnotation(const std::string &reference)
{
    m_annotation = TPdfAnnotation();
    if (reference.size() <= 4)
        return std::string();
    findObject(reference);
    SkipBlanks();
    if (readBytes(2) != "<<")
        fail("PDF ANNOTATION DICTIONARY << ERROR");
    const bool ok = readDictionaryBody([this](const std::string &key) {
        TPdfAnnotation &a = m_annotation;
        if (key == "Type")
            a.type = ReadName();
        else if (key == "Subtype")
            a.subtype = ReadName();
        else if (key == "AS")
            a.as = ReadName();
        else if (key == "Contents")
            a.contents = ReadString();
        else if (key == "NM")
            a.nm = ReadString();
        else if (key == "S")
            a.s = ReadString();
        else if (key == "M")
            a.m = ReadStringOrArray();
        else if (key == "F")
            a.f = ReadDigits();
        else if (key == "StructParent")
            a.structParent = ReadDigits();
        else if (key == "Rect" || key == "Border" || key == "C")
            SkipArray();
        else if (key == "P" || key == "AP" || key == "OC")
            SkipDictionary();
        else
            return false;
        return true;
    });
    if (!ok)
        fail("PDF ANNOTATION DICTIONARY ERROR");
    return m_annotation.subtype == "Text" ? m_annotation.contents : std::string();
}

void TPdfPage::readContentStream(const std::string &reference)
{
    m_contentLength = 0;
    if (reference.size() <= 4)
        return;
    findObject(reference);
    SkipBlanks();
    if (readBytes(2) == "<<") {
        // Only Length and Filter are read; the value of any other key is
        // left alone (a name value is then passed over as if it were a key).
        const bool ok = readDictionaryBody([this](const std::string &key) {
            if (key == "Length") {
                SkipBlanks();
                const auto length = toInt64(ReadDigits());
                if (!length)
                    failAt("PDF Contents OBJECT Stream Length ERROR ");
                m_contentLength = *length;
            } else if (key == "Filter") {
                SkipBlanks();
                SkipArray();
            }
            return true;
        });
        if (!ok)
            fail("PDF ANNOTATION DICTIONARY ERROR");
    }
    if (readBytes(6) != "stream")
        fail("PDF Contents Stram ERROR");
    SkipLineEnd();
    // A Length running past the end of the file is refused before the data
    // is read.
    if (m_contentLength > fileSize() - position())
        failAt("PDF Contents OBJECT Stream Length ERROR ");
    // Pages may share a content stream, and streams may claim overlapping
    // bytes; both multiply the bytes scanned. A file whose pages together
    // scan far more than the file holds is refused rather than read for
    // hours (our own files scan each byte once).
    if (m_contentLength > m_contentBudget)
        failAt("PDF Contents OBJECT Stream Length ERROR ");
    m_contentBudget -= m_contentLength;
    std::string storage;
    scanContent(readRangeView(position(), m_contentLength, storage), m_strings);
}

void TPdfPage::scanContent(std::string_view data, TPdfString &items)
{
    TPdfContentScanner(data).scan(items);
}
