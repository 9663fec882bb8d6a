#pragma once

// The drawing canvas of a document: writes the operators of the current
// page into its content stream and measures text with the current font.
//
// Coordinates are PDF points with the origin at the bottom-left corner, y
// upward. Texts are CP932 byte strings; widths count the font's width of
// each byte (a double-byte character's width sits on its lead byte).
// Numbers in content streams are rounded to two decimals and always use "."
// as the decimal point. Out-of-range values raise EPdfInvalidValue; drawing
// before the first page raises EPdfInvalidOperation "GetPage --the Page is
// nil".

#include "pdfwriter/PdfTypes.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class TPdfFont;
class TPdfDoc;

enum TPdfAlignment { paLeftJustify = 0, paRightJustify = 1, paCenter = 2 };

// Colour value 0x00BBGGRR; a negative value is written as black.
using TPdfColor = std::int32_t;

struct TPdfRect {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
};

// How a text block is broken into lines and cut to its rectangle: the one
// decision behind MultilineTextRect, also used to tell beforehand what a
// block will not print. Offsets count bytes of the text handed in.
struct TPdfTextLine {
    std::size_t Start = 0;  // first byte of the line
    std::size_t Length = 0; // bytes of the line (a break that ends the text stays in it)
    std::size_t Shown = 0;  // leading bytes that fit the width and are shown
};

struct TPdfTextLayout {
    static constexpr std::size_t npos = std::string_view::npos;
    // The lines drawn, top to bottom; a next-line operator stands between two.
    std::vector<TPdfTextLine> Lines;
    // Where the text that falls below the rectangle starts (one more
    // next-line operator is written before it is dropped), or npos.
    std::size_t DroppedAt = npos;
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

// Receives each text string a canvas shows, with the point where it starts
// and the text state in force. Another drawing surface uses it to draw the
// very lines, cuts and positions that the canvas writes into the page; a
// measuring-only canvas reports its text too. A sink that needs the shape
// of the text objects also hears of BT, Td and T*.
class TPdfTextSink {
public:
    virtual ~TPdfTextSink() = default;
    // `text` (CP932) shown by Tj, starting at (x, y) in PDF coordinates.
    virtual void ShowText(float x, float y, std::string_view text, const TPdfCanvasAttribute &state) = 0;
    // A text object begins (BT).
    virtual void BeginText() {}
    // The text line now starts at (x, y) after a Td with these operands
    // (within a text object that has just begun, the operands are the point).
    virtual void MoveTextPoint(float x, float y) { (void)x, (void)y; }
    // The next line begins (T*).
    virtual void MoveToNextLine() {}
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
    // Where shown text is reported besides the content stream (none by
    // default). The canvas does not own the sink.
    void SetTextSink(TPdfTextSink *sink) { m_textSink = sink; }

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
    // Draws LayoutTextRect(rect, text, wordWrap).
    void MultilineTextRect(const TPdfRect &rect, std::string_view text, bool wordWrap);
    // The lines MultilineTextRect draws with the current text state: where
    // each breaks, how much of it fits the width, and where the text that
    // falls below Bottom begins. Writes nothing.
    TPdfTextLayout LayoutTextRect(const TPdfRect &rect, std::string_view text, bool wordWrap) const;

private:
    // LayoutTextRect into `layout`, whose room for lines is reused.
    void LayoutTextRect(const TPdfRect &rect, std::string_view text, bool wordWrap, TPdfTextLayout &layout) const;
    bool CanWrite() const;
    void Append(std::string_view bytes);
    void AppendNumbers(std::initializer_list<double> values, std::string_view op);
    void WriteColor(TPdfColor color, std::string_view op);
    void RequirePage() const;
    void SaveState();
    void RestoreOrResetState();

    TPdfDoc *m_doc;
    TPdfDictionary *m_page = nullptr;
    TPdfStream *m_contents = nullptr;
    TPdfCanvasAttribute m_attr;
    bool m_measuringOnly = false;
    TPdfTextSink *m_textSink = nullptr;
    // Start of the current text line (set by BT, Td and T*), for the sink.
    float m_lineX = 0;
    float m_lineY = 0;
    // The widths of the text being measured, kept to spare an allocation
    // per measured word.
    mutable std::vector<int> m_widths;
    // The lines of the text block being drawn, kept for the same reason.
    TPdfTextLayout m_layout;
};
