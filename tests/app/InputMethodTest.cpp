// The input method on the form's fields: the dates, the HDS-R score and the
// two choice lists refuse it and take plain keys; every other text field
// takes composed Japanese at its caret.

#include "ControlNames.h"
#include "app/FormControls.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QTest>

namespace {

// What a widget answers the input method's Qt::ImEnabled query with, as
// the platform asks it: by a query event.
bool answersInputMethodEnabled(QWidget *widget)
{
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QApplication::sendEvent(widget, &query);
    return query.value(Qt::ImEnabled).toBool();
}

void sendComposition(QWidget *widget, const QString &preedit, const QString &commit)
{
    QInputMethodEvent event(preedit, {});
    event.setCommitString(commit);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class InputMethodTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void onlyTheDigitFieldsAndListsRefuseTheInputMethod();
    void composedTextNeverReachesTheDigitFields();
    void composedTextLandsAtTheCaret();
    void aCompositionCommittedOnLeavingLandsOnce();

private:
    std::unique_ptr<WindowFixture> f;
};

void InputMethodTest::init()
{
    f = std::make_unique<WindowFixture>();
    f->form->NewMenuClick();
    QVERIFY(QTest::qWaitForWindowActive(f->form.get()));
}

void InputMethodTest::cleanup()
{
    f.reset();
}

void InputMethodTest::onlyTheDigitFieldsAndListsRefuseTheInputMethod()
{
    TestMainForm &form = *f->form;
    const QList<QWidget *> off{form.planForm().control<TEdit>("PlanDateEdit"),
                               form.planForm().control<TEdit>("BirthEdit"), form.planForm().control<TEdit>("HDSEdit"),
                               form.planForm().control<QComboBox>("SexBox"),
                               form.planForm().control<QComboBox>("KaigoBox")};
    for (QWidget *field : off) {
        QVERIFY2(!answersInputMethodEnabled(field), qPrintable(field->objectName()));
        QVERIFY2(field->inputMethodHints().testFlag(Qt::ImhLatinOnly), qPrintable(field->objectName()));
    }
    // Every other text field of both pages, the team boxes included.
    QList<QWidget *> on;
    for (TEdit *edit : form.findChildren<TEdit *>()) {
        on.append(edit);
    }
    for (TMemo *memo : form.findChildren<TMemo *>()) {
        on.append(memo);
    }
    for (int n = 1; n <= formnames::kTeamBoxes; ++n) {
        on.append(form.planForm().control(formnames::teamBox(n)));
    }
    int checked = 0;
    for (QWidget *field : on) {
        if (off.contains(field)) {
            continue;
        }
        QVERIFY2(answersInputMethodEnabled(field), qPrintable(field->objectName()));
        QCOMPARE(field->inputMethodHints(), Qt::ImhNone);
        ++checked;
    }
    QVERIFY2(checked > 100, "the goods, care and period fields of every row are among them");
}

void InputMethodTest::composedTextNeverReachesTheDigitFields()
{
    TestMainForm &form = *f->form;
    const QString blank = form.planForm().control<TEdit>("BirthEdit")->text();
    form.planForm().control<TEdit>("BirthEdit")->setFocus();
    form.planForm().control<TEdit>("BirthEdit")->setCursorPosition(0);
    sendComposition(form.planForm().control<TEdit>("BirthEdit"), QStringLiteral("ｓ２５"), QString());
    sendComposition(form.planForm().control<TEdit>("BirthEdit"), QString(), QStringLiteral("ｓ２５０３１５"));
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), blank);
    // Plain keys still go through the era editor.
    QTest::keyClicks(form.planForm().control<TEdit>("BirthEdit"), QStringLiteral("s250315"));
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("昭和25年 3月15日"));

    form.planForm().control<TEdit>("HDSEdit")->setFocus();
    sendComposition(form.planForm().control<TEdit>("HDSEdit"), QString(), QStringLiteral("２５"));
    QCOMPARE(form.planForm().control<TEdit>("HDSEdit")->text(), QString());
    QTest::keyClicks(form.planForm().control<TEdit>("HDSEdit"), QStringLiteral("25"));
    QCOMPARE(form.planForm().control<TEdit>("HDSEdit")->text(), QStringLiteral("25"));
}

void InputMethodTest::composedTextLandsAtTheCaret()
{
    TestMainForm &form = *f->form;
    form.planForm().control<TMemo>("KenkouMemo")->setText(QStringLiteral("脳梗塞\r\n発症"));
    form.Modified = false;
    form.planForm().control<TMemo>("KenkouMemo")->setFocus();
    QTextCursor cursor = form.planForm().control<TMemo>("KenkouMemo")->textCursor();
    cursor.setPosition(2); // after 脳梗
    form.planForm().control<TMemo>("KenkouMemo")->setTextCursor(cursor);
    sendComposition(form.planForm().control<TMemo>("KenkouMemo"), QStringLiteral("ひだり"), QString());
    QCOMPARE(form.planForm().control<TMemo>("KenkouMemo")->Text(), QStringLiteral("脳梗塞\r\n発症")); // still composing
    sendComposition(form.planForm().control<TMemo>("KenkouMemo"), QString(), QStringLiteral("左"));
    QCOMPARE(form.planForm().control<TMemo>("KenkouMemo")->Text(), QStringLiteral("脳梗左塞\r\n発症"));
    QVERIFY(form.Modified);

    form.Modified = false;
    form.planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田"));
    form.planForm().control<TEdit>("NameEdit")->setFocus();
    form.planForm().control<TEdit>("NameEdit")->setCursorPosition(1);
    sendComposition(form.planForm().control<TEdit>("NameEdit"), QString(), QStringLiteral("本"));
    QCOMPARE(form.planForm().control<TEdit>("NameEdit")->text(), QStringLiteral("山本田"));
    QVERIFY2(form.Modified, "a committed composition is an edit like typing");
}

// What ibus with mozc does when the user clicks another field during a
// composition: the composition is committed in its field, and the same text
// arrives once more in the field that now has the focus.
void InputMethodTest::aCompositionCommittedOnLeavingLandsOnce()
{
    TestMainForm &form = *f->form;
    form.planForm().control<TEdit>("NameEdit")->setFocus();
    sendComposition(form.planForm().control<TEdit>("NameEdit"), QStringLiteral("たろう"), QString());
    sendComposition(form.planForm().control<TEdit>("NameEdit"), QString(), QStringLiteral("たろう"));
    form.planForm().control<TMemo>("SeikatsuMemo")->setFocus(Qt::MouseFocusReason);
    sendComposition(form.planForm().control<TMemo>("SeikatsuMemo"), QString(), QStringLiteral("たろう"));
    QCOMPARE(form.planForm().control<TEdit>("NameEdit")->text(), QStringLiteral("たろう"));
    QCOMPARE(form.planForm().control<TMemo>("SeikatsuMemo")->Text(), QString());

    // The memo's own compositions are taken, the same text included.
    sendComposition(form.planForm().control<TMemo>("SeikatsuMemo"), QStringLiteral("たろう"), QString());
    sendComposition(form.planForm().control<TMemo>("SeikatsuMemo"), QString(), QStringLiteral("たろう"));
    QCOMPARE(form.planForm().control<TMemo>("SeikatsuMemo")->Text(), QStringLiteral("たろう"));
}

QTEST_MAIN(InputMethodTest)
#include "InputMethodTest.moc"
