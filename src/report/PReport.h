#pragma once

// The report engine: a printed page is a tree of components at fixed
// positions (a page, panels inside it, and printable items: labels, text
// blocks and rectangles), and TPReport prints such pages into a PDF document
// through the writer's canvas.
//
// Component coordinates are whole PDF points with the origin at the top-left
// corner of the page and y growing downward; the engine turns them into PDF
// coordinates (y upward) as y_pdf = page height - y.
//
// The order in which a container's children are visited is their insertion
// order (items first, then panels), and that order is the order of the
// operators, and so of the text strings, in the page's content stream. A
// reader that finds fields again by their order and position depends on it.
//
// Texts are CP932 byte strings.

#include "plan/DateTime.h"
#include "pdfwriter/PdfDoc.h"
#include "report/PRCanvas.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The engine's own faults share the writer's base EPdfError, so one catch
// covers every failure of printing a report; what() is the message.

// A misuse of the component tree (a component placed on a parent that cannot
// hold it).
class EPReportError : public EPdfError {
public:
    using EPdfError::EPdfError;
};

// An operation that needs an open document was called without one.
class EInvalidOperation : public EPdfError {
public:
    using EPdfError::EPdfError;
};

// Colour value 0x00BBGGRR, or clNone for no colour.
using TColor = std::int32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;

enum TPRFontName { fnFixedWidth, fnArial, fnTimesRoman, fnGothic, fnMincyo, fnPGothic, fnPMincyo };
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

// A rectangle in component coordinates: Right = Left + width, Bottom = Top + height.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect &, const TRect &) = default;
};

// The PDF font name for a family and style: "Gothic", "Gothic,Bold",
// "Times-BoldItalic", "Arial", ...
std::string PRFontName(TPRFontName name, bool bold, bool italic);

// Base of every component: a name, bounds relative to the parent, a parent
// and the children in insertion order. A component does not own its
// children; whoever created them does (the layout form). Destroying a
// component takes it off its parent and detaches its children.
class TPRControl {
public:
    explicit TPRControl(std::string name = {});
    TPRControl(const TPRControl &) = delete;
    TPRControl &operator=(const TPRControl &) = delete;
    virtual ~TPRControl();

    virtual const char *ClassName() const = 0;
    // Panels and pages are windowed; items are not. Within one container the
    // non-windowed children are visited before the windowed ones.
    virtual bool IsWindowed() const { return false; }

    const std::string &Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }

    int Left() const { return m_bounds.Left; }
    int Top() const { return m_bounds.Top; }
    int Width() const { return m_bounds.Width(); }
    int Height() const { return m_bounds.Height(); }
    void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return m_bounds; }

    TPRControl *Parent() const { return m_parent; }
    // Appends this component to `parent`'s children (after taking it off its
    // old parent); nullptr only takes it off. Raises EPReportError when the
    // parent cannot hold this kind of component.
    void SetParent(TPRControl *parent);
    const std::vector<TPRControl *> &Children() const { return m_children; }
    // Children in visiting order: non-windowed ones, then windowed ones,
    // each group in insertion order.
    std::vector<TPRControl *> ChildrenInPrintOrder() const;

protected:
    // Raises when `parent` (not null) cannot hold this component.
    virtual void CheckParent(const TPRControl &parent) const;

private:
    std::string m_name;
    TRect m_bounds;
    TPRControl *m_parent = nullptr;
    std::vector<TPRControl *> m_children;
};

class TPRPage;

// A panel holds items and further panels. Printing visits the children with
// their bounds offset by the panel's rectangle.
class TPRPanel : public TPRControl {
public:
    explicit TPRPanel(std::string name = {});
    const char *ClassName() const override { return "TPRPanel"; }
    bool IsWindowed() const override { return true; }
    virtual void Print(TPRCanvas &canvas, const TRect &rect);

protected:
    void PrintChildren(TPRCanvas &canvas, const TRect &rect);
    // A panel sits on a page or on another panel.
    void CheckParent(const TPRControl &parent) const override;
};

class TPRLayoutPanel : public TPRPanel {
public:
    using PrintEvent = std::function<void(TPRLayoutPanel &, TPRCanvas &, const TRect &)>;

    explicit TPRLayoutPanel(std::string name = {});
    const char *ClassName() const override { return "TPRLayoutPanel"; }
    void Print(TPRCanvas &canvas, const TRect &rect) override;

    PrintEvent BeforePrint;
    PrintEvent AfterPrint;
};

// One page of a report: 596 x 842 points unless set otherwise.
class TPRPage : public TPRControl {
public:
    using PrintPageEvent = std::function<void(TPRPage &, TPRCanvas &)>;

    explicit TPRPage(std::string name = {});
    const char *ClassName() const override { return "TPRPage"; }
    bool IsWindowed() const override { return true; }

    // Sets the canvas's page size to the page's, calls OnPrintPage, then
    // prints every child panel in visiting order.
    void Print(TPRCanvas &canvas);

    int MarginTop = 32;
    int MarginLeft = 32;
    int MarginRight = 32;
    int MarginBottom = 32;
    bool Visible = true;
    PrintPageEvent OnPrintPage;

protected:
    // A page is the root of its tree.
    void CheckParent(const TPRControl &parent) const override;
};

// A printable component. Only a panel can hold one.
class TPRItem : public TPRControl {
public:
    explicit TPRItem(std::string name = {});
    // Writes the item's operators for the rectangle `rect` (component
    // coordinates, already offset by the panels above it).
    virtual void Print(TPRCanvas &canvas, const TRect &rect) = 0;

    bool Printable = true;

protected:
    void CheckParent(const TPRControl &parent) const override;
};

// Font and spacing shared by labels and text blocks.
class TPRCustomLabel : public TPRItem {
public:
    explicit TPRCustomLabel(std::string name = {});

    TColor FontColor() const { return m_fontColor; }
    // Raises EPdfInvalidValue "the color you selected is not allowed." above 0x0FFFFFFF.
    void SetFontColor(TColor value);
    TPRFontName FontName() const { return m_fontName; }
    void SetFontName(TPRFontName value) { m_fontName = value; }
    double FontSize() const { return m_fontSize; }
    // A size of 0 or less is ignored.
    void SetFontSize(double value);
    bool FontBold() const { return m_fontBold; }
    void SetFontBold(bool value) { m_fontBold = value; }
    bool FontItalic() const { return m_fontItalic; }
    void SetFontItalic(bool value) { m_fontItalic = value; }
    double CharSpace() const { return m_charSpace; }
    void SetCharSpace(double value) { m_charSpace = value; }
    double WordSpace() const { return m_wordSpace; }
    // A negative value is ignored.
    void SetWordSpace(double value);

    // The PDF font name from FontName, FontBold and FontItalic.
    std::string InternalFontName() const { return PRFontName(m_fontName, m_fontBold, m_fontItalic); }

private:
    TColor m_fontColor = clBlack;
    TPRFontName m_fontName = fnGothic;
    double m_fontSize = 12;
    bool m_fontBold = false;
    bool m_fontItalic = false;
    double m_charSpace = 0;
    double m_wordSpace = 0;
};

// One line of text in the label's rectangle. An empty caption writes nothing.
class TPRLabel : public TPRCustomLabel {
public:
    explicit TPRLabel(std::string name = {});
    const char *ClassName() const override { return "TPRLabel"; }
    void Print(TPRCanvas &canvas, const TRect &rect) override;

    std::string Caption;
    bool Clipping = false;
    TAlignment Alignment = taLeftJustify;
    bool AlignJustified = false;
};

// Lines of text in the block's rectangle, optionally word-wrapped; lines
// below the rectangle are dropped. An empty text still writes BT, Td, ET.
class TPRText : public TPRCustomLabel {
public:
    explicit TPRText(std::string name = {});
    const char *ClassName() const override { return "TPRText"; }
    void Print(TPRCanvas &canvas, const TRect &rect) override;

    std::vector<std::string> Lines;

    // The lines, each followed by CR LF.
    std::string Text() const;
    // Splits `text` into Lines at CR, LF or CR LF; a break at the very end
    // adds no empty line, and an empty text gives no line.
    void SetText(std::string_view text);

    double Leading() const { return m_leading; }
    // A negative value is ignored.
    void SetLeading(double value);
    bool WordWrap = false;

    // The text as printed: Text() with leading and trailing blanks and
    // control characters removed.
    std::string PrintedText() const;
    // How PrintedText() breaks into lines and is cut within `rect`
    // (component coordinates, as handed to Print) on `canvas`: the decision
    // Print draws. Sets the block's font and spacing on the canvas, which
    // writes their operators unless it only measures.
    TPdfTextLayout Layout(TPdfCanvas &canvas, const TRect &rect) const;

private:
    void SelectTextState(TPdfCanvas &canvas) const;
    void SelectTextState(TPRCanvas &canvas) const;

    double m_leading = 14;
};

class TPRShape : public TPRItem {
public:
    explicit TPRShape(std::string name = {});

    double LineWidth() const { return m_lineWidth; }
    // A negative value is ignored.
    void SetLineWidth(double value);
    TColor LineColor = clBlack;
    TPenStyle LineStyle = psSolid;
    TColor FillColor = clNone;

private:
    double m_lineWidth = 0;
};

// A rectangle outline (or a line when one side is 1 point), optionally filled.
class TPRRect : public TPRShape {
public:
    explicit TPRRect(std::string name = {});
    const char *ClassName() const override { return "TPRRect"; }
    void Print(TPRCanvas &canvas, const TRect &rect) override;
};

// The report: document properties, and begin / print / end of one PDF
// document. The properties can be set only while no document is open;
// setting one while a document is open raises EPdfInvalidOperation
// "Set<Property> --invalid operation.". The catalog always asks for single
// pages without outlines shown (/PageMode /UseNone, /PageLayout /SinglePage);
// Keywords and Title are always empty.
class TPReport {
public:
    TPReport();
    ~TPReport();
    TPReport(const TPReport &) = delete;
    TPReport &operator=(const TPReport &) = delete;

    const std::string &Author() const { return m_author; }
    void SetAuthor(std::string value);
    TDateTime CreationDate() const { return m_creationDate; }
    void SetCreationDate(TDateTime value);
    const std::string &Creator() const { return m_creator; }
    void SetCreator(std::string value);
    TDateTime ModDate() const { return m_modDate; }
    void SetModDate(TDateTime value);
    const std::string &Subject() const { return m_subject; }
    void SetSubject(std::string value);
    // The document's Keywords (empty unless set).
    void SetKeywords(std::string value);
    bool UseOutlines() const { return m_useOutlines; }
    void SetUseOutlines(bool value);
    TPdfViewerPreferences ViewerPreference() const { return m_viewerPreference; }
    void SetViewerPreference(TPdfViewerPreferences value);

    // Time source of the document's writer (CreationDate of a new document,
    // ModDate when it is saved). Defaults to the current local time.
    void SetClock(std::function<TDateTime()> clock) { m_clock = std::move(clock); }

    // Discards any open document and opens a new one with the catalog
    // entries and the information entries taken from the properties.
    void BeginDoc();
    // Adds a page to the open document and prints `page` on it.
    void Print(TPRPage &page);
    // Closes the open document and returns the file's bytes. Raises
    // EInvalidOperation "document is null.." without an open document.
    std::string EndDocToString();
    // Discards the open document without writing anything.
    void Abort();

    bool HasDoc() const { return m_doc != nullptr; }
    int PageCount() const { return m_pageCount; }
    TPdfDoc *PdfDoc() const { return m_doc.get(); }
    TPRPdfCanvas &Canvas() { return m_canvas; }

private:
    void CheckNoDoc(const char *message) const;

    std::string m_author;
    TDateTime m_creationDate;
    std::string m_creator;
    TDateTime m_modDate = 0;
    std::string m_subject;
    std::string m_keywords;
    bool m_useOutlines = false;
    TPdfViewerPreferences m_viewerPreference = 0;
    std::function<TDateTime()> m_clock;

    std::unique_ptr<TPdfDoc> m_doc;
    TPRPdfCanvas m_canvas;
    int m_pageCount = 0;
};
