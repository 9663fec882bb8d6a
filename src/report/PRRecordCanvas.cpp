#include "report/PRRecordCanvas.h"

TPRRecordCanvas::TPRRecordCanvas()
{
    m_measure.NewDocForMeasuring();
    m_pdf = &m_measure.Canvas();
    m_pdf->SetTextSink(this);
}

TPRRecordCanvas::~TPRRecordCanvas()
{
    m_pdf->SetTextSink(nullptr);
}

void TPRRecordCanvas::Clear()
{
    for (TPRTextObject &object : m_objects) {
        m_spare.push_back(std::move(object));
    }
    m_objects.clear();
    m_item = nullptr;
}

void TPRRecordCanvas::BeginText()
{
    if (m_spare.empty()) {
        m_objects.emplace_back();
    } else {
        m_objects.push_back(std::move(m_spare.back()));
        m_spare.pop_back();
    }
    TPRTextObject &object = m_objects.back();
    object.Item = m_item;
    object.Page = m_page;
    object.X = 0;
    object.Y = 0;
    object.Lines.resize(1);
    object.Lines.front().clear();
}

void TPRRecordCanvas::MoveTextPoint(float x, float y)
{
    if (!m_objects.empty()) {
        m_objects.back().X = x;
        m_objects.back().Y = y;
    }
}

void TPRRecordCanvas::MoveToNextLine()
{
    if (!m_objects.empty()) {
        m_objects.back().Lines.emplace_back();
    }
}

void TPRRecordCanvas::ShowText(float, float, std::string_view text, const TPdfCanvasAttribute &)
{
    if (!m_objects.empty()) {
        m_objects.back().Lines.back().append(text);
    }
}
