// Texts that will not print whole: the warning of the save commands with its
// three answers, and the red frame and tooltip that follow the text of a
// control while it is edited.

#include "ControlNames.h"
#include "app/FormControls.h"
#include "plan/Cp932.h"
#include "planio/PlanSave.h"
#include "settings/Registory.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QTabWidget>
#include <QTest>

namespace {

QString warningText(const QString &caption)
{
    return QStringLiteral("「") + caption +
           QStringLiteral("」の文字が印刷欄に収まりません。\n収まらない部分は保存されません。\n保存しますか？");
}

// The red frame drawn over a control whose text will not print whole.
bool framed(const QWidget *control)
{
    const auto *frame = control->findChild<QWidget *>(QStringLiteral("FitFrame"), Qt::FindDirectChildrenOnly);
    return frame != nullptr && !frame->isHidden();
}

QString kanji(int count)
{
    return QString(count, QChar(u'山'));
}

} // namespace

class PrintedFitTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void aNameOneCharacterTooLongIsWarnedAboutAndCancelWritesNothing();
    void saveWritesTheFileAsBefore();
    void breakingTheLinesMakesTheMemoPrintWhole();
    void breakingIsNotOfferedWhenLinesFallBelowTheBox();
    void oneWarningListsEveryCutFieldAndBreakingAsksOnlyAboutTheRest();
    void theFrameFollowsTheText();

private:
    TestMainForm &form() { return *f->form; }
    QString folder() const { return f->dir.filePath(QStringLiteral("plans")); }
    QStringList files() const { return QDir(folder()).entryList(QDir::Files | QDir::NoDotAndDotDot); }
    // Starts a sample plan and runs "今日の日付で保存", confirming it and then
    // giving `answer` to a warning.
    void save(Prompter::Button answer);

    std::unique_ptr<WindowFixture> f;
};

void PrintedFitTest::init()
{
    f = std::make_unique<WindowFixture>();
    QVERIFY(QDir().mkpath(folder()));
    form().Registory->SaveFolder = folder();
    form().NewMenuClick();
    fillSampleData(form());
    form().Modified = true;
}

void PrintedFitTest::cleanup()
{
    f.reset();
}

void PrintedFitTest::save(Prompter::Button answer)
{
    f->prompter->shown.clear();
    f->prompter->answers = {Prompter::Button::Ok, answer};
    form().NewSaveMenuClick();
}

void PrintedFitTest::aNameOneCharacterTooLongIsWarnedAboutAndCancelWritesNothing()
{
    // Eight full-width characters fill the printed name box: no warning.
    form().planForm().control<TEdit>("NameEdit")->setText(kanji(8));
    save(Prompter::Button::Cancel);
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(files().size(), 1);
    QVERIFY(QFile::remove(QDir(folder()).filePath(files().first())));

    form().planForm().control<TEdit>("NameEdit")->setText(kanji(9));
    form().Modified = true;
    form().planForm().setCurrentWidget(form().planForm().page(2));
    save(Prompter::Button::Cancel);
    QCOMPARE(f->prompter->shown.size(), 2);
    const FakePrompter::Shown &box = f->prompter->shown[1];
    QCOMPARE(box.kind, Prompter::Kind::Warning);
    QCOMPARE(box.caption, QStringLiteral("警告"));
    QCOMPARE(box.text, warningText(QStringLiteral("氏名")));
    // A single-line edit cannot take a line break.
    QCOMPARE(box.buttons, (QList<Prompter::Button>{Prompter::Button::Cancel, Prompter::Button::Save}));
    QVERIFY2(files().isEmpty(), "cancel must write nothing");
    QCOMPARE(form().planForm().currentWidget(), form().planForm().page(1));
    QCOMPARE(form().focusWidget(), static_cast<QWidget *>(form().planForm().control<TEdit>("NameEdit")));
    QVERIFY(form().Modified);
}

void PrintedFitTest::saveWritesTheFileAsBefore()
{
    form().planForm().control<TMemo>("SelfHope")->setText(kanji(100));
    save(Prompter::Button::Save);
    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(f->prompter->shown[1].text, warningText(QStringLiteral("本人の希望")));
    QCOMPARE(files().size(), 1);
    const TDateTime now = f->clock->value;
    const std::string expected = MakePlanPdf(viewPlan(form()), PlanCreatorText(now), now);
    QVERIFY(readAll(QDir(folder()).filePath(files().first())) ==
            QByteArray(expected.data(), static_cast<qsizetype>(expected.size())));
    QVERIFY(!form().Modified);
}

void PrintedFitTest::breakingTheLinesMakesTheMemoPrintWhole()
{
    form().planForm().control<TMemo>("PTOTST1")->setText(QStringLiteral("関節可動域訓練を実施する。"));
    save(Prompter::Button::BreakLines);
    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(f->prompter->shown[1].text,
             warningText(QStringLiteral("起居動作　PT,OT,STが実施する内容・頻度等")));
    QCOMPARE(f->prompter->shown[1].buttons,
             (QList<Prompter::Button>{Prompter::Button::BreakLines, Prompter::Button::Cancel, Prompter::Button::Save}));
    QCOMPARE(files().size(), 1); // the save goes on with the broken lines
    QCOMPARE(form().planForm().control<TMemo>("PTOTST1")->Text(), QStringLiteral("関節可動域訓練を実\r\n施する。"));
    QCOMPARE(form().planForm().currentWidget(), form().planForm().page(1));
    QCOMPARE(form().focusWidget(), static_cast<QWidget *>(form().planForm().control<TMemo>("PTOTST1")));
    QVERIFY(!framed(form().planForm().control<TMemo>("PTOTST1")));

    // The next save meets no warning and the file keeps both lines.
    save(Prompter::Button::Cancel);
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(files().size(), 1);
    QCOMPARE(viewPlan(form()).PTOTST1Text.str(), cp932::fromUtf8("関節可動域訓練を実\r\n施する。"));
}

void PrintedFitTest::breakingIsNotOfferedWhenLinesFallBelowTheBox()
{
    // The Gapei box holds two lines; and 500 characters in a column cannot
    // fit by any breaking.
    form().planForm().control<TMemo>("GapeiMemo")->setText(QStringLiteral("一\n二\n三"));
    save(Prompter::Button::Cancel);
    QCOMPARE(f->prompter->shown[1].text, warningText(QStringLiteral("合併疾患・コントロール状態")));
    QCOMPARE(f->prompter->shown[1].buttons,
             (QList<Prompter::Button>{Prompter::Button::Cancel, Prompter::Button::Save}));
    QCOMPARE(form().focusWidget(), static_cast<QWidget *>(form().planForm().control<TMemo>("GapeiMemo")));

    form().planForm().control<TMemo>("GapeiMemo")->setText(QStringLiteral("一"));
    form().planForm().control<TMemo>("Kango0")->setText(kanji(500));
    save(Prompter::Button::Cancel);
    QCOMPARE(f->prompter->shown[1].buttons,
             (QList<Prompter::Button>{Prompter::Button::Cancel, Prompter::Button::Save}));
    QVERIFY(files().isEmpty());
}

void PrintedFitTest::oneWarningListsEveryCutFieldAndBreakingAsksOnlyAboutTheRest()
{
    // A name one character too long, two goods too wide for their cell and
    // a sentence too wide for its column.
    form().planForm().control<TEdit>("NameEdit")->setText(kanji(9));
    form().planForm().control<TMemo>("Goods3")->setText(QStringLiteral("四点杖歩行器　車椅子"));
    form().planForm().control<TMemo>("PTOTST0")->setText(QStringLiteral("関節可動域訓練を実施する。"));
    const QString name = QStringLiteral("氏名：「山」");
    const QString breakable = QStringLiteral("（改行を入れると収まります）");
    using Button = Prompter::Button;

    save(Button::Cancel);
    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(f->prompter->shown[1].text, QStringLiteral("次の3つの欄の文字が印刷欄に収まりません。\n"
                                                        "収まらない部分は保存されません。\n保存しますか？"));
    QCOMPARE(f->prompter->shown[1].list,
             (QStringList{name, QStringLiteral("屋外移動　使用用具：「　車椅子」") + breakable,
                          QStringLiteral("日常生活・社会活動　PT,OT,STが実施する内容・頻度等：「施する。」") + breakable}));
    QCOMPARE(f->prompter->shown[1].buttons, (QList<Button>{Button::BreakLines, Button::Cancel, Button::Save}));
    QCOMPARE(form().focusWidget(), static_cast<QWidget *>(form().planForm().control<TEdit>("NameEdit")));

    // Both memos are broken (the blank gives way to the break); only the
    // name is asked about again, and 保存 writes the file.
    f->prompter->shown.clear();
    f->prompter->answers = {Button::Ok, Button::BreakLines, Button::Save};
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 3);
    QCOMPARE(f->prompter->shown[2].text, warningText(QStringLiteral("氏名")));
    QCOMPARE(f->prompter->shown[2].list, QStringList{name});
    QCOMPARE(f->prompter->shown[2].buttons, (QList<Button>{Button::Cancel, Button::Save}));
    QCOMPARE(viewPlan(form()).ActivityItems[3].Goods.str(), cp932::fromUtf8("四点杖歩行器\r\n車椅子"));
    QCOMPARE(viewPlan(form()).PTOTST0Text.str(), cp932::fromUtf8("関節可動域訓練を実\r\n施する。"));
    QCOMPARE(files().size(), 1);
}

void PrintedFitTest::theFrameFollowsTheText()
{
    // Typed key by key: 16 half-width characters fill the 81-point name box.
    form().planForm().control<TEdit>("NameEdit")->clear();
    QTest::keyClicks(form().planForm().control<TEdit>("NameEdit"), QStringLiteral("abcdefghijklmnop"));
    QVERIFY(!framed(form().planForm().control<TEdit>("NameEdit")));
    QVERIFY(form().planForm().control<TEdit>("NameEdit")->toolTip().isEmpty());
    QTest::keyClicks(form().planForm().control<TEdit>("NameEdit"), QStringLiteral("q"));
    QVERIFY(framed(form().planForm().control<TEdit>("NameEdit")));
    QVERIFY2(form().planForm().control<TEdit>("NameEdit")->toolTip().contains(QStringLiteral("「q」")),
             qPrintable(form().planForm().control<TEdit>("NameEdit")->toolTip()));
    QTest::keyClick(form().planForm().control<TEdit>("NameEdit"), Qt::Key_Backspace);
    QVERIFY(!framed(form().planForm().control<TEdit>("NameEdit")));
    QVERIFY(form().planForm().control<TEdit>("NameEdit")->toolTip().isEmpty());

    // A memo line one character too wide, a line below the box, and a team
    // member picked or typed into its box.
    form().planForm().control<TMemo>("KenkouMemo")->setText(kanji(26));
    QVERIFY(framed(form().planForm().control<TMemo>("KenkouMemo")));
    const QString tip = form().planForm().control<TMemo>("KenkouMemo")->toolTip();
    QVERIFY(tip.contains(QStringLiteral("1行目の右端から先：「山」")));
    form().planForm().control<TMemo>("KenkouMemo")->setText(kanji(25) + QStringLiteral("\n一\n二\n三\n四\n五\n六"));
    QVERIFY(form().planForm().control<TMemo>("KenkouMemo")->toolTip().contains(QStringLiteral("7行目から下：「六」")));
    form().planForm().control<TMemo>("KenkouMemo")->setText(kanji(25));
    QVERIFY(!framed(form().planForm().control<TMemo>("KenkouMemo")));
    auto *team = form().planForm().control<QComboBox>(formnames::teamBox(7));
    team->setEditText(kanji(11));
    QVERIFY(framed(team));

    // Opening a new plan clears every control, and every frame with it.
    f->prompter->answers = {Prompter::Button::Ok};
    form().NewMenuClick();
    QVERIFY(!framed(team));
}

QTEST_MAIN(PrintedFitTest)
#include "PrintedFitTest.moc"
