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
    m_objects.clear();
    m_item = nullptr;
}

void TPRRecordCanvas::BeginText()
{
    TPRTextObject &object = m_objects.emplace_back();
    object.Item = m_item;
    object.Page = m_page;
    object.Lines.emplace_back();
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
