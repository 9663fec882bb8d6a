// Start-up of the main window: the locked state, the team list read from
// Stuff.txt and the controls the rest of the program finds by name.

#include "ControlNames.h"
#include "app/FormControls.h"
#include "settings/Registory.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void startsLockedWithSaveAndEditMenusDisabled();
    void menuTreeInOrderWithNamesAndShortcuts();
    void keysAreDiscardedWhileLocked();
    void newUnlocksMenusAndKeys();
    void stuffLinesFillAllThirteenTeamBoxes();
    void emptyStuffGivesEmptyLists();
    void missingStuffShowsErrorAndWindowStillOpens();
    void familiesCarryComposedNames();
    void fixedLists();
    void tabOrderFollowsTheRecord();
};

void StartupTest::startsLockedWithSaveAndEditMenusDisabled()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    QCOMPARE(form.windowTitle(), QStringLiteral("リハビリ実施計画書"));
    QVERIFY2(!form.planForm().isVisible(), "the pages stay hidden until New or Open");
    QVERIFY(!form.findChild<QAction *>(QStringLiteral("NewSaveMenu"))->isEnabled());
    QVERIFY(!form.findChild<QAction *>(QStringLiteral("OldSaveMenu"))->isEnabled());
    QVERIFY(!form.findChild<QMenu *>(QStringLiteral("EditMenu"))->menuAction()->isEnabled());
    QVERIFY2(!form.findChild<QMenu *>(QStringLiteral("EditMenu"))->isEnabled(),
             "the Edit menu itself is disabled, not only its entry in the bar");
    QVERIFY(form.findChild<QAction *>(QStringLiteral("NewMenu"))->isEnabled());
    QVERIFY(form.findChild<QAction *>(QStringLiteral("OpenMenu"))->isEnabled());
    QVERIFY(form.findChild<QAction *>(QStringLiteral("CloseMenu"))->isEnabled());
    QVERIFY(!form.Modified);
    QCOMPARE(form.planForm().control<TEdit>("PlanDateEdit")->text(), QStringLiteral("平成  年  月  日"));
    QCOMPARE(form.planForm().control<TClickLabel>("OldLabel")->text(), QStringLiteral("Old"));
    QCOMPARE(form.planForm().tabText(0), QStringLiteral("リハビリテーション実施計画書（１）"));
    QCOMPARE(form.planForm().tabText(1), QStringLiteral("リハビリテーション実施計画書（２）"));

    // The menu bar in its order, with separators where they belong.
    QStringList file;
    for (QAction *action : form.findChild<QMenu *>(QStringLiteral("FileMenu"))->actions()) {
        file << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    QCOMPARE(file, (QStringList{QStringLiteral("新規作成(&N)"), QStringLiteral("開く(&O)"),
                                QStringLiteral("今日の日付で保存(&T)"), QStringLiteral("開いた時の日付で保存(&S)"),
                                QStringLiteral("-"), QStringLiteral("計画書一覧(&L)"),
                                QStringLiteral("この計画書を元に新規作成(&B)"), QStringLiteral("前回との違い(&D)"),
                                QStringLiteral("-"), QStringLiteral("印刷(&P)"), QStringLiteral("印刷プレビュー(&V)"),
                                QStringLiteral("-"), QStringLiteral("閉じる(&X)")}));
    QCOMPARE(form.findChild<QAction *>(QStringLiteral("CutMenu"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
    QCOMPARE(form.findChild<QAction *>(QStringLiteral("AllMenu"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    QCOMPARE(form.findChild<QAction *>(QStringLiteral("SettingMenu"))->text(), QStringLiteral("計画書保存フォルダー(&F)"));
    QCOMPARE(form.findChild<QAction *>(QStringLiteral("NInfoMenu"))->text(), QStringLiteral("製品情報(&A)"));
    QCOMPARE(form.findChild<QMenu *>(QStringLiteral("N2"))->title(), QStringLiteral("ヘルプ(&H)"));
    QCOMPARE(form.findChild<QAction *>(QStringLiteral("HelpMenu"))->text(), QStringLiteral("トピックス(&H)"));
}

void StartupTest::menuTreeInOrderWithNamesAndShortcuts()
{
    WindowFixture f(nullptr, false);
    TMainForm &form = *f.form;
    // Each entry: object name, caption ("-" for a separator), shortcut.
    const auto describe = [](QMenu *menu) {
        QStringList entries;
        for (QAction *action : menu->actions()) {
            entries << action->objectName() + QLatin1Char('|') +
                           (action->isSeparator() ? QStringLiteral("-") : action->text()) + QLatin1Char('|') +
                           action->shortcut().toString(QKeySequence::PortableText);
        }
        return entries;
    };
    QStringList bar;
    for (QAction *action : form.menuBar()->actions()) {
        bar << action->menu()->objectName() + QLatin1Char('|') + action->text();
    }
    QCOMPARE(bar.size(), 5);
    QCOMPARE(bar.at(0), QStringLiteral("FileMenu|ファイル(&F)"));
    QCOMPARE(bar.at(1), QStringLiteral("EditMenu|編集(&E)"));
    QCOMPARE(bar.at(2), QStringLiteral("NSet|設定(&S)"));
    QCOMPARE(bar.at(4), QStringLiteral("N2|ヘルプ(&H)"));

    QCOMPARE(describe(form.findChild<QMenu *>(QStringLiteral("FileMenu"))),
             (QStringList{QStringLiteral("NewMenu|新規作成(&N)|Ctrl+N"), QStringLiteral("OpenMenu|開く(&O)|Ctrl+O"),
                          QStringLiteral("NewSaveMenu|今日の日付で保存(&T)|"),
                          QStringLiteral("OldSaveMenu|開いた時の日付で保存(&S)|Ctrl+S"), QStringLiteral("N6|-|"),
                          QStringLiteral("PlanListMenu|計画書一覧(&L)|"),
                          QStringLiteral("NextPlanMenu|この計画書を元に新規作成(&B)|"),
                          QStringLiteral("DiffMenu|前回との違い(&D)|"), QStringLiteral("PlanMenuSeparator|-|"),
                          QStringLiteral("N3|印刷(&P)|Ctrl+P"), QStringLiteral("PreviewMenu|印刷プレビュー(&V)|"),
                          QStringLiteral("N4|-|"), QStringLiteral("CloseMenu|閉じる(&X)|")}));
    QCOMPARE(describe(form.findChild<QMenu *>(QStringLiteral("EditMenu"))),
             (QStringList{QStringLiteral("UndoMenu|元に戻す(&U)|Ctrl+Z"), QStringLiteral("RedoMenu|やり直し(&R)|Ctrl+Y"),
                          QStringLiteral("UndoSeparator|-|"), QStringLiteral("CutMenu|切り取り(&T)|Ctrl+X"),
                          QStringLiteral("CopyMenu|コピー(&C)|Ctrl+C"), QStringLiteral("PasteMenu|貼り付け(&P)|Ctrl+V"),
                          QStringLiteral("N5|-|"), QStringLiteral("AllMenu|全て選択(&A)|Ctrl+A")}));
    QCOMPARE(describe(form.findChild<QMenu *>(QStringLiteral("NSet"))),
             (QStringList{QStringLiteral("SettingMenu|計画書保存フォルダー(&F)|"), QStringLiteral("ReviewMenu|見直し間隔(&R)|")}));
    QCOMPARE(describe(form.findChild<QMenu *>(QStringLiteral("NInfo"))),
             QStringList{QStringLiteral("NInfoMenu|製品情報(&A)|")});
    QCOMPARE(describe(form.findChild<QMenu *>(QStringLiteral("N2"))),
             QStringList{QStringLiteral("HelpMenu|トピックス(&H)|F1")});
    // Other parts reach the items by name.
    QVERIFY(form.findChild<QAction *>(QStringLiteral("N3")) != nullptr);
    QVERIFY(form.findChild<QAction *>(QStringLiteral("N6")) != nullptr);
    QVERIFY(form.findChild<QMenu *>(QStringLiteral("EditMenu")) != nullptr);
}

void StartupTest::keysAreDiscardedWhileLocked()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    QTest::keyClicks(form.planForm().control<TEdit>("NameEdit"), QStringLiteral("abc"));
    QTest::keyClicks(form.planForm().control<TMemo>("KenkouMemo"), QStringLiteral("xyz"));
    QTest::keyClick(form.planForm().control<TEdit>("BirthEdit"), Qt::Key_H);
    QTest::keyClick(&form, Qt::Key_A);
    QVERIFY2(form.planForm().control<TEdit>("NameEdit")->text().isEmpty(),
             qPrintable(form.planForm().control<TEdit>("NameEdit")->text()));
    QVERIFY(form.planForm().control<TMemo>("KenkouMemo")->toPlainText().isEmpty());
    QCOMPARE(form.planForm().control<TEdit>("BirthEdit")->text(), QStringLiteral("平成  年  月  日"));
    QVERIFY(!form.Modified);
}

void StartupTest::newUnlocksMenusAndKeys()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    form.findChild<QAction *>(QStringLiteral("NewMenu"))->trigger();
    QVERIFY(form.planForm().isVisible());
    QVERIFY(form.findChild<QAction *>(QStringLiteral("NewSaveMenu"))->isEnabled());
    QVERIFY(form.findChild<QAction *>(QStringLiteral("OldSaveMenu"))->isEnabled());
    QVERIFY(form.findChild<QMenu *>(QStringLiteral("EditMenu"))->menuAction()->isEnabled());
    QVERIFY(form.findChild<QMenu *>(QStringLiteral("EditMenu"))->isEnabled());
    QTest::keyClicks(form.planForm().control<TEdit>("NameEdit"), QStringLiteral("abc"));
    QCOMPARE(form.planForm().control<TEdit>("NameEdit")->text(), QStringLiteral("abc"));

    // A plan started before the window is first shown stays editable.
    WindowFixture hidden(nullptr, false);
    hidden.form->NewMenuClick();
    hidden.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(hidden.form.get()));
    QVERIFY(hidden.form->findChild<QAction *>(QStringLiteral("NewSaveMenu"))->isEnabled());
    QVERIFY(hidden.form->findChild<QMenu *>(QStringLiteral("EditMenu"))->isEnabled());
    QTest::keyClicks(hidden.form->planForm().control<TEdit>("NameEdit"), QStringLiteral("xyz"));
    QCOMPARE(hidden.form->planForm().control<TEdit>("NameEdit")->text(), QStringLiteral("xyz"));
}

void StartupTest::stuffLinesFillAllThirteenTeamBoxes()
{
    // An empty line stays an entry, a last line without its line ending is
    // read, and a lone CR is dropped from its entry.
    WindowFixture f("山本 一郎\r\n\r\n佐藤\r花子\n鈴木 健太");
    const QStringList expected{QStringLiteral("山本 一郎"), QString(), QStringLiteral("佐藤花子"),
                               QStringLiteral("鈴木 健太")};
    QCOMPARE(f.form->stuffList(), expected);
    for (int n = 1; n <= 13; ++n) {
        auto *box = f.form->planForm().control<QComboBox>(formnames::teamBox(n));
        QVERIFY2(box != nullptr, qPrintable(formnames::teamBox(n)));
        QStringList items;
        for (int i = 0; i < box->count(); ++i) {
            items << box->itemText(i);
        }
        QCOMPARE(items, expected);
        QVERIFY(box->isEditable());
    }
    QVERIFY(f.prompter->shown.isEmpty());
    QCOMPARE(f.form->GoodsPath, f.dir.path() + QStringLiteral("/Goods.txt"));
}

void StartupTest::emptyStuffGivesEmptyLists()
{
    WindowFixture f("");
    QCOMPARE(f.form->planForm().control<QComboBox>(formnames::teamBox(7))->count(), 0);
    QVERIFY(f.prompter->shown.isEmpty());
}

void StartupTest::missingStuffShowsErrorAndWindowStillOpens()
{
    WindowFixture f(nullptr);
    QCOMPARE(f.prompter->shown.size(), 1);
    QCOMPARE(f.prompter->shown.first().caption, QStringLiteral("エラー"));
    QVERIFY(f.prompter->shown.first().text.contains(QStringLiteral("Stuff.txt")));
    QVERIFY(f.form->isVisible());
    QCOMPARE(f.form->planForm().control<QComboBox>(formnames::teamBox(1))->count(), 0);
    QCOMPARE(f.form->KaigoPath, f.dir.filePath(QStringLiteral("data/Kaigo.txt")));
    f.form->NewMenuClick();
    QVERIFY(f.form->planForm().isVisible());
}

void StartupTest::familiesCarryComposedNames()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    QCOMPARE(formnames::abc(12, 4), QStringLiteral("ABC124"));
    QCOMPARE(formnames::abc(27, 0), QStringLiteral("ABC270"));
    int cells = 0;
    for (const int row : formnames::rows()) {
        for (int column = 0; column < 5; ++column) {
            auto *cell = form.planForm().control<TMarkCell>(formnames::abc(row, column));
            QVERIFY2(cell != nullptr, qPrintable(formnames::abc(row, column)));
            QCOMPARE(cell->text(), QStringLiteral("　"));
            // Reached by Tab and the arrows, not by a click.
            QCOMPARE(cell->focusPolicy(), Qt::TabFocus);
            ++cells;
        }
        QVERIFY(form.planForm().control<TMemo>(formnames::goods(row)) != nullptr);
        QVERIFY(form.planForm().control<TMemo>(formnames::kaigo(row)) != nullptr);
        QCOMPARE(form.planForm().control<TEdit>(formnames::time(row))->text(), QStringLiteral("　"));
        QCOMPARE(form.planForm().control<QLabel>(formnames::special(row))->text(), QStringLiteral("　"));
        QVERIFY(form.planForm().panel(1)->isAncestorOf(form.planForm().control(formnames::goods(row))));
    }
    QCOMPARE(cells, 105);
    for (int row = 13; row < 20; ++row) {
        QVERIFY(form.planForm().control(formnames::goods(row)) == nullptr);
    }
    for (int n = 1; n <= 13; ++n) {
        QVERIFY(form.planForm().panel(2)->isAncestorOf(form.planForm().control(formnames::teamBox(n))));
    }
    for (const char *name :
         {"PlanDateEdit",   "NameEdit",   "SexBox",       "BirthEdit",    "OldLabel",  "Label12",      "KaigoBox",
          "KenkouMemo",     "GapeiMemo",  "SeikatsuMemo", "HomeBox",      "EtcBox",    "EtcEdit",      "TaiinBox",
          "HomeWorkEdit",   "SocialEdit", "GoOutEdit",    "FreeTimeEdit", "TaiinEdit", "Exercise",     "ExerciseEdit",
          "Sense",          "SenseEdit",  "Brain",        "BrainEdit",    "Koushuku",  "KoushukuEdit", "Arthralgia",
          "ArthralgiaEdit", "Sonota",     "SonotaMemo",   "HDSEdit",      "PTOTST0",   "Kango0",       "Jitchi0",
          "PTOTST1",        "Kango1",     "Jitchi1"}) {
        QWidget *control = form.planForm().control(QString::fromLatin1(name));
        QVERIFY2(control != nullptr && form.planForm().panel(1)->isAncestorOf(control), name);
    }
    for (const char *name : {"UserLabel", "DateLabel", "SelfHope", "FarmilyHope", "LifePoint", "RihaTerget", "SelfDo",
                             "AskFarmily", "DiseseCare", "Variation", "Remark"}) {
        QWidget *control = form.planForm().control(QString::fromLatin1(name));
        QVERIFY2(control != nullptr && form.planForm().panel(2)->isAncestorOf(control), name);
    }
    QCOMPARE(form.planForm().control<QCheckBox>("Exercise")->text(), QStringLiteral("運動器機能障害："));
    QCOMPARE(form.planForm().control<QCheckBox>("EtcBox")->text(), QStringLiteral("その他："));
    QCOMPARE(form.planForm().panel(1)->size(), QSize(687, 990));
    QCOMPARE(form.planForm().panel(2)->size(), QSize(687, 800));
    QVERIFY(form.planForm().panel(2)->captions().contains(QStringLiteral("ご本人・ご家族サイン：")));
}

void StartupTest::fixedLists()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    QCOMPARE(form.planForm().control<QComboBox>("SexBox")->count(), 2);
    QCOMPARE(form.planForm().control<QComboBox>("SexBox")->itemText(1), QStringLiteral("女性"));
    QVERIFY(!form.planForm().control<QComboBox>("SexBox")->isEditable());
    QCOMPARE(form.planForm().control<QComboBox>("KaigoBox")->count(), 8);
    QCOMPARE(form.planForm().control<QComboBox>("KaigoBox")->itemText(0), QStringLiteral("要支援１"));
    QCOMPARE(form.planForm().control<QComboBox>("KaigoBox")->itemText(6), QStringLiteral("要介護５"));
    QCOMPARE(form.planForm().control<QComboBox>("KaigoBox")->itemText(7), QString());
}

void StartupTest::tabOrderFollowsTheRecord()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const auto tabFrom = [&](QWidget *start) {
        start->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget();
    };
    form.planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田"));
    QCOMPARE(tabFrom(form.planForm().control<TEdit>("PlanDateEdit")),
             static_cast<QWidget *>(form.planForm().control<TEdit>("NameEdit")));
    // Reached by Tab: the caret at the end, nothing selected.
    QVERIFY(!form.planForm().control<TEdit>("NameEdit")->hasSelectedText());
    QCOMPARE(form.planForm().control<TEdit>("NameEdit")->cursorPosition(), 2);
    QCOMPARE(tabFrom(form.planForm().control<TEdit>("NameEdit")),
             static_cast<QWidget *>(form.planForm().control<QComboBox>("SexBox")));
    QCOMPARE(tabFrom(form.planForm().control<QComboBox>("SexBox")),
             static_cast<QWidget *>(form.planForm().control<TEdit>("BirthEdit")));
    QCOMPARE(tabFrom(form.planForm().control<TEdit>("BirthEdit")),
             static_cast<QWidget *>(form.planForm().control<QComboBox>("KaigoBox")));
    QCOMPARE(tabFrom(form.planForm().control<QComboBox>("KaigoBox")),
             static_cast<QWidget *>(form.planForm().control<TMemo>("KenkouMemo")));
    QCOMPARE(tabFrom(form.planForm().control<TEdit>("TaiinEdit")),
             static_cast<QWidget *>(form.planForm().control<QCheckBox>("Exercise")));
    // A table row is read from left to right: its five marks, its texts,
    // its priority mark.
    QCOMPARE(tabFrom(form.planForm().control<TEdit>("HDSEdit")), form.planForm().control(formnames::abc(0, 0)));
    QCOMPARE(tabFrom(form.planForm().control(formnames::abc(0, 4))), form.planForm().control(formnames::goods(0)));
    QCOMPARE(tabFrom(form.planForm().control(formnames::time(0))), form.planForm().control("Special0"));
    // An untouched period cell's blank gives way to the first key.
    QCOMPARE(tabFrom(form.planForm().control(formnames::kaigo(1))), form.planForm().control(formnames::time(1)));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("3"));
    QCOMPARE(form.planForm().control<TEdit>(formnames::time(1))->text(), QStringLiteral("3"));
    QCOMPARE(tabFrom(form.planForm().control("Special0")), form.planForm().control(formnames::abc(1, 0)));
    QCOMPARE(tabFrom(form.planForm().control("Special12")),
             static_cast<QWidget *>(form.planForm().control<TMemo>("PTOTST0")));
    QCOMPARE(tabFrom(form.planForm().control<TMemo>("Jitchi0")), form.planForm().control(formnames::abc(20, 0)));
    QCOMPARE(tabFrom(form.planForm().control("Special27")),
             static_cast<QWidget *>(form.planForm().control<TMemo>("PTOTST1")));

    // Past the last control of a page the focus reaches the first control
    // again through the page tabs only; the scroll box holding the page is
    // no stop.
    const auto walkFrom = [&](QWidget *start, QWidget *target) {
        start->setFocus();
        QWidgetList stops;
        while (stops.size() < 5 && QApplication::focusWidget() != target) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            stops << QApplication::focusWidget();
        }
        return stops;
    };
    // A page's first and last controls that take the focus, in field order.
    const auto pageEnds = [&](int page) {
        QWidget *first = nullptr;
        QWidget *last = nullptr;
        for (const planfile::PlanField &field : planfile::kPlanFields) {
            QWidget *control = form.planForm().control(field);
            if (field.page == page && control->focusPolicy() != Qt::NoFocus) {
                first = first != nullptr ? first : control;
                last = control;
            }
        }
        return std::pair(first, last);
    };
    const auto [page1First, page1Last] = pageEnds(1);
    const QWidgetList fromPage1 = walkFrom(page1Last, page1First);
    QCOMPARE(fromPage1.size(), 2);
    QVERIFY(qobject_cast<QTabBar *>(fromPage1.first()) != nullptr);
    form.planForm().setCurrentWidget(form.planForm().page(2));
    const auto [page2First, page2Last] = pageEnds(2);
    const QWidgetList fromPage2 = walkFrom(page2Last, page2First);
    QCOMPARE(fromPage2.size(), 2);
    QVERIFY(qobject_cast<QTabBar *>(fromPage2.first()) != nullptr);
}

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
