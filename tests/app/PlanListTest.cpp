// The patient's plans on the real window: 計画書一覧 groups the save
// folder's plans by patient, newest first, and narrows them by part of a
// name or a date; Enter opens a plan (asking first when the editor holds
// unsaved edits); the next plan made from a plan keeps everything but the
// plan date and the age and is saved to a new file; 前回との違い shows the
// changed fields and writes their summary into 前回計画書作成時からの変化点;
// each patient's next review date, the marks of those due and the filter
// to them, and the review interval set with 設定 → 見直し間隔.

#include "ControlNames.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "app/PlanDiffForm.h"
#include "app/PlanFiles.h"
#include "app/PlanListForm.h"
#include "plan/Common.h"
#include "plan/Cp932.h"
#include "planindex/PlanDiff.h"
#include "planio/PlanRead.h"
#include "planio/PlanSave.h"
#include "settings/Registory.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
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
    auto read = planio::readPlanFile(planPath(path));
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
    void reviewDatesMarkWhoIsDueAndTheIntervalIsASetting();

private:
    TestMainForm &form() { return *f->form; }
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
        return *form().findChild<TPlanListForm *>();
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
    QCOMPARE(model->index(0, 0, model->index(0, 0)).data(Qt::UserRole + 1).toString(), QDir::toNativeSeparators(newer));
    l.SearchEdit->setText(QStringLiteral("令和6年1月"));
    QCOMPARE(l.shownPlans(), 1);
    l.SearchEdit->setText(QStringLiteral("鈴木"));
    QCOMPARE(l.shownPatients(), 0);
}

void PlanListTest::enterOpensThePlanAskingFirstWhenEdited()
{
    TPlanListForm &l = list();
    QCOMPARE(l.selectedPlan(), QDir::toNativeSeparators(newer));
    QTRY_VERIFY(l.PlanTree->hasFocus());
    QVERIFY(l.selectPlan(older));
    form().Modified = true;
    f->prompter->answers = {Prompter::Button::Cancel};
    QTest::keyClick(l.PlanTree, Qt::Key_Return);
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown[0].caption, QStringLiteral("確認"));
    QCOMPARE(f->prompter->shown[0].text, kDiscard);
    QVERIFY(form().planForm().control<TEdit>("NameEdit")->text().isEmpty());
    QVERIFY(form().Modified);
    QVERIFY(l.isVisible());

    f->prompter->answers = {Prompter::Button::Ok};
    QTest::keyClick(l.PlanTree, Qt::Key_Return);
    QCOMPARE(form().planForm().control<TEdit>("NameEdit")->text(), QStringLiteral("山田 太郎"));
    QCOMPARE(form().planForm().control<TEdit>("PlanDateEdit")->text(),
             guitext::fromCp932(FormatEraDate(encodeDate(2024, 1, 31))));
    QVERIFY(!form().Modified);
    QVERIFY(form().planForm().isVisible());
    QVERIFY2(!l.isVisible(), "opening a plan closes the list");
}

void PlanListTest::nextPlanKeepsAllButDateAndAgeAndSavesANewFile()
{
    const QByteArray oldBytes = readAll(older);
    QVERIFY(form().openPlanFile(older));
    const TPRACTDATA opened = form().planForm().read().plan.value();

    TPlanListForm &l = list();
    QVERIFY(l.selectPlan(older));
    l.NextPlanButton->click();
    QCOMPARE(form().planForm().control<TEdit>("PlanDateEdit")->text(),
             guitext::fromCp932(FormatEraDate(encodeDate(2024, 6, 10))));
    QCOMPARE(form().planForm().control<TClickLabel>("OldLabel")->text(), QStringLiteral("74"));
    QVERIFY(form().Modified);
    QCOMPARE(changedKeys(opened, form().planForm().read().plan.value()), (std::set<std::string>{"PlanDate", "Age"}));

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
    form().findChild<QAction *>(QStringLiteral("NextPlanMenu"))->trigger();
    QCOMPARE(form().planForm().control<TEdit>("PlanDateEdit")->text(),
             guitext::fromCp932(FormatEraDate(encodeDate(2024, 9, 1))));
    QVERIFY(form().Modified);
}

void PlanListTest::differencesFromThePreviousPlanGoIntoTheChangesField()
{
    QVERIFY(form().openPlanFile(newer));
    form().planForm().control<TMemo>("KenkouMemo")->setText(QStringLiteral("脳梗塞\n改善"));
    form().planForm().control<TMarkCell>(formnames::abc(2, 1))->setText(QStringLiteral("Ｃ"));
    form().planForm().control<TClickLabel>(formnames::special(23))->setText(QStringLiteral("○"));
    form().planForm().control<TMemo>("Variation")->setText(QStringLiteral("前文"));
    form().planForm().control<TMemo>("Variation")->moveCursor(QTextCursor::End);

    form().findChild<QAction *>(QStringLiteral("DiffMenu"))->trigger();
    TPlanDiffForm *diff = form().findChild<TPlanDiffForm *>();
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
    QCOMPARE(form().planForm().control<TMemo>("Variation")->Text(),
             QStringLiteral("前文・健康状態(原因疾患，発症・受傷日等)：脳梗塞／右片麻痺 → 脳梗塞／改善\r\n"
                            "・屋内移動　見守り：ＡＢ → Ｃ\r\n・立ち上がり　重点項目：◎ → ○"));
    QCOMPARE(form().planForm().currentWidget(), form().planForm().page(2));
    QVERIFY(form().Modified);

    // The oldest plan has no predecessor.
    form().Modified = false;
    QVERIFY(form().openPlanFile(older));
    f->prompter->shown.clear();
    form().findChild<QAction *>(QStringLiteral("DiffMenu"))->trigger();
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown[0].text, QStringLiteral("計画書保存フォルダーに、この方の前回の計画書がありません。"));
}

void PlanListTest::reviewDatesMarkWhoIsDueAndTheIntervalIsASetting()
{
    // Today is 2024-06-10. 山田 太郎 (latest 2024-05-01, here also typed
    // without the blank) is due on 2024-08-01, 鈴木 一郎 on 2024-06-20
    // (within two weeks), ヤマダ ハナコ on 2024-06-01 (past).
    write("山田太郎", encodeDate(2024, 3, 20), QStringLiteral("c.pdf"));
    write("鈴木 一郎", encodeDate(2024, 3, 20), QStringLiteral("d.pdf"));
    TPlanListForm &l = list();
    const QAbstractItemModel *model = l.PlanTree->model();
    const auto row = [&](int r) {
        QStringList cells;
        for (int c : {0, 5, 6, 7, 8}) {
            cells << model->index(r, c).data().toString();
        }
        return cells.join(QLatin1Char('|'));
    };
    const QString era = QStringLiteral("令和06年%1月%2日");
    QCOMPARE(l.shownPatients(), 3);
    QCOMPARE(row(0),
             QStringLiteral("山田 太郎|3|1|") + era.arg(QStringLiteral("08"), QStringLiteral("01")) + QLatin1Char('|'));
    QCOMPARE(row(1), QStringLiteral("鈴木 一郎|1|2|") + era.arg(QStringLiteral("06"), QStringLiteral("20")) +
                         QStringLiteral("|2週間以内"));
    QCOMPARE(row(2), QStringLiteral("ヤマダ ハナコ|1|3|") + era.arg(QStringLiteral("06"), QStringLiteral("01")) +
                         QStringLiteral("|期限超過"));
    QVERIFY(model->index(2, 3).data(Qt::BackgroundRole).isValid());
    QVERIFY(!model->index(0, 3).data(Qt::BackgroundRole).isValid());
    QVERIFY2(l.DueLabel->text().startsWith(QStringLiteral("見直し期限を過ぎた方 1名、2週間以内の方 1名")),
             qPrintable(l.DueLabel->text()));

    // Only the due patients, soonest review first.
    l.DueOnlyBox->setChecked(true);
    QCOMPARE(l.shownPatients(), 2);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("ヤマダ ハナコ"));
    QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("鈴木 一郎"));

    // One month: 山田 太郎 is past his date too; the list shows it at once
    // and the setting is kept.
    whenModalShown([](QWidget *shown) {
        auto *dialog = qobject_cast<QInputDialog *>(shown);
        QVERIFY2(dialog != nullptr && dialog->windowTitle() == QStringLiteral("見直し間隔"),
                 "no review interval dialog");
        dialog->setIntValue(1);
        dialog->accept();
    });
    form().findChild<QAction *>(QStringLiteral("ReviewMenu"))->trigger();
    QCOMPARE(form().Registory->ReviewMonths, 1);
    QCOMPARE(l.shownPatients(), 3);
    QCOMPARE(model->index(2, 0).data().toString(), QStringLiteral("山田 太郎"));
    QCOMPARE(QSettings(f->settingsFile(), QSettings::IniFormat).value(QStringLiteral("Review/Months")).toInt(), 1);
    QCOMPARE(f->makeWindow()->Registory->ReviewMonths, 1);
}

QTEST_MAIN(PlanListTest)
#include "PlanListTest.moc"
