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
    TestMainForm &form = *f.form;
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.NewMenuClick();
    QCOMPARE(form.planForm().control<TEdit>("PlanDateEdit")->text(), QStringLiteral("平成15年04月01日"));
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("＿＿__年__月__日"));
    QCOMPARE(form.planForm().currentWidget(), form.planForm().page(1));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(form.planForm().control<TEdit>("NameEdit")));
    QVERIFY(!form.Modified);
    QCOMPARE(form.planForm().planDate(), testNow());
    QCOMPARE(form.planForm().control<QComboBox>("SexBox")->currentIndex(), -1);
    QVERIFY(form.planForm().control<TEdit>("HDSEdit")->text().isEmpty());
}

// New on a plan with changes asks first: Cancel keeps everything, OK clears
// it. Without changes it asks nothing.
void NewAndCloseTest::newAsksBeforeDiscardingChanges()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    form.NewMenuClick();
    QVERIFY2(f.prompter->shown.isEmpty(), "no changes: nothing to lose");

    fillSampleData(form);
    QTest::keyClicks(form.planForm().control<TEdit>("HomeWorkEdit"), QStringLiteral("x"));
    QCOMPARE(form.planForm().control<QLabel>(formnames::special(23))->text(), QStringLiteral("◎"));
    QVERIFY(form.Modified);
    const QString typed = form.planForm().control<TEdit>("HomeWorkEdit")->text();
    f.prompter->answers = {Prompter::Button::Cancel};
    form.NewMenuClick();
    QCOMPARE(f.prompter->shown.size(), 1);
    QCOMPARE(f.prompter->shown[0].kind, Prompter::Kind::Confirmation);
    QCOMPARE(f.prompter->shown[0].caption, QStringLiteral("確認"));
    QCOMPARE(f.prompter->shown[0].text, kDiscardQuestion);
    // Enter (the first button) keeps the work.
    QCOMPARE(f.prompter->shown[0].buttons, (QList<Prompter::Button>{Prompter::Button::Cancel, Prompter::Button::Ok}));
    QVERIFY(form.Modified);
    QCOMPARE(form.planForm().control<TEdit>("HomeWorkEdit")->text(), typed);
    QCOMPARE(form.planForm().control<TEdit>("NameEdit")->text(), QStringLiteral("山田 太郎"));
    QCOMPARE(viewPlan(form).MotionItems[3].Special, 2);

    f.prompter->answers = {Prompter::Button::Ok};
    form.NewMenuClick();
    QCOMPARE(f.prompter->shown.size(), 2);
    QVERIFY(!form.Modified);
    QVERIFY(form.planForm().control<TEdit>("NameEdit")->text().isEmpty());
    QCOMPARE(form.planForm().control<QComboBox>("SexBox")->currentIndex(), -1);
    QVERIFY(!form.planForm().control<QCheckBox>("HomeBox")->isChecked());
    QVERIFY(form.planForm().control<TMemo>("Remark")->toPlainText().isEmpty());
    QCOMPARE(form.planForm().control<TMarkCell>(formnames::abc(0, 0))->text(), QStringLiteral("　"));
    QCOMPARE(form.planForm().control<QLabel>(formnames::special(0))->text(), QStringLiteral("　"));
    QCOMPARE(form.planForm().control<QLabel>(formnames::special(23))->text(), QStringLiteral("　"));
    QCOMPARE(form.planForm().control<QComboBox>(formnames::teamBox(1))->currentText(), QString());
    QCOMPARE(form.planForm().control<QComboBox>(formnames::teamBox(1))->count(), 2);
}

void NewAndCloseTest::clearFormKeepsPlanModifiedAndSelection()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    fillSampleData(form);
    const TDateTime held = form.planForm().planDate();
    form.Modified = true;
    auto *cell = form.planForm().control<TMarkCell>(formnames::abc(5, 2));
    cell->setColor(QColor(0, 255, 255));
    form.ClearForm();
    QCOMPARE(form.planForm().control<TEdit>("PlanDateEdit")->text(), QStringLiteral("平成   年  月  日"));
    QVERIFY(form.planForm().control<TEdit>("BirthEdit")->text().isEmpty());
    QVERIFY(form.planForm().control<TClickLabel>("OldLabel")->text().isEmpty());
    QCOMPARE(form.planForm().control<QComboBox>("KaigoBox")->currentIndex(), -1);
    QVERIFY(form.planForm().control<TEdit>("HDSEdit")->text().isEmpty());
    QCOMPARE(form.planForm().control<TEdit>(formnames::time(20))->text(), QStringLiteral("　"));
    QVERIFY(form.planForm().control<TMemo>(formnames::goods(20))->toPlainText().isEmpty());
    QVERIFY(form.planForm().control<QLabel>("UserLabel")->text().isEmpty());
    QCOMPARE(form.planForm().planDate(), held);
    QVERIFY(form.Modified);
    QCOMPARE(cell->color(), QColor(0, 255, 255));
    QCOMPARE(cell->text(), QStringLiteral("　"));
}

void NewAndCloseTest::pageChangeCopiesNameAndDate()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    QTest::keyClicks(form.planForm().control<TEdit>("NameEdit"), QStringLiteral("Yamada"));
    form.planForm().setCurrentWidget(form.planForm().page(2));
    QCOMPARE(form.planForm().control<QLabel>("UserLabel")->text(), QStringLiteral("Yamada"));
    QCOMPARE(form.planForm().control<QLabel>("DateLabel")->text(), QStringLiteral("平成15年04月01日"));
    form.planForm().setCurrentWidget(form.planForm().page(1));
    form.planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田"));
    form.planForm().setCurrentWidget(form.planForm().page(2));
    QCOMPARE(form.planForm().control<QLabel>("UserLabel")->text(), QStringLiteral("山田"));
}

void NewAndCloseTest::closingAsksOnlyAfterAnEdit()
{
    {
        WindowFixture f;
        f.form->NewMenuClick();
        f.form->findChild<QAction *>(QStringLiteral("CloseMenu"))->trigger();
        QVERIFY(f.prompter->shown.isEmpty());
        QVERIFY(!f.form->isVisible());
    }
    {
        WindowFixture f;
        f.form->NewMenuClick();
        QTest::keyClicks(f.form->planForm().control<TEdit>("NameEdit"), QStringLiteral("a"));
        f.prompter->answers = {Prompter::Button::QuitWithoutSaving};
        f.form->CloseMenuClick();
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
    f.form->NewMenuClick();
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
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    QVERIFY(!form.Modified);
    if (kind == QStringLiteral("edit")) {
        QTest::keyClicks(form.planForm().control<TEdit>("HomeWorkEdit"), QStringLiteral("x"));
    } else if (kind == QStringLiteral("memo")) {
        QTest::keyClicks(form.planForm().control<TMemo>("KenkouMemo"), QStringLiteral("x"));
    } else if (kind == QStringLiteral("check")) {
        QTest::mouseClick(form.planForm().control<QCheckBox>("Sonota"), Qt::LeftButton);
        QVERIFY(form.planForm().control<QCheckBox>("Sonota")->isChecked());
    } else if (kind == QStringLiteral("combo")) {
        QTest::keyClick(form.planForm().control<QComboBox>("KaigoBox"), Qt::Key_Down);
        QCOMPARE(form.planForm().control<QComboBox>("KaigoBox")->currentIndex(), 0);
    } else if (kind == QStringLiteral("team")) {
        QTest::keyClicks(form.planForm().control<QComboBox>(formnames::teamBox(4))->lineEdit(), QStringLiteral("x"));
    } else if (kind == QStringLiteral("date")) {
        form.planForm().control<TEdit>("BirthEdit")->setCursorPosition(0);
        QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_S);
    } else if (kind == QStringLiteral("time")) {
        QTest::keyClicks(form.planForm().control<TEdit>(formnames::time(3)), QStringLiteral("3"));
    }
    QVERIFY2(form.Modified, qPrintable(kind));
    f.prompter->answers = {Prompter::Button::Cancel};
    form.close();
    QCOMPARE(f.prompter->shown.size(), 1);
}

void NewAndCloseTest::programFillsDoNotSetModified()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    {
        const TMainForm::ProgramFill fill(form);
        form.planForm().control<TMemo>("KenkouMemo")->setText(QStringLiteral("filled by the program"));
        form.planForm().control<TMemo>(formnames::goods(2))->setText(QStringLiteral("杖"));
    }
    form.planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("also by the program"));
    form.planForm().control<QCheckBox>("Exercise")->setChecked(true);
    form.planForm().control<QComboBox>("SexBox")->setCurrentIndex(1);
    form.ClearForm();
    QVERIFY(!form.Modified);
    // Outside a fill, a change of a memo counts: that is how pasted stock
    // phrases reach it.
    form.planForm().control<TMemo>("SelfHope")->insertPlainText(QStringLiteral("phrase"));
    QVERIFY(form.Modified);
}

QTEST_MAIN(NewAndCloseTest)
#include "NewAndCloseTest.moc"
