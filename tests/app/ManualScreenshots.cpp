// Makes the pictures of the manual from the real editor: the window after
// start, the File menu, page 1 with a plan, the date fields, the A/B/C
// dialog, the warning before a save, the notice for a plan held elsewhere,
// 計画書一覧, 前回との違い, the save-folder chooser and the about box.
//
//   ovilant_manual_screenshots OUTPUT-FOLDER
//
// The plans shown are made on the way by the editor's own commands, in a
// temporary home folder, with the clock set to the days they are dated.
// Message boxes are the real ones; each is pictured and then answered by
// pressing one of its buttons.

#include "ControlNames.h"
#include "TestSupport.h"
#include "app/FormControls.h"
#include "app/PlanListForm.h"
#include "plan/DateTime.h"
#include "settings/Registory.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

int g_failures = 0;
QDir g_out;

void fail(const char *what)
{
    std::fprintf(stderr, "ovilant_manual_screenshots: %s\n", what);
    ++g_failures;
}

void save(const QPixmap &picture, const char *name)
{
    if (picture.isNull() || !picture.save(g_out.filePath(QString::fromLatin1(name)))) {
        fail(name);
    }
}

// Lets the windows lay themselves out and paint.
void settle(int ms = 50)
{
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

// Handles the message boxes that `command` shows (a message box, or the
// box with a list), one step a box, in turn; a step pictures its box and
// presses a button. Says so when a box that should have come did not.
void withBoxes(const std::function<void()> &command, std::vector<std::function<void(QDialog *)>> steps)
{
    auto pending = std::make_shared<std::vector<std::function<void(QDialog *)>>>(std::move(steps));
    auto handled = std::make_shared<QPointer<QDialog>>();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [pending, handled] {
        auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (box == nullptr || box == handled->data()) {
            return;
        }
        if (pending->empty()) {
            fail("an unexpected box");
            box->reject();
            return;
        }
        *handled = box;
        const auto step = pending->front();
        pending->erase(pending->begin());
        settle();
        step(box);
    });
    timer.start(10);
    command();
    timer.stop();
    if (!pending->empty()) {
        fail("a message box did not appear");
    }
}

void press(QDialog *box, const QString &caption)
{
    for (QAbstractButton *button : box->findChildren<QAbstractButton *>()) {
        if (button->text() == caption) {
            button->click();
            return;
        }
    }
    fail("a button is missing");
    box->reject();
}

// Sets the text of a memo, an edit or an editable drop-down.
void setText(TestMainForm &form, const QString &control, const QString &text)
{
    QWidget *widget = form.planForm().control(control);
    if (auto *memo = qobject_cast<TMemo *>(widget)) {
        memo->setText(text);
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        edit->setText(text);
    } else if (auto *box = qobject_cast<QComboBox *>(widget)) {
        box->setEditText(text);
    }
}

// A plan of the patient `name` dated `day`: New, the sample entries, the
// patient's own data, saved with 今日の日付で保存 (the prompter answers).
void savePlan(WindowFixture &fixture, const QString &name, int sex, const QString &birth, TDateTime day)
{
    TestMainForm &form = *fixture.form;
    fixture.clock->value = day;
    form.NewMenuClick();
    fillSampleData(form);
    setText(form, QStringLiteral("NameEdit"), name);
    setText(form, QStringLiteral("BirthEdit"), birth);
    form.planForm().control<QComboBox>("SexBox")->setCurrentIndex(sex);
    form.NewSaveMenuClick();
}

QString planFile(const QString &folder, const QString &name, int y, int m, int d)
{
    return folder + QStringLiteral("/実施計画 ") + name + QStringLiteral(" %1_%2_%3.pdf").arg(y).arg(m).arg(d);
}

// The part `area` of `widget`, with `over` drawn at `at` on it.
QPixmap composed(QWidget *widget, const QRect &area, const QPixmap &over, QPoint at)
{
    QPixmap picture = widget->grab(area);
    QPainter painter(&picture);
    painter.drawPixmap(at, over);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(QRect(at, over.size() / over.devicePixelRatio()).adjusted(0, 0, -1, -1));
    return picture;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output-folder\n", argv[0]);
        return 2;
    }
    // A home folder of its own: the save folder and the folder chooser's
    // tree show it, not the user's. Its name sorts after the other folders
    // of the temporary folder, so that the tree below it shows none of them.
    QTemporaryDir base(QDir::tempPath() + QStringLiteral("/zz-ovilant-XXXXXX"));
    const QString home = base.filePath(QStringLiteral("home/kango"));
    qputenv("HOME", home.toLocal8Bit());
    QApplication app(argc, argv);
    g_out = QDir(QString::fromLocal8Bit(argv[1]));
    const QString plans = home + QStringLiteral("/計画書");
    for (const char *folder : {"計画書/外来", "計画書/病棟A", "計画書/病棟B", "計画書/病棟C", "書類", "デスクトップ",
                               "ダウンロード", "ドキュメント", "ピクチャ"}) {
        QDir(home).mkpath(QString::fromUtf8(folder));
    }

    WindowFixture fixture;
    TestMainForm &form = *fixture.form;
    form.resize(791, 881);
    form.Registory->SaveFolder = plans;
    form.Registory->OpenFolder = plans;
    settle();

    // Just started: the menu bar alone.
    save(form.grab(QRect(0, 0, 420, 110)), "start.png");

    // Four plans of three patients, the second of 山田 started from the first.
    const QString yamada = QStringLiteral("山田 太郎");
    const QString sato = QStringLiteral("佐藤 花子");
    savePlan(fixture, yamada, 0, QStringLiteral("昭和15年 6月12日"), encodeDateTime(2025, 10, 6, 9, 30, 0));
    fixture.clock->value = encodeDateTime(2026, 1, 13, 14, 0, 0);
    form.NextPlanMenuClick();
    form.planForm().control<QComboBox>("KaigoBox")->setCurrentIndex(1);
    setText(form, QStringLiteral("HDSEdit"), QStringLiteral("24"));
    setText(form, QStringLiteral("RihaTerget"), QStringLiteral("杖歩行で屋内を移動できる。\n屋外は見守りで 300m 歩ける。"));
    setText(form, formnames::goods(2), QStringLiteral("T字杖\n手すり"));
    form.NewSaveMenuClick();
    savePlan(fixture, QStringLiteral("鈴木 一郎"), 0, QStringLiteral("昭和22年 1月 5日"),
             encodeDateTime(2025, 11, 4, 11, 0, 0));
    savePlan(fixture, sato, 1, QStringLiteral("昭和18年11月20日"), encodeDateTime(2026, 3, 2, 10, 0, 0));
    fixture.clock->value = encodeDateTime(2026, 4, 6, 9, 0, 0);

    // The latest plan of 山田 opened: page 1 and the dates on it.
    if (!form.openPlanFile(planFile(plans, yamada, 2026, 1, 13))) {
        fail("cannot open the sample plan");
    }
    settle();
    save(form.grab(), "page1.png");
    TFormPanel *page1 = form.planForm().panel(1);
    save(page1->grab(QRect(0, 0, 720, 110)), "date.png");

    // The File menu, opened from the menu bar.
    auto *fileMenu = form.findChild<QMenu *>(QStringLiteral("FileMenu"));
    const QRect fileTitle = form.menuBar()->actionGeometry(fileMenu->menuAction());
    fileMenu->popup(form.menuBar()->mapToGlobal(fileTitle.bottomLeft()));
    settle();
    const QPixmap menu = fileMenu->grab();
    const QPoint menuAt = form.mapFromGlobal(fileMenu->pos());
    fileMenu->hide();
    save(composed(&form, QRect(0, 0, menuAt.x() + menu.width() + 60, menuAt.y() + menu.height() + 20), menu, menuAt),
         "menu-file.png");

    // Two cells picked with the left button, and the A/B/C dialog.
    for (const int column : {0, 1}) {
        QTest::mouseClick(form.planForm().control(formnames::abc(1, column)), Qt::LeftButton);
    }
    // The dialog is built when the right button first opens it.
    QPixmap abcDialog;
    QTimer::singleShot(0, [&abcDialog] {
        settle();
        auto *abc = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (abc == nullptr || abc->objectName() != QStringLiteral("ABCForm")) {
            fail("the A/B/C dialog did not open");
            return;
        }
        abc->findChild<QCheckBox *>(QStringLiteral("ABox"))->setChecked(true);
        settle();
        abcDialog = abc->grab();
        abc->reject(); // cancel: no cell changes
    });
    QTest::mouseClick(form.planForm().control(formnames::abc(1, 0)), Qt::RightButton);
    const QRect table = form.planForm().control(formnames::abc(0, 0))->geometry();
    const QRect abcArea(0, table.top() - 70, 500, 220);
    save(composed(page1, abcArea, abcDialog, QPoint(abcArea.width() - abcDialog.width() - 10, 20)), "abc.png");
    for (const int column : {0, 1}) {
        QTest::mouseClick(form.planForm().control(formnames::abc(1, column)), Qt::LeftButton);
    }

    // 前回との違い: this plan against the one before it.
    form.DiffMenuClick();
    if (auto *diff = form.findChild<QDialog *>(QStringLiteral("PlanDiffForm"))) {
        settle();
        save(diff->grab(), "diff.png");
        diff->close();
    } else {
        fail("前回との違い did not open");
    }

    // Another editor holds 佐藤's plan: the list marks it, opening it asks.
    std::unique_ptr<TestMainForm> other = fixture.makeWindow(planlock::LockOwner{"sato", "nurse-pc", 4242, 0});
    other->openPlanFile(planFile(plans, sato, 2026, 3, 2));
    form.PlanListMenuClick();
    if (auto *list = form.findChild<TPlanListForm *>()) {
        list->resize(1060, 400);
        settle();
        save(list->grab(), "planlist.png");
        list->close();
    } else {
        fail("計画書一覧 did not open");
    }
    fixture.prompter->realBoxes = true;
    withBoxes([&] { form.openPlanFile(planFile(plans, sato, 2026, 3, 2)); },
              {[](QDialog *box) {
                  save(box->grab(), "shared.png");
                  press(box, QStringLiteral("キャンセル"));
              }});

    // Texts that will not print whole, and the warning before the save.
    setText(form, QStringLiteral("KenkouMemo"),
            QStringLiteral("脳梗塞（左片麻痺）\n平成15年1月10日発症\n高血圧症（内服）\n糖尿病（食事療法）\n"
                           "白内障（手術予定）\n腰痛症\n不眠"));
    setText(form, QStringLiteral("Jitchi0"),
            QStringLiteral("転倒に注意する。特に夜間のトイレ移動時は、必ず見守りを行い、履物を確認すること。"));
    withBoxes([&] { form.NewSaveMenuClick(); },
              {[](QDialog *box) { press(box, QStringLiteral("OK")); },
               [](QDialog *box) {
                   save(box->grab(), "fit.png");
                   press(box, QStringLiteral("キャンセル"));
               }});
    fixture.prompter->realBoxes = false;

    // 計画書保存フォルダー, with the tree read as far as the save folder (the
    // dialog is built when the menu first opens it).
    {
        QTimer::singleShot(0, [home, plans] {
            auto *folders = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (folders == nullptr || folders->objectName() != QStringLiteral("FolderForm")) {
                fail("計画書保存フォルダー is missing");
                return;
            }
            settle(800);
            // The save folder opened out, and the folder above the home
            // folder at the top of a tree short enough to show nothing above.
            folders->resize(360, 300);
            auto *tree = folders->findChild<QTreeView *>(QStringLiteral("ShellTreeView1"));
            auto *model = tree != nullptr ? qobject_cast<QFileSystemModel *>(tree->model()) : nullptr;
            if (model != nullptr) {
                tree->expand(model->index(plans));
                settle(300);
                tree->scrollTo(model->index(QFileInfo(home).path()), QAbstractItemView::PositionAtTop);
                settle();
            }
            save(folders->grab(), "folder.png");
            if (auto *cancel = folders->findChild<QAbstractButton *>(QStringLiteral("Button2"))) {
                cancel->click();
            } else {
                fail("計画書保存フォルダー has no キャンセル");
                folders->reject();
            }
        });
        form.SettingMenuClick();
    }

    // 製品情報, built when the menu first opens it.
    QTimer::singleShot(0, [] {
        auto *info = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (info == nullptr || info->objectName() != QStringLiteral("info")) {
            fail("製品情報 is missing");
            return;
        }
        settle();
        save(info->grab(), "info.png");
        info->reject();
    });
    form.NInfoMenuClick();

    other->Modified = false;
    other->close();
    return g_failures == 0 ? 0 : 1;
}
