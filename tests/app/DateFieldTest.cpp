// The era-date fields typed key by key, committed with Enter or by leaving
// them, the age label and the date error (a real box closed with Enter).

#include "app/FormControls.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

class DateFieldTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void typingFillsTheBirthDateAndEnterShowsTheAge();
    void typingReplacesTheEraAndSkipsFixedCharacters();
    void rejectedDigitsKeepTheirPlaceholders();
    void backspaceMovesLeftAndWritesUnderscoreAtTheDay();
    void deleteOnlyMovesLeft();
    void editMenuShortcutsNeverReachTheEraEditor();
    void enterOnTheTemplateShowsTheDateError();
    void enterOnTheDateErrorBoxClosesItOnce();
    void leavingTheBirthDateShowsTheAgeUnlessBornAfterThePlanDate();
    void planDateEnterStoresTheDateAndTheAgeFollows();
    void oldLabelClickRecomputesFromBothFields();
    void oldLabelClickReportsTheFirstBadField();

private:
    std::unique_ptr<WindowFixture> f;
};

void DateFieldTest::init()
{
    f = std::make_unique<WindowFixture>();
    f->form->NewMenuClick();
    QVERIFY(QTest::qWaitForWindowActive(f->form.get()));
}

void DateFieldTest::cleanup()
{
    f.reset();
}

void DateFieldTest::typingFillsTheBirthDateAndEnterShowsTheAge()
{
    TestMainForm &form = *f->form;
    form.planForm().control<TEdit>("BirthEdit")->setFocus();
    form.planForm().control<TEdit>("BirthEdit")->setCursorPosition(0);
    QTest::keyClicks(form.planForm().control<TEdit>("BirthEdit"), QStringLiteral("H150401"));
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("平成15年 4月 1日"));
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->cursorPosition(), 11); // byte 16, after 日
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Return);
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("平成15年 4月 1日"));
    QCOMPARE(form.planForm().birthDate(), encodeDate(2003, 4, 1));
    QCOMPARE(form.planForm().control<TClickLabel>("OldLabel")->text(), QStringLiteral("0"));

    form.planForm().control<TEdit>("BirthEdit")->setCursorPosition(0);
    QTest::keyClicks(form.planForm().control<TEdit>("BirthEdit"), QStringLiteral("s150612"));
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("昭和15年 6月12日"));
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Enter);
    // Aged against the plan date the view holds (New: now).
    QCOMPARE(form.planForm().age(), 62);
    QCOMPARE(form.planForm().control<TClickLabel>("OldLabel")->text(), QStringLiteral("62"));
    QVERIFY(f->prompter->shown.isEmpty());
}

void DateFieldTest::typingReplacesTheEraAndSkipsFixedCharacters()
{
    TestMainForm &form = *f->form;
    form.planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("平成15年 4月 1日"));
    form.planForm().control<TEdit>("BirthEdit")->setCursorPosition(1); // byte 2, inside the era
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_T);
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("大正15年 4月 1日"));
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->cursorPosition(), 2); // byte 4
    form.planForm().control<TEdit>("BirthEdit")->setCursorPosition(4);          // byte 6, on 年
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_9);
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->cursorPosition(), 5); // byte 8
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("大正15年 4月 1日"));
}

void DateFieldTest::rejectedDigitsKeepTheirPlaceholders()
{
    TestMainForm &form = *f->form;
    form.planForm().control<TEdit>("BirthEdit")->setCursorPosition(0);
    QTest::keyClicks(form.planForm().control<TEdit>("BirthEdit"), QStringLiteral("H15"));
    // The month's first digit may only be 0, a space or 1.
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_2);
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("平成15年__月__日"));
    QTest::keyClicks(form.planForm().control<TEdit>("BirthEdit"), QStringLiteral("02"));
    // At the day's first place a wrong digit writes "_" and stays.
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_4);
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("平成15年 2月__日"));
    // 30 February fails the calendar test on the last digit.
    QTest::keyClicks(form.planForm().control<TEdit>("BirthEdit"), QStringLiteral("30"));
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("平成15年 2月3_日"));
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->cursorPosition(), 9); // byte 13
}

void DateFieldTest::backspaceMovesLeftAndWritesUnderscoreAtTheDay()
{
    TestMainForm &form = *f->form;
    form.planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("平成15年 4月 1日"));
    form.planForm().control<TEdit>("BirthEdit")->setCursorPosition(11);
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Backspace); // to byte 14: nothing typed there
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Backspace); // to byte 13: not a digit, nothing
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("平成15年 4月 1日"));
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->cursorPosition(), 9);
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Backspace); // to byte 12: "_" into the day
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("平成15年 4月_1日"));
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->cursorPosition(), 8);
}

void DateFieldTest::deleteOnlyMovesLeft()
{
    TestMainForm &form = *f->form;
    form.planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("平成15年 4月 1日"));
    form.planForm().control<TEdit>("BirthEdit")->setCursorPosition(9);
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Delete);
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("平成15年 4月 1日"));
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->cursorPosition(), 8);
}

void DateFieldTest::editMenuShortcutsNeverReachTheEraEditor()
{
    TestMainForm &form = *f->form;
    const QString date = QStringLiteral("平成15年 4月 1日");
    form.planForm().control<TEdit>("BirthEdit")->setText(date);
    form.planForm().control<TEdit>("BirthEdit")->setFocus();
    // Nothing selected and nothing to paste: only select-all is enabled, and
    // the other three keys are consumed without acting.
    QApplication::clipboard()->clear();
    const struct {
        QAction *action;
        Qt::Key key;
        int triggers;
    } shortcuts[] = {{form.findChild<QAction *>(QStringLiteral("CutMenu")), Qt::Key_X, 0},
                     {form.findChild<QAction *>(QStringLiteral("CopyMenu")), Qt::Key_C, 0},
                     {form.findChild<QAction *>(QStringLiteral("PasteMenu")), Qt::Key_V, 0},
                     {form.findChild<QAction *>(QStringLiteral("AllMenu")), Qt::Key_A, 1}};
    for (const auto &shortcut : shortcuts) {
        QSignalSpy triggered(shortcut.action, &QAction::triggered);
        // At the day's first place any typed character would write "_".
        form.planForm().control<TEdit>("BirthEdit")->setCursorPosition(8);
        QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), shortcut.key, Qt::ControlModifier);
        QVERIFY2(triggered.count() == shortcut.triggers, qPrintable(shortcut.action->objectName()));
        QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), date);
    }
    // Other control keys are typed characters for the era editor.
    form.planForm().control<TEdit>("BirthEdit")->setCursorPosition(8);
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("平成15年 4月_1日"));
}

void DateFieldTest::enterOnTheTemplateShowsTheDateError()
{
    TestMainForm &form = *f->form;
    const TDateTime before = form.planForm().birthDate();
    form.planForm().setCurrentWidget(form.planForm().page(2));
    form.planForm().control<TEdit>("BirthEdit")->setFocus();
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Return);
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown.first().caption, QStringLiteral("情報"));
    QCOMPARE(f->prompter->shown.first().text, QStringLiteral("日付エラーです。"));
    QCOMPARE(f->prompter->shown.first().buttons, QList<Prompter::Button>{Prompter::Button::Ok});
    QCOMPARE(form.planForm().currentWidget(), form.planForm().page(1));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(form.planForm().control<TEdit>("BirthEdit")));
    QCOMPARE(form.planForm().birthDate(), before);
}

// The field commits on the key-up of an Enter it saw go down. The Enter
// that closes the error box goes down in the box and comes up in the field
// the box gives the focus back to: that key-up must not fail again and
// bring the box straight back.
void DateFieldTest::enterOnTheDateErrorBoxClosesItOnce()
{
    TestMainForm &form = *f->form;
    f->prompter->realBoxes = true;
    form.planForm().control<TEdit>("BirthEdit")->setFocus();
    QTest::keyPress(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Return);
    bool closed = false;
    whenModalShown([&closed](QWidget *box) {
        if (box != nullptr) {
            QTest::keyPress(box, Qt::Key_Return);
            closed = !box->isVisible();
        }
    });
    QTest::keyRelease(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Return);
    QVERIFY2(closed, "Enter should close the date error box");
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown[0].text, QStringLiteral("日付エラーです。"));
    // The focus is back in the field (the window's focus once it is active again).
    QCOMPARE(form.focusWidget(), static_cast<QWidget *>(form.planForm().control<TEdit>("BirthEdit")));

    // Any box that comes back is closed at once, and counted.
    int boxesAgain = 0;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&boxesAgain] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            ++boxesAgain;
            box->close();
        }
    });
    closer.start(5);
    QTest::keyRelease(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Return);
    QCOMPARE(boxesAgain, 0);
    QCOMPARE(f->prompter->shown.size(), 1);

    // A whole Enter in the field still commits (and fails) as before.
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Return);
    QTRY_COMPARE(boxesAgain, 1);
    QCOMPARE(f->prompter->shown.size(), 2);
}

// Tab or a click elsewhere takes a valid date like Enter, silently; a text
// that is no date is left alone. A birth date after the plan date shows no
// age.
void DateFieldTest::leavingTheBirthDateShowsTheAgeUnlessBornAfterThePlanDate()
{
    TestMainForm &form = *f->form;
    form.planForm().control<TEdit>("BirthEdit")->setFocus();
    form.planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("昭和15年 6月12日"));
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Tab);
    QVERIFY(!form.planForm().control<TEdit>("BirthEdit")->hasFocus());
    QCOMPARE(form.planForm().birthDate(), encodeDate(1940, 6, 12));
    QCOMPARE(form.planForm().control<TClickLabel>("OldLabel")->text(), QStringLiteral("62"));

    form.planForm().control<TEdit>("BirthEdit")->setFocus();
    form.planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("平成15年 4月__日"));
    form.planForm().control<TEdit>("NameEdit")->setFocus(Qt::MouseFocusReason);
    QCOMPARE(form.planForm().birthDate(), encodeDate(1940, 6, 12));
    QCOMPARE(form.planForm().control<TClickLabel>("OldLabel")->text(), QStringLiteral("62"));

    // Born after the plan date (平成15年4月1日, held from New).
    form.planForm().control<TEdit>("BirthEdit")->setFocus();
    form.planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("令和20年 1月 1日"));
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Return);
    QCOMPARE(form.planForm().birthDate(), encodeDate(2038, 1, 1));
    QCOMPARE(form.planForm().control<TClickLabel>("OldLabel")->text(), QString());
    form.planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("平成15年 4月 2日"));
    QTest::mouseClick(form.planForm().control<TClickLabel>("OldLabel"), Qt::LeftButton);
    QCOMPARE(form.planForm().control<TClickLabel>("OldLabel")->text(), QString());
    form.planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("平成15年 4月 1日"));
    QTest::mouseClick(form.planForm().control<TClickLabel>("OldLabel"), Qt::LeftButton);
    QCOMPARE(form.planForm().control<TClickLabel>("OldLabel")->text(), QStringLiteral("0"));
    QVERIFY(f->prompter->shown.isEmpty());
}

// The age follows the plan date as well: Enter on it counts the age anew
// when the birth date reads as a date.
void DateFieldTest::planDateEnterStoresTheDateAndTheAgeFollows()
{
    TestMainForm &form = *f->form;
    form.planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("昭和15年 6月12日"));
    form.planForm().control<TEdit>("PlanDateEdit")->setText(QStringLiteral("平成20年 1月 8日"));
    form.planForm().control<TEdit>("PlanDateEdit")->setFocus();
    QTest::keyClick(form.planForm().control<TEdit>("PlanDateEdit"), Qt::Key_Return);
    QCOMPARE(form.planForm().planDate(), encodeDate(2008, 1, 8));
    QCOMPARE(form.planForm().age(), 67);
    QCOMPARE(form.planForm().control<TClickLabel>("OldLabel")->text(), QStringLiteral("67"));
    form.planForm().control<TEdit>("PlanDateEdit")->setText(QStringLiteral("平成20年 2月30日"));
    QTest::keyClick(form.planForm().control<TEdit>("PlanDateEdit"), Qt::Key_Return);
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(form.planForm().control<TEdit>("PlanDateEdit")));
    QCOMPARE(form.planForm().planDate(), encodeDate(2008, 1, 8));
    QCOMPARE(form.planForm().control<TClickLabel>("OldLabel")->text(), QStringLiteral("67"));
}

void DateFieldTest::oldLabelClickRecomputesFromBothFields()
{
    TestMainForm &form = *f->form;
    form.planForm().control<TEdit>("PlanDateEdit")->setText(QStringLiteral("平成20年04月01日"));
    form.planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("昭和15年 6月12日"));
    QTest::mouseClick(form.planForm().control<TClickLabel>("Label12"), Qt::LeftButton);
    QCOMPARE(form.planForm().planDate(), encodeDate(2008, 4, 1));
    QCOMPARE(form.planForm().birthDate(), encodeDate(1940, 6, 12));
    QCOMPARE(form.planForm().control<TClickLabel>("OldLabel")->text(), QStringLiteral("67"));
    QVERIFY(f->prompter->shown.isEmpty());
}

void DateFieldTest::oldLabelClickReportsTheFirstBadField()
{
    TestMainForm &form = *f->form;
    form.planForm().control<TEdit>("PlanDateEdit")->setText(QStringLiteral("平成   年  月  日"));
    form.planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("bad"));
    QTest::mouseClick(form.planForm().control<TClickLabel>("OldLabel"), Qt::LeftButton);
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(form.planForm().control<TEdit>("PlanDateEdit")));

    form.planForm().control<TEdit>("PlanDateEdit")->setText(QStringLiteral("平成20年04月01日"));
    QTest::mouseClick(form.planForm().control<TClickLabel>("OldLabel"), Qt::LeftButton);
    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(form.planForm().control<TEdit>("BirthEdit")));
    // The plan date was read before the birth date failed.
    QCOMPARE(form.planForm().planDate(), encodeDate(2008, 4, 1));
}

QTEST_MAIN(DateFieldTest)
#include "DateFieldTest.moc"
