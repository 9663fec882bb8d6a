#include "painter/PlanPainter.h"

#include "painter/PainterCanvas.h"
#include "report/PrintFormatUnit.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

PlanPainter::PlanPainter() : m_form(std::make_unique<TPrintFormatForm>()) {}

PlanPainter::~PlanPainter() = default;

void PlanPainter::setPlan(const TPRACTDATA &plan)
{
    m_form->PlanData = plan;
    m_form->FillItems();
}

void PlanPainter::paintPage(QPainter &painter, int page)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    TPRPainterCanvas canvas(painter);
    (page == 2 ? m_form->PRPage2 : m_form->PRPage1).Print(canvas);
    painter.restore();
}

bool printPlans(QPagedPaintDevice &device, const std::vector<TPRACTDATA> &plans)
{
    device.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point));
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    // Device pixels per PDF point.
    painter.scale(device.logicalDpiX() / 72.0, device.logicalDpiY() / 72.0);
    PlanPainter planPainter;
    bool first = true;
    for (const TPRACTDATA &plan : plans) {
        planPainter.setPlan(plan);
        for (int page = 1; page <= 2; ++page) {
            if (!first && !device.newPage()) {
                painter.end();
                return false;
            }
            first = false;
            planPainter.paintPage(painter, page);
        }
    }
    return painter.end();
}

