// The window's first size, and the zoom of the form: where a zoomed mark
// cell is hit, and what the next start remembers.

#include "ControlNames.h"
#include "app/FormControls.h"
#include "TestSupport.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QWheelEvent>

#include <cmath>

class ZoomTest : public QObject {
    Q_OBJECT
private slots:
    void zoomedMarkCellIsHitWhereItIsDrawn();
    void firstWindowFitsASmallScreen();
    void zoomAndPlaceAreRemembered();
    void wheelChangesNoUnfocusedControlAtAnyZoom();
};

// Every drop-down (and the edit of an editable one) and number box of both
// pages, at two zooms: a wheel notch over it while another control has the
// focus changes no value and moves no focus.
void ZoomTest::wheelChangesNoUnfocusedControlAtAnyZoom()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const auto valueOf = [](QWidget *w) {
        if (auto *box = qobject_cast<QComboBox *>(w)) {
            return box->currentText() + QLatin1Char('#') + QString::number(box->currentIndex());
        }
        return qobject_cast<QAbstractSpinBox *>(w)->text();
    };
    int walked = 0;
    for (const int zoom : {100, 125}) {
        form.setZoomPercent(zoom);
        for (const int page : {1, 2}) {
            form.planForm().setCurrentWidget(form.planForm().page(page));
            QWidget *focused = form.planForm().control<TEdit>("NameEdit");
            focused->setFocus();
            QList<QWidget *> controls;
            for (QComboBox *box : form.planForm().panel(page)->findChildren<QComboBox *>()) {
                controls << box;
                if (box->lineEdit() != nullptr) {
                    controls << box->lineEdit();
                }
            }
            for (QAbstractSpinBox *number : form.planForm().panel(page)->findChildren<QAbstractSpinBox *>()) {
                controls << number;
            }
            for (QWidget *control : controls) {
                QWidget *valued = qobject_cast<QComboBox *>(control->parentWidget()) != nullptr
                                      ? control->parentWidget()
                                      : control;
                const QString before = valueOf(valued);
                for (const int delta : {-120, 120}) {
                    const QPointF at(control->width() / 2.0, control->height() / 2.0);
                    QWheelEvent wheel(at, control->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                                      Qt::NoModifier, Qt::NoScrollPhase, false);
                    QApplication::sendEvent(control, &wheel);
                }
                QVERIFY2(valueOf(valued) == before, qPrintable(valued->objectName()));
                QVERIFY2(QApplication::focusWidget() == focused, qPrintable(valued->objectName()));
                ++walked;
            }
        }
    }
    // The care team alone has thirteen boxes on page 2.
    QVERIFY2(walked > 2 * 13, qPrintable(QString::number(walked)));
}

void ZoomTest::zoomedMarkCellIsHitWhereItIsDrawn()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(form.planForm().control<TEdit>("NameEdit"), Qt::Key_Plus, Qt::ControlModifier);  // 110 %
    QTest::keyClick(form.planForm().control<TEdit>("NameEdit"), Qt::Key_Equal, Qt::ControlModifier); // 125 %
    QTest::keyClick(form.planForm().control<TEdit>("NameEdit"), Qt::Key_Plus,
                    Qt::ControlModifier | Qt::KeypadModifier); // 150 %
    QCOMPARE(form.zoomPercent(), 150);
    QCOMPARE(form.planForm().control<TEdit>("NameEdit")->text(), QString()); // the keys typed nothing
    QCOMPARE(form.planForm().panel(1)->size(), QSize(1031, 1485));

    // Row 3, column 1 lies between the rules at 107 and 120 points across
    // and 342 and 363 points down; the page is 1.15 pixels a point at 100 %.
    const double scale = 1.15 * 1.5;
    const QPoint centre(static_cast<int>(std::lround(113.5 * scale)), static_cast<int>(std::lround(352.5 * scale)));
    auto *cell = form.planForm().control<TMarkCell>(formnames::abc(3, 1));
    QCOMPARE(form.planForm().panel(1)->childAt(centre), cell);
    for (const QPoint corner : {QPoint(108, 343), QPoint(119, 362)}) {
        const QPoint inside(static_cast<int>(std::lround(corner.x() * scale)),
                            static_cast<int>(std::lround(corner.y() * scale)));
        QVERIFY2(form.planForm().panel(1)->childAt(inside) == cell, "the cell fills its ruled box");
    }
    QCOMPARE(cell->font().pixelSize(), 15);
    QTest::mouseClick(cell, Qt::LeftButton, {}, cell->mapFrom(form.planForm().panel(1), centre));
    QCOMPARE(cell->color(), QColor(0, 255, 255));
    QVERIFY(form.Modified);

    QTest::keyClick(form.planForm().control<TEdit>("NameEdit"), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(form.zoomPercent(), 100);
    QCOMPARE(form.planForm().panel(1)->size(), QSize(687, 990));
    QCOMPARE(cell->font().pixelSize(), 10);
}

void ZoomTest::firstWindowFitsASmallScreen()
{
    // A laptop screen less its task bar: the window keeps its width and
    // gives up height, leaving room for its frame.
    const QSize laptop = TMainForm::firstWindowSize(QSize(1366, 728));
    QCOMPARE(laptop.width(), 791);
    QVERIFY2(laptop.height() <= 728 - 30, qPrintable(QString::number(laptop.height())));
    QCOMPARE(TMainForm::firstWindowSize(QSize(2560, 1400)), QSize(791, 881));

    // The real window on the test screen, smaller than the form.
    WindowFixture f;
    const QRect available = f.form->screen()->availableGeometry();
    QVERIFY2(available.height() < 881, "the test screen is smaller than the window was designed for");
    QVERIFY2(available.contains(f.form->frameGeometry()),
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(f.form->x())
                            .arg(f.form->y())
                            .arg(f.form->width())
                            .arg(f.form->height())));
}

void ZoomTest::zoomAndPlaceAreRemembered()
{
    WindowFixture f;
    f.form->NewMenuClick();
    // One notch of the wheel with Ctrl over a memo zooms the form, not the memo.
    TMemo *memo = f.form->planForm().control<TMemo>("KenkouMemo");
    const int memoFont = memo->font().pixelSize();
    const QPoint at = memo->rect().center();
    QWheelEvent wheel(at, memo->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(memo->viewport(), &wheel);
    QCOMPARE(f.form->zoomPercent(), 110);
    // The memo has the size the form's layout gives it at 110 %, no more.
    const int wheeled = memo->font().pixelSize();
    QVERIFY(wheeled >= memoFont);
    f.form->setZoomPercent(100);
    f.form->setZoomPercent(110);
    QCOMPARE(wheeled, memo->font().pixelSize());
    f.form->setGeometry(QRect(QPoint(23, 31), QSize(640, 480)));
    const QRect placed = f.form->geometry();
    f.form->close();
    f.form.reset();

    QSettings stored(f.settingsFile(), QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("Window/Zoom")).toInt(), 110);
    QVERIFY(stored.contains(QStringLiteral("Open")));
    QVERIFY(stored.contains(QStringLiteral("Save")));

    f.form = f.makeWindow();
    QCOMPARE(f.form->zoomPercent(), 110);
    QCOMPARE(f.form->planForm().panel(1)->width(), 756);
    QCOMPARE(f.form->geometry(), placed);
}

QTEST_MAIN(ZoomTest)
#include "ZoomTest.moc"
