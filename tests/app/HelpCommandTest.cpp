// "ヘルプ" → "トピックス": the manual in the browser, or the maker's page
// when there is no manual.

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

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
    f.form->HelpMenuClick();
    const QString beside = bin + QStringLiteral("/Ovilant.html");
    writeManual(beside);
    f.form->HelpMenuClick();
    QCOMPARE(f.launcher->opened, (QList<QUrl>{QUrl::fromLocalFile(installed), QUrl::fromLocalFile(beside)}));
    QCOMPARE(f.prompter->shown.size(), 0);
}

void HelpCommandTest::aManualThatCannotBeOpenedIsReported()
{
    WindowFixture f;
    writeManual(f.dir.filePath(QStringLiteral("Ovilant.html")));
    f.launcher->openSucceeds = false;
    f.form->HelpMenuClick();
    QCOMPARE(f.launcher->opened.size(), 1);
    QCOMPARE(f.prompter->shown.size(), 1);
    const FakePrompter::Shown &box = f.prompter->shown.at(0);
    QCOMPARE(box.caption, QStringLiteral("エラー"));
    QCOMPARE(box.buttons, QList<Prompter::Button>{Prompter::Button::Abort});
    QCOMPARE(box.text, QStringLiteral("There is no application associated with the given filename extension."));
}

QTEST_MAIN(HelpCommandTest)
#include "HelpCommandTest.moc"
