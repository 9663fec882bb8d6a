// The input method on the form's fields: the dates, the HDS-R score and the
// two choice lists refuse it and take plain keys; every other text field
// takes composed Japanese at its caret.

#include "app/ControlNames.h"
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
    TMainForm &form = *f->form;
    const QList<QWidget *> off{form.PlanDateEdit, form.BirthEdit, form.HDSEdit, form.SexBox, form.KaigoBox};
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
        on.append(form.control(formnames::teamBox(n)));
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
    TMainForm &form = *f->form;
    const QString blank = form.BirthEdit->text();
    form.BirthEdit->setFocus();
    form.BirthEdit->setCursorPosition(0);
    sendComposition(form.BirthEdit, QStringLiteral("ｓ２５"), QString());
    sendComposition(form.BirthEdit, QString(), QStringLiteral("ｓ２５０３１５"));
    QCOMPARE(form.BirthEdit->text(), blank);
    // Plain keys still go through the era editor.
    QTest::keyClicks(form.BirthEdit, QStringLiteral("s250315"));
    QCOMPARE(form.BirthEdit->text(), QStringLiteral("昭和25年 3月15日"));

    form.HDSEdit->setFocus();
    sendComposition(form.HDSEdit, QString(), QStringLiteral("２５"));
    QCOMPARE(form.HDSEdit->text(), QString());
    QTest::keyClicks(form.HDSEdit, QStringLiteral("25"));
    QCOMPARE(form.HDSEdit->text(), QStringLiteral("25"));
}

void InputMethodTest::composedTextLandsAtTheCaret()
{
    TMainForm &form = *f->form;
    form.KenkouMemo->setText(QStringLiteral("脳梗塞\r\n発症"));
    form.Modified = false;
    form.KenkouMemo->setFocus();
    QTextCursor cursor = form.KenkouMemo->textCursor();
    cursor.setPosition(2); // after 脳梗
    form.KenkouMemo->setTextCursor(cursor);
    sendComposition(form.KenkouMemo, QStringLiteral("ひだり"), QString());
    QCOMPARE(form.KenkouMemo->Text(), QStringLiteral("脳梗塞\r\n発症")); // still composing
    sendComposition(form.KenkouMemo, QString(), QStringLiteral("左"));
    QCOMPARE(form.KenkouMemo->Text(), QStringLiteral("脳梗左塞\r\n発症"));
    QVERIFY(form.Modified);

    form.Modified = false;
    form.NameEdit->setText(QStringLiteral("山田"));
    form.NameEdit->setFocus();
    form.NameEdit->setCursorPosition(1);
    sendComposition(form.NameEdit, QString(), QStringLiteral("本"));
    QCOMPARE(form.NameEdit->text(), QStringLiteral("山本田"));
    QVERIFY2(form.Modified, "a committed composition is an edit like typing");
}

// What ibus with mozc does when the user clicks another field during a
// composition: the composition is committed in its field, and the same text
// arrives once more in the field that now has the focus.
void InputMethodTest::aCompositionCommittedOnLeavingLandsOnce()
{
    TMainForm &form = *f->form;
    form.NameEdit->setFocus();
    sendComposition(form.NameEdit, QStringLiteral("たろう"), QString());
    sendComposition(form.NameEdit, QString(), QStringLiteral("たろう"));
    form.SeikatsuMemo->setFocus(Qt::MouseFocusReason);
    sendComposition(form.SeikatsuMemo, QString(), QStringLiteral("たろう"));
    QCOMPARE(form.NameEdit->text(), QStringLiteral("たろう"));
    QCOMPARE(form.SeikatsuMemo->Text(), QString());

    // The memo's own compositions are taken, the same text included.
    sendComposition(form.SeikatsuMemo, QStringLiteral("たろう"), QString());
    sendComposition(form.SeikatsuMemo, QString(), QStringLiteral("たろう"));
    QCOMPARE(form.SeikatsuMemo->Text(), QStringLiteral("たろう"));
}

QTEST_MAIN(InputMethodTest)
#include "InputMethodTest.moc"
