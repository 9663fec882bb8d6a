#pragma once

// The report canvas on a QPainter: draws the components of a page as the
// plan file shows them, on a printer, into an image or into a PDF with
// embedded fonts.
//
// The painter's user space must be PDF points with the origin at the
// top-left corner of the page (the caller scales by the device's dots per
// point). Measuring and every decision about line breaks and cuts are those
// of the PDF canvas: the text operations run on a measuring-only PDF canvas
// with the same text state, and each string it shows is drawn here at the
// point where the file starts it, every character at the advance the file's
// font widths give it. The Japanese fonts are drawn in IPAGothic, the
// proportional ones in IPAPGothic (Mincho faces where installed).

#include "pdfwriter/PdfDoc.h"
#include "report/PRCanvas.h"

#include <QColor>
#include <QHash>
#include <QPainterPath>
#include <QRawFont>
#include <QString>

class QPainter;

class TPRPainterCanvas final : public TPRCanvas, private TPdfTextSink {
public:
    explicit TPRPainterCanvas(QPainter &painter);
    ~TPRPainterCanvas() override;

    int PageHeight() const override { return m_pageHeight; }
    int PageWidth() const override { return m_pageWidth; }
    void SetPageHeight(int value) override { m_pageHeight = value; }
    void SetPageWidth(int value) override { m_pageWidth = value; }

    void SetDash(const std::vector<int> &pattern, int phase) override;
    void SetLineWidth(float width) override;
    void MoveTo(float x, float y) override;
    void LineTo(float x, float y) override;
    void NewPath() override;
    void Stroke() override;
    void ClosePathStroke() override;
    void SetRGBFillColor(TPdfColor color) override;
    void SetRGBStrokeColor(TPdfColor color) override;

    void SetFont(const std::string &name, float size) override;
    void SetLeading(float value) override;
    void TextRect(const TPdfRect &rect, std::string_view text) override;
    void MultilineTextRect(const TPdfRect &rect, std::string_view text, bool wordWrap) override;

    // The family drawn for a PDF font name ("Gothic,Bold" -> IPAGothic).
    static QString familyFor(const std::string &pdfFontName);

private:
    void ShowText(float x, float y, std::string_view text, const TPdfCanvasAttribute &state) override;
    QPointF point(float x, float y) const;
    void strokePath();
    const QRawFont &rawFont(const std::string &pdfFontName, float size);

    QPainter &m_painter;
    TPdfDoc m_measure;   // one measuring-only page: widths and cuts
    TPdfCanvas *m_pdf;   // its canvas
    int m_pageHeight = 842;
    int m_pageWidth = 596;
    QPainterPath m_path;
    QColor m_fill = Qt::black;
    QColor m_stroke = Qt::black;
    float m_lineWidth = 0;
    QList<qreal> m_dash;
    QHash<QString, QRawFont> m_fonts;
};
