// The Edit menu: its target, the enabling of its items, the four commands
// on edits and memos of both pages, and its shortcuts.

#include "ControlNames.h"
#include "app/FormControls.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTabWidget>
#include <QTest>

namespace {

QString textOf(const QWidget *field)
{
    if (const auto *memo = qobject_cast<const TMemo *>(field)) {
        return memo->lineText();
    }
    return static_cast<const QLineEdit *>(field)->text();
}

QString selectionOf(const QWidget *field)
{
    if (const auto *memo = qobject_cast<const TMemo *>(field)) {
        return memo->textCursor().selectedText();
    }
    return static_cast<const QLineEdit *>(field)->selectedText();
}

// Selects characters [start, start + length) of an edit or memo.
void select(QWidget *field, int start, int length)
{
    if (auto *memo = qobject_cast<TMemo *>(field)) {
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        memo->setTextCursor(cursor);
    } else {
        static_cast<QLineEdit *>(field)->setSelection(start, length);
    }
}

void setText(QWidget *field, const QString &text)
{
    if (auto *memo = qobject_cast<TMemo *>(field)) {
        memo->setText(text);
    } else {
        static_cast<QLineEdit *>(field)->setText(text);
    }
}

QString clipboardText()
{
    return QApplication::clipboard()->text();
}

} // namespace

class EditMenuTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void noFieldFocusedLeavesOnlyPaste();
    void comboAndCheckBoxesAllowOnlySelectAllWhichDoesNothing();
    void editWithoutSelectionCannotCutOrCopy();
    void commandsActOnEditsAndMemosOfBothPages();
    void pasteAndCutReachDateFieldsPastTheirEraEditor();

private:
    // The menu opened as the user opens it; returns the enabled items.
    QStringList openMenu();
    void ctrl(QWidget *target, char letter) { QTest::keyClick(target, letter, Qt::ControlModifier); }
    std::unique_ptr<WindowFixture> f;
};

void EditMenuTest::init()
{
    f = std::make_unique<WindowFixture>();
    f->form->NewMenuClick();
    QApplication::clipboard()->setText(QStringLiteral("貼る文字"));
}

void EditMenuTest::cleanup()
{
    f.reset();
}

QStringList EditMenuTest::openMenu()
{
    QMenu *menu = f->form->findChild<QMenu *>(QStringLiteral("EditMenu"));
    menu->popup(f->form->mapToGlobal(QPoint(0, 0)));
    QStringList enabled;
    for (const QAction *item : {f->form->findChild<QAction *>(QStringLiteral("CutMenu")),
                                f->form->findChild<QAction *>(QStringLiteral("CopyMenu")),
                                f->form->findChild<QAction *>(QStringLiteral("PasteMenu")),
                                f->form->findChild<QAction *>(QStringLiteral("AllMenu"))}) {
        if (item->isEnabled()) {
            enabled.append(item->objectName());
        }
    }
    menu->hide();
    return enabled;
}

void EditMenuTest::noFieldFocusedLeavesOnlyPaste()
{
    TestMainForm &form = *f->form;
    form.planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田"));
    form.planForm().tabBar()->setFocus();
    QTRY_VERIFY(form.planForm().tabBar()->hasFocus());
    QCOMPARE(openMenu(), QStringList{QStringLiteral("PasteMenu")});
    form.findChild<QAction *>(QStringLiteral("PasteMenu"))->trigger();
    QCOMPARE(form.planForm().control<TEdit>("NameEdit")->text(), QStringLiteral("山田"));

    QApplication::clipboard()->clear();
    QCOMPARE(openMenu(), QStringList());

    // Moving into the menu bar with the keyboard keeps the field as target.
    QApplication::clipboard()->setText(QStringLiteral("貼る文字"));
    form.planForm().control<TEdit>("NameEdit")->setFocus();
    form.planForm().control<TEdit>("NameEdit")->selectAll();
    form.menuBar()->setFocus(Qt::MenuBarFocusReason);
    QTRY_VERIFY(form.menuBar()->hasFocus());
    QCOMPARE(openMenu(), (QStringList{QStringLiteral("CutMenu"), QStringLiteral("CopyMenu"), QStringLiteral("PasteMenu"),
                                      QStringLiteral("AllMenu")}));
    QCOMPARE(form.editTarget(), static_cast<QWidget *>(form.planForm().control<TEdit>("NameEdit")));
}

void EditMenuTest::comboAndCheckBoxesAllowOnlySelectAllWhichDoesNothing()
{
    TestMainForm &form = *f->form;
    auto *team = form.planForm().control<QComboBox>(formnames::teamBox(1));
    team->setEditText(QStringLiteral("山本 一郎"));
    team->lineEdit()->selectAll();
    form.planForm().control<QCheckBox>("HomeBox")->setChecked(true);
    for (QWidget *control :
         {static_cast<QWidget *>(form.planForm().control<QComboBox>("SexBox")), static_cast<QWidget *>(team),
          static_cast<QWidget *>(form.planForm().control<QCheckBox>("HomeBox"))}) {
        form.planForm().setCurrentWidget(control == team ? form.planForm().page(2) : form.planForm().page(1));
        control->setFocus();
        QTRY_VERIFY2(control->hasFocus(), qPrintable(control->objectName()));
        QCOMPARE(openMenu(), (QStringList{QStringLiteral("PasteMenu"), QStringLiteral("AllMenu")}));
        QCOMPARE(form.editTarget(), control);
        form.findChild<QAction *>(QStringLiteral("AllMenu"))->trigger();
        form.findChild<QAction *>(QStringLiteral("PasteMenu"))->trigger();
        ctrl(control, 'V');
        ctrl(control, 'X');
    }
    QCOMPARE(team->currentText(), QStringLiteral("山本 一郎"));
    QVERIFY(form.planForm().control<QCheckBox>("HomeBox")->isChecked());
    QCOMPARE(form.planForm().control<QComboBox>("SexBox")->currentIndex(), -1);
    QCOMPARE(clipboardText(), QStringLiteral("貼る文字"));
}

void EditMenuTest::editWithoutSelectionCannotCutOrCopy()
{
    TestMainForm &form = *f->form;
    form.planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田 太郎"));
    form.planForm().control<TEdit>("NameEdit")->setFocus();
    form.planForm().control<TEdit>("NameEdit")->deselect();
    QCOMPARE(openMenu(), (QStringList{QStringLiteral("PasteMenu"), QStringLiteral("AllMenu")}));
    ctrl(form.planForm().control<TEdit>("NameEdit"), 'C');
    ctrl(form.planForm().control<TEdit>("NameEdit"), 'X');
    QCOMPARE(clipboardText(), QStringLiteral("貼る文字"));
    QCOMPARE(form.planForm().control<TEdit>("NameEdit")->text(), QStringLiteral("山田 太郎"));
}

void EditMenuTest::commandsActOnEditsAndMemosOfBothPages()
{
    TestMainForm &form = *f->form;
    for (QWidget *field : {static_cast<QWidget *>(form.planForm().control<TEdit>("NameEdit")),
                           static_cast<QWidget *>(form.planForm().control<TMemo>("KenkouMemo")),
                           static_cast<QWidget *>(form.planForm().control<TMemo>("SelfHope"))}) {
        const QByteArray name = field->objectName().toUtf8();
        form.planForm().setCurrentWidget(field == form.planForm().control<TMemo>("SelfHope") ? form.planForm().page(2)
                                                                                             : form.planForm().page(1));
        setText(field, QStringLiteral("一二三四"));
        field->setFocus();
        QTRY_VERIFY2(field->hasFocus(), name.constData());

        // By the shortcuts, each preceded by the menu's own choice of target.
        select(field, 1, 2);
        ctrl(field, 'C');
        QCOMPARE(clipboardText(), QStringLiteral("二三"));
        ctrl(field, 'X');
        QCOMPARE(textOf(field), QStringLiteral("一四"));
        ctrl(field, 'V');
        ctrl(field, 'V');
        QCOMPARE(textOf(field), QStringLiteral("一二三二三四"));
        ctrl(field, 'A');
        QCOMPARE(selectionOf(field), QStringLiteral("一二三二三四"));

        // By the menu: the items act on the field found when it opened.
        setText(field, QStringLiteral("あいう"));
        select(field, 0, 1);
        QCOMPARE(openMenu(), (QStringList{QStringLiteral("CutMenu"), QStringLiteral("CopyMenu"),
                                          QStringLiteral("PasteMenu"), QStringLiteral("AllMenu")}));
        form.findChild<QAction *>(QStringLiteral("CutMenu"))->trigger();
        QCOMPARE(clipboardText(), QStringLiteral("あ"));
        form.findChild<QAction *>(QStringLiteral("AllMenu"))->trigger();
        form.findChild<QAction *>(QStringLiteral("PasteMenu"))->trigger();
        QCOMPARE(textOf(field), QStringLiteral("あ"));
        form.findChild<QAction *>(QStringLiteral("AllMenu"))->trigger();
        form.findChild<QAction *>(QStringLiteral("CopyMenu"))->trigger();
        QCOMPARE(selectionOf(field), QStringLiteral("あ"));
        QCOMPARE(clipboardText(), QStringLiteral("あ"));
    }
    // The menu's target stays until it is opened again, wherever the focus goes.
    select(form.planForm().control<TMemo>("SelfHope"), 0, 0);
    form.planForm().setCurrentWidget(form.planForm().page(1));
    form.planForm().control<TEdit>("NameEdit")->setFocus();
    form.planForm().control<TEdit>("NameEdit")->deselect();
    form.findChild<QAction *>(QStringLiteral("AllMenu"))->trigger();
    QCOMPARE(form.planForm().control<TEdit>("NameEdit")->selectedText(), QString());
    QCOMPARE(selectionOf(form.planForm().control<TMemo>("SelfHope")), QStringLiteral("あ"));

    // A pasted tab becomes a space in an edit and in a memo: no field holds one.
    QApplication::clipboard()->setText(QStringLiteral("歩行\t40m"));
    for (QWidget *field : {static_cast<QWidget *>(form.planForm().control<TEdit>("NameEdit")),
                           static_cast<QWidget *>(form.planForm().control<TMemo>("KenkouMemo"))}) {
        setText(field, QString());
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        ctrl(field, 'V');
        QCOMPARE(textOf(field), QStringLiteral("歩行 40m"));
    }
}

void EditMenuTest::pasteAndCutReachDateFieldsPastTheirEraEditor()
{
    TestMainForm &form = *f->form;
    const QString planDate = form.planForm().control<TEdit>("PlanDateEdit")->text();
    QApplication::clipboard()->setText(QStringLiteral("令和"));
    form.planForm().control<TEdit>("PlanDateEdit")->setFocus();
    form.planForm().control<TEdit>("PlanDateEdit")->setSelection(0, 2);
    ctrl(form.planForm().control<TEdit>("PlanDateEdit"), 'V');
    QCOMPARE(form.planForm().control<TEdit>("PlanDateEdit")->text(), QStringLiteral("令和") + planDate.mid(2));

    // A paste that leaves the era shape: the next parse reports the date error.
    QApplication::clipboard()->setText(QStringLiteral("4/1"));
    ctrl(form.planForm().control<TEdit>("PlanDateEdit"), 'A');
    ctrl(form.planForm().control<TEdit>("PlanDateEdit"), 'V');
    QCOMPARE(form.planForm().control<TEdit>("PlanDateEdit")->text(), QStringLiteral("4/1"));
    QVERIFY(f->prompter->shown.isEmpty());
    QTest::keyClick(form.planForm().control<TEdit>("PlanDateEdit"), Qt::Key_Return);
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown.at(0).text, QStringLiteral("日付エラーです。"));
    QVERIFY(form.planForm().control<TEdit>("PlanDateEdit")->hasFocus());

    // Cut on the birth date takes the text out of the template.
    form.planForm().control<TEdit>("BirthEdit")->setFocus();
    form.planForm().control<TEdit>("BirthEdit")->setSelection(0, 2);
    ctrl(form.planForm().control<TEdit>("BirthEdit"), 'X');
    QCOMPARE(clipboardText(), QStringLiteral("＿＿"));
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("__年__月__日"));

    // With nothing to paste, Ctrl+V is consumed: the era editor types nothing.
    QApplication::clipboard()->clear();
    form.planForm().control<TEdit>("BirthEdit")->setCursorPosition(0);
    ctrl(form.planForm().control<TEdit>("BirthEdit"), 'V');
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("__年__月__日"));
}

QTEST_MAIN(EditMenuTest)
#include "EditMenuTest.moc"
