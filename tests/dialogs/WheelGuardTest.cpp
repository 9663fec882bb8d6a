// The wheel changes a drop-down's or number box's value only while that
// control has the keyboard focus; otherwise the control does not take it.

#include "dialogs/WheelGuard.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

class WheelGuardTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { WheelGuard::install(); }
    void wheelStepsOnlyTheFocusedControl();
};

namespace {

// One notch of the wheel turned towards the user over the middle of `widget`.
void turnWheel(QWidget *widget)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

} // namespace

void WheelGuardTest::wheelStepsOnlyTheFocusedControl()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *choice = new QComboBox;
    choice->addItems({QStringLiteral("男性"), QStringLiteral("女性")});
    auto *editable = new QComboBox;
    editable->setEditable(true);
    editable->addItems({QStringLiteral("一"), QStringLiteral("二")});
    auto *number = new QSpinBox;
    number->setRange(-10, 10);
    auto *other = new QSpinBox;
    for (QWidget *w : {static_cast<QWidget *>(choice), static_cast<QWidget *>(editable),
                       static_cast<QWidget *>(number), static_cast<QWidget *>(other)}) {
        layout->addWidget(w);
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());

    turnWheel(choice);
    turnWheel(editable->lineEdit());
    turnWheel(number);
    QCOMPARE(choice->currentIndex(), 0);
    QCOMPARE(editable->currentIndex(), 0);
    QCOMPARE(number->value(), 0);
    QCOMPARE(choice->focusPolicy(), Qt::StrongFocus);

    choice->setFocus();
    QTRY_VERIFY(choice->hasFocus());
    turnWheel(choice);
    QCOMPARE(choice->currentIndex(), 1);
    number->setFocus();
    QTRY_VERIFY(number->hasFocus());
    turnWheel(number);
    QCOMPARE(number->value(), -1);
}

QTEST_MAIN(WheelGuardTest)
#include "WheelGuardTest.moc"
