// The two save commands on the real window: the file they write and its
// name, the status bar's word on success, cancelling, the date checks, a
// file held by another program, failed writes (which keep `Modified`, the
// old file, leave no temporary file behind and say why), a save that works
// after a failure, the question before replacing a plan file that is not
// this window's own, and special files at the plan's name.

#include "ControlNames.h"
#include "plan/Common.h"
#include "plan/Cp932.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "planfile/PlanCheck.h"
#include "planio/PlanSave.h"
#include "settings/Registory.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString kInUse = QStringLiteral("PDFは、他で使用されています。\n保存できません。");
const QString kSystemError = QStringLiteral("*** System Error : PDFを作成できませんでした。");
const QString kOverwrite = QStringLiteral("同じ名前の計画書があります。\n上書きしますか？");

QByteArray bytesOf(const std::string &text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// How the plan file shows a Japanese text: its CP932 bytes in hex.
QByteArray printedHex(const char *utf8)
{
    return bytesOf(cp932::fromUtf8(utf8)).toHex().toUpper();
}

// Another program keeping the file open as a viewer does: with an advisory
// lock on Linux, with a sharing mode that refuses writers on Windows.
enum class Hold { Exclusive, Shared };

#ifdef _WIN32
class LockHolder {
public:
    LockHolder(const QString &path, Hold hold)
        : m_file(CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()), GENERIC_READ,
                             hold == Hold::Shared ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~LockHolder()
    {
        if (holds()) {
            CloseHandle(m_file);
        }
    }
    LockHolder(const LockHolder &) = delete;
    LockHolder &operator=(const LockHolder &) = delete;
    bool holds() const { return m_file != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_file;
};
#else
class LockHolder {
public:
    LockHolder(const QString &path, Hold hold) : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY))
    {
        const int operation = hold == Hold::Shared ? LOCK_SH : LOCK_EX;
        if (m_fd >= 0 && ::flock(m_fd, operation | LOCK_NB) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~LockHolder()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    LockHolder(const LockHolder &) = delete;
    LockHolder &operator=(const LockHolder &) = delete;
    bool holds() const { return m_fd >= 0; }

private:
    int m_fd;
};
#endif

} // namespace

class SaveCommandTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void todaysDateWritesTheNamedFileOfTheReport_data();
    void todaysDateWritesTheNamedFileOfTheReport();
    void planDateCommandUsesTheDateField();
    void savingTwiceOverwritesTheSameFile();
    void cancelChangesNothing();
    void lookAlikesAreListedBeforeSaving();
    void unreadablePlanDateIsADateError();
    void birthDateAfterThePlanDateIsADateError();
    void validationFaultStopsBeforeWriting();
    void validationKeepsTheActivePage();
    void fileHeldElsewhereIsRefusedAndUntouched_data();
    void fileHeldElsewhereIsRefusedAndUntouched();
    void failedWritesKeepModifiedAndTheOldFile();
    void nameWithAPathSeparatorWritesNothing();
    void saveAfterAFailureWorks();
    void anotherPlanFileIsReplacedOnlyWhenAgreed();
    void specialFileAtTheNameIsRefusedWithoutWaiting();

private:
    TestMainForm &form() { return *f->form; }
    QString folder() const { return f->dir.filePath(QStringLiteral("plans")); }
    QString planPath(const QString &name) const { return folder() + QLatin1Char('/') + name; }
    // Every file of the save folder but the lock file that says this
    // window holds its plan: a save leaves nothing else behind.
    QStringList folderEntries() const
    {
        QStringList entries = QDir(folder()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        // The lock and the note of who saved the plan lie beside it.
        entries.removeIf([](const QString &name) {
            return name.startsWith(QLatin1Char('.')) &&
                   (name.endsWith(QStringLiteral(".lock")) || name.endsWith(QStringLiteral(".saved")));
        });
        return entries;
    }
    // The file the report makes of the window's plan at the fixed clock.
    QByteArray expectedFile() const
    {
        const TDateTime now = f->clock->value;
        return bytesOf(MakePlanPdf(viewPlan(*f->form), PlanCreatorText(now), now));
    }
    void startPlan();

    std::unique_ptr<WindowFixture> f;
};

void SaveCommandTest::init()
{
    f = std::make_unique<WindowFixture>();
    QVERIFY(QDir().mkpath(folder()));
    form().Registory->SaveFolder = folder();
}

void SaveCommandTest::cleanup()
{
    f.reset();
}

void SaveCommandTest::startPlan()
{
    form().NewMenuClick();
    fillSampleData(form());
    form().Modified = true;
    f->prompter->shown.clear();
}

void SaveCommandTest::todaysDateWritesTheNamedFileOfTheReport_data()
{
    QTest::addColumn<TDateTime>("now");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("April 1st") << testNow() << QStringLiteral("実施計画 山田 太郎 2003_4_1.pdf");
    QTest::newRow("January 31st") << encodeDateTime(2024, 1, 31, 23, 59, 58)
                                  << QStringLiteral("実施計画 山田 太郎 2024_1_31.pdf");
    QTest::newRow("December 9th") << encodeDateTime(2019, 12, 9, 0, 0, 1)
                                  << QStringLiteral("実施計画 山田 太郎 2019_12_9.pdf");
}

void SaveCommandTest::todaysDateWritesTheNamedFileOfTheReport()
{
    QFETCH(TDateTime, now);
    QFETCH(QString, fileName);
    startPlan();
    f->clock->value = now;
    // The plan-date field shows another day: the first command ignores it.
    form().planForm().control<TEdit>("PlanDateEdit")->setText(QStringLiteral("平成10年 1月 5日"));

    form().NewSaveMenuClick();

    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown[0].kind, Prompter::Kind::Confirmation);
    QCOMPARE(f->prompter->shown[0].text, QStringLiteral("今日の日付で保存します。\n保存しますか？"));
    QCOMPARE(form().planForm().planDate(), now);
    QCOMPARE(folderEntries(), QStringList{fileName});
    const QByteArray written = readAll(planPath(fileName));
    QVERIFY2(written == expectedFile(), "the saved file differs from the report of the same plan");
    QVERIFY(written.contains(printedHex("山田 太郎")));
    QVERIFY(!form().Modified);
    QCOMPARE(form().statusBar()->currentMessage(), QStringLiteral("保存しました: ") + QDir::toNativeSeparators(planPath(fileName)));
    QCOMPARE(form().windowTitle(), QStringLiteral("リハビリ実施計画書 - ") + fileName + QStringLiteral("[*]"));
    QVERIFY(!form().isWindowModified());
    QCOMPARE(form().planForm().control<TEdit>("PlanDateEdit")->text(), guitext::fromCp932(FormatEraDate(now)));
}

void SaveCommandTest::planDateCommandUsesTheDateField()
{
    startPlan();
    form().planForm().control<TEdit>("PlanDateEdit")->setText(QStringLiteral("令和 6年 1月31日"));

    form().OldSaveMenuClick();

    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(f->prompter->shown[0].text, QStringLiteral("開いた時の日付で保存します。\n保存しますか？"));
    QCOMPARE(form().planForm().planDate(), encodeDate(2024, 1, 31));
    // The age refers to the plan date: born 昭和15年6月12日, 83 on 2024-01-31.
    QCOMPARE(form().planForm().age(), 83);
    const QString name = QStringLiteral("実施計画 山田 太郎 2024_1_31.pdf");
    QCOMPARE(folderEntries(), QStringList{name});
    QVERIFY(readAll(planPath(name)) == expectedFile());
    QVERIFY(!form().Modified);
}

void SaveCommandTest::savingTwiceOverwritesTheSameFile()
{
    startPlan();
    form().NewSaveMenuClick();
    form().planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田 太郎"));
    form().planForm().control<TMemo>("Remark")->setText(QStringLiteral("二回目の保存"));
    form().NewSaveMenuClick();

    const QString name = QStringLiteral("実施計画 山田 太郎 2003_4_1.pdf");
    QCOMPARE(folderEntries(), QStringList{name});
    const QByteArray written = readAll(planPath(name));
    QVERIFY(written == expectedFile());
    QVERIFY(written.contains(printedHex("二回目の保存")));
}

void SaveCommandTest::cancelChangesNothing()
{
    startPlan();
    const TDateTime before = form().planForm().planDate();
    f->prompter->answers = {Prompter::Button::Cancel, Prompter::Button::Cancel};

    form().NewSaveMenuClick();
    form().OldSaveMenuClick();

    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(form().planForm().planDate(), before);
    QVERIFY(form().Modified);
    QVERIFY(folderEntries().isEmpty());
}

void SaveCommandTest::lookAlikesAreListedBeforeSaving()
{
    startPlan();
    form().planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田〜太郎−"));
    f->prompter->answers = {Prompter::Button::Ok, Prompter::Button::Cancel, Prompter::Button::Ok,
                            Prompter::Button::Save};

    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(f->prompter->shown[1].kind, Prompter::Kind::Warning);
    QCOMPARE(f->prompter->shown[1].list,
             QStringList{QStringLiteral("氏名：「〜」→「～」、「−」→「－」")});
    QVERIFY(folderEntries().isEmpty());

    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 4);
    QCOMPARE(folderEntries().size(), 1);
}

void SaveCommandTest::unreadablePlanDateIsADateError()
{
    startPlan();
    form().planForm().setCurrentWidget(form().planForm().page(2));
    form().planForm().control<TEdit>("PlanDateEdit")->setText(QStringLiteral("平成15年13月 1日"));
    const TDateTime before = form().planForm().planDate();

    form().OldSaveMenuClick();

    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(f->prompter->shown[1].kind, Prompter::Kind::Information);
    QCOMPARE(f->prompter->shown[1].text, QStringLiteral("日付エラーです。"));
    QCOMPARE(f->prompter->shown[1].buttons, QList<Prompter::Button>{Prompter::Button::Ok});
    QCOMPARE(form().planForm().currentWidget(), form().planForm().page(1));
    QTRY_VERIFY2(form().planForm().control<TEdit>("PlanDateEdit")->hasFocus(),
                 "the plan-date field should get the focus");
    QCOMPARE(form().planForm().planDate(), before);
    QVERIFY(form().Modified);
    QVERIFY(folderEntries().isEmpty());
}

// 令和20年 on a plan of 令和8年: refused like a wrong date, before any file.
void SaveCommandTest::birthDateAfterThePlanDateIsADateError()
{
    startPlan();
    f->clock->value = encodeDateTime(2026, 5, 1, 9, 0, 0);
    form().planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("令和20年 1月 1日"));
    form().planForm().control<TEdit>("NameEdit")->setFocus();

    form().NewSaveMenuClick();

    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(f->prompter->shown[1].text, QStringLiteral("日付エラーです。"));
    QTRY_VERIFY2(form().planForm().control<TEdit>("BirthEdit")->hasFocus(),
                 "the birth date field should get the focus");
    QVERIFY(form().Modified);
    QVERIFY(folderEntries().isEmpty());

    // Born on the plan date itself is fine.
    form().planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("令和 8年 5月 1日"));
    f->prompter->shown.clear();
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(folderEntries().size(), 1);
    QCOMPARE(form().planForm().age(), 0);
}

void SaveCommandTest::validationFaultStopsBeforeWriting()
{
    startPlan();
    form().planForm().control<TEdit>("HDSEdit")->clear();
    const TDateTime before = form().planForm().planDate();

    form().NewSaveMenuClick();

    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(f->prompter->shown[1].text, guitext::fromCp932(planfile::hdsDigitsMessage()));
    QVERIFY2(form().planForm().planDate() == before, "a refused save leaves the plan date held as it was");
    QVERIFY(form().Modified);
    QVERIFY(folderEntries().isEmpty());
}

void SaveCommandTest::validationKeepsTheActivePage()
{
    startPlan();
    form().planForm().setCurrentWidget(form().planForm().page(2));
    form().NewSaveMenuClick();
    QCOMPARE(form().planForm().currentWidget(), form().planForm().page(2));
    QCOMPARE(folderEntries().size(), 1);
}

void SaveCommandTest::fileHeldElsewhereIsRefusedAndUntouched_data()
{
    QTest::addColumn<Hold>("hold");
    QTest::newRow("exclusive lock") << Hold::Exclusive;
    QTest::newRow("shared lock") << Hold::Shared;
}

void SaveCommandTest::fileHeldElsewhereIsRefusedAndUntouched()
{
    QFETCH(Hold, hold);
    startPlan();
    const QString path = planPath(QStringLiteral("実施計画 山田 太郎 2003_4_1.pdf"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old plan");
    }
    const TDateTime before = form().planForm().planDate();
    {
        const LockHolder viewer(path, hold);
        QVERIFY(viewer.holds());
        form().NewSaveMenuClick();
    }

    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(f->prompter->shown[1].kind, Prompter::Kind::Error);
    QCOMPARE(f->prompter->shown[1].caption, QStringLiteral("エラー"));
    QCOMPARE(f->prompter->shown[1].text, kInUse);
    QCOMPARE(f->prompter->shown[1].buttons, QList<Prompter::Button>{Prompter::Button::Ok});
    QCOMPARE(readAll(path), QByteArray("old plan"));
    QCOMPARE(folderEntries().size(), 1);
    QVERIFY(form().Modified);
    // The validation has run on the form, dated today.
    QCOMPARE(form().planForm().planDate(), before);
    QCOMPARE(viewPlan(form()).Name, cp932::fromUtf8("山田 太郎"));

    // Once the viewer lets go, the same save goes through (after the
    // question, as the file is not this window's).
    f->prompter->shown.clear();
    f->prompter->answers = {Prompter::Button::Ok, Prompter::Button::Ok};
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(f->prompter->shown[1].text, kOverwrite);
    QVERIFY(readAll(path) == expectedFile());
    QVERIFY(!form().Modified);
}

void SaveCommandTest::failedWritesKeepModifiedAndTheOldFile()
{
    startPlan();

    // The save folder is gone.
    form().Registory->SaveFolder = f->dir.filePath(QStringLiteral("missing"));
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(f->prompter->shown[1].kind, Prompter::Kind::Error);
    QCOMPARE(f->prompter->shown[1].text, kSystemError + QStringLiteral("\n保存先のフォルダーが見つかりません。"));
    QCOMPARE(f->prompter->shown[1].buttons, QList<Prompter::Button>{Prompter::Button::Ok});
    QVERIFY(form().Modified);
    QVERIFY(!QFileInfo::exists(f->dir.filePath(QStringLiteral("missing"))));

    // The target name is taken by a folder holding an old plan: nothing in
    // it changes and no temporary file is left beside it.
    form().Registory->SaveFolder = folder();
    const QString path = planPath(QStringLiteral("実施計画 山田 太郎 2003_4_1.pdf"));
    QVERIFY(QDir().mkpath(path));
    {
        QFile old(path + QStringLiteral("/old.pdf"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old plan");
    }
    f->prompter->shown.clear();
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(f->prompter->shown[1].text, kSystemError + QStringLiteral("\n同じ名前のフォルダーがあります。"));
    QVERIFY(form().Modified);
    QCOMPARE(readAll(path + QStringLiteral("/old.pdf")), QByteArray("old plan"));
    QCOMPARE(QDir(folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("実施計画 山田 太郎 2003_4_1.pdf")});
    QCOMPARE(QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("old.pdf")});
}

void SaveCommandTest::nameWithAPathSeparatorWritesNothing()
{
    startPlan();
    // "実施計画 山田/../../x 2003_4_1.pdf" would climb out of the save
    // folder; a folder named after the first part exists, so only the name
    // check stops it.
    QVERIFY(QDir().mkpath(planPath(QStringLiteral("実施計画 山田"))));
    form().planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田/../../x"));
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 2);
    QVERIFY(f->prompter->shown[1].text.startsWith(kSystemError + QLatin1Char('\n')));
    QVERIFY(form().Modified);
    QVERIFY(QDir(f->dir.path()).entryList({QStringLiteral("x*")}).isEmpty());
    QVERIFY(QDir(planPath(QStringLiteral("実施計画 山田"))).isEmpty());

    // A backslash is no less a separator; the trail byte 0x5C of a
    // double-byte character ("表") is not one.
    form().planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田\\太郎"));
    f->prompter->shown.clear();
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 2);
    QVERIFY(f->prompter->shown[1].text.startsWith(kSystemError + QLatin1Char('\n')));
    QVERIFY(folderEntries().isEmpty());

    form().planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("表 太郎"));
    f->prompter->shown.clear();
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 1);
    QCOMPARE(folderEntries(), QStringList{QStringLiteral("実施計画 表 太郎 2003_4_1.pdf")});
    QVERIFY(!form().Modified);
}

void SaveCommandTest::saveAfterAFailureWorks()
{
    startPlan();
    form().Registory->SaveFolder = f->dir.filePath(QStringLiteral("later"));
    form().NewSaveMenuClick();
    QVERIFY(f->prompter->shown.last().text.startsWith(kSystemError + QLatin1Char('\n')));

    QVERIFY(QDir().mkpath(form().Registory->SaveFolder));
    f->prompter->shown.clear();
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 1);
    const QString path = form().Registory->SaveFolder + QStringLiteral("/実施計画 山田 太郎 2003_4_1.pdf");
    QVERIFY2(readAll(path) == expectedFile(), "the save after a failed one must write the complete plan");
    QVERIFY(!form().Modified);
}

// A plan file of the same name that this window did not open or save (the
// same patient saved on the same day elsewhere) is replaced only after the
// question; the window's own file is saved again without it.
void SaveCommandTest::anotherPlanFileIsReplacedOnlyWhenAgreed()
{
    startPlan();
    const QString path = planPath(QStringLiteral("実施計画 山田 太郎 2003_4_1.pdf"));
    {
        QFile other(path);
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("another plan");
    }
    f->prompter->answers = {Prompter::Button::Ok, Prompter::Button::Cancel};
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(f->prompter->shown[1].kind, Prompter::Kind::Confirmation);
    QCOMPARE(f->prompter->shown[1].caption, QStringLiteral("確認"));
    QCOMPARE(f->prompter->shown[1].text, kOverwrite);
    // Enter (the first button) keeps the other file.
    QCOMPARE(f->prompter->shown[1].buttons, (QList<Prompter::Button>{Prompter::Button::Cancel, Prompter::Button::Ok}));
    QCOMPARE(readAll(path), QByteArray("another plan"));
    QVERIFY(form().Modified);
    QCOMPARE(folderEntries().size(), 1);

    f->prompter->shown.clear();
    f->prompter->answers = {Prompter::Button::Ok, Prompter::Button::Ok};
    form().NewSaveMenuClick(); // OK twice
    QCOMPARE(f->prompter->shown.size(), 2);
    QVERIFY(readAll(path) == expectedFile());
    QVERIFY(!form().Modified);

    // Saved by this window: saved again without the question.
    form().planForm().control<TMemo>("Remark")->setText(QStringLiteral("二回目"));
    f->prompter->shown.clear();
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 1);
    QVERIFY(readAll(path) == expectedFile());

    // Another window saves the same plan meanwhile: asked again.
    {
        const std::unique_ptr<TestMainForm> other = f->makeWindow();
        other->Registory->SaveFolder = folder();
        other->NewMenuClick();
        fillSampleData(*other);
        f->prompter->shown.clear();
        f->prompter->answers = {Prompter::Button::Ok, Prompter::Button::Ok};
        other->NewSaveMenuClick();
        QCOMPARE(f->prompter->shown.size(), 2);
        QCOMPARE(f->prompter->shown[1].text, kOverwrite);
    }
    f->prompter->shown.clear();
    f->prompter->answers = {Prompter::Button::Ok, Prompter::Button::Cancel};
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 2);
    // This window's own plan file, changed since it saved it: the question
    // says so rather than asking about another plan of the same name.
    QVERIFY2(f->prompter->shown[1].text.startsWith(QStringLiteral("この計画書は開いた後に他で変更されています")),
             qPrintable(f->prompter->shown[1].text));
    QVERIFY(!readAll(path).contains(printedHex("二回目")));
}

// A FIFO at the plan's name: neither the in-use test nor the save waits for
// a writer; the save is refused and says why.
void SaveCommandTest::specialFileAtTheNameIsRefusedWithoutWaiting()
{
#ifdef _WIN32
    QSKIP("Windows has no FIFO in a folder.");
#else
    startPlan();
    const QString path = planPath(QStringLiteral("実施計画 山田 太郎 2003_4_1.pdf"));
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 2);
    QCOMPARE(f->prompter->shown[1].kind, Prompter::Kind::Error);
    QCOMPARE(f->prompter->shown[1].text,
             kSystemError + QStringLiteral("\n同じ名前で、ファイルではないもの（FIFO やデバイスなど）があります。"));
    QVERIFY(form().Modified);
    QCOMPARE(folderEntries().size(), 0); // the FIFO is no file to QDir::Files, and nothing else is there
    QVERIFY(QFileInfo(path).exists());
#endif
}

QTEST_MAIN(SaveCommandTest)
#include "SaveCommandTest.moc"
