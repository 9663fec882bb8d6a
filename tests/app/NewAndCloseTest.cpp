// New, ClearForm, the page change and closing with its question, and the
// mended rule that every user edit, and no program fill, sets Modified.

#include "ControlNames.h"
#include "app/FormControls.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <QTest>

namespace {

const QString kCloseQuestion = QStringLiteral("保存されていません。\n保存して終了しますか?");
const QString kDiscardQuestion = QStringLiteral("保存されていません。\n編集中の内容を破棄しますか?");

} // namespace

class NewAndCloseTest : public QObject {
    Q_OBJECT
private slots:
    void newFillsDatesAndFocusesName();
    void newAsksBeforeDiscardingChanges();
    void clearFormKeepsPlanModifiedAndSelection();
    void pageChangeCopiesNameAndDate();
    void closingAsksOnlyAfterAnEdit();
    void cancelKeepsTheWindowOpen();
    void everyKindOfUserEditSetsModified_data();
    void everyKindOfUserEditSetsModified();
    void programFillsDoNotSetModified();
};

void NewAndCloseTest::newFillsDatesAndFocusesName()
{
    WindowFixture f;
    TMainForm &form = *f.form;
    QVERIFY(QTest::qWaitForWindowActive(&form));
    runCommand(form, "NewMenu");
    QCOMPARE(planView(form).control<TEdit>("PlanDateEdit")->text(), QStringLiteral("平成15年04月01日"));
    QCOMPARE(planView(form).control<TEdit>("BirthEdit")->text(), QStringLiteral("＿＿__年__月__日"));
    QCOMPARE(planView(form).currentWidget(), planView(form).page(1));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(planView(form).control<TEdit>("NameEdit")));
    QVERIFY(!form.Modified);
    QCOMPARE(planView(form).planDate(), testNow());
    QCOMPARE(planView(form).control<QComboBox>("SexBox")->currentIndex(), -1);
    QVERIFY(planView(form).control<TEdit>("HDSEdit")->text().isEmpty());
}

// New on a plan with changes asks first: Cancel keeps everything, OK clears
// it. Without changes it asks nothing.
void NewAndCloseTest::newAsksBeforeDiscardingChanges()
{
    WindowFixture f;
    TMainForm &form = *f.form;
    runCommand(form, "NewMenu");
    runCommand(form, "NewMenu");
    QVERIFY2(f.prompter->shown.isEmpty(), "no changes: nothing to lose");

    fillSampleData(form);
    QTest::keyClicks(planView(form).control<TEdit>("HomeWorkEdit"), QStringLiteral("x"));
    QCOMPARE(planView(form).control<QLabel>(formnames::special(23))->text(), QStringLiteral("◎"));
    QVERIFY(form.Modified);
    const QString typed = planView(form).control<TEdit>("HomeWorkEdit")->text();
    f.prompter->answers = {Prompter::Button::Cancel};
    runCommand(form, "NewMenu");
    QCOMPARE(f.prompter->shown.size(), 1);
    QCOMPARE(f.prompter->shown[0].kind, Prompter::Kind::Confirmation);
    QCOMPARE(f.prompter->shown[0].caption, QStringLiteral("確認"));
    QCOMPARE(f.prompter->shown[0].text, kDiscardQuestion);
    // Enter (the first button) keeps the work.
    QCOMPARE(f.prompter->shown[0].buttons, (QList<Prompter::Button>{Prompter::Button::Cancel, Prompter::Button::Ok}));
    QVERIFY(form.Modified);
    QCOMPARE(planView(form).control<TEdit>("HomeWorkEdit")->text(), typed);
    QCOMPARE(planView(form).control<TEdit>("NameEdit")->text(), QStringLiteral("山田 太郎"));
    QCOMPARE(viewPlan(form).MotionItems[3].Special, 2);

    f.prompter->answers = {Prompter::Button::Ok};
    runCommand(form, "NewMenu");
    QCOMPARE(f.prompter->shown.size(), 2);
    QVERIFY(!form.Modified);
    QVERIFY(planView(form).control<TEdit>("NameEdit")->text().isEmpty());
    QCOMPARE(planView(form).control<QComboBox>("SexBox")->currentIndex(), -1);
    QVERIFY(!planView(form).control<QCheckBox>("HomeBox")->isChecked());
    QVERIFY(planView(form).control<TMemo>("Remark")->toPlainText().isEmpty());
    QCOMPARE(planView(form).control<TMarkCell>(formnames::abc(0, 0))->text(), QStringLiteral("　"));
    QCOMPARE(planView(form).control<QLabel>(formnames::special(0))->text(), QStringLiteral("　"));
    QCOMPARE(planView(form).control<QLabel>(formnames::special(23))->text(), QStringLiteral("　"));
    QCOMPARE(planView(form).control<QComboBox>(formnames::teamBox(1))->currentText(), QString());
    QCOMPARE(planView(form).control<QComboBox>(formnames::teamBox(1))->count(), 2);
}

void NewAndCloseTest::clearFormKeepsPlanModifiedAndSelection()
{
    WindowFixture f;
    TMainForm &form = *f.form;
    runCommand(form, "NewMenu");
    fillSampleData(form);
    const TDateTime held = planView(form).planDate();
    form.Modified = true;
    auto *cell = planView(form).control<TMarkCell>(formnames::abc(5, 2));
    cell->setColor(QColor(0, 255, 255));
    form.ClearForm();
    QCOMPARE(planView(form).control<TEdit>("PlanDateEdit")->text(), QStringLiteral("平成   年  月  日"));
    QVERIFY(planView(form).control<TEdit>("BirthEdit")->text().isEmpty());
    QVERIFY(planView(form).control<TClickLabel>("OldLabel")->text().isEmpty());
    QCOMPARE(planView(form).control<QComboBox>("KaigoBox")->currentIndex(), -1);
    QVERIFY(planView(form).control<TEdit>("HDSEdit")->text().isEmpty());
    QCOMPARE(planView(form).control<TEdit>(formnames::time(20))->text(), QStringLiteral("　"));
    QVERIFY(planView(form).control<TMemo>(formnames::goods(20))->toPlainText().isEmpty());
    QVERIFY(planView(form).control<QLabel>("UserLabel")->text().isEmpty());
    QCOMPARE(planView(form).planDate(), held);
    QVERIFY(form.Modified);
    QCOMPARE(cell->color(), QColor(0, 255, 255));
    QCOMPARE(cell->text(), QStringLiteral("　"));
}

void NewAndCloseTest::pageChangeCopiesNameAndDate()
{
    WindowFixture f;
    TMainForm &form = *f.form;
    runCommand(form, "NewMenu");
    QTest::keyClicks(planView(form).control<TEdit>("NameEdit"), QStringLiteral("Yamada"));
    planView(form).setCurrentWidget(planView(form).page(2));
    QCOMPARE(planView(form).control<QLabel>("UserLabel")->text(), QStringLiteral("Yamada"));
    QCOMPARE(planView(form).control<QLabel>("DateLabel")->text(), QStringLiteral("平成15年04月01日"));
    planView(form).setCurrentWidget(planView(form).page(1));
    planView(form).control<TEdit>("NameEdit")->setText(QStringLiteral("山田"));
    planView(form).setCurrentWidget(planView(form).page(2));
    QCOMPARE(planView(form).control<QLabel>("UserLabel")->text(), QStringLiteral("山田"));
}

void NewAndCloseTest::closingAsksOnlyAfterAnEdit()
{
    {
        WindowFixture f;
        runCommand(*f.form, "NewMenu");
        f.form->findChild<QAction *>(QStringLiteral("CloseMenu"))->trigger();
        QVERIFY(f.prompter->shown.isEmpty());
        QVERIFY(!f.form->isVisible());
    }
    {
        WindowFixture f;
        runCommand(*f.form, "NewMenu");
        QTest::keyClicks(planView(*f.form).control<TEdit>("NameEdit"), QStringLiteral("a"));
        f.prompter->answers = {Prompter::Button::QuitWithoutSaving};
        runCommand(*f.form, "CloseMenu");
        QCOMPARE(f.prompter->shown.size(), 1);
        QCOMPARE(f.prompter->shown.first().caption, QStringLiteral("確認"));
        QCOMPARE(f.prompter->shown.first().text, kCloseQuestion);
        QCOMPARE(f.prompter->shown.first().buttons,
                 (QList<Prompter::Button>{Prompter::Button::SaveAndQuit, Prompter::Button::QuitWithoutSaving,
                                          Prompter::Button::Cancel}));
        QVERIFY(!f.form->isVisible());
    }
}

void NewAndCloseTest::cancelKeepsTheWindowOpen()
{
    WindowFixture f;
    runCommand(*f.form, "NewMenu");
    f.form->Modified = true;
    f.prompter->answers = {Prompter::Button::Cancel};
    QVERIFY(!f.form->close());
    QVERIFY(f.form->isVisible());
    QVERIFY(f.form->Modified);
}

void NewAndCloseTest::everyKindOfUserEditSetsModified_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("typing into an edit") << QStringLiteral("edit");
    QTest::newRow("typing into a memo") << QStringLiteral("memo");
    QTest::newRow("ticking a box") << QStringLiteral("check");
    QTest::newRow("choosing a list item") << QStringLiteral("combo");
    QTest::newRow("typing a team member") << QStringLiteral("team");
    QTest::newRow("typing a date") << QStringLiteral("date");
    QTest::newRow("typing a period") << QStringLiteral("time");
}

void NewAndCloseTest::everyKindOfUserEditSetsModified()
{
    QFETCH(QString, kind);
    WindowFixture f;
    TMainForm &form = *f.form;
    runCommand(form, "NewMenu");
    QVERIFY(!form.Modified);
    if (kind == QStringLiteral("edit")) {
        QTest::keyClicks(planView(form).control<TEdit>("HomeWorkEdit"), QStringLiteral("x"));
    } else if (kind == QStringLiteral("memo")) {
        QTest::keyClicks(planView(form).control<TMemo>("KenkouMemo"), QStringLiteral("x"));
    } else if (kind == QStringLiteral("check")) {
        QTest::mouseClick(planView(form).control<QCheckBox>("Sonota"), Qt::LeftButton);
        QVERIFY(planView(form).control<QCheckBox>("Sonota")->isChecked());
    } else if (kind == QStringLiteral("combo")) {
        QTest::keyClick(planView(form).control<QComboBox>("KaigoBox"), Qt::Key_Down);
        QCOMPARE(planView(form).control<QComboBox>("KaigoBox")->currentIndex(), 0);
    } else if (kind == QStringLiteral("team")) {
        QTest::keyClicks(planView(form).control<QComboBox>(formnames::teamBox(4))->lineEdit(), QStringLiteral("x"));
    } else if (kind == QStringLiteral("date")) {
        planView(form).control<TEdit>("BirthEdit")->setCursorPosition(0);
        QTest::keyClick(planView(form).control<TEdit>("BirthEdit"), Qt::Key_S);
    } else if (kind == QStringLiteral("time")) {
        QTest::keyClicks(planView(form).control<TEdit>(formnames::time(3)), QStringLiteral("3"));
    }
    QVERIFY2(form.Modified, qPrintable(kind));
    f.prompter->answers = {Prompter::Button::Cancel};
    form.close();
    QCOMPARE(f.prompter->shown.size(), 1);
}

void NewAndCloseTest::programFillsDoNotSetModified()
{
    WindowFixture f;
    TMainForm &form = *f.form;
    runCommand(form, "NewMenu");
    {
        const TMainForm::ProgramFill fill(form);
        planView(form).control<TMemo>("KenkouMemo")->setText(QStringLiteral("filled by the program"));
        planView(form).control<TMemo>(formnames::goods(2))->setText(QStringLiteral("杖"));
    }
    planView(form).control<TEdit>("NameEdit")->setText(QStringLiteral("also by the program"));
    planView(form).control<QCheckBox>("Exercise")->setChecked(true);
    planView(form).control<QComboBox>("SexBox")->setCurrentIndex(1);
    form.ClearForm();
    QVERIFY(!form.Modified);
    // Outside a fill, a change of a memo counts: that is how pasted stock
    // phrases reach it.
    planView(form).control<TMemo>("SelfHope")->insertPlainText(QStringLiteral("phrase"));
    QVERIFY(form.Modified);
}

QTEST_MAIN(NewAndCloseTest)
#include "NewAndCloseTest.moc"
