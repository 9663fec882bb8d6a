#pragma once

// The drawing surface the report components print on. Its operations are
// those of the PDF canvas that the components use, with the same units
// (PDF points, origin bottom-left, y upward), the same text state and the
// same measuring: the widths of the PDF fonts. The PDF document's canvas
// implements it to write the plan file; a painter canvas implements it to
// draw the same pages on a printer or into an image, so both show one layout
// with one measuring and the same line breaks and cuts.
//
// Texts are CP932 byte strings. Out-of-range values raise EPdfInvalidValue
// as the PDF canvas does.

#include "pdfwriter/PdfCanvas.h"

#include <string>
#include <string_view>
#include <vector>

class TPRItem;

class TPRCanvas {
public:
    TPRCanvas() = default;
    TPRCanvas(const TPRCanvas &) = delete;
    TPRCanvas &operator=(const TPRCanvas &) = delete;
    virtual ~TPRCanvas() = default;

    // Size of the current page in points.
    virtual int PageHeight() const = 0;
    virtual int PageWidth() const = 0;
    virtual void SetPageHeight(int value) = 0;
    virtual void SetPageWidth(int value) = 0;

    // Paths and colours.
    virtual void SetDash(const std::vector<int> &pattern, int phase) = 0; // d
    virtual void SetLineWidth(float width) = 0;                           // w
    virtual void MoveTo(float x, float y) = 0;                            // m
    virtual void LineTo(float x, float y) = 0;                            // l
    virtual void NewPath() = 0;                                           // n
    virtual void Stroke() = 0;                                            // S
    virtual void ClosePathStroke() = 0;                                   // s
    virtual void SetRGBFillColor(TPdfColor color) = 0;                    // rg
    virtual void SetRGBStrokeColor(TPdfColor color) = 0;                  // RG

    // Text state and text.
    virtual void SetFont(const std::string &name, float size) = 0; // Tf
    virtual void SetLeading(float value) = 0;                      // TL
    // One line at the top left of a rectangle (TPdfCanvas::TextRect, left
    // aligned, unclipped).
    virtual void TextRect(const TPdfRect &rect, std::string_view text) = 0;
    // Lines separated by CR LF, optionally wrapped, cut at the right edge and
    // stopped at the bottom (TPdfCanvas::MultilineTextRect).
    virtual void MultilineTextRect(const TPdfRect &rect, std::string_view text, bool wordWrap) = 0;

    // The item whose operations follow, told before it prints; a canvas that
    // records what each item prints takes note of it. No operator.
    virtual void BeginItem(const TPRItem &item) { (void)item; }
};

// The canvas of a PDF document: every operation is the document canvas's own.
class TPRPdfCanvas : public TPRCanvas {
public:
    TPdfCanvas *PdfCanvas() const { return m_canvas; }
    void SetPdfCanvas(TPdfCanvas *canvas) { m_canvas = canvas; }
    // The canvas of the open document; raises EPdfInvalidOperation
    // "GetCanvas --Document is null" when there is none.
    TPdfCanvas &Canvas() const;

    int PageHeight() const override { return Canvas().PageHeight(); }
    int PageWidth() const override { return Canvas().PageWidth(); }
    void SetPageHeight(int value) override { Canvas().SetPageHeight(value); }
    void SetPageWidth(int value) override { Canvas().SetPageWidth(value); }

    void SetDash(const std::vector<int> &pattern, int phase) override { Canvas().SetDash(pattern, phase); }
    void SetLineWidth(float width) override { Canvas().SetLineWidth(width); }
    void MoveTo(float x, float y) override { Canvas().MoveTo(x, y); }
    void LineTo(float x, float y) override { Canvas().LineTo(x, y); }
    void NewPath() override { Canvas().NewPath(); }
    void Stroke() override { Canvas().Stroke(); }
    void ClosePathStroke() override { Canvas().ClosePathStroke(); }
    void SetRGBFillColor(TPdfColor color) override { Canvas().SetRGBFillColor(color); }
    void SetRGBStrokeColor(TPdfColor color) override { Canvas().SetRGBStrokeColor(color); }

    void SetFont(const std::string &name, float size) override { Canvas().SetFont(name, size); }
    void SetLeading(float value) override { Canvas().SetLeading(value); }
    void TextRect(const TPdfRect &rect, std::string_view text) override
    {
        Canvas().TextRect(rect, text, paLeftJustify, false);
    }
    void MultilineTextRect(const TPdfRect &rect, std::string_view text, bool wordWrap) override
    {
        Canvas().MultilineTextRect(rect, text, wordWrap);
    }

private:
    TPdfCanvas *m_canvas = nullptr;
};
