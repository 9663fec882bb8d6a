#pragma once

// A report canvas that draws nothing and records the text objects the
// components print: which item printed each, on which page, the point of
// its Td and its lines. The text operations run on a measuring-only PDF
// canvas, so breaks, cuts and points are those the plan file gets, but
// nothing is written. The read-back check compares a plan laid out here
// with the text objects a file holds.

#include "pdfwriter/PdfDoc.h"
#include "report/PRCanvas.h"

#include <string>
#include <vector>

// One text object as a page would hold it: BT, one Td, then its lines, each
// ended by the T* that starts the next one (a line without Tj is empty; a
// T* at the end gives an empty last line), then ET.
struct TPRTextObject {
    const TPRItem *Item = nullptr;
    int Page = 0;
    float X = 0; // the operands of its Td, PDF points
    float Y = 0;
    std::vector<std::string> Lines;
};

class TPRRecordCanvas final : public TPRCanvas, private TPdfTextSink {
public:
    TPRRecordCanvas();
    ~TPRRecordCanvas() override;

    // The page number of the objects recorded from now on (from 1).
    void SetPage(int page) { m_page = page; }
    // The objects recorded since the last Clear, in printing order.
    const std::vector<TPRTextObject> &Objects() const { return m_objects; }
    void Clear();

    int PageHeight() const override { return m_pageHeight; }
    int PageWidth() const override { return m_pageWidth; }
    void SetPageHeight(int value) override { m_pageHeight = value; }
    void SetPageWidth(int value) override { m_pageWidth = value; }

    void SetDash(const std::vector<int> &, int) override {}
    void SetLineWidth(float) override {}
    void MoveTo(float, float) override {}
    void LineTo(float, float) override {}
    void NewPath() override {}
    void Stroke() override {}
    void ClosePathStroke() override {}
    void SetRGBFillColor(TPdfColor) override {}
    void SetRGBStrokeColor(TPdfColor) override {}

    void SetFont(const std::string &name, float size) override { m_pdf->SetFont(name, size); }
    void SetLeading(float value) override { m_pdf->SetLeading(value); }
    void TextRect(const TPdfRect &rect, std::string_view text) override
    {
        m_pdf->TextRect(rect, text, paLeftJustify, false);
    }
    void MultilineTextRect(const TPdfRect &rect, std::string_view text, bool wordWrap) override
    {
        m_pdf->MultilineTextRect(rect, text, wordWrap);
    }
    void BeginItem(const TPRItem &item) override { m_item = &item; }

private:
    void ShowText(float x, float y, std::string_view text, const TPdfCanvasAttribute &state) override;
    void BeginText() override;
    void MoveTextPoint(float x, float y) override;
    void MoveToNextLine() override;

    TPdfDoc m_measure; // one measuring-only page: widths and cuts
    TPdfCanvas *m_pdf; // its canvas
    int m_page = 1;
    int m_pageHeight = 842;
    int m_pageWidth = 596;
    const TPRItem *m_item = nullptr;
    std::vector<TPRTextObject> m_objects;
    // Objects of earlier recordings, kept with the room of their lines for
    // the next one: a plan is laid out again for every file checked.
    std::vector<TPRTextObject> m_spare;
};
