#pragma once

// The PDF document, its drawing canvas and the output sink.
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

#include "pdfwriter/PdfTypes.h"

#include "plan/DateTime.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TPdfFont;
class TPdfDoc;

// Where a document is saved. Write returns false when the bytes could not be
// written; saving then stops with EPdfWriteError.
class TPdfOutput {
public:
    virtual ~TPdfOutput() = default;
    virtual bool Write(std::string_view bytes) = 0;
};

// Appends to a string in memory.
class TPdfStringOutput : public TPdfOutput {
public:
    explicit TPdfStringOutput(std::string &target) : m_target(target) {}
    bool Write(std::string_view bytes) override;

private:
    std::string &m_target;
};

// Creates (or truncates) a file. Close() flushes and reports a failed write
// or close with EPdfWriteError; the destructor closes silently.
class TPdfFileOutput : public TPdfOutput {
public:
    explicit TPdfFileOutput(const std::string &path);
    ~TPdfFileOutput() override;
    TPdfFileOutput(const TPdfFileOutput &) = delete;
    TPdfFileOutput &operator=(const TPdfFileOutput &) = delete;
    bool Write(std::string_view bytes) override;
    void Close();

private:
    std::FILE *m_file = nullptr;
    bool m_failed = false;
};

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

enum TPdfPageLayout { plSinglePage, plOneColumn, plTwoColumnLeft, plTwoColumnRight };
enum TPdfPageMode { pmUseNone, pmUseOutlines, pmUseThumbs, pmFullScreen };
enum TPdfViewerPreference { vpHideToolbar, vpHideMenubar, vpHideWindowUI, vpFitWindow, vpCenterWindow };
// A set of viewer preferences: bit (1 << preference) per member.
using TPdfViewerPreferences = unsigned;
constexpr TPdfViewerPreferences vpBit(TPdfViewerPreference p) { return 1u << static_cast<unsigned>(p); }
enum TPdfCompressionMethod { cmNone };
enum TPdfAlignment { paLeftJustify = 0, paRightJustify = 1, paCenter = 2 };

// Colour value 0x00BBGGRR; a negative value is written as black.
using TPdfColor = std::int32_t;

struct TPdfRect {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
};

// The document information dictionary. Texts are CP932 bytes.
class TPdfInfo : public TPdfDictionaryWrapper {
public:
    void SetAuthor(const std::string &value);
    void SetCreationDate(TDateTime value);
    void SetModDate(TDateTime value);
    void SetCreator(const std::string &value);
    void SetProducer(const std::string &value);
    void SetTitle(const std::string &value);
    void SetSubject(const std::string &value);
    void SetKeywords(const std::string &value);
    // Stored text of a key (dates as "D:..."), empty when absent.
    std::string Author() const;
    std::string Creator() const;
    std::string Title() const;
    std::string Subject() const;
    std::string Keywords() const;

private:
    void SetText(const char *key, const std::string &value);
    std::string Text(const char *key) const;
};

// The document catalog.
class TPdfCatalog : public TPdfDictionaryWrapper {
public:
    // Stores Pages; only a dictionary whose Type is Pages is accepted.
    void SetPages(TPdfDictionary *pages);
    void SetPageLayout(TPdfPageLayout value);
    void SetPageMode(TPdfPageMode value);
    // Inside ViewerPreferences; pmUseNone and pmFullScreen remove the key.
    void SetNonFullScreenPageMode(TPdfPageMode value);
    // Inside ViewerPreferences: true under each member, other keys removed.
    void SetViewerPreference(TPdfViewerPreferences value);
    TPdfPageLayout PageLayout() const;
    TPdfPageMode PageMode() const;

private:
    TPdfDictionary *ViewerPreferences();
};

// The text state of the canvas.
struct TPdfCanvasAttribute {
    float WordSpace = 0;
    float CharSpace = 0;
    float FontSize = 10;
    TPdfFont *Font = nullptr;
    float Leading = 0;
    std::uint16_t HorizontalScaling = 100;
};

// Writes the operators of the current page into its content stream and
// measures text with the current font. Every operator ends with a bare LF.
// Operations that write raise "GetPage --the Page is nil" before the first
// page; a measuring-only canvas writes nothing.
class TPdfCanvas {
public:
    explicit TPdfCanvas(TPdfDoc *doc);

    // Switches to `page` (a Page dictionary with its Contents): saves the
    // text state of the previous page into it as hidden entries and takes
    // the state of the new page, which for a fresh page is Arial 10
    // ("/F0 10 Tf"), spacing 0, scaling 100, leading 0.
    void SetPage(TPdfDictionary *page);
    TPdfDictionary *Page() const { return m_page; }
    TPdfStream *Contents() const { return m_contents; }
    TPdfDoc *Doc() const { return m_doc; }
    const TPdfCanvasAttribute &Attribute() const { return m_attr; }
    bool MeasuringOnly() const { return m_measuringOnly; }
    void SetMeasuringOnly(bool value) { m_measuringOnly = value; }

    // Page size: the fourth / third MediaBox entry of the current page.
    int PageHeight() const;
    int PageWidth() const;
    void SetPageHeight(int value);
    void SetPageWidth(int value);

    // Graphics state and paths.
    void GSave();                                           // q
    void GRestore();                                        // Q
    void SetDash(const std::vector<int> &pattern, int phase); // [a b ] p d  ([] 0 d when pattern[0] is 0)
    void SetLineWidth(float width);                         // w
    void MoveTo(float x, float y);                          // m
    void LineTo(float x, float y);                          // l
    void ClosePath();                                       // h
    void NewPath();                                         // n
    void Stroke();                                          // S
    void ClosePathStroke();                                 // s
    void Fill();                                            // f
    void ClosePathFillStroke();                             // b
    void Clip();                                            // W
    void SetRGBFillColor(TPdfColor color);                  // r g b rg (always written)
    void SetRGBStrokeColor(TPdfColor color);                // r g b RG (always written)

    // Text state; each writes its operator only when the value changes.
    void SetCharSpace(float value);             // Tc, -30..300
    void SetWordSpace(float value);             // Tw, >= 0
    void SetLeading(float value);               // TL, 0..300
    void SetHorizontalScaling(int value);       // Tz, 10..300 percent
    void SetFontAndSize(TPdfFont *font, float size); // /Fn size Tf, size 0..300
    // The document's font of that name (created on first use) at `size`.
    void SetFont(const std::string &name, float size);

    // Text objects.
    void BeginText();                           // BT
    void EndText();                             // ET
    void MoveTextPoint(float x, float y);       // Td
    void MoveToNextLine();                      // T*
    void ShowText(std::string_view text);       // (..) Tj or <hex> Tj
    // BT, Td at (x, y), Tj, ET.
    void TextOut(float x, float y, std::string_view text);

    // Width of `text` in points with the current font and text state.
    float TextWidth(std::string_view text) const;
    // Number of leading bytes of `text` that fit in `width` points; never
    // splits a double-byte character.
    int MeasureText(std::string_view text, float width) const;

    // One line in a rectangle (y upward: Top > Bottom), optionally clipped:
    // [q path h W n] BT Td Tj ET [Q]. The baseline is Top - 0.85 x size.
    void TextRect(const TPdfRect &rect, std::string_view text, TPdfAlignment alignment, bool clipping);
    // Lines separated by CR LF, optionally word-wrapped, one Tj per line and
    // T* between lines; stops before a line that would fall below Bottom.
    void MultilineTextRect(const TPdfRect &rect, std::string_view text, bool wordWrap);

private:
    bool CanWrite() const;
    void Append(std::string_view bytes);
    void AppendNumbers(std::initializer_list<double> values, std::string_view op);
    void WriteColor(TPdfColor color, std::string_view op);
    void RequirePage() const;
    void SaveState();
    void RestoreOrResetState();
    float CharWidthAt(std::string_view text, std::size_t pos) const;

    TPdfDoc *m_doc;
    TPdfDictionary *m_page = nullptr;
    TPdfStream *m_contents = nullptr;
    TPdfCanvasAttribute m_attr;
    bool m_measuringOnly = false;
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
    TPdfCompressionMethod CompressionMethod() const { return m_compressionMethod; }
    void SetCompressionMethod(TPdfCompressionMethod value);
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
    TPdfCompressionMethod m_compressionMethod = cmNone;
    std::function<TDateTime()> m_clock;
};

// "D:yyyymmddhhnnss" of a date-time value (local time as stored, no zone).
std::string PdfDateString(TDateTime value);
