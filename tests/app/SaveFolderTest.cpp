// "設定" → "計画書保存フォルダー": the folder chooser and the save folder.

#include "dialogs/FolderForm.h"
#include "settings/Registory.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

class SaveFolderTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void chooserShowsTheSaveFolderAndOnlySetChangesIt();
    void vanishedFolderIsReportedAndTheChooserOpensAllTheSame();
    void newFolderIsMadeInTheSelectedFolderAndChosen();

private:
    // Opens the chooser, runs `act` on it while it is shown and returns the
    // save folder afterwards.
    QString runChooser(const std::function<void(TFolderForm &)> &act);
    QString sub(const char *name) const { return QDir::toNativeSeparators(f->dir.filePath(QString::fromUtf8(name))); }
    std::unique_ptr<WindowFixture> f;
};

void SaveFolderTest::init()
{
    f = std::make_unique<WindowFixture>();
    QDir(f->dir.path()).mkdir(QStringLiteral("病棟A"));
    QDir(f->dir.path()).mkdir(QStringLiteral("病棟B"));
}

void SaveFolderTest::cleanup()
{
    f.reset();
}

QString SaveFolderTest::runChooser(const std::function<void(TFolderForm &)> &act)
{
    bool ran = false;
    whenModalShown([&](QWidget *shown) {
        auto *chooser = qobject_cast<TFolderForm *>(shown);
        if (chooser == nullptr) {
            qWarning("the folder chooser did not appear");
            if (shown != nullptr) {
                shown->close();
            }
            return;
        }
        ran = true;
        act(*chooser);
        if (chooser->isVisible()) {
            qWarning("the test left the chooser open");
            chooser->Button2->click();
        }
    });
    f->form->findChild<QAction *>(QStringLiteral("SettingMenu"))->trigger();
    if (!ran) {
        qWarning("the chooser was not handled");
    }
    return f->form->Registory->SaveFolder;
}

void SaveFolderTest::chooserShowsTheSaveFolderAndOnlySetChangesIt()
{
    const QString a = sub("病棟A");
    const QString b = sub("病棟B");
    f->form->Registory->SaveFolder = a;

    // Choosing another folder and pressing "キャンセル" keeps the setting.
    QString shownAtOpen;
    QString shownAfterClick;
    bool homeExpanded = false;
    int listedInTemp = -1;
    QString saved = runChooser([&](TFolderForm &chooser) {
        QCOMPARE(chooser.windowTitle(), QStringLiteral("計画書保存フォルダー"));
        shownAtOpen = chooser.Edit1->text();
        QVERIFY2(chooser.Edit1->isReadOnly(), "the path field must be read-only");
        QCOMPARE(chooser.pathOf(chooser.ShellTreeView1->currentIndex()), a);
        homeExpanded = chooser.ShellTreeView1->isExpanded(chooser.indexOf(QDir::homePath()));
        // Folders only: the temporary folder also holds Stuff.txt and the settings file.
        auto *model = static_cast<QFileSystemModel *>(chooser.ShellTreeView1->model());
        const QModelIndex temp = chooser.indexOf(f->dir.path());
        QTRY_COMPARE(model->rowCount(temp), 2);
        listedInTemp = model->rowCount(temp);
        chooser.ShellTreeView1->setCurrentIndex(chooser.indexOf(b));
        shownAfterClick = chooser.Edit1->text();
        chooser.Button2->click();
    });
    QCOMPARE(shownAtOpen, a);
    QCOMPARE(shownAfterClick, b);
    QVERIFY2(homeExpanded, "the home folder should be opened out");
    QCOMPARE(listedInTemp, 2);
    QCOMPARE(saved, a);
    QCOMPARE(f->form->findChild<TFolderForm *>()->result(), TFolderForm::ResultCancel);

    // "設定" without touching the tree keeps the folder that was shown.
    saved = runChooser([&](TFolderForm &chooser) {
        shownAtOpen = chooser.Edit1->text();
        chooser.Button1->click();
    });
    QCOMPARE(shownAtOpen, a);
    QCOMPARE(saved, a);

    // A folder chosen in the tree and "設定"; Escape then answers Cancel.
    saved = runChooser([&](TFolderForm &chooser) {
        chooser.ShellTreeView1->setCurrentIndex(chooser.indexOf(b));
        chooser.Button1->click();
    });
    QCOMPARE(saved, b);
    QCOMPARE(f->form->findChild<TFolderForm *>()->result(), TFolderForm::ResultOk);
    saved = runChooser([&](TFolderForm &chooser) {
        chooser.ShellTreeView1->setCurrentIndex(chooser.indexOf(a));
        QTest::keyClick(&chooser, Qt::Key_Escape);
    });
    QCOMPARE(saved, b);
    QCOMPARE(f->prompter->shown.size(), 0);

    // The choice reaches the settings at exit.
    f->form->close();
    TRegistory stored(f->settingsFile());
    stored.LoadFolders();
    QCOMPARE(stored.SaveFolder, b);
}

void SaveFolderTest::vanishedFolderIsReportedAndTheChooserOpensAllTheSame()
{
    const QString gone = sub("閉鎖病棟");
    f->form->Registory->SaveFolder = gone;
    QString shown = QStringLiteral("not opened");
    QString saved = runChooser([&](TFolderForm &chooser) {
        shown = chooser.Edit1->text();
        chooser.Button1->click();
    });
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown.at(0).caption, QStringLiteral("エラー"));
    QCOMPARE(f->prompter->shown.at(0).text, QStringLiteral("パス設定エラー : \"") + gone + QLatin1Char('"'));
    // First use: nothing shown, and "設定" with nothing shown keeps the folder.
    QCOMPARE(shown, QString());
    QCOMPARE(saved, gone);

    // A later use shows what the field showed before: "設定" takes it.
    const QString a = sub("病棟A");
    f->form->Registory->SaveFolder = a;
    runChooser([](TFolderForm &chooser) { chooser.Button2->click(); });
    QVERIFY(QDir(a).removeRecursively());
    f->prompter->shown.clear();
    saved = runChooser([&](TFolderForm &chooser) {
        shown = chooser.Edit1->text();
        chooser.Button1->click();
    });
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(shown, a);
    QCOMPARE(saved, a);
}

void SaveFolderTest::newFolderIsMadeInTheSelectedFolderAndChosen()
{
    const QString a = sub("病棟A");
    f->form->Registory->SaveFolder = a;
    const QString saved = runChooser([&](TFolderForm &chooser) {
        chooser.NewFolder->click();
        QCOMPARE(chooser.Edit1->text(), QDir::toNativeSeparators(a + QStringLiteral("/新しいフォルダー")));
        chooser.ShellTreeView1->setCurrentIndex(chooser.indexOf(a));
        chooser.NewFolder->click();
        chooser.Button1->click();
    });
    QVERIFY2(QDir(a + QStringLiteral("/新しいフォルダー")).exists(), "first new folder missing");
    QCOMPARE(saved, QDir::toNativeSeparators(a + QStringLiteral("/新しいフォルダー (2)")));
    QVERIFY2(QDir(saved).exists(), "second new folder missing");
    QCOMPARE(f->prompter->shown.size(), 0);
}

QTEST_MAIN(SaveFolderTest)
#include "SaveFolderTest.moc"
