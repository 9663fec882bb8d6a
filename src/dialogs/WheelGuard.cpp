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

} // namespace

void WheelGuard::install()
{
    static WheelGuard *guard = nullptr;
    if (guard == nullptr && qApp != nullptr) {
        guard = new WheelGuard(qApp);
        qApp->installEventFilter(guard);
    }
}

bool WheelGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Polish) {
        if (QWidget *control = valueControl(watched); control == watched) {
            control->setFocusPolicy(Qt::StrongFocus);
        }
    } else if (event->type() == QEvent::Wheel) {
        QWidget *control = valueControl(watched);
        if (control != nullptr && !control->hasFocus()) {
            // Not taken here: the application hands it on to the parent,
            // up to the scroll area that shows the page.
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
