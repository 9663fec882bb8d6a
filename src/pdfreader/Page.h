#pragma once

#include "pdfreader/Contents.h"
#include "pdfreader/PageList.h"
#include "pdfreader/PdfString.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Values read from the first external object's stream dictionary.
struct TPdfExternalObject {
    std::string length, dl, width, height, bitsPerComponent, sMaskInData, structParent; // digits
    std::string filter, fFilter;                                                       // name or array text
    std::string type, subtype, colorSpace, intent, name;                               // names
    std::string imageMask, interpolate;                                                // tokens
    std::int64_t decode = 0, alternates = 0, opi = 0, oc = 0;                          // positions
    std::string id;
};

struct TPdfAnnotation {
    std::string type, subtype, as, contents, nm, s, m, f, structParent;
};

// Top of the reader. Constructing it reads the whole document: header,
// cross-reference chain, catalog and information, then every page of the
// page tree, keeping one record per page and one text item per text object
// of each page's content stream. Afterwards everything is only read.
//
// Typical use:
//     auto reader = TPdfPage::openFile(path);          // raises EPdfReadError
//     reader->author(); reader->subject();             // CP932 bytes
//     reader->pages().count();
//     for (const TTextItem &item : reader->strings().items())
//         if (item.page == n) ... item.x, item.y, item.lines
class TPdfPage : public TPdfContents {
public:
    // With `keepOnly`, only the text items that start in one of its windows
    // are kept (TPdfString::keepOnly); the file is read and checked alike.
    explicit TPdfPage(std::unique_ptr<TPdfInputStream> stream, const std::vector<TTextWindow> *keepOnly = nullptr);

    static std::unique_ptr<TPdfPage> openFile(const std::filesystem::path &fileName);
    static std::unique_ptr<TPdfPage> fromBytes(std::string bytes);

    const TPageList &pages() const { return m_pages; }
    const TPdfString &strings() const { return m_strings; }
    // Hands the text items over; strings() is empty afterwards.
    std::vector<TTextItem> takeStrings() { return m_strings.take(); }
    std::size_t itemCount() const { return m_strings.count(); }
    // The text items of all pages, kept or not.
    std::size_t itemsSeen() const { return m_strings.seenCount(); }

    // The data of a page's image (its first external object when that is an
    // image), as raw stream bytes; empty when the page has none.
    std::string imageData(std::size_t pageIndex);

    // Text items of one content stream, numbered `page`. Exposed so that the
    // text-object grammar can be exercised on its own.
    static void scanContent(std::string_view data, TPdfString &items);

private:
    void extractAllPages();
    bool readResources();
    bool readExternalObjectTable();
    void readFirstExternalObject(TPageRecord &record);
    std::string readAnnotation(const std::string &reference);
    void readContentStream(const std::string &reference);

    TPageList m_pages;
    TPdfString m_strings;
    std::int64_t m_xobjectPosition = 0;
    std::vector<std::pair<std::string, std::string>> m_externalObjects; // name, reference text
    TPdfExternalObject m_external;
    TPdfAnnotation m_annotation;
    std::int64_t m_contentLength = 0;
    // Content bytes the remaining pages may still scan.
    static constexpr std::int64_t ContentBudgetFactor = 4;
    static constexpr std::int64_t ContentBudgetExtra = 1 << 20;
    std::int64_t m_contentBudget = 0;
    // Bytes of the page records' titles and annotation texts.
    std::size_t m_recordTextBytes = 0;
};
