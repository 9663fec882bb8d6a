// Validation before saving: each limit at the limit and one byte over, the
// HDS-R checks, the order of the checks, the pages and focus after a fault,
// characters code page 932 cannot hold, and a valid form copied whole.

#include "ControlNames.h"
#include "plan/Cp932.h"
#include "app/FormControls.h"
#include "planfile/PlanCheck.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>

namespace {

// A text of exactly `bytes` CP932 bytes: full-width あ, then one half-width
// "a" when the count is odd.
QString textOfBytes(int bytes)
{
    return QString(bytes / 2, QChar(0x3042)) + (bytes % 2 != 0 ? QStringLiteral("a") : QString());
}

void setText(QWidget *control, const QString &text)
{
    if (auto *memo = qobject_cast<TMemo *>(control)) {
        memo->setText(text);
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        edit->setText(text);
    } else if (auto *box = qobject_cast<QComboBox *>(control)) {
        box->setEditText(text);
    }
}

QString message(const std::string &cp932Text)
{
    return QString::fromStdString(cp932::toUtf8(cp932Text));
}

std::string sj(const char *utf8)
{
    return cp932::fromUtf8(utf8);
}

} // namespace

class GatherPlanTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void emptyNewPlanNamesEveryFaultAtOnce();
    void eachLimitAllowsItselfAndRefusesOneByteMore_data();
    void eachLimitAllowsItselfAndRefusesOneByteMore();
    void memoLineBreaksCountTwoBytes();
    void everyKindOfMemoLineBreakIsStoredAsCrLf();
    void hdsScores_data();
    void hdsScores();
    void blankBirthDateStopsAtTheDateCheck();
    void page1FaultsComeBeforePage2Faults();
    void rowsAreCheckedInOrder();
    void teamBoxFaultComesAfterEveryMemoWasChecked();
    void unchosenListsStoreMinusOne();
    void unrepresentableCharactersAreRefusedAndSelected_data();
    void unrepresentableCharactersAreRefusedAndSelected();
    void validFormFillsThePlan();

private:
    TestMainForm &form() { return *f->form; }
    // GatherPlan, its plan kept in `gathered` when it gives one.
    bool gather()
    {
        const std::optional<TPRACTDATA> plan = form().GatherPlan();
        if (plan) {
            gathered = *plan;
        }
        return plan.has_value();
    }
    TPRACTDATA gathered;
    std::unique_ptr<WindowFixture> f;
};

void GatherPlanTest::init()
{
    f = std::make_unique<WindowFixture>();
    form().NewMenuClick();
    form().planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("昭和15年 6月12日"));
    form().planForm().control<TEdit>("HDSEdit")->setText(QStringLiteral("20"));
    QVERIFY(QTest::qWaitForWindowActive(f->form.get()));
}

void GatherPlanTest::cleanup()
{
    f.reset();
}

void GatherPlanTest::eachLimitAllowsItselfAndRefusesOneByteMore_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("page");
    const auto row = [](const QString &name, int limit, int page) {
        QTest::newRow(qPrintable(name)) << name << limit << page;
    };
    row(QStringLiteral("NameEdit"), 50, 1);
    for (const char *memo : {"KenkouMemo", "GapeiMemo", "SeikatsuMemo"}) {
        row(QString::fromLatin1(memo), 254, 1);
    }
    row(QStringLiteral("EtcEdit"), 38, 1);
    for (const char *edit : {"HomeWorkEdit", "SocialEdit", "GoOutEdit", "FreeTimeEdit", "TaiinEdit", "ExerciseEdit",
                             "SenseEdit", "BrainEdit", "KoushukuEdit", "ArthralgiaEdit", "SonotaMemo"}) {
        row(QString::fromLatin1(edit), 98, 1);
    }
    row(formnames::goods(0), 58, 1);
    row(formnames::kaigo(12), 58, 1);
    row(formnames::time(5), 8, 1);
    row(formnames::goods(25), 58, 1);
    row(formnames::time(27), 8, 1);
    for (const char *memo : {"PTOTST0", "Kango0", "Jitchi0", "PTOTST1", "Kango1", "Jitchi1"}) {
        row(QString::fromLatin1(memo), 1000, 1);
    }
    for (const char *memo : {"SelfHope", "FarmilyHope", "LifePoint", "RihaTerget", "SelfDo", "AskFarmily", "DiseseCare",
                             "Variation", "Remark"}) {
        row(QString::fromLatin1(memo), 1000, 2);
    }
    row(formnames::teamBox(1), 50, 2);
    row(formnames::teamBox(13), 50, 2);
}

void GatherPlanTest::eachLimitAllowsItselfAndRefusesOneByteMore()
{
    QFETCH(QString, name);
    QFETCH(int, limit);
    QFETCH(int, page);
    QWidget *control = form().planForm().control(name);
    QVERIFY2(control != nullptr, qPrintable(name));

    setText(control, textOfBytes(limit));
    QVERIFY2(gather(), qPrintable(name));
    QVERIFY(f->prompter->shown.isEmpty());

    setText(control, textOfBytes(limit + 1));
    QVERIFY(!gather());
    QCOMPARE(f->prompter->shown.size(), 1);
    const FakePrompter::Shown &shown = f->prompter->shown.first();
    QCOMPARE(shown.caption, QStringLiteral("情報"));
    QCOMPARE(shown.buttons, QList<Prompter::Button>{Prompter::Button::Ok});
    QCOMPARE(shown.text, message(planfile::tooLongMessage(static_cast<std::size_t>(limit))));
    QCOMPARE(form().planForm().currentWidget(), page == 1 ? form().planForm().page(1) : form().planForm().page(2));
    QCOMPARE(form().focusWidget(), control);
}

void GatherPlanTest::memoLineBreaksCountTwoBytes()
{
    const QString line(63, QChar(0x3042));
    form().planForm().control<TMemo>("KenkouMemo")->setText(line + QStringLiteral("\n") + line); // 126 + 2 + 126 = 254
    QVERIFY(gather());
    QCOMPARE(gathered.Kenkou,
             cp932::fromUtf16(line.toStdU16String()) + "\r\n" + cp932::fromUtf16(line.toStdU16String()));

    form().planForm().control<TMemo>("KenkouMemo")->setText(line + QStringLiteral("い\n") + line);
    QVERIFY(!gather());
    QCOMPARE(f->prompter->shown.last().text,
             QStringLiteral("入力文字数がオーバーしています。\n半角254文字・全角127文字以内で入力してください。"));

    // A break at the end: 256.
    form().planForm().control<TMemo>("KenkouMemo")->setText(textOfBytes(254) + QStringLiteral("\n"));
    QVERIFY(!gather());
    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(form().focusWidget(), static_cast<QWidget *>(form().planForm().control<TMemo>("KenkouMemo")));
}

void GatherPlanTest::everyKindOfMemoLineBreakIsStoredAsCrLf()
{
    // Typed: Enter and Shift+Enter both start a new line.
    TMemo *memo = form().planForm().control<TMemo>("GapeiMemo");
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("ab"));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("cd"));
    QTest::keyClick(memo, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(memo, QStringLiteral("ef"));
    // Pasted: a line separator character inside a line.
    form().planForm().control<TMemo>("Remark")->insertPlainText(QStringLiteral("gh") + QChar(QChar::LineSeparator) +
                                                                QStringLiteral("ij"));
    QVERIFY(gather());
    QCOMPARE(gathered.Gapei, std::string("ab\r\ncd\r\nef"));
    QCOMPARE(gathered.RemarkText.str(), std::string("gh\r\nij"));

    // A pasted line separator counts 2 bytes like any line break.
    form().planForm().control<TMemo>("KenkouMemo")->setText(textOfBytes(252));
    form().planForm().control<TMemo>("KenkouMemo")->moveCursor(QTextCursor::End);
    form().planForm().control<TMemo>("KenkouMemo")->insertPlainText(QString(QChar(QChar::LineSeparator)));
    QVERIFY(gather());
    form().planForm().control<TMemo>("KenkouMemo")->insertPlainText(QStringLiteral("a"));
    QVERIFY(!gather());
    QCOMPARE(form().focusWidget(), static_cast<QWidget *>(form().planForm().control<TMemo>("KenkouMemo")));
}

void GatherPlanTest::hdsScores_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("expected"); // message, or the stored score
    QTest::newRow("empty") << QString() << QStringLiteral("半角2文字の数字で入力してください。");
    QTest::newRow("31") << QStringLiteral("31") << QStringLiteral("0 から 30 までの数値を入力してください。");
    QTest::newRow("-1") << QStringLiteral("-1") << QStringLiteral("0 から 30 までの数値を入力してください。");
    QTest::newRow("three bytes") << QStringLiteral("100")
                                 << QStringLiteral("入力文字数がオーバーしています。\n半角2文字で入力してください。");
    QTest::newRow("full-width digit") << QStringLiteral("１") << QStringLiteral("半角2文字の数字で入力してください。");
    QTest::newRow("letters") << QStringLiteral("ab") << QStringLiteral("半角2文字の数字で入力してください。");
    QTest::newRow("30") << QStringLiteral("30") << QStringLiteral("30");
    QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("0");
    QTest::newRow("space 5") << QStringLiteral(" 5") << QStringLiteral("5");
    QTest::newRow("+7") << QStringLiteral("+7") << QStringLiteral("7");
}

void GatherPlanTest::hdsScores()
{
    QFETCH(QString, entry);
    QFETCH(QString, expected);
    form().planForm().control<TEdit>("HDSEdit")->setText(entry);
    bool isNumber = false;
    const int score = expected.toInt(&isNumber);
    QCOMPARE(gather(), isNumber);
    if (isNumber) {
        QCOMPARE(gathered.HDS, score);
        QVERIFY(f->prompter->shown.isEmpty());
    } else {
        QCOMPARE(f->prompter->shown.size(), 1);
        QCOMPARE(f->prompter->shown.first().text, expected);
        QCOMPARE(form().focusWidget(), static_cast<QWidget *>(form().planForm().control<TEdit>("HDSEdit")));
    }
}

void GatherPlanTest::emptyNewPlanNamesEveryFaultAtOnce()
{
    form().NewMenuClick();
    form().planForm().control<TEdit>("NameEdit")->setText(QString(30, QChar(0x5C71)));
    QVERIFY(!gather());
    QCOMPARE(f->prompter->shown.size(), 1);
    const FakePrompter::Shown &box = f->prompter->shown.first();
    QCOMPARE(box.text, QStringLiteral("保存できません。次の3か所を直してください。"));
    QCOMPARE(box.list, (QStringList{
                           QStringLiteral("氏名：入力文字数がオーバーしています。半角50文字・全角25文字以内で入力してください。"),
                           QStringLiteral("生年月日：日付エラーです。"),
                           QStringLiteral("認知症評価 HDS-R：半角2文字の数字で入力してください。")}));
    QCOMPARE(form().focusWidget(), static_cast<QWidget *>(form().planForm().control<TEdit>("NameEdit")));
}

void GatherPlanTest::blankBirthDateStopsAtTheDateCheck()
{
    form().NewMenuClick();
    form().planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田"));
    form().planForm().control<QComboBox>("SexBox")->setCurrentIndex(1);
    form().planForm().control<QComboBox>("KaigoBox")->setCurrentIndex(4);
    form().planForm().control<TEdit>("HDSEdit")->setText(QStringLiteral("20"));
    form().planForm().setCurrentWidget(form().planForm().page(2));
    QVERIFY(!gather());
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown.first().text, QStringLiteral("日付エラーです。"));
    QCOMPARE(form().planForm().currentWidget(), form().planForm().page(1));
    QCOMPARE(form().focusWidget(), static_cast<QWidget *>(form().planForm().control<TEdit>("BirthEdit")));
}

void GatherPlanTest::page1FaultsComeBeforePage2Faults()
{
    form().planForm().control<TMemo>("SelfHope")->setText(textOfBytes(1001));
    form().planForm().control<TEdit>(formnames::time(20))->setText(QStringLiteral("123456789"));
    QVERIFY(!gather());
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(form().focusWidget(), form().planForm().control(formnames::time(20)));
    QCOMPARE(form().planForm().currentWidget(), form().planForm().page(1));

    form().planForm().control<TEdit>(formnames::time(20))->setText(QStringLiteral("3ヶ月"));
    QVERIFY(!gather());
    QCOMPARE(form().focusWidget(), static_cast<QWidget *>(form().planForm().control<TMemo>("SelfHope")));
    QCOMPARE(form().planForm().currentWidget(), form().planForm().page(2));
}

void GatherPlanTest::rowsAreCheckedInOrder()
{
    form().planForm().control<TMemo>(formnames::goods(25))->setText(textOfBytes(59));
    form().planForm().control<TMemo>(formnames::kaigo(24))->setText(textOfBytes(59));
    form().planForm().control<TMarkCell>(formnames::abc(24, 1))->setText(QStringLiteral("ＢＣ"));
    form().planForm().control<TMarkCell>(formnames::abc(25, 1))->setText(QStringLiteral("Ａ"));
    QVERIFY(!gather());
    QCOMPARE(form().focusWidget(), form().planForm().control(formnames::kaigo(24)));

    form().planForm().control<TMemo>(formnames::kaigo(24))->clear();
    QVERIFY(!gather());
    QCOMPARE(form().focusWidget(), form().planForm().control(formnames::goods(25)));

    // Once every row passes, both rows' marks are stored.
    form().planForm().control<TMemo>(formnames::goods(25))->clear();
    QVERIFY(gather());
    QCOMPARE(gathered.MotionItems[4].ABC[1].str(), std::string("BC"));
    QCOMPARE(gathered.MotionItems[5].ABC[1].str(), std::string("A"));
}

void GatherPlanTest::teamBoxFaultComesAfterEveryMemoWasChecked()
{
    form().planForm().control<TMemo>("Remark")->setText(QStringLiteral("備考です"));
    setText(form().planForm().control(formnames::teamBox(6)), QStringLiteral("鈴木"));
    setText(form().planForm().control(formnames::teamBox(7)), textOfBytes(51));
    setText(form().planForm().control(formnames::teamBox(8)), QStringLiteral("高橋"));
    QVERIFY(!gather());
    QCOMPARE(f->prompter->shown.first().text,
             QStringLiteral("入力文字数がオーバーしています。\n半角50文字・全角25文字以内で入力してください。"));
    QCOMPARE(form().planForm().currentWidget(), form().planForm().page(2));
    QCOMPARE(form().focusWidget(), form().planForm().control(formnames::teamBox(7)));

    setText(form().planForm().control(formnames::teamBox(7)), QStringLiteral("田中"));
    QVERIFY(gather());
    QCOMPARE(gathered.RemarkText, sj("備考です"));
    QCOMPARE(gathered.Team[6], sj("鈴木"));
    QCOMPARE(gathered.Team[8], sj("高橋"));
}

void GatherPlanTest::unchosenListsStoreMinusOne()
{
    QVERIFY(gather());
    QCOMPARE(gathered.Sex, -1);
    QCOMPARE(gathered.KaigoLevel, -1);
    form().planForm().control<QComboBox>("KaigoBox")->setCurrentIndex(7); // the empty item is a choice
    QVERIFY(gather());
    QCOMPARE(gathered.KaigoLevel, 7);
}

void GatherPlanTest::unrepresentableCharactersAreRefusedAndSelected_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("character");
    QTest::addColumn<int>("page");
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // U+1F600
    const QString yoshi = QString::fromUtf8("\xF0\xA0\xAE\xB7"); // U+20BB7
    QTest::newRow("name") << QStringLiteral("NameEdit") << (QStringLiteral("山田") + emoji) << emoji << 1;
    QTest::newRow("memo, second line") << QStringLiteral("GapeiMemo")
                                       << (QStringLiteral("一行目\n") + yoshi + QStringLiteral("野家")) << yoshi << 1;
    QTest::newRow("euro sign in a row") << formnames::goods(21) << QStringLiteral("杖 €5") << QStringLiteral("€") << 1;
    QTest::newRow("team box") << formnames::teamBox(3) << (emoji + QStringLiteral("x")) << emoji << 2;
    QTest::newRow("page-2 memo") << QStringLiteral("Remark") << (QStringLiteral("ok ") + emoji) << emoji << 2;
    // A memo shows a no-break space like a space but holds it as typed.
    const QString noBreakSpace(QChar(QChar::Nbsp));
    QTest::newRow("no-break space in a memo")
        << QStringLiteral("SeikatsuMemo") << (QStringLiteral("一行目\n二") + noBreakSpace + QStringLiteral("行目"))
        << noBreakSpace << 1;
    QTest::newRow("no-break space in an edit")
        << QStringLiteral("SocialEdit") << (QStringLiteral("老人会") + noBreakSpace) << noBreakSpace << 1;
}

void GatherPlanTest::unrepresentableCharactersAreRefusedAndSelected()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, character);
    QFETCH(int, page);
    QWidget *control = form().planForm().control(name);
    setText(control, text);
    QVERIFY(!gather());
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown.first().caption, QStringLiteral("情報"));
    QCOMPARE(f->prompter->shown.first().text, QStringLiteral("使用できない文字が含まれています。"));
    QCOMPARE(form().focusWidget(), control);
    QCOMPARE(form().planForm().currentWidget(), page == 1 ? form().planForm().page(1) : form().planForm().page(2));
    QString selected;
    if (auto *memo = qobject_cast<TMemo *>(control)) {
        selected = memo->textCursor().selectedText();
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        selected = edit->selectedText();
    } else if (auto *box = qobject_cast<QComboBox *>(control)) {
        selected = box->lineEdit()->selectedText();
    }
    QCOMPARE(selected, character);
}

void GatherPlanTest::validFormFillsThePlan()
{
    fillSampleData(form());
    // The plan date held is 平成20年4月1日 while the field shows another.
    auto *planDate = form().planForm().control<TEdit>("PlanDateEdit");
    const QString shown = planDate->text();
    planDate->setText(QStringLiteral("平成20年 4月 1日"));
    planDate->setFocus();
    QTest::keyClick(planDate, Qt::Key_Return);
    planDate->setText(shown);
    // Row 0 shows ◎ (2) after the sample data.
    form().Modified = true;
    QVERIFY(gather());
    QVERIFY(f->prompter->shown.isEmpty());
    QCOMPARE(form().planForm().currentWidget(), form().planForm().page(2));
    const TPRACTDATA &plan = gathered;
    QCOMPARE(plan.PlanDate, encodeDate(2008, 4, 1)); // not written here
    QCOMPARE(plan.Name, sj("山田 太郎"));
    QCOMPARE(plan.Sex, 0);
    QCOMPARE(plan.BirthDate, encodeDate(1940, 6, 12));
    QCOMPARE(plan.Age, 67); // against the plan date the view holds
    QCOMPARE(plan.KaigoLevel, 2);
    QCOMPARE(plan.Kenkou, sj("脳梗塞（左片麻痺）\r\n平成15年1月10日発症"));
    QVERIFY(plan.Home);
    QVERIFY(!plan.Etc);
    QCOMPARE(plan.TaiinText, sj("通所リハビリテーション"));
    QVERIFY(plan.ExerciseFlag);
    QCOMPARE(plan.KoushukuText, sj("左肩関節"));
    QVERIFY(!plan.SonotaFlag);
    QCOMPARE(plan.HDS, 26);
    QCOMPARE(plan.ActivityItems[0].ABC[0].str(), std::string("AB"));
    QCOMPARE(plan.ActivityItems[0].ABC[1].str(), std::string("C"));
    QCOMPARE(plan.ActivityItems[0].ABC[4].str(), std::string()); // a blank cell stores nothing
    QCOMPARE(plan.ActivityItems[0].Goods.str(), sj("T字杖"));
    QCOMPARE(plan.ActivityItems[1].Time.str(), sj("　")); // an untouched period keeps its blank
    QCOMPARE(plan.ActivityItems[0].Special, 2);           // kept by the mark cells
    QCOMPARE(plan.MotionItems[1].ABC[2].str(), std::string("ABC"));
    QCOMPARE(plan.PTOTST0Text.str(), sj("歩行訓練\r\n週３回\r\n階段昇降訓練"));
    QCOMPARE(plan.Jitchi1Text.str(), sj("血圧の変動に注意"));
    QCOMPARE(plan.RihaTergetText.str(), sj("杖歩行で屋内を移動できる。\r\n屋外は見守りで 100m 歩ける。"));
    QCOMPARE(plan.RemarkText.str(), sj("特になし"));
    QCOMPARE(plan.Team[1], sj("山本 一郎"));
    QCOMPARE(plan.Team[6], sj("鈴木 健太"));
    QCOMPARE(plan.Team[13], std::string());
    QVERIFY(form().Modified); // validation leaves the flag alone
}

QTEST_MAIN(GatherPlanTest)
#include "GatherPlanTest.moc"
