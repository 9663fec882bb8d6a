#pragma once

// The PDF document: catalog, information, page tree, fonts and pages in
// memory, and the file writer that turns them into a PDF 1.2 file. This
// header also brings in the canvas (PdfCanvas.h), the catalog and
// information wrappers (PdfCatalog.h) and the output sinks (PdfOutput.h).
//
// Drawing a page:
//
//     TPdfDoc doc;
//     doc.SetClock([] { return encodeDateTime(2024, 1, 31, 14, 30, 5); }); // optional
//     doc.NewDoc();                                  // catalog 1, info 2, page tree 3
//     doc.Info().SetAuthor(cp932::fromUtf8("Ｒ１．０"));
//     doc.AddPage();                                 // content starts with "/F0 10 Tf"
//     TPdfCanvas &c = doc.Canvas();
//     c.SetFont("Gothic", 12);                       // registers the font on first use
//     c.SetRGBFillColor(0);                          // "0 0 0 rg"
//     c.TextOut(50, 800, cp932::fromUtf8("氏名"));   // BT, Td, <8E8196BC> Tj, ET
//     c.TextRect({50, 780, 200, 760}, text, paLeftJustify, false);
//     c.MultilineTextRect({50, 700, 300, 600}, lines, true);
//     std::string pdf = doc.SaveToString();          // or SaveToFile / SaveToStream
//     doc.FreeDoc();
//
// Coordinates are PDF points with the origin at the bottom-left corner, y
// upward. Texts are CP932 byte strings. Numbers in content streams are
// rounded to two decimals and always use "." as the decimal point.

#include "pdfwriter/PdfCanvas.h"
#include "pdfwriter/PdfCatalog.h"
#include "pdfwriter/PdfOutput.h"
#include "pdfwriter/PdfTypes.h"

#include "plan/DateTime.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TPdfFont;

// "%PDF-1.2 " CR LF
class TPdfHeader {
public:
    void WriteToStream(std::string &out) const;
};

// The trailer dictionary (Size, Root, Info) and the offset of the
// cross-reference table.
class TPdfTrailer {
public:
    explicit TPdfTrailer(TPdfObjectMgr *objectMgr);
    TPdfDictionary &Attributes() { return *m_attributes; }
    std::int64_t XrefAddress() const { return m_xrefAddress; }
    void SetXrefAddress(std::int64_t address) { m_xrefAddress = address; }
    // "trailer" CR LF dictionary CR LF "startxref" CR LF offset CR LF "%%EOF" CR LF
    void WriteToStream(std::string &out);

private:
    std::unique_ptr<TPdfDictionary> m_attributes;
    std::int64_t m_xrefAddress = 0;
};

// A PDF document: catalog, information, page tree, fonts and pages in
// memory, written out by SaveToStream.
class TPdfDoc {
public:
    TPdfDoc();
    ~TPdfDoc();
    TPdfDoc(const TPdfDoc &) = delete;
    TPdfDoc &operator=(const TPdfDoc &) = delete;

    // Time source for CreationDate (set by NewDoc) and ModDate (set when
    // saving). Defaults to the current local time.
    void SetClock(std::function<TDateTime()> clock);

    // Frees any open document and builds a new one: catalog (1), information
    // (2, Producer and CreationDate), page tree root (3).
    void NewDoc();
    // A document with one page whose canvas only measures (writes nothing).
    void NewDocForMeasuring();
    // Appends a page (and its content stream) and makes it the canvas's page.
    void AddPage();
    void FreeDoc();
    bool HasDoc() const { return m_hasDoc; }

    TPdfCanvas &Canvas();
    TPdfInfo &Info();
    TPdfCatalog &Root();
    TPdfDictionary &OutlineRoot();
    // The document's font named `name`, created and numbered (/F0, /F1, ...)
    // on first use. Unknown names raise "CreateFont --InvalidFontName:" + name.
    TPdfFont *GetFont(const std::string &name);

    // Writes the whole file. Sets ModDate first. Raises EPdfWriteError when
    // the output refuses bytes.
    void SaveToStream(TPdfOutput &output);
    std::string SaveToString();
    void SaveToFile(const std::string &path);

    bool UseOutlines() const { return m_useOutlines; }
    void SetUseOutlines(bool value);
    std::uint16_t DefaultPageWidth() const { return m_defaultPageWidth; }
    std::uint16_t DefaultPageHeight() const { return m_defaultPageHeight; }
    void SetDefaultPageWidth(std::uint16_t value) { m_defaultPageWidth = value; }
    void SetDefaultPageHeight(std::uint16_t value) { m_defaultPageHeight = value; }

    TPdfXref *ObjectMgr() const { return m_xref.get(); }
    TPdfTrailer *Trailer() const { return m_trailer.get(); }
    TPdfDictionary *PagesRoot() const { return m_root; }
    std::size_t FontCount() const { return m_fontList.size(); }

private:
    TDateTime Now() const;

    bool m_hasDoc = false;
    std::unique_ptr<TPdfCatalog> m_catalog;
    TPdfDictionary *m_root = nullptr;
    std::unique_ptr<TPdfCanvas> m_canvas;
    std::unique_ptr<TPdfHeader> m_header;
    std::unique_ptr<TPdfTrailer> m_trailer;
    std::unique_ptr<TPdfXref> m_xref;
    std::unique_ptr<TPdfInfo> m_info;
    std::vector<std::unique_ptr<TPdfFont>> m_fontList;
    TPdfDictionary *m_outlineRoot = nullptr;
    std::uint16_t m_defaultPageWidth = 596;
    std::uint16_t m_defaultPageHeight = 842;
    bool m_useOutlines = false;
    std::function<TDateTime()> m_clock;
};
