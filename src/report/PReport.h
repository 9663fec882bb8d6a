#pragma once

// The report engine: a printed page is a tree of components at fixed
// positions (a page, panels inside it, and printable items: labels, text
// blocks and rectangles), and TPReport prints such pages into a PDF document
// through the writer's canvas. It holds what the plan's two pages are made
// of: text in Gothic (regular or bold) and black, labels at the top left of
// their box, rectangles in solid black hairlines.
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

// Base of every component: a name, bounds relative to the parent, a parent
// and the children in insertion order. A component does not own its
// children; whoever created them does (the layout form). Destroying a
// component takes it off its parent and detaches its children.
class TPRControl {
public:
    TPRControl(const TPRControl &) = delete;
    TPRControl &operator=(const TPRControl &) = delete;
    virtual ~TPRControl();

    virtual const char *ClassName() const = 0;
    // Panels and pages are windowed; items are not. Within one container the
    // non-windowed children are visited before the windowed ones.
    bool IsWindowed() const { return m_windowed; }

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
    TPRControl(std::string name, bool windowed);

    // Raises when `parent` (not null) cannot hold this component.
    virtual void CheckParent(const TPRControl &parent) const;
    // Prints this component as a child of a container printed in `parent`
    // (component coordinates): its bounds offset by the parent's left and
    // top. A page is never a child and prints nothing here.
    virtual void PrintInParent(TPRCanvas &canvas, const TRect &parent);
    // Prints the children in visiting order within `rect`.
    void PrintChildren(TPRCanvas &canvas, const TRect &rect);
    // `m_bounds` offset by `parent`'s left and top.
    TRect OffsetBy(const TRect &parent) const;

private:
    std::string m_name;
    TRect m_bounds;
    bool m_windowed;
    TPRControl *m_parent = nullptr;
    std::vector<TPRControl *> m_children;
};

// A panel holds items and further panels. Printing visits the children with
// their bounds offset by the panel's rectangle.
class TPRPanel : public TPRControl {
public:
    explicit TPRPanel(std::string name = {});
    const char *ClassName() const override { return "TPRPanel"; }
    void Print(TPRCanvas &canvas, const TRect &rect);

protected:
    // A panel sits on a page or on another panel.
    void CheckParent(const TPRControl &parent) const override;
    void PrintInParent(TPRCanvas &canvas, const TRect &parent) override;
};

// One page of a report: 596 x 842 points unless set otherwise.
class TPRPage : public TPRControl {
public:
    explicit TPRPage(std::string name = {});
    const char *ClassName() const override { return "TPRPage"; }

    // Sets the canvas's page size to the page's, then prints every child
    // panel in visiting order.
    void Print(TPRCanvas &canvas);

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

protected:
    void CheckParent(const TPRControl &parent) const override;
    // Tells the canvas which item prints, then prints it.
    void PrintInParent(TPRCanvas &canvas, const TRect &parent) override;
};

// The font of labels and text blocks: Gothic, regular or bold, black.
class TPRCustomLabel : public TPRItem {
public:
    explicit TPRCustomLabel(std::string name = {});

    double FontSize() const { return m_fontSize; }
    // A size of 0 or less is ignored.
    void SetFontSize(double value);
    bool FontBold() const { return m_fontBold; }
    void SetFontBold(bool value) { m_fontBold = value; }

    // The PDF font name: "Gothic" or "Gothic,Bold".
    const std::string &InternalFontName() const;

private:
    double m_fontSize = 12;
    bool m_fontBold = false;
};

// One line of text at the top left of the label's rectangle. An empty
// caption writes nothing.
class TPRLabel : public TPRCustomLabel {
public:
    explicit TPRLabel(std::string name = {});
    const char *ClassName() const override { return "TPRLabel"; }
    void Print(TPRCanvas &canvas, const TRect &rect) override;

    std::string Caption;
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
    // Print draws. Sets the block's font and leading on the canvas, which
    // writes their operators unless it only measures.
    TPdfTextLayout Layout(TPdfCanvas &canvas, const TRect &rect) const;

private:
    double m_leading = 14;
};

// A rectangle outline in black hairline, or a line when one side is 1
// point; nothing for a shape of at most 1 x 1.
class TPRRect : public TPRItem {
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
