#pragma once

// Keeps the mouse wheel from changing values by accident. Scrolling a page
// with the wheel passes over drop-down lists and number boxes; without this
// guard each one under the pointer would take the wheel and step its value.
// A drop-down or number box now takes the wheel only while it has the
// keyboard focus; otherwise the wheel goes on to what lies behind it and
// scrolls the page. Such controls no longer take the focus from the wheel
// either, only from a click or the Tab key.

#include <QObject>

class WheelGuard : public QObject {
    Q_OBJECT
public:
    // Watches every widget of the application from now on (once, however
    // often it is called).
    static void install();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit WheelGuard(QObject *parent) : QObject(parent) {}
};
