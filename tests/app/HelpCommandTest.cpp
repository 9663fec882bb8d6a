// "ヘルプ" → "トピックス" (F1): the manual in the editor's own window, or
// the maker's page when there is no manual.

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextBrowser>

namespace {

const QUrl kMakerPage(QStringLiteral("https://quenmark.example/ovilant/"));

void writeManual(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write("<html></html>");
}

} // namespace

class HelpCommandTest : public QObject {
    Q_OBJECT
private slots:
    void withoutTheManualTheMakersPageOpensSilently();
    void theManualBesideTheProgramOrInTheDocumentationFolderOpens();
    void aManualThatCannotBeOpenedIsReported();
};

void HelpCommandTest::withoutTheManualTheMakersPageOpensSilently()
{
    WindowFixture f;
    f.launcher->openSucceeds = false; // the outcome is not examined
    f.form->findChild<QAction *>(QStringLiteral("HelpMenu"))->trigger();
    QCOMPARE(f.launcher->opened, QList<QUrl>{kMakerPage});
    QCOMPARE(f.prompter->shown.size(), 0);
}

// The manual opens in the editor's own window (no desktop browser needed).
static QUrl shownManual(const TMainForm &form)
{
    const auto *browser = form.findChild<QTextBrowser *>(QStringLiteral("HelpBrowser"));
    return browser != nullptr && browser->window()->isVisible() ? browser->source() : QUrl();
}

void HelpCommandTest::theManualBesideTheProgramOrInTheDocumentationFolderOpens()
{
    // The program folder is bin/ of an installation: the documentation
    // folder is used while nothing lies beside the program.
    WindowFixture f;
    const QString bin = f.dir.filePath(QStringLiteral("bin"));
    QDir().mkpath(bin);
    f.form->ProgramDir = bin;
    const QString installed = f.dir.filePath(QStringLiteral("share/doc/ovilant/Ovilant.html"));
    writeManual(installed);
    auto *help = f.form->findChild<QAction *>(QStringLiteral("HelpMenu"));
    QCOMPARE(help->shortcut(), QKeySequence(Qt::Key_F1));
    help->trigger();
    QCOMPARE(shownManual(*f.form), QUrl::fromLocalFile(installed));
    const QString beside = bin + QStringLiteral("/Ovilant.html");
    writeManual(beside);
    f.form->HelpMenuClick();
    QCOMPARE(shownManual(*f.form), QUrl::fromLocalFile(beside));
    QVERIFY(f.launcher->opened.isEmpty());
    QCOMPARE(f.prompter->shown.size(), 0);
}

void HelpCommandTest::aManualThatCannotBeOpenedIsReported()
{
    WindowFixture f;
    const QString manual = f.dir.filePath(QStringLiteral("Ovilant.html"));
    writeManual(manual);
    QFile::setPermissions(manual, QFileDevice::WriteOwner);
    if (QFile probe(manual); probe.open(QIODevice::ReadOnly)) {
        QSKIP("this user reads every file (root)");
    }
    f.form->HelpMenuClick();
    QVERIFY(f.launcher->opened.isEmpty());
    QCOMPARE(f.prompter->shown.size(), 1);
    const FakePrompter::Shown &box = f.prompter->shown.at(0);
    QCOMPARE(box.caption, QStringLiteral("エラー"));
    QCOMPARE(box.text, QStringLiteral("マニュアルを開けません。\n") + QDir::toNativeSeparators(manual));
}

QTEST_MAIN(HelpCommandTest)
#include "HelpCommandTest.moc"
