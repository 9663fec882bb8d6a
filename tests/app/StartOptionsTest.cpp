// Starting the editor: a plan file named on the command line is opened as
// the open command opens the file chosen in its dialog, with the same
// messages for files it refuses; the arguments the program accepts and the
// ones it refuses; Qt's own dialog texts in Japanese.

#include "app/FormControls.h"
#include "app/GuiText.h"
#include "app/StartOptions.h"
#include "settings/Registory.h"
#include "TestSupport.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

// A plan file as the editor saves it, with the subject marker changed from
// ＲＩＨＡ to ＲＩＨＢ (same length, so the file stays readable). The marker
// may be written as CP932 bytes or as UTF-16, plain or in hex.
QByteArray withOtherSubject(QByteArray plan)
{
    const QString from = QStringLiteral("ＲＩＨＡ");
    const QString to = QStringLiteral("ＲＩＨＢ");
    const auto cp932 = [](const QString &text) {
        const std::string bytes = guitext::toCp932(text);
        return QByteArray(bytes.data(), qsizetype(bytes.size()));
    };
    const auto utf16 = [](const QString &text) {
        QByteArray bytes;
        for (const QChar c : text) {
            bytes.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
        }
        return bytes;
    };
    const QList<QPair<QByteArray, QByteArray>> forms{{cp932(from), cp932(to)}, {utf16(from), utf16(to)}};
    for (const auto &[before, after] : forms) {
        for (const bool hex : {false, true}) {
            const QByteArray written = hex ? before.toHex().toUpper() : before;
            if (plan.contains(written)) {
                return plan.replace(written, hex ? after.toHex().toUpper() : after);
            }
        }
    }
    return plan;
}

} // namespace

class StartOptionsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void namedPlanIsOpenedAsByTheOpenCommand();
    void refusedFilesGetTheOpenCommandsMessage_data();
    void refusedFilesGetTheOpenCommandsMessage();
    void arguments_data();
    void arguments();
    void programRefusesTwoFilesWithItsUsage();
    void qtDialogsSpeakJapanese();

private:
    TestMainForm &form() { return *f->form; }
    QString plansFolder() const { return f->dir.filePath(QStringLiteral("plans")); }
    // Saves a filled plan with the first save command; returns its path.
    QString savePlan();
    // The box a fresh window shows for `path`, named on the command line.
    FakePrompter::Shown openedAtStart(const QString &path, bool *opened);

    std::unique_ptr<WindowFixture> f;
};

void StartOptionsTest::init()
{
    f = std::make_unique<WindowFixture>();
    QVERIFY(QDir().mkpath(plansFolder()));
    form().Registory->SaveFolder = plansFolder();
}

void StartOptionsTest::cleanup()
{
    f.reset();
}

QString StartOptionsTest::savePlan()
{
    form().NewMenuClick();
    fillSampleData(form());
    form().NewSaveMenuClick();
    const QStringList files = QDir(plansFolder()).entryList(QDir::Files);
    return files.size() == 1 ? QDir(plansFolder()).filePath(files.first()) : QString();
}

void StartOptionsTest::namedPlanIsOpenedAsByTheOpenCommand()
{
    const QString path = savePlan();
    QVERIFY2(!path.isEmpty(), "the plan must be saved");

    // A second window, as a new start of the program, with the file named.
    std::unique_ptr<TestMainForm> started = f->makeWindow();
    started->show();
    QVERIFY(QTest::qWaitForWindowExposed(started.get()));
    f->prompter->shown.clear();
    QVERIFY(started->openPlanFile(path));

    QVERIFY2(f->prompter->shown.isEmpty(), qPrintable(f->prompter->shown.value(0).text));
    QCOMPARE(started->planForm().control<TEdit>("NameEdit")->text(), QStringLiteral("山田 太郎"));
    QCOMPARE(started->planForm().control<QLabel>("UserLabel")->text(), QStringLiteral("山田 太郎"));
    QCOMPARE(started->planForm().control<TMemo>("RihaTerget")->Text(),
             form().planForm().control<TMemo>("RihaTerget")->Text());
    QCOMPARE(started->planForm().control<TEdit>("PlanDateEdit")->text(),
             form().planForm().control<TEdit>("PlanDateEdit")->text());
    QCOMPARE(started->Registory->OpenFolder, QDir::toNativeSeparators(plansFolder()));
    QVERIFY(!started->Modified);
    // Unlocked on page one, ready for editing and saving.
    QVERIFY(started->planForm().isVisible());
    QCOMPARE(started->planForm().currentWidget(), started->planForm().page(1));
    QVERIFY(started->findChild<QAction *>(QStringLiteral("NewSaveMenu"))->isEnabled());
    QVERIFY(started->findChild<QAction *>(QStringLiteral("OldSaveMenu"))->isEnabled());
    QVERIFY(!started->KeyPreview);
    started->Modified = false;
    started->close();
}

FakePrompter::Shown StartOptionsTest::openedAtStart(const QString &path, bool *opened)
{
    std::unique_ptr<TestMainForm> started = f->makeWindow();
    started->show();
    f->prompter->shown.clear();
    *opened = started->openPlanFile(path);
    // The window stays locked: nothing was opened.
    if (started->planForm().isVisible() || started->findChild<QAction *>(QStringLiteral("NewSaveMenu"))->isEnabled() ||
        !started->KeyPreview) {
        qWarning("the window left its locked state");
        *opened = true;
    }
    return f->prompter->shown.value(0, FakePrompter::Shown{Prompter::Kind::Information, {}, {}, {}});
}

void StartOptionsTest::refusedFilesGetTheOpenCommandsMessage_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("plan with another subject") << QStringLiteral("subject");
    QTest::newRow("PDF of another program") << QStringLiteral("foreign");
    QTest::newRow("missing file") << QStringLiteral("missing");
}

void StartOptionsTest::refusedFilesGetTheOpenCommandsMessage()
{
    QFETCH(QString, kind);
    const QString path = f->dir.filePath(QStringLiteral("other/file.pdf"));
    QVERIFY(QDir().mkpath(f->dir.filePath(QStringLiteral("other"))));
    if (kind == QStringLiteral("subject")) {
        QFile saved(savePlan());
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        const QByteArray changed = withOtherSubject(bytes);
        QVERIFY2(changed != bytes, "the plan file must carry the subject marker");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(changed) == changed.size());
    } else if (kind == QStringLiteral("foreign")) {
#ifdef _WIN32
        QSKIP("qpdf, which writes the other program's PDF, runs on Linux only.");
#endif
        QProcess qpdf;
        qpdf.start(QStringLiteral("qpdf"), {QStringLiteral("--empty"), path});
        QVERIFY2(qpdf.waitForFinished(30000) && qpdf.exitCode() == 0, "qpdf --empty must run");
    }

    // The open command with the same file chosen in its dialog.
    f->prompter->shown.clear();
    f->chooser->answer = path;
    form().OpenMenuClick();
    QCOMPARE(f->prompter->shown.size(), 1);
    const FakePrompter::Shown byMenu = f->prompter->shown.first();

    bool opened = true;
    const FakePrompter::Shown atStart = openedAtStart(path, &opened);
    QVERIFY(!opened);
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(atStart.kind, Prompter::Kind::Error);
    QCOMPARE(atStart.caption, QStringLiteral("エラー"));
    QCOMPARE(atStart.text, byMenu.text);
    QCOMPARE(atStart.buttons, QList<Prompter::Button>{Prompter::Button::Ok});
    if (kind == QStringLiteral("subject")) {
        QCOMPARE(atStart.text, QStringLiteral("このＰＤＦファイルはリハビリ実施計画書ではありません。"));
    }
    QVERIFY(!atStart.text.isEmpty());
}

void StartOptionsTest::arguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("start");
    QTest::addColumn<QString>("planFile");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("toStdErr");
    QTest::addColumn<QString>("outputStart");

    const QString usage = QStringLiteral("使い方: ovilant [オプション] [計画書.pdf]");
    const QString p = QStringLiteral("ovilant");
    QTest::newRow("nothing") << QStringList{p} << true << QString() << 0 << false << QString();
    QTest::newRow("one file") << QStringList{p, QStringLiteral("計画 山田.pdf")} << true
                              << QStringLiteral("計画 山田.pdf") << 0 << false << QString();
    QTest::newRow("file after --") << QStringList{p, QStringLiteral("--"), QStringLiteral("-x.pdf")} << true
                                   << QStringLiteral("-x.pdf") << 0 << false << QString();
    QTest::newRow("two files") << QStringList{p, QStringLiteral("a.pdf"), QStringLiteral("b.pdf")} << false
                               << QString() << 2 << true << QStringLiteral("ovilant: ");
    QTest::newRow("unknown option") << QStringList{p, QStringLiteral("--print"), QStringLiteral("a.pdf")} << false
                                    << QString() << 2 << true << QStringLiteral("ovilant: 不明なオプションです: print");
    QTest::newRow("version") << QStringList{p, QStringLiteral("--version")} << false << QString() << 0 << false
                             << startup::versionText() + QLatin1Char('\n');
    QTest::newRow("help") << QStringList{p, QStringLiteral("-h")} << false << QString() << 0 << false << usage;
}

void StartOptionsTest::arguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, start);
    QFETCH(QString, planFile);
    QFETCH(int, exitCode);
    QFETCH(bool, toStdErr);
    QFETCH(QString, outputStart);

    const startup::StartRequest request = startup::readArguments(arguments);
    QCOMPARE(request.start, start);
    QCOMPARE(request.planFile, planFile);
    QCOMPARE(request.exitCode, exitCode);
    QCOMPARE(request.toStdErr, toStdErr);
    QVERIFY2(request.output.startsWith(outputStart), qPrintable(request.output));
    if (exitCode == 2) {
        QVERIFY2(request.output.endsWith(QStringLiteral("使い方: ovilant [オプション] [計画書.pdf]\n")),
                 qPrintable(request.output));
    }
    if (start) {
        QVERIFY(request.output.isEmpty());
    }
}

// The program itself, without a display: the usage on standard error,
// nothing on standard output, exit status 2; "--version" on standard output.
void StartOptionsTest::programRefusesTwoFilesWithItsUsage()
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(OVILANT_EXE), {QStringLiteral("a.pdf"), QStringLiteral("b.pdf")});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 2);
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
    QVERIFY(QString::fromUtf8(program.readAllStandardError()).contains(QStringLiteral("使い方: ovilant")));

    program.start(QStringLiteral(OVILANT_EXE), {QStringLiteral("--version")});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()), startup::versionText() + QLatin1Char('\n'));
}

void StartOptionsTest::qtDialogsSpeakJapanese()
{
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(QDir(translations).filePath(QStringLiteral("qtbase_ja.qm")))) {
        QSKIP("Qt's Japanese translations are not installed (Debian: qt6-translations-l10n)");
    }
    QVERIFY(startup::useJapanese(*QCoreApplication::instance()));
    QCOMPARE(QLocale().language(), QLocale::Japanese);

    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const auto *lookIn = dialog.findChild<QLabel *>(QStringLiteral("lookInLabel"));
    QVERIFY(lookIn != nullptr);
    QVERIFY2(!lookIn->text().contains(QStringLiteral("Look in")), qPrintable(lookIn->text()));
}

QTEST_MAIN(StartOptionsTest)
#include "StartOptionsTest.moc"
