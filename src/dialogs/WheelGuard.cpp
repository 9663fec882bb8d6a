#include "dialogs/WheelGuard.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QWidget>

namespace {

// The drop-down list or number box that `object` is or lies in (the line
// edit of an editable drop-down), or nullptr.
QWidget *valueControl(QObject *object)
{
    for (auto *widget = qobject_cast<QWidget *>(object); widget != nullptr; widget = widget->parentWidget()) {
        if (qobject_cast<QComboBox *>(widget) != nullptr || qobject_cast<QAbstractSpinBox *>(widget) != nullptr) {
            return widget;
        }
        if (widget->isWindow()) {
            break;
        }
    }
    return nullptr;
}

// Takes the focus from a click or the Tab key, never from the wheel: the
// application gives the focus to the widget under the pointer before any
// filter sees the wheel event, so a control that took it that way would
// then pass as focused. An editable drop-down's line edit is such a widget too.
void refuseWheelFocus(QWidget *widget)
{
    if ((widget->focusPolicy() & Qt::WheelFocus) == Qt::WheelFocus) {
        widget->setFocusPolicy(Qt::StrongFocus);
    }
}

// `widget` and the widgets between it and its value control.
void refuseWheelFocusUpTo(QWidget *widget, const QWidget *control)
{
    for (; widget != nullptr; widget = widget->parentWidget()) {
        refuseWheelFocus(widget);
        if (widget == control) {
            break;
        }
    }
}

} // namespace

void WheelGuard::install()
{
    static WheelGuard *guard = nullptr;
    if (guard == nullptr && qApp != nullptr) {
        guard = new WheelGuard(qApp);
        qApp->installEventFilter(guard);
        // Widgets polished before the guard came (built, measured) are set now.
        for (QWidget *widget : QApplication::allWidgets()) {
            if (const QWidget *control = valueControl(widget)) {
                refuseWheelFocusUpTo(widget, control);
            }
        }
    }
}

bool WheelGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Polish) {
        if (QWidget *control = valueControl(watched)) {
            refuseWheelFocusUpTo(static_cast<QWidget *>(watched), control);
        }
    } else if (event->type() == QEvent::Wheel) {
        QWidget *control = valueControl(watched);
        if (control != nullptr) {
            refuseWheelFocusUpTo(static_cast<QWidget *>(watched), control);
        }
        if (control != nullptr && !control->hasFocus()) {
            // Not taken here: the application hands it on to the parent,
            // up to the scroll area that shows the page.
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
