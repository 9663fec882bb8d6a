#include "painter/PainterCanvas.h"

#include "plan/Cp932.h"
#include "pdfwriter/PdfFonts.h"

#include <QFont>
#include <QGlyphRun>
#include <QPainter>
#include <QPen>

namespace {

QColor toQColor(TPdfColor color)
{
    if (color < 0) {
        color = 0;
    }
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

bool startsWith(const std::string &text, const char *prefix)
{
    return text.rfind(prefix, 0) == 0;
}

} // namespace

TPRPainterCanvas::TPRPainterCanvas(QPainter &painter) : m_painter(painter)
{
    m_measure.NewDocForMeasuring();
    m_pdf = &m_measure.Canvas();
    m_pdf->SetTextSink(this);
}

TPRPainterCanvas::~TPRPainterCanvas()
{
    m_pdf->SetTextSink(nullptr);
}

QString TPRPainterCanvas::familyFor(const std::string &name)
{
    if (startsWith(name, "PGothic")) {
        return QStringLiteral("IPAPGothic");
    }
    if (startsWith(name, "Gothic")) {
        return QStringLiteral("IPAGothic");
    }
    if (startsWith(name, "PMincyo")) {
        return QStringLiteral("IPAPMincho");
    }
    if (startsWith(name, "Mincyo")) {
        return QStringLiteral("IPAMincho");
    }
    if (startsWith(name, "Times")) {
        return QStringLiteral("Liberation Serif");
    }
    if (startsWith(name, "FixedWidth")) {
        return QStringLiteral("Liberation Mono");
    }
    return QStringLiteral("Liberation Sans");
}

QPointF TPRPainterCanvas::point(float x, float y) const
{
    return {x, m_pageHeight - static_cast<double>(y)};
}

// ---- paths ------------------------------------------------------------------

void TPRPainterCanvas::SetDash(const std::vector<int> &pattern, int)
{
    m_dash.clear();
    if (!pattern.empty() && pattern.front() != 0) {
        for (int v : pattern) {
            m_dash.push_back(v);
        }
    }
}

void TPRPainterCanvas::SetLineWidth(float width)
{
    m_lineWidth = width;
}

void TPRPainterCanvas::MoveTo(float x, float y)
{
    m_path.moveTo(point(x, y));
}

void TPRPainterCanvas::LineTo(float x, float y)
{
    m_path.lineTo(point(x, y));
}

void TPRPainterCanvas::NewPath()
{
    m_path.clear();
}

void TPRPainterCanvas::strokePath()
{
    // Width 0 is the thinnest line the device can show, as in PDF.
    QPen pen(m_stroke, m_lineWidth);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (!m_dash.isEmpty()) {
        // Qt counts dashes in pen widths; a hairline's width counts as 1.
        const qreal unit = m_lineWidth > 0 ? m_lineWidth : 1;
        QList<qreal> dashes;
        for (qreal d : m_dash) {
            dashes.push_back(d / unit);
        }
        if (dashes.size() % 2 != 0) {
            dashes += dashes;
        }
        pen.setDashPattern(dashes);
    }
    m_painter.strokePath(m_path, pen);
}

void TPRPainterCanvas::Stroke()
{
    strokePath();
    m_path.clear();
}

void TPRPainterCanvas::ClosePathStroke()
{
    m_path.closeSubpath();
    Stroke();
}

void TPRPainterCanvas::SetRGBFillColor(TPdfColor color)
{
    m_fill = toQColor(color);
}

void TPRPainterCanvas::SetRGBStrokeColor(TPdfColor color)
{
    m_stroke = toQColor(color);
}

// ---- text -------------------------------------------------------------------

void TPRPainterCanvas::SetFont(const std::string &name, float size)
{
    m_pdf->SetFont(name, size);
}

void TPRPainterCanvas::SetLeading(float value)
{
    m_pdf->SetLeading(value);
}

void TPRPainterCanvas::TextRect(const TPdfRect &rect, std::string_view text)
{
    m_pdf->TextRect(rect, text, paLeftJustify, false);
}

void TPRPainterCanvas::MultilineTextRect(const TPdfRect &rect, std::string_view text, bool wordWrap)
{
    m_pdf->MultilineTextRect(rect, text, wordWrap);
}

const QRawFont &TPRPainterCanvas::rawFont(const std::string &name, float size)
{
    const QString key = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())) + QLatin1Char('@') +
                        QString::number(static_cast<double>(size));
    auto it = m_fonts.find(key);
    if (it == m_fonts.end()) {
        QFont font(familyFor(name));
        font.setPixelSize(100);
        font.setBold(name.find("Bold") != std::string::npos);
        font.setItalic(name.find("Italic") != std::string::npos);
        font.setKerning(false);
        font.setStyleStrategy(QFont::NoFontMerging);
        QRawFont raw = QRawFont::fromFont(font);
        raw.setPixelSize(size);
        it = m_fonts.insert(key, raw);
    }
    return *it;
}

void TPRPainterCanvas::ShowText(float x, float y, std::string_view text, const TPdfCanvasAttribute &state)
{
    if (text.empty() || state.Font == nullptr) {
        return;
    }
    const QRawFont &font = rawFont(state.Font->Name(), state.FontSize);
    std::vector<int> widths;
    state.Font->GetCharWidths(text, widths);

    // One character (one or two bytes) at a time, each at the advance the
    // file's font widths give it, so that the text lies where the file puts it.
    QString chars;
    QList<QPointF> positions;
    chars.reserve(static_cast<qsizetype>(text.size()));
    positions.reserve(static_cast<qsizetype>(text.size()));
    const double scaling = state.HorizontalScaling / 100.0;
    double advance = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        if (cp932::isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            length = 2;
        }
        const std::u16string unit = cp932::toUtf16(text.substr(i, length));
        const QChar ch = unit.empty() ? QChar(0xFFFD) : QChar(unit.front());
        chars.push_back(ch);
        positions.push_back(QPointF(advance, 0));
        for (std::size_t b = i; b < i + length; ++b) {
            const double w = widths[b] * static_cast<double>(state.FontSize) / 1000 * scaling;
            if (w > 0) {
                advance += w + state.CharSpace;
            }
            if (text[b] == ' ' && b + 1 < text.size()) {
                advance += state.WordSpace;
            }
        }
        i += length;
    }

    const QList<quint32> glyphs = font.glyphIndexesForString(chars);
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions.mid(0, glyphs.size()));
    m_painter.save();
    m_painter.setPen(m_fill);
    m_painter.drawGlyphRun(point(x, y), run);
    // A family without a bold face (the IPA fonts have none) is made bold
    // by drawing its glyphs a second time, a little to the right.
    if (state.Font->Name().find("Bold") != std::string::npos && font.weight() < QFont::DemiBold) {
        m_painter.drawGlyphRun(point(x, y) + QPointF(state.FontSize * 0.04, 0), run);
    }
    m_painter.restore();
}
