// The window's first size and place, remembered across runs, and the zoom of
// both pages: Ctrl++ and Ctrl+- step through the zoom levels, Ctrl+0 goes
// back to 100 %, and Ctrl with the mouse wheel steps like the keys. A new
// zoom lays the pages out again at the new size (TFormPanel), so text stays
// sharp at every level.

#include "app/MainForm.h"

#include "app/FormControls.h"
#include "app/PlanForm.h"
#include "settings/Registory.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <array>

namespace {

// The size the form was drawn for, and the room a window frame takes
// around the client area on a usual desktop.
constexpr QSize kDesignedSize(791, 881);
constexpr QSize kFrameAllowance(16, 40);

constexpr std::array<int, 8> kZoomSteps{75, 90, 100, 110, 125, 150, 175, 200};

// One notch of a mouse wheel.
constexpr int kWheelNotch = 120;

// Keeps the centre of the visible part of the page in view across a zoom.
void rescaleScroll(QScrollBar *bar, double ratio)
{
    const double centre = bar->value() + bar->pageStep() / 2.0;
    bar->setValue(static_cast<int>(centre * ratio - bar->pageStep() / 2.0));
}

} // namespace

QSize TMainForm::firstWindowSize(QSize available)
{
    const QSize room = available - kFrameAllowance;
    return kDesignedSize.boundedTo(room.expandedTo(QSize(200, 150)));
}

void TMainForm::placeWindow()
{
    Registory->LoadWindow();
    setZoomPercent(Registory->Zoom);
    if (!Registory->WindowGeometry.isEmpty() && restoreGeometry(Registory->WindowGeometry)) {
        return;
    }
    const QRect available = screen()->availableGeometry();
    const QSize size = firstWindowSize(available.size());
    resize(size);
    const QSize outer = size + kFrameAllowance;
    move(available.left() + std::max(0, (available.width() - outer.width()) / 2),
         available.top() + std::max(0, (available.height() - outer.height()) / 2));
}

void TMainForm::rememberWindow()
{
    if (!Registory) {
        return;
    }
    if (m_shown) {
        Registory->WindowGeometry = saveGeometry();
    }
    Registory->Zoom = m_zoomPercent;
    Registory->StoreWindow();
}

void TMainForm::setZoomPercent(int percent)
{
    percent = std::clamp(percent, kZoomSteps.front(), kZoomSteps.back());
    if (percent == m_zoomPercent) {
        return;
    }
    const double ratio = double(percent) / m_zoomPercent;
    m_zoomPercent = percent;
    if (m_planForm == nullptr) {
        return; // the view takes the zoom when it is built
    }
    for (int page = 1; page <= 2; ++page) {
        m_planForm->panel(page)->setZoom(percent / 100.0);
        QScrollArea *scroll = m_planForm->scrollBox(page);
        rescaleScroll(scroll->horizontalScrollBar(), ratio);
        rescaleScroll(scroll->verticalScrollBar(), ratio);
    }
}

// The zoom commands say the zoom they leave in the status bar, also when it
// is already at its end.
void TMainForm::zoomIn()
{
    const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), m_zoomPercent);
    if (next != kZoomSteps.end()) {
        setZoomPercent(*next);
    }
    showZoom();
}

void TMainForm::zoomOut()
{
    const auto below = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), m_zoomPercent);
    if (below != kZoomSteps.begin()) {
        setZoomPercent(*(below - 1));
    }
    showZoom();
}

void TMainForm::zoomReset()
{
    setZoomPercent(100);
    showZoom();
}

void TMainForm::showZoom()
{
    showStatus(QStringLiteral("表示倍率: ") + QString::number(m_zoomPercent) + QStringLiteral("%"));
}

// Ctrl with +, = (the same key on many keyboards), - or 0, on the main
// keys or the keypad. The keys are taken before any shortcut or field sees
// them. Ctrl+X, C, V and A stay with the Edit menu.
bool TMainForm::handleZoomKey(QEvent *event)
{
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (modifiers != Qt::ControlModifier) {
        return false;
    }
    void (TMainForm::*action)() = nullptr;
    switch (key->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        action = &TMainForm::zoomIn;
        break;
    case Qt::Key_Minus:
        action = &TMainForm::zoomOut;
        break;
    case Qt::Key_0:
        action = &TMainForm::zoomReset;
        break;
    default:
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
    } else if (event->type() == QEvent::KeyPress) {
        (this->*action)();
    }
    return true;
}

// Ctrl with the wheel zooms in whole notches (a touchpad's small steps add
// up); the wheel is then not passed on, so no memo zooms its own text and no
// page scrolls.
bool TMainForm::handleZoomWheel(QEvent *event)
{
    auto *wheel = static_cast<QWheelEvent *>(event);
    if (!wheel->modifiers().testFlag(Qt::ControlModifier)) {
        m_wheelDelta = 0;
        return false;
    }
    m_wheelDelta += wheel->angleDelta().y();
    while (m_wheelDelta >= kWheelNotch) {
        m_wheelDelta -= kWheelNotch;
        zoomIn();
    }
    while (m_wheelDelta <= -kWheelNotch) {
        m_wheelDelta += kWheelNotch;
        zoomOut();
    }
    wheel->accept();
    return true;
}
