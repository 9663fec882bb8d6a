// The patient's plans on the real window: 計画書一覧 groups the save
// folder's plans by patient, newest first, and narrows them by part of a
// name or a date; Enter opens a plan (asking first when the editor holds
// unsaved edits); the next plan made from a plan keeps everything but the
// plan date and the age and is saved to a new file; 前回との違い shows the
// changed fields and writes their summary into 前回計画書作成時からの変化点.

#include "app/ControlNames.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "app/PlanDiffForm.h"
#include "app/PlanListForm.h"
#include "plan/Common.h"
#include "plan/Cp932.h"
#include "planindex/PlanDiff.h"
#include "planio/PlanRead.h"
#include "planio/PlanSave.h"
#include "settings/Registory.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeView>

#include <set>
#include <variant>

namespace {

const QString kDiscard = QStringLiteral("保存されていません。\n編集中の内容を破棄しますか?");

TPRACTDATA planOf(const char *name, TDateTime date)
{
    TPRACTDATA p;
    ResetPlan(p, date);
    p.PlanDate = date;
    p.Name = cp932::fromUtf8(name);
    p.BirthDate = encodeDate(1950, 3, 4);
    p.Age = AgeInYears(p.BirthDate, p.PlanDate);
    p.Sex = 0;
    p.KaigoLevel = 2;
    p.Kenkou = cp932::fromUtf8("脳梗塞\r\n右片麻痺");
    p.ActivityItems[2].ABC[1] = "AB";
    p.MotionItems[3].Special = 2;
    p.Team[1] = cp932::fromUtf8("山本 一郎");
    return p;
}

TPRACTDATA readPlan(const QString &path)
{
    auto read = planio::readPlanFile(QFile::encodeName(path).toStdString());
    if (!std::holds_alternative<planio::PlanFileRead>(read)) {
        qFatal("not a plan: %s", qPrintable(path));
    }
    return std::get<planio::PlanFileRead>(read).printed.Plan;
}

std::set<std::string> changedKeys(const TPRACTDATA &a, const TPRACTDATA &b)
{
    std::set<std::string> keys;
    for (const auto &change : planindex::diffPlans(a, b)) {
        keys.insert(change.field->key);
    }
    return keys;
}

} // namespace

class PlanListTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listsPatientsNewestFirstAndSearches();
    void enterOpensThePlanAskingFirstWhenEdited();
    void nextPlanKeepsAllButDateAndAgeAndSavesANewFile();
    void differencesFromThePreviousPlanGoIntoTheChangesField();

private:
    TMainForm &form() { return *f->form; }
    QString folder() const { return f->dir.filePath(QStringLiteral("plans")); }
    QString write(const char *name, TDateTime date, const QString &fileName)
    {
        const QString path = folder() + QLatin1Char('/') + fileName;
        const std::string bytes = MakePlanPdf(planOf(name, date), PlanCreatorText(date), date);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0) {
            qFatal("cannot write %s", qPrintable(path));
        }
        return path;
    }
    TPlanListForm &list()
    {
        form().PlanListMenuClick();
        return *form().PlanListForm;
    }

    std::unique_ptr<WindowFixture> f;
    QString older;
    QString newer;
};

void PlanListTest::init()
{
    f = std::make_unique<WindowFixture>();
    QVERIFY(QDir().mkpath(folder()));
    form().Registory->SaveFolder = folder();
    older = write("山田 太郎", encodeDate(2024, 1, 31), QStringLiteral("実施計画 山田 太郎 2024_1_31.pdf"));
    newer = write("山田 太郎", encodeDate(2024, 5, 1), QStringLiteral("実施計画 山田 太郎 2024_5_1.pdf"));
    write("ヤマダ ハナコ", encodeDate(2024, 3, 1), QStringLiteral("b.pdf"));
    QFile text(folder() + QStringLiteral("/メモ.pdf"));
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("memo\n") > 0);
    f->clock->value = encodeDateTime(2024, 6, 10, 9, 0, 0);
}

void PlanListTest::cleanup()
{
    f.reset();
}

void PlanListTest::listsPatientsNewestFirstAndSearches()
{
    TPlanListForm &l = list();
    QVERIFY(l.isVisible());
    QCOMPARE(l.shownPatients(), 2);
    QCOMPARE(l.shownPlans(), 3);
    const QAbstractItemModel *model = l.PlanTree->model();
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("山田 太郎"));
    QCOMPARE(model->index(0, 5).data().toString(), QStringLiteral("2"));
    QCOMPARE(model->index(0, 3).data().toString(), guitext::fromCp932(FormatEraDate(encodeDate(2024, 5, 1))));
    QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("ヤマダ ハナコ"));
    QCOMPARE(l.OtherList->count(), 1);
    QVERIFY2(l.OtherList->item(0)->text().startsWith(QStringLiteral("メモ.pdf：PDF")), qPrintable(l.OtherList->item(0)->text()));

    // Hiragana finds a name in katakana, a kanji part only the kanji name.
    l.SearchEdit->setText(QStringLiteral("やまだ"));
    QCOMPARE(l.shownPatients(), 1);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("ヤマダ ハナコ"));
    l.SearchEdit->setText(QStringLiteral("田 太"));
    QCOMPARE(l.shownPatients(), 1);
    QCOMPARE(l.shownPlans(), 2);
    l.SearchEdit->setText(QStringLiteral("２０２４/５/１"));
    QCOMPARE(l.shownPlans(), 1);
    QCOMPARE(model->index(0, 0, model->index(0, 0)).data(Qt::UserRole + 1).toString(), newer);
    l.SearchEdit->setText(QStringLiteral("令和6年1月"));
    QCOMPARE(l.shownPlans(), 1);
    l.SearchEdit->setText(QStringLiteral("鈴木"));
    QCOMPARE(l.shownPatients(), 0);
}

void PlanListTest::enterOpensThePlanAskingFirstWhenEdited()
{
    TPlanListForm &l = list();
    QVERIFY(l.selectPlan(older));
    form().Modified = true;
    f->prompter->answers = {Prompter::Button::Cancel};
    QTest::keyClick(l.PlanTree, Qt::Key_Return);
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown[0].caption, QStringLiteral("確認"));
    QCOMPARE(f->prompter->shown[0].text, kDiscard);
    QVERIFY(form().NameEdit->text().isEmpty());
    QVERIFY(form().Modified);

    f->prompter->answers = {Prompter::Button::Ok};
    QTest::keyClick(l.PlanTree, Qt::Key_Return);
    QCOMPARE(form().NameEdit->text(), QStringLiteral("山田 太郎"));
    QCOMPARE(form().PlanDateEdit->text(), guitext::fromCp932(FormatEraDate(encodeDate(2024, 1, 31))));
    QVERIFY(!form().Modified);
    QVERIFY(form().PageControl1->isVisible());
}

void PlanListTest::nextPlanKeepsAllButDateAndAgeAndSavesANewFile()
{
    const QByteArray oldBytes = readAll(older);
    QVERIFY(form().openPlanFile(older));
    const TPRACTDATA opened = form().editorPlan();

    TPlanListForm &l = list();
    QVERIFY(l.selectPlan(older));
    l.NextPlanButton->click();
    QCOMPARE(form().PlanDateEdit->text(), guitext::fromCp932(FormatEraDate(encodeDate(2024, 6, 10))));
    QCOMPARE(form().OldLabel->text(), QStringLiteral("74"));
    QVERIFY(form().Modified);
    QCOMPARE(changedKeys(opened, form().editorPlan()), (std::set<std::string>{"PlanDate", "Age"}));

    f->prompter->shown.clear();
    form().NewSaveMenuClick();
    const QString saved = folder() + QStringLiteral("/実施計画 山田 太郎 2024_6_10.pdf");
    QVERIFY2(QFile::exists(saved), qPrintable(f->prompter->shown.isEmpty() ? QString() : f->prompter->shown.last().text));
    QVERIFY(!form().Modified);
    QCOMPARE(readAll(older), oldBytes);
    QCOMPARE(changedKeys(readPlan(older), readPlan(saved)), (std::set<std::string>{"PlanDate", "Age"}));

    // The same from the menu, for the plan in the editor.
    form().Modified = false;
    f->clock->value = encodeDateTime(2024, 9, 1, 9, 0, 0);
    form().NextPlanMenu->trigger();
    QCOMPARE(form().PlanDateEdit->text(), guitext::fromCp932(FormatEraDate(encodeDate(2024, 9, 1))));
    QVERIFY(form().Modified);
}

void PlanListTest::differencesFromThePreviousPlanGoIntoTheChangesField()
{
    QVERIFY(form().openPlanFile(newer));
    form().KenkouMemo->setText(QStringLiteral("脳梗塞\n改善"));
    form().control<TMarkCell>(formnames::abc(2, 1))->setText(QStringLiteral("Ｃ"));
    form().control<TClickLabel>(formnames::special(23))->setText(QStringLiteral("○"));
    form().Variation->setText(QStringLiteral("前文"));
    form().Variation->moveCursor(QTextCursor::End);

    form().DiffMenu->trigger();
    TPlanDiffForm *diff = form().PlanDiffForm;
    QVERIFY(diff != nullptr && diff->isVisible());
    QStringList captions;
    for (int row = 0; row < diff->DiffTable->rowCount(); ++row) {
        captions << diff->DiffTable->item(row, 0)->text();
    }
    QCOMPARE(captions, (QStringList{QStringLiteral("計画評価実施日"), QStringLiteral("歳"), QStringLiteral("健康状態(原因疾患，発症・受傷日等)"),
                                    QStringLiteral("屋内移動　見守り"), QStringLiteral("立ち上がり　重点項目"),
                                    QStringLiteral("前回計画書作成時からの変化点")}));
    QCOMPARE(diff->DiffTable->item(3, 1)->text(), QStringLiteral("ＡＢ"));
    QCOMPARE(diff->DiffTable->item(3, 2)->text(), QStringLiteral("Ｃ"));

    diff->InsertButton->click();
    QCOMPARE(form().Variation->Text(),
             QStringLiteral("前文・健康状態(原因疾患，発症・受傷日等)：脳梗塞／右片麻痺 → 脳梗塞／改善\r\n"
                            "・屋内移動　見守り：ＡＢ → Ｃ\r\n・立ち上がり　重点項目：◎ → ○"));
    QCOMPARE(form().PageControl1->currentWidget(), form().TabSheet2);
    QVERIFY(form().Modified);

    // The oldest plan has no predecessor.
    form().Modified = false;
    QVERIFY(form().openPlanFile(older));
    f->prompter->shown.clear();
    form().DiffMenu->trigger();
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown[0].text, QStringLiteral("計画書保存フォルダーに、この方の前回の計画書がありません。"));
}

QTEST_MAIN(PlanListTest)
#include "PlanListTest.moc"
