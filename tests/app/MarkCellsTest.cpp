// The level-column mark cells with the A/B/C dialog, and the priority-mark
// cells.

#include "dialogs/ABCForm.h"
#include "ControlNames.h"
#include "app/FormControls.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QColor kWhite(255, 255, 255);
const QColor kAqua(0, 255, 255);

// Runs `act` on the A/B/C dialog as soon as it is shown modally.
void whenDialogShown(const std::function<void(TABCForm &)> &act)
{
    auto *timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
        auto *dialog = qobject_cast<TABCForm *>(QApplication::activeModalWidget());
        if (dialog == nullptr && ++*tries < 500) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (dialog == nullptr) {
            qWarning("the A/B/C dialog did not appear");
            return;
        }
        act(*dialog);
    });
    timer->start(5);
}

void tick(TABCForm &dialog, bool a, bool b, bool c)
{
    dialog.ABox->setChecked(a);
    dialog.BBox->setChecked(b);
    dialog.CBox->setChecked(c);
}

} // namespace

class MarkCellsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void leftClicksToggleTheSelection();
    void okWritesTheTickedMarksIntoSelectedCellsOnly();
    void okWithNothingTickedEmptiesSelectedCells();
    void eraseAllBlanksEveryCell();
    void keysWriteMarksAndMoveInTheGrid();
    void eraseAllIsUndoneByCtrlZ();
    void writeAllWritesEveryCell();
    void cancelChangesNothingAndTheTicksStay();
    void otherButtonsOnlyCountAsAnEdit();
    void dialogLooksAndAnswersAsItShould();
    void priorityMarksCycleAndCountAsEdits();

private:
    TMarkCell *cell(int row, int column) { return f->form->planForm().control<TMarkCell>(formnames::abc(row, column)); }
    void rightClick(int row, int column) { QTest::mouseClick(cell(row, column), Qt::RightButton); }
    std::unique_ptr<WindowFixture> f;
};

void MarkCellsTest::init()
{
    f = std::make_unique<WindowFixture>();
    f->form->NewMenuClick();
}

void MarkCellsTest::cleanup()
{
    f.reset();
}

void MarkCellsTest::leftClicksToggleTheSelection()
{
    TMarkCell *c = cell(7, 3);
    QCOMPARE(c->color(), kWhite);
    QTest::mouseClick(c, Qt::LeftButton);
    QCOMPARE(c->color(), kAqua);
    // The selection is the cell's background as any widget reports it.
    QCOMPARE(c->palette().color(c->backgroundRole()), kAqua);
    QVERIFY(c->autoFillBackground());
    QCOMPARE(c->property("color").value<QColor>(), kAqua);
    QVERIFY(f->form->Modified);
    f->form->Modified = false;
    QTest::mouseClick(c, Qt::LeftButton);
    QCOMPARE(c->color(), kWhite);
    QCOMPARE(c->palette().color(c->backgroundRole()), kWhite);
    QVERIFY(f->form->Modified);
    QCOMPARE(c->text(), QStringLiteral("　"));
}

void MarkCellsTest::okWritesTheTickedMarksIntoSelectedCellsOnly()
{
    cell(12, 4)->setText(QStringLiteral("Ｂ"));
    for (const auto &[row, column] : {std::pair{0, 0}, std::pair{3, 1}, std::pair{27, 0}}) {
        QTest::mouseClick(cell(row, column), Qt::LeftButton);
    }
    f->form->Modified = false;
    whenDialogShown([](TABCForm &dialog) {
        tick(dialog, true, false, true);
        dialog.OkButton->click();
    });
    rightClick(22, 2); // any cell opens the dialog for the whole grid
    QVERIFY(f->form->Modified);
    for (const int row : formnames::rows()) {
        for (int column = 0; column < 5; ++column) {
            const bool selected = (row == 0 && column == 0) || (row == 3 && column == 1) || (row == 27 && column == 0);
            QString expected = selected ? QStringLiteral("ＡＣ") : QStringLiteral("　");
            if (row == 12 && column == 4) {
                expected = QStringLiteral("Ｂ");
            }
            QCOMPARE(cell(row, column)->text(), expected);
            QCOMPARE(cell(row, column)->color(), kWhite);
        }
    }
    QCOMPARE(f->form->findChild<TABCForm *>()->MarkText, QStringLiteral("ＡＣ"));
}

void MarkCellsTest::okWithNothingTickedEmptiesSelectedCells()
{
    cell(5, 2)->setText(QStringLiteral("ＡＢＣ"));
    QTest::mouseClick(cell(5, 2), Qt::LeftButton);
    whenDialogShown([](TABCForm &dialog) {
        tick(dialog, false, false, false);
        dialog.OkButton->click();
    });
    rightClick(5, 2);
    QCOMPARE(cell(5, 2)->text(), QString());
    QCOMPARE(cell(5, 3)->text(), QStringLiteral("　"));
}

void MarkCellsTest::eraseAllBlanksEveryCell()
{
    cell(1, 1)->setText(QStringLiteral("Ａ"));
    cell(26, 4)->setText(QStringLiteral("ＢＣ"));
    QTest::mouseClick(cell(26, 4), Qt::LeftButton);
    whenDialogShown([](TABCForm &dialog) {
        tick(dialog, true, true, true);
        dialog.ALLCancel->click();
    });
    rightClick(0, 0);
    for (const int row : formnames::rows()) {
        for (int column = 0; column < 5; ++column) {
            QCOMPARE(cell(row, column)->text(), QStringLiteral("　"));
            QCOMPARE(cell(row, column)->color(), kWhite);
        }
    }
}

void MarkCellsTest::keysWriteMarksAndMoveInTheGrid()
{
    cell(0, 0)->setFocus();
    QTest::keyClicks(cell(0, 0), QStringLiteral("ca"));
    QCOMPARE(cell(0, 0)->text(), QStringLiteral("ＡＣ"));
    QTest::keyClick(cell(0, 0), Qt::Key_A);
    QCOMPARE(cell(0, 0)->text(), QStringLiteral("Ｃ"));
    QVERIFY(f->form->Modified);
    QTest::keyClick(cell(0, 0), Qt::Key_Delete);
    QCOMPARE(cell(0, 0)->text(), QStringLiteral("　"));
    QTest::keyClick(cell(0, 0), Qt::Key_Space);
    QCOMPARE(cell(0, 0)->color(), kAqua);
    QTest::keyClick(cell(0, 0), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), cell(1, 0));
    cell(0, 4)->setFocus();
    QTest::keyClick(cell(0, 4), Qt::Key_Right); // past the line's end: the next line
    QCOMPARE(QApplication::focusWidget(), cell(1, 0));
    // The dialog from the keyboard writes into the selected cells.
    whenDialogShown([](TABCForm &dialog) {
        tick(dialog, false, true, false);
        dialog.OkButton->click();
    });
    QTest::keyClick(cell(1, 0), Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(cell(0, 0)->text(), QStringLiteral("Ｂ"));
    QCOMPARE(cell(1, 0)->text(), QStringLiteral("　"));
    auto *priority = f->form->planForm().control<TClickLabel>("Special0");
    QCOMPARE(priority->focusPolicy(), Qt::TabFocus);
    QTest::keyClick(priority, Qt::Key_Space);
    QTest::keyClick(priority, Qt::Key_Space);
    QCOMPARE(priority->text(), QStringLiteral("◎"));
}

void MarkCellsTest::eraseAllIsUndoneByCtrlZ()
{
    cell(1, 1)->setFocus();
    QTest::keyClick(cell(1, 1), Qt::Key_A);
    QTest::keyClick(cell(1, 1), Qt::Key_Right);
    QTest::keyClick(cell(1, 2), Qt::Key_B);
    whenDialogShown([](TABCForm &dialog) { dialog.ALLCancel->click(); });
    QTest::keyClick(cell(1, 2), Qt::Key_Menu);
    QCOMPARE(cell(1, 1)->text(), QStringLiteral("　"));
    QTest::keyClick(cell(1, 2), Qt::Key_Z, Qt::ControlModifier); // 全て消去 undone
    QCOMPARE(cell(1, 1)->text(), QStringLiteral("Ａ"));
    QCOMPARE(cell(1, 2)->text(), QStringLiteral("Ｂ"));
    QTest::keyClick(cell(1, 2), Qt::Key_Z, Qt::ControlModifier); // the B
    QCOMPARE(cell(1, 2)->text(), QStringLiteral("　"));
    QTest::keyClick(cell(1, 2), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(cell(1, 2)->text(), QStringLiteral("Ｂ"));
}

void MarkCellsTest::writeAllWritesEveryCell()
{
    QTest::mouseClick(cell(9, 0), Qt::LeftButton);
    whenDialogShown([](TABCForm &dialog) {
        tick(dialog, false, true, true);
        dialog.ALLSet->click();
    });
    rightClick(20, 1);
    int written = 0;
    for (const int row : formnames::rows()) {
        for (int column = 0; column < 5; ++column) {
            QCOMPARE(cell(row, column)->text(), QStringLiteral("ＢＣ"));
            QCOMPARE(cell(row, column)->color(), kWhite);
            ++written;
        }
    }
    QCOMPARE(written, 105);
}

void MarkCellsTest::cancelChangesNothingAndTheTicksStay()
{
    cell(4, 4)->setText(QStringLiteral("Ｃ"));
    QTest::mouseClick(cell(4, 4), Qt::LeftButton);
    f->form->Modified = false;
    whenDialogShown([](TABCForm &dialog) {
        tick(dialog, true, true, false);
        dialog.CancelButton->click();
    });
    rightClick(4, 4);
    QCOMPARE(cell(4, 4)->text(), QStringLiteral("Ｃ"));
    QCOMPARE(cell(4, 4)->color(), kAqua);
    QVERIFY(!f->form->Modified);

    // The same dialog comes back with its ticks; Escape is Cancel too.
    bool ticksKept = false;
    whenDialogShown([&ticksKept](TABCForm &dialog) {
        ticksKept = dialog.ABox->isChecked() && dialog.BBox->isChecked() && !dialog.CBox->isChecked();
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    rightClick(0, 0);
    QVERIFY(ticksKept);
    QVERIFY(!f->form->Modified);
    QCOMPARE(cell(4, 4)->color(), kAqua);
}

void MarkCellsTest::otherButtonsOnlyCountAsAnEdit()
{
    QTest::mouseClick(cell(2, 2), Qt::MiddleButton);
    QCOMPARE(cell(2, 2)->color(), kWhite);
    QVERIFY(f->form->Modified);
}

void MarkCellsTest::dialogLooksAndAnswersAsItShould()
{
    // The dialog is built when the right button first opens it.
    QVERIFY(f->form->findChild<TABCForm *>() == nullptr);
    whenDialogShown([](TABCForm &shown) { shown.CancelButton->click(); });
    rightClick(7, 3);
    QVERIFY(f->form->findChild<TABCForm *>() != nullptr);
    TABCForm &dialog = *f->form->findChild<TABCForm *>();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("ＡＢＣ記入"));
    QCOMPARE(dialog.ABox->text(), QStringLiteral("Ａ：目標"));
    QCOMPARE(dialog.BBox->text(), QStringLiteral("Ｂ：実施状況"));
    QCOMPARE(dialog.CBox->text(), QStringLiteral("Ｃ：能力"));
    QVERIFY(dialog.ABox->font().bold());
    QCOMPARE(dialog.OkButton->text(), QStringLiteral("Ok"));
    QCOMPARE(dialog.CancelButton->text(), QStringLiteral("Cancel"));
    QCOMPARE(dialog.ALLSet->text(), QStringLiteral("全て記載"));
    QCOMPARE(dialog.ALLCancel->text(), QStringLiteral("全て消去"));

    const auto resultOf = [&](QPushButton *button) {
        QTimer::singleShot(0, button, &QPushButton::click);
        return dialog.exec();
    };
    tick(dialog, false, true, false);
    QCOMPARE(resultOf(dialog.OkButton), 1);
    QCOMPARE(dialog.MarkText, QStringLiteral("Ｂ"));
    QCOMPARE(resultOf(dialog.CancelButton), 2);
    tick(dialog, true, true, true);
    QCOMPARE(resultOf(dialog.ALLCancel), 9);
    QCOMPARE(dialog.MarkText, QStringLiteral("Ｂ")); // erase-all leaves the mark as it was
    QCOMPARE(resultOf(dialog.ALLSet), 10);
    QCOMPARE(dialog.MarkText, QStringLiteral("ＡＢＣ"));
}

void MarkCellsTest::priorityMarksCycleAndCountAsEdits()
{
    TestMainForm &form = *f->form;
    // A plan that passes the checks, read below.
    form.planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("昭和15年 6月12日"));
    form.planForm().control<TEdit>("HDSEdit")->setText(QStringLiteral("20"));
    auto *special = form.planForm().control<QLabel>(formnames::special(20));
    const QStringList expected{QStringLiteral("○"), QStringLiteral("◎"), QStringLiteral("　")};
    for (int click = 0; click < 3; ++click) {
        form.Modified = false;
        QTest::mouseClick(special, Qt::LeftButton);
        QCOMPARE(special->text(), expected.at(click));
        QCOMPARE(viewPlan(form).MotionItems[0].Special, (click + 1) % 3);
        QVERIFY(form.Modified);
    }
    QTest::mouseClick(form.planForm().control<QLabel>(formnames::special(12)), Qt::LeftButton);
    QCOMPARE(viewPlan(form).ActivityItems[12].Special, 1);
    QCOMPARE(viewPlan(form).MotionItems[0].Special, 0);
    QVERIFY(f->prompter->shown.isEmpty());
    // A right click is not a click.
    QTest::mouseClick(special, Qt::RightButton);
    QCOMPARE(special->text(), QStringLiteral("　"));
}

QTEST_MAIN(MarkCellsTest)
#include "MarkCellsTest.moc"
