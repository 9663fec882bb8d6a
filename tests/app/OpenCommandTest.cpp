// The open command on the real window: a plan saved from the editor comes
// back into every control; unsaved changes are confirmed first; cancelling
// keeps the plan and forgets the folder; the dialog's starting name; files
// from other programs, files that are not plans, damaged and unreadable
// files are refused with their message and leave the editor, the plan and
// `Modified` as they were; priority marks reach the plan.

#include "ControlNames.h"
#include "plan/Cp932.h"
#include "plan/Marks.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "app/PlanFiles.h"
#include "pdfreader/PdfReadError.h"
#include "pdfreader/PdfStream.h"
#include "settings/Registory.h"
#include "TestSupport.h"

#include "support/Processes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMenu>
#include <QProcess>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

namespace {

const QString kNotAPlan = QStringLiteral("このＰＤＦファイルはリハビリ実施計画書ではありません。");
const QString kUnreadable = QStringLiteral("このファイルは計画書として読み込めませんでした。\n");
const QString kDiscardQuestion = QStringLiteral("保存されていません。\n編集中の内容を破棄しますか?");

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

// A Japanese text as a plan file shows it: its CP932 bytes in hex.
QByteArray printedHex(const QString &text)
{
    const std::string bytes = guitext::toCp932(text);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toHex().toUpper();
}

// Every value a user can see in the editor, by control name. Mark cells
// count by their letters, so a blank "　" and an empty caption are alike.
QMap<QString, QString> snapshot(const TMainForm &form)
{
    QMap<QString, QString> values;
    for (const QWidget *control : form.findChildren<QWidget *>()) {
        const QString name = control->objectName();
        if (name.isEmpty() || control->window() != &form) {
            continue;
        }
        if (const auto *cell = qobject_cast<const TMarkCell *>(control)) {
            values[name] = QString::fromStdString(MarkToHalfWidth(guitext::toCp932(cell->text())));
        } else if (const auto *label = qobject_cast<const TClickLabel *>(control)) {
            values[name] = label->text();
        } else if (const auto *memo = qobject_cast<const TMemo *>(control)) {
            values[name] = memo->Text();
        } else if (const auto *edit = qobject_cast<const TEdit *>(control)) {
            values[name] = edit->text();
        } else if (const auto *box = qobject_cast<const QCheckBox *>(control)) {
            values[name] = box->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
        } else if (const auto *combo = qobject_cast<const QComboBox *>(control)) {
            values[name] = QString::number(combo->currentIndex()) + QLatin1Char('|') + combo->currentText();
        }
    }
    return values;
}

// Names of the controls whose values differ, for the failure message.
QString differences(const QMap<QString, QString> &expected, const QMap<QString, QString> &actual)
{
    QStringList names;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        if (actual.value(it.key()) != it.value()) {
            names.append(it.key() + QStringLiteral(": \"") + it.value() + QStringLiteral("\" became \"") +
                         actual.value(it.key()) + QLatin1Char('"'));
        }
    }
    return names.join(QStringLiteral("; "));
}

// Fills every control with its own text: memos of several lines with empty
// ones between, parentheses and backslashes, every mark combination and
// priority mark, team box 3 left empty.
void fillDistinct(TestMainForm &form, int sex, int kaigo)
{
    form.planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田 (花子)"));
    form.planForm().control<QComboBox>("SexBox")->setCurrentIndex(sex);
    form.planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("昭和15年06月12日"));
    form.planForm().control<TEdit>("BirthEdit")->setFocus();
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_Return);
    form.planForm().control<QComboBox>("KaigoBox")->setCurrentIndex(kaigo);
    form.planForm().control<TMemo>("KenkouMemo")->setText(QStringLiteral("脳梗塞（左片麻痺）\n\n平成15年1月発症"));
    form.planForm().control<TMemo>("GapeiMemo")->setText(QStringLiteral("高血圧\\糖尿病"));
    form.planForm().control<TMemo>("SeikatsuMemo")->setText(QStringLiteral("活動量の低下\n臥床(2週)"));
    form.planForm().control<QCheckBox>("HomeBox")->setChecked(true);
    form.planForm().control<QCheckBox>("EtcBox")->setChecked(true);
    form.planForm().control<TEdit>("EtcEdit")->setText(QStringLiteral("施設(A)"));
    form.planForm().control<QCheckBox>("TaiinBox")->setChecked(false);
    form.planForm().control<TEdit>("HomeWorkEdit")->setText(QStringLiteral("片付け\\洗濯"));
    form.planForm().control<TEdit>("SocialEdit")->setText(QStringLiteral("老人会"));
    form.planForm().control<TEdit>("GoOutEdit")->setText(QStringLiteral("買い物)週1("));
    form.planForm().control<TEdit>("FreeTimeEdit")->setText(QStringLiteral("園芸"));
    form.planForm().control<TEdit>("TaiinEdit")->setText(QStringLiteral("通所リハ"));
    form.planForm().control<QCheckBox>("Exercise")->setChecked(true);
    form.planForm().control<TEdit>("ExerciseEdit")->setText(QStringLiteral("筋力低下"));
    form.planForm().control<QCheckBox>("Sense")->setChecked(false);
    form.planForm().control<TEdit>("SenseEdit")->setText(QStringLiteral("しびれ"));
    form.planForm().control<QCheckBox>("Brain")->setChecked(true);
    form.planForm().control<TEdit>("BrainEdit")->setText(QStringLiteral("注意障害"));
    form.planForm().control<QCheckBox>("Koushuku")->setChecked(false);
    form.planForm().control<QCheckBox>("Arthralgia")->setChecked(true);
    form.planForm().control<TEdit>("ArthralgiaEdit")->setText(QStringLiteral("膝(右)"));
    form.planForm().control<QCheckBox>("Sonota")->setChecked(true);
    form.planForm().control<TMemo>("SonotaMemo")->setText(QStringLiteral("a(b)\\c\n)d("));
    form.planForm().control<TEdit>("HDSEdit")->setText(QStringLiteral("7"));

    const QStringList marks{QStringLiteral("Ａ"),     QStringLiteral("Ｂ"),   QStringLiteral("Ｃ"),
                            QStringLiteral("ＡＢ"),   QStringLiteral("ＡＣ"), QStringLiteral("ＢＣ"),
                            QStringLiteral("ＡＢＣ"), QStringLiteral("　")};
    const QStringList specials{QStringLiteral("　"), QStringLiteral("○"), QStringLiteral("◎")};
    int n = 0;
    for (const int row : formnames::rows()) {
        for (int column = 0; column < formnames::kColumns; ++column) {
            form.planForm()
                .control<TMarkCell>(formnames::abc(row, column))
                ->setText(marks.at((n + column) % marks.size()));
        }
        const QString number = QString::number(row);
        form.planForm().control<TMemo>(formnames::goods(row))->setText(QStringLiteral("杖") + number);
        form.planForm().control<TMemo>(formnames::kaigo(row))->setText(QStringLiteral("介助\n") + number);
        form.planForm().control<TEdit>(formnames::time(row))->setText(number + QStringLiteral("(m)\\"));
        form.planForm().control<TClickLabel>(formnames::special(row))->setText(specials.at(n % 3));
        ++n;
    }
    form.planForm().control<TMemo>("PTOTST0")->setText(QStringLiteral("歩行訓練\n\n週３回"));
    form.planForm().control<TMemo>("Kango0")->setText(QStringLiteral("トイレ誘導"));
    form.planForm().control<TMemo>("Jitchi0")->setText(QStringLiteral("転倒(注意)"));
    form.planForm().control<TMemo>("PTOTST1")->setText(QStringLiteral("起居動作訓練\n(毎日)"));
    form.planForm().control<TMemo>("Kango1")->setText(QStringLiteral("移乗\\見守り"));
    form.planForm().control<TMemo>("Jitchi1")->setText(QStringLiteral("血圧"));
    // Each memo keeps to the lines its printed box holds: three or more
    // for the tall ones, two for the others.
    int memo = 1;
    for (TMemo *page2 : {form.planForm().control<TMemo>("SelfHope"), form.planForm().control<TMemo>("FarmilyHope"),
                         form.planForm().control<TMemo>("LifePoint"), form.planForm().control<TMemo>("SelfDo"),
                         form.planForm().control<TMemo>("AskFarmily"), form.planForm().control<TMemo>("DiseseCare")}) {
        page2->setText(QStringLiteral("希望%1\n(%1)\\%1").arg(memo++));
    }
    for (TMemo *page2 : {form.planForm().control<TMemo>("RihaTerget"), form.planForm().control<TMemo>("Variation"),
                         form.planForm().control<TMemo>("Remark")}) {
        page2->setText(QStringLiteral("希望%1\n\n(%1)\\%1").arg(memo++));
    }
    for (int team = 1; team <= formnames::kTeamBoxes; ++team) {
        form.planForm()
            .control<QComboBox>(formnames::teamBox(team))
            ->setEditText(team == 3 ? QString() : QStringLiteral("担当 %1").arg(team));
    }
}

// A small PDF of another program: one empty page and an information
// dictionary with the given entries (nothing when empty).
QByteArray foreignPdf(const QByteArray &info)
{
    QList<QByteArray> objects{"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                              "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << >> >>"};
    if (!info.isEmpty()) {
        objects.append("<< " + info + " >>");
    }
    QByteArray file = "%PDF-1.2\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets.append(file.size());
        file += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = file.size();
    file += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets) {
        file += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    }
    file += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R";
    if (!info.isEmpty()) {
        file += " /Info " + QByteArray::number(objects.size()) + " 0 R";
    }
    file += " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return file;
}

} // namespace

class OpenCommandTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void savedPlanComesBackIntoEveryControl_data();
    void savedPlanComesBackIntoEveryControl();
    void openingUnlocksTheEditorOnPageOne();
    void theAgeFollowsBothDatesAfterOpening();
    void printedTextsOutsideTheListsChooseNothing_data();
    void printedTextsOutsideTheListsChooseNothing();
    void unsavedChangesAreConfirmedFirst();
    void cancelKeepsThePlanAndForgetsTheFolder();
    void dialogStartsInTheOpenFolder();
    void refusedFilesLeaveALockedWindowLocked_data();
    void refusedFilesLeaveALockedWindowLocked();
    void refusedFilesKeepTheTypedPlan_data();
    void refusedFilesKeepTheTypedPlan();
    void aChangedPlanIsShownAfterAWarning();

private:
    TestMainForm &form() { return *f->form; }
    // Saves the editor's plan with the first save command; returns its path.
    QString savePlan();
    // Saves the sample plan, then restarts: a fresh, locked window, active.
    // The plan file's path; empty when the save failed.
    QString saveSampleAndRestart();
    // Runs the open command on `path` with every box answered OK.
    void openFile(const QString &path);
    QString plansFolder() const { return f->dir.filePath(QStringLiteral("plans")); }
    // The reader's refusal of `path` as the command shows it, or `message`
    // when that is set (the command's own refusal).
    static QString refusal(const QString &path, const QString &message);

    std::unique_ptr<WindowFixture> f;
};

void OpenCommandTest::init()
{
    f = std::make_unique<WindowFixture>();
    QVERIFY(QDir().mkpath(plansFolder()));
    form().Registory->SaveFolder = plansFolder();
}

void OpenCommandTest::cleanup()
{
    f.reset();
}

QString OpenCommandTest::savePlan()
{
    f->prompter->shown.clear();
    form().NewSaveMenuClick();
    if (f->prompter->shown.size() != 1 || form().Modified) {
        qWarning("save failed: %s", qPrintable(f->prompter->shown.value(1).text));
        return QString();
    }
    const QStringList files = QDir(plansFolder()).entryList(QDir::Files);
    return files.size() == 1 ? QDir(plansFolder()).filePath(files.first()) : QString();
}

QString OpenCommandTest::saveSampleAndRestart()
{
    form().NewMenuClick();
    fillSampleData(form());
    const QString path = savePlan();
    f->form = f->makeWindow();
    form().show();
    if (!QTest::qWaitForWindowActive(f->form.get())) {
        qWarning("the fresh window did not become active");
    }
    return path;
}

void OpenCommandTest::openFile(const QString &path)
{
    f->prompter->shown.clear();
    f->chooser->answer = path;
    form().OpenMenuClick();
}

QString OpenCommandTest::refusal(const QString &path, const QString &message)
{
    if (!message.isEmpty()) {
        return message;
    }
    pdfreader::TPdfStream reader;
    try {
        reader.open(planPath(path));
    } catch (const EPdfReadError &e) {
        return kUnreadable + guitext::fromCp932(e.text()) +
               QDir::toNativeSeparators(QString::fromStdString(e.fileName()));
    }
    qWarning("the reader should refuse %s", qPrintable(path));
    return QString();
}

void OpenCommandTest::savedPlanComesBackIntoEveryControl_data()
{
    QTest::addColumn<int>("sex");
    QTest::addColumn<int>("kaigo");
    QTest::addColumn<int>("kaigoAfter");
    // Every care level; the empty eighth item prints nothing and comes
    // back unchosen, like a plan saved with no sex chosen.
    for (int level = 0; level <= 6; ++level) {
        const int sex = level % 3 - 1;
        QTest::addRow("care level %d, sex %d", level, sex) << sex << level << level;
    }
    QTest::newRow("empty care level") << 0 << 7 << -1;
}

void OpenCommandTest::savedPlanComesBackIntoEveryControl()
{
    QFETCH(int, sex);
    QFETCH(int, kaigo);
    QFETCH(int, kaigoAfter);
    form().NewMenuClick();
    fillDistinct(form(), sex, kaigo);
    const QString path = savePlan();
    QVERIFY(!path.isEmpty());
    QMap<QString, QString> expected = snapshot(form());
    expected[QStringLiteral("KaigoBox")] =
        QString::number(kaigoAfter) + QLatin1Char('|') +
        (kaigoAfter < 0 ? QString() : form().planForm().control<QComboBox>("KaigoBox")->itemText(kaigoAfter));
    QCOMPARE(expected.value(QStringLiteral("SexBox")).section(QLatin1Char('|'), 0, 0), QString::number(sex));

    // A different plan in the editor, marked as edited.
    form().NewMenuClick();
    fillSampleData(form());
    form().Modified = true;

    f->prompter->answers = {Prompter::Button::Ok};
    openFile(path);

    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown[0].text, kDiscardQuestion);
    const QMap<QString, QString> actual = snapshot(form());
    QVERIFY2(actual == expected, qPrintable(differences(expected, actual)));
    QCOMPARE(form().planForm().control<QLabel>("UserLabel")->text(), QStringLiteral("山田 (花子)"));
    QCOMPARE(form().planForm().control<QLabel>("DateLabel")->text(),
             form().planForm().control<TEdit>("PlanDateEdit")->text());
    QVERIFY(!form().Modified);
    // The priority marks read back as numbers.
    const TPRACTDATA opened = viewPlan(form());
    int n = 0;
    for (const int row : formnames::rows()) {
        QCOMPARE(planRow(opened, row).Special, n % 3);
        ++n;
    }
}

// After Open, Enter on either date counts the age anew against the other.
void OpenCommandTest::theAgeFollowsBothDatesAfterOpening()
{
    const QString path = saveSampleAndRestart();
    QVERIFY(!path.isEmpty());
    QVERIFY(form().isActiveWindow());
    openFile(path);

    auto *birth = form().planForm().control<TEdit>("BirthEdit");
    auto *planDate = form().planForm().control<TEdit>("PlanDateEdit");
    struct Step {
        TEdit *field;
        QString text;
        QString age;
    };
    // The plan was saved on 平成15年4月1日.
    for (const Step &step : {Step{birth, QStringLiteral("昭和20年 1月 1日"), QStringLiteral("58")},
                             Step{planDate, QStringLiteral("令和 7年 7月 1日"), QStringLiteral("80")},
                             Step{birth, QStringLiteral("昭和30年 1月 1日"), QStringLiteral("70")}}) {
        step.field->setText(step.text);
        step.field->setFocus();
        QTest::keyClick(step.field, Qt::Key_Return);
        QCOMPARE(form().planForm().control<TClickLabel>("OldLabel")->text(), step.age);
    }
    QVERIFY(f->prompter->shown.isEmpty());
}

void OpenCommandTest::openingUnlocksTheEditorOnPageOne()
{
    const QString path = saveSampleAndRestart();
    QVERIFY(!path.isEmpty());

    // A fresh window is locked: only the menu bar, keys discarded.
    QVERIFY(!form().findChild<QAction *>(QStringLiteral("NewSaveMenu"))->isEnabled());
    QVERIFY(form().KeyPreview);

    openFile(path);

    QVERIFY(f->prompter->shown.isEmpty());
    QVERIFY(form().planForm().isVisible());
    QVERIFY(form().findChild<QAction *>(QStringLiteral("NewSaveMenu"))->isEnabled());
    QVERIFY(form().findChild<QAction *>(QStringLiteral("OldSaveMenu"))->isEnabled());
    QVERIFY(form().findChild<QMenu *>(QStringLiteral("EditMenu"))->menuAction()->isEnabled());
    QVERIFY(form().findChild<QMenu *>(QStringLiteral("EditMenu"))->isEnabled());
    QVERIFY(!form().KeyPreview);
    QCOMPARE(form().planForm().currentWidget(), form().planForm().page(1));
    QCOMPARE(form().planForm().control<TEdit>("NameEdit")->text(), QStringLiteral("山田 太郎"));
    QCOMPARE(form().Registory->OpenFolder, QDir::toNativeSeparators(plansFolder()));
    QCOMPARE(form().statusBar()->currentMessage(), QStringLiteral("開きました: ") + QDir::toNativeSeparators(path));
    // The title names the plan, and marks it as changed after an edit.
    QCOMPARE(form().windowTitle(),
             QStringLiteral("リハビリ実施計画書 - ") + QFileInfo(path).fileName() + QStringLiteral("[*]"));
    QVERIFY(!form().isWindowModified());

    // The reopened plan saves again to the very same file.
    const QByteArray first = readAll(path);
    form().Registory->SaveFolder = plansFolder();
    QCOMPARE(savePlan(), path);
    QVERIFY2(readAll(path) == first, "saving a reopened plan must give the same file");
    form().planForm().control<TMemo>("Remark")->setText(QStringLiteral("追記"));
    QVERIFY(form().isWindowModified());
}

void OpenCommandTest::printedTextsOutsideTheListsChooseNothing_data()
{
    QTest::addColumn<QString>("printed");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("value");
    QTest::newRow("sex 男性") << QStringLiteral("男性") << QStringLiteral("男性") << QStringLiteral("SexBox")
                              << QStringLiteral("0");
    QTest::newRow("sex 女性") << QStringLiteral("男性") << QStringLiteral("女性") << QStringLiteral("SexBox")
                              << QStringLiteral("1");
    QTest::newRow("sex other") << QStringLiteral("男性") << QStringLiteral("中性") << QStringLiteral("SexBox")
                               << QStringLiteral("-1");
    QTest::newRow("care level 要介護３") << QStringLiteral("要支援１") << QStringLiteral("要介護３")
                                         << QStringLiteral("KaigoBox") << QStringLiteral("4");
    QTest::newRow("care level other") << QStringLiteral("要支援１") << QStringLiteral("要介護９")
                                      << QStringLiteral("KaigoBox") << QStringLiteral("-1");
    QTest::newRow("tick other") << QStringLiteral("レ") << QStringLiteral("ロ") << QStringLiteral("HomeBox")
                                << QStringLiteral("0");
    QTest::newRow("priority ◎") << QStringLiteral("○") << QStringLiteral("◎") << QStringLiteral("Special0")
                                << QStringLiteral("2");
    QTest::newRow("priority other") << QStringLiteral("○") << QStringLiteral("●") << QStringLiteral("Special0")
                                    << QStringLiteral("0");
}

// A plan file whose printed text is replaced by another of the same length
// (the file stays valid) is read as the refill rules say; a text outside
// the lists is reported as a changed file.
void OpenCommandTest::printedTextsOutsideTheListsChooseNothing()
{
    QFETCH(QString, printed);
    QFETCH(QString, replacement);
    QFETCH(QString, control);
    QFETCH(QString, value);
    form().NewMenuClick();
    form().planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("Yamada"));
    form().planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("昭和15年 6月12日"));
    form().planForm().control<TEdit>("HDSEdit")->setText(QStringLiteral("20"));
    form().planForm().control<QComboBox>("SexBox")->setCurrentIndex(0);
    form().planForm().control<QComboBox>("KaigoBox")->setCurrentIndex(0);
    form().planForm().control<QCheckBox>("HomeBox")->setChecked(true);
    form().planForm().control<TClickLabel>(formnames::special(0))->setText(QStringLiteral("○"));
    const QString path = savePlan();
    QVERIFY(!path.isEmpty());

    // Each of these texts is a text object of its own: "<hex> Tj".
    const QByteArray from = '<' + printedHex(printed) + '>';
    const QByteArray to = '<' + printedHex(replacement) + '>';
    QByteArray bytes = readAll(path);
    QCOMPARE(bytes.count(from), 1);
    QCOMPARE(to.size(), from.size());
    bytes.replace(from, to);
    writeAll(path, bytes);

    openFile(path);

    // A text our writer never prints is read as nothing chosen, which does
    // not print that text again: the plan is shown after a warning.
    if (QString::fromUtf8(QTest::currentDataTag()).endsWith(QStringLiteral("other"))) {
        QCOMPARE(f->prompter->shown.size(), 1);
        QCOMPARE(f->prompter->shown[0].kind, Prompter::Kind::Warning);
    } else {
        QVERIFY2(f->prompter->shown.isEmpty(), qPrintable(f->prompter->shown.value(0).text));
    }
    if (control == QStringLiteral("SexBox")) {
        QCOMPARE(form().planForm().control<QComboBox>("SexBox")->currentIndex(), value.toInt());
    } else if (control == QStringLiteral("KaigoBox")) {
        QCOMPARE(form().planForm().control<QComboBox>("KaigoBox")->currentIndex(), value.toInt());
    } else if (control == QStringLiteral("HomeBox")) {
        QCOMPARE(form().planForm().control<QCheckBox>("HomeBox")->isChecked(), value.toInt() != 0);
    } else {
        QCOMPARE(form().planForm().control<TClickLabel>(control)->text(), replacement);
        QCOMPARE(viewPlan(form()).ActivityItems[0].Special, value.toInt());
    }
}

// With changes in the editor the command asks first; Cancel shows no
// dialog and changes nothing. Without changes it asks nothing.
void OpenCommandTest::unsavedChangesAreConfirmedFirst()
{
    form().NewMenuClick();
    fillSampleData(form());
    form().planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("別の人"));
    const QString plan = savePlan();
    QVERIFY(!plan.isEmpty());
    form().planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田 太郎"));
    QTest::keyClicks(form().planForm().control<TEdit>("HomeWorkEdit"), QStringLiteral("x"));
    const QMap<QString, QString> typed = snapshot(form());

    f->prompter->answers = {Prompter::Button::Cancel};
    openFile(plan);
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown[0].kind, Prompter::Kind::Confirmation);
    QCOMPARE(f->prompter->shown[0].text, kDiscardQuestion);
    QCOMPARE(f->prompter->shown[0].buttons, (QList<Prompter::Button>{Prompter::Button::Cancel, Prompter::Button::Ok}));
    QVERIFY(f->chooser->requested.isEmpty());
    QVERIFY(form().Modified);
    const QMap<QString, QString> after = snapshot(form());
    QVERIFY2(after == typed, qPrintable(differences(typed, after)));

    f->prompter->answers = {Prompter::Button::Ok};
    openFile(plan);
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(form().planForm().control<TEdit>("NameEdit")->text(), QStringLiteral("別の人"));
    QVERIFY(!form().Modified);
    openFile(plan);
    QVERIFY2(f->prompter->shown.isEmpty(), "nothing to lose after opening");
}

// Cancelling the dialog keeps the plan being edited, changes included.
void OpenCommandTest::cancelKeepsThePlanAndForgetsTheFolder()
{
    form().NewMenuClick();
    fillSampleData(form());
    form().Modified = true;
    form().Registory->OpenFolder = plansFolder();
    const TDateTime planDate = form().planForm().planDate();
    const QMap<QString, QString> typed = snapshot(form());

    f->prompter->answers = {Prompter::Button::Ok};
    openFile(QString());

    QCOMPARE(f->chooser->requested, QStringList{plansFolder() + QDir::separator() + QStringLiteral("*.pdf")});
    const QMap<QString, QString> after = snapshot(form());
    QVERIFY2(after == typed, qPrintable(differences(typed, after)));
    QVERIFY(form().Modified);
    QCOMPARE(form().planForm().planDate(), planDate);
    QCOMPARE(form().Registory->OpenFolder, RootFolder());
    QVERIFY(form().planForm().isVisible());

    form().Modified = false;
    openFile(QString());
#ifdef _WIN32
    // The root of drive C: ends with its separator already.
    QCOMPARE(f->chooser->requested.last(), QStringLiteral("C:\\*.pdf"));
#else
    // Here the root folder is the home folder, which has no trailing separator.
    QCOMPARE(f->chooser->requested.last(), QDir::homePath() + QStringLiteral("/*.pdf"));
#endif
}

void OpenCommandTest::dialogStartsInTheOpenFolder()
{
    form().Registory->OpenFolder = QStringLiteral("/srv/plans");
    openFile(QString());
    QCOMPARE(f->chooser->requested.last(), QStringLiteral("/srv/plans") + QDir::separator() + QStringLiteral("*.pdf"));
    // Only the root folder is treated specially; another folder stored with
    // a trailing separator keeps it.
    form().Registory->OpenFolder = QStringLiteral("/srv/plans/");
    openFile(QString());
    QCOMPARE(f->chooser->requested.last(), QStringLiteral("/srv/plans/") + QDir::separator() + QStringLiteral("*.pdf"));
}

void OpenCommandTest::refusedFilesLeaveALockedWindowLocked_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message"); // empty: the reader's own message below the command's line

    QTest::newRow("no information") << foreignPdf(QByteArray()) << QString();
    QTest::newRow("other author") << foreignPdf("/Author (Someone) /Subject (RIHA)") << kNotAPlan;
    QByteArray author = "/Author <" + printedHex(QStringLiteral("Ｒ１．０")) + ">";
    QTest::newRow("plan author, no subject") << foreignPdf(author) << kNotAPlan;
    QTest::newRow("plan author, other subject")
        << foreignPdf(author + " /Subject <" + printedHex(QStringLiteral("ＲＩＨＢ")) + ">") << kNotAPlan;
    QTest::newRow("empty file") << QByteArray() << QString();
}

void OpenCommandTest::refusedFilesLeaveALockedWindowLocked()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const QString path = f->dir.filePath(QStringLiteral("other/file.pdf"));
    QVERIFY(QDir().mkpath(f->dir.filePath(QStringLiteral("other"))));
    writeAll(path, bytes);
    message = refusal(path, message);
    const QMap<QString, QString> before = snapshot(form());

    openFile(path);

    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown[0].kind, Prompter::Kind::Error);
    QCOMPARE(f->prompter->shown[0].caption, QStringLiteral("エラー"));
    QCOMPARE(f->prompter->shown[0].text, message);
    QCOMPARE(f->prompter->shown[0].buttons, QList<Prompter::Button>{Prompter::Button::Ok});
    QVERIFY(snapshot(form()) == before);
    QCOMPARE(form().Registory->OpenFolder, QDir::toNativeSeparators(f->dir.filePath(QStringLiteral("other"))));
    QVERIFY(!form().planForm().isVisible());
    QVERIFY(!form().findChild<QAction *>(QStringLiteral("NewSaveMenu"))->isEnabled());
    QVERIFY(form().KeyPreview);
}

void OpenCommandTest::refusedFilesKeepTheTypedPlan_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("text file") << QStringLiteral("text");
    QTest::newRow("file gone before reading, Japanese name") << QStringLiteral("missing");
    QTest::newRow("PDF of another program") << QStringLiteral("foreign");
    QTest::newRow("plan cut short") << QStringLiteral("damaged");
    QTest::newRow("PDF without pages") << QStringLiteral("qpdf");
}

// A plan typed into the editor (and not saved) survives every refused file:
// the controls, the dates held, `Modified` and the editing state stay as they were.
void OpenCommandTest::refusedFilesKeepTheTypedPlan()
{
    QFETCH(QString, kind);
    form().NewMenuClick();
    fillSampleData(form());
    QString path = f->dir.filePath(QStringLiteral("計画書 %1.pdf").arg(kind));
    QString message;
    if (kind == QStringLiteral("text")) {
        writeAll(path, "just some text\n");
    } else if (kind == QStringLiteral("foreign")) {
        writeAll(path, foreignPdf("/Author (Someone) /Subject (Something)"));
        message = kNotAPlan;
    } else if (kind == QStringLiteral("damaged")) {
        const QByteArray whole = readAll(savePlan());
        QVERIFY(!whole.isEmpty());
        writeAll(path, whole.left(whole.size() / 2));
        QVERIFY(QDir(plansFolder()).removeRecursively());
    } else if (kind == QStringLiteral("qpdf")) {
        if (const std::string missing = testsupport::missingTools({"qpdf"}); !missing.empty()) {
            QSKIP(missing.c_str());
        }
        QProcess qpdf;
        qpdf.start(QStringLiteral("qpdf"), {QStringLiteral("--empty"), path});
        QVERIFY2(qpdf.waitForFinished(30000) && qpdf.exitCode() == 0, "qpdf --empty must run");
    }
    // "missing": the chosen file is gone (or may not be read) when the
    // reader opens it; the message names it as it is spelt.
    QTest::keyClicks(form().planForm().control<TEdit>("HomeWorkEdit"), QStringLiteral("typed"));
    QVERIFY(form().Modified);
    const TDateTime planDate = form().planForm().planDate();
    const QMap<QString, QString> typed = snapshot(form());
    message = refusal(path, message);
    if (kind == QStringLiteral("missing")) {
        QVERIFY2(message.endsWith(QDir::toNativeSeparators(path)), qPrintable(message));
    }

    f->prompter->answers = {Prompter::Button::Ok};
    openFile(path);

    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(f->prompter->shown[0].text, kDiscardQuestion);
    QCOMPARE(f->prompter->shown[1].kind, Prompter::Kind::Error);
    QCOMPARE(f->prompter->shown[1].text, message);
    QVERIFY(message == kNotAPlan || message.startsWith(kUnreadable));
    const QMap<QString, QString> after = snapshot(form());
    QVERIFY2(after == typed, qPrintable(differences(typed, after)));
    QVERIFY(form().Modified);
    QCOMPARE(form().planForm().planDate(), planDate);
    QVERIFY(form().planForm().isVisible());
    QVERIFY(form().findChild<QAction *>(QStringLiteral("NewSaveMenu"))->isEnabled());
    QVERIFY(!form().KeyPreview);
}

// A plan whose file was changed after it was written (here the name's text
// object made no text object) does not print what the file holds: it fills
// the editor all the same, after a warning to check it against the paper.
void OpenCommandTest::aChangedPlanIsShownAfterAWarning()
{
    form().NewMenuClick();
    fillSampleData(form());
    const QString kenkou = form().planForm().control<TMemo>("KenkouMemo")->Text();
    const QString path = savePlan();
    QVERIFY(!path.isEmpty());
    QByteArray bytes = readAll(path);
    const qsizetype name = bytes.indexOf("BT\n40 799.5 Td");
    QVERIFY(name > 0);
    bytes[name + 1] = 'X';
    writeAll(path, bytes);

    openFile(path);

    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown[0].kind, Prompter::Kind::Warning);
    QCOMPARE(f->prompter->shown[0].caption, QStringLiteral("警告"));
    QCOMPARE(f->prompter->shown[0].text,
             QStringLiteral("この計画書ファイルは一部が読み取れない可能性があります。\n印刷された計画書と照らし合わせてください。"));
    QCOMPARE(form().planForm().control<TEdit>("NameEdit")->text(), QString());
    QCOMPARE(form().planForm().control<TMemo>("KenkouMemo")->Text(), kenkou);
    QVERIFY(form().planForm().isVisible());
}

QTEST_MAIN(OpenCommandTest)
#include "OpenCommandTest.moc"
