// Two editors on one plan folder: the lock file beside the plan this window
// holds, the notice to a second editor that opens it, a stale lock, and the
// question before a save replaces this window's plan file that another
// editor changed meanwhile.

#include "TestSupport.h"

#include "planlock/PlanLock.h"
#include "settings/Registory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <QTest>


class SharedFolderTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void secondEditorIsToldWhoHoldsThePlan();
    void saveAsksWhenThePlanChangedOnDisk();

private:
    TestMainForm &form() { return *f->form; }
    QString folder() const { return f->dir.filePath(QStringLiteral("plans")); }
    // Saves a plan of the window with today's date; returns its file.
    QString savePlan(TestMainForm &window);
    std::filesystem::path lockOf(const QString &plan) const { return planlock::lockPathFor(planPath(plan)); }

    std::unique_ptr<WindowFixture> f;
};

namespace {

// Another editor on another PC; recent, so never stale.
planlock::LockOwner otherEditor()
{
    return planlock::LockOwner{"sato", "ward-pc-2", 4242, 0};
}

} // namespace

void SharedFolderTest::init()
{
    f = std::make_unique<WindowFixture>();
    QVERIFY(QDir().mkpath(folder()));
    form().Registory->SaveFolder = folder();
}

void SharedFolderTest::cleanup()
{
    f.reset();
}

QString SharedFolderTest::savePlan(TestMainForm &window)
{
    window.NewMenuClick();
    fillSampleData(window);
    f->prompter->answers = {Prompter::Button::Ok};
    window.NewSaveMenuClick();
    const QStringList files = QDir(folder()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    return files.isEmpty() ? QString() : QDir(folder()).filePath(files.first());
}

void SharedFolderTest::secondEditorIsToldWhoHoldsThePlan()
{
    const QString plan = savePlan(form());
    QVERIFY2(!plan.isEmpty(), "the plan was not saved");
    // The saving window holds it, and says so beside it.
    const auto held = planlock::readLock(planPath(plan));
    QVERIFY2(held.has_value(), "no lock file after the save");
    QCOMPARE(held->pid, planlock::currentOwner(0).pid);
    // And the note of who saved it last names it too.
    QCOMPARE(planlock::readSavedNote(planPath(plan)).value_or(planlock::LockOwner{}).pid, held->pid);

    // A second editor opening it is told who has it; キャンセル leaves it.
    auto other = f->makeWindow(otherEditor());
    other->Registory->SaveFolder = folder();
    f->prompter->shown.clear();
    f->prompter->answers = {Prompter::Button::Cancel};
    QVERIFY(!other->openPlanFile(plan));
    QCOMPARE(f->prompter->shown.size(), 1);
    const FakePrompter::Shown &notice = f->prompter->shown[0];
    QCOMPARE(notice.kind, Prompter::Kind::Warning);
    const QString user = QString::fromStdString(held->user);
    QVERIFY2(notice.text.startsWith(QStringLiteral("この計画書は ") + user + QStringLiteral("（")), qPrintable(notice.text));
    QVERIFY2(notice.text.endsWith(QStringLiteral("から開いています。\n開きますか？")), qPrintable(notice.text));
    QCOMPARE(notice.buttons, (QList<Prompter::Button>{Prompter::Button::Open, Prompter::Button::Cancel}));
    // 開く opens it all the same; the first window's lock stays its own.
    f->prompter->answers = {Prompter::Button::Open};
    QVERIFY(other->openPlanFile(plan));
    QCOMPARE(planlock::readLock(planPath(plan))->pid, held->pid);
    // The plan list marks it for the second editor.
    QCOMPARE(other->planHolder(plan), user + QStringLiteral("（") + QString::fromStdString(held->host) + QStringLiteral("）"));
    QCOMPARE(form().planHolder(plan), QString());

    // New lets go of it: the second editor takes the lock as soon as it is
    // free, so that a third opener is told who has the plan now.
    form().NewMenuClick();
    QTRY_COMPARE(planlock::readLock(planPath(plan)).value_or(planlock::LockOwner{}).user, otherEditor().user);
    f->prompter->shown.clear();
    f->prompter->answers = {Prompter::Button::Cancel};
    QVERIFY(!form().openPlanFile(plan));
    QCOMPARE(f->prompter->shown.size(), 1);
    QVERIFY2(f->prompter->shown[0].text.startsWith(QStringLiteral("この計画書は sato（ward-pc-2）")),
             qPrintable(f->prompter->shown[0].text));
    f->prompter->shown.clear();

    // A lock whose process is gone on this host is stale: taken over without a word.
    other.reset();
    QVERIFY(!std::filesystem::exists(lockOf(plan)));
    const planlock::LockOwner gone{"sato", planlock::currentOwner(0).host, 2'147'480'000, 0};
    planlock::PlanLock stale = planlock::PlanLock::acquire(planPath(plan), gone, 0);
    QVERIFY(stale.held());
    QVERIFY(form().openPlanFile(plan));
    QVERIFY(f->prompter->shown.isEmpty());
    QCOMPARE(planlock::readLock(planPath(plan))->pid, planlock::currentOwner(0).pid);
}

void SharedFolderTest::saveAsksWhenThePlanChangedOnDisk()
{
    const QString plan = savePlan(form());
    QVERIFY(!plan.isEmpty());
    const QByteArray saved = readAll(plan);
    // Another editor writes the file: same size, and its time put back, as
    // a copy that keeps times would.
    const QDateTime before = QFileInfo(plan).lastModified();
    QByteArray changed = saved;
    changed[changed.size() - 20] = changed[changed.size() - 20] == 'x' ? 'y' : 'x';
    {
        QFile file(plan);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QCOMPARE(file.write(changed), changed.size());
    }
    {
        QFile file(plan);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(before, QFileDevice::FileModificationTime));
    }

    // The editor that changed it left its note: the question names it.
    planlock::writeSavedNote(planPath(plan), otherEditor());
    f->prompter->shown.clear();
    f->prompter->answers = {Prompter::Button::Ok, Prompter::Button::Cancel};
    form().Modified = true;
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 2);
    const FakePrompter::Shown &question = f->prompter->shown[1];
    QVERIFY2(question.text.startsWith(QStringLiteral("この計画書は開いた後に他で変更されています（sato（ward-pc-2）、")),
             qPrintable(question.text));
    QVERIFY2(question.text.endsWith(QStringLiteral("）。\n上書きしますか？")), qPrintable(question.text));
    QCOMPARE(question.buttons, (QList<Prompter::Button>{Prompter::Button::Overwrite, Prompter::Button::Cancel}));
    // キャンセル keeps the other editor's file and the plan in the editor.
    QCOMPARE(readAll(plan), changed);
    QVERIFY(form().Modified);

    // 上書き replaces it; the next save over the unchanged file asks nothing more.
    f->prompter->shown.clear();
    f->prompter->answers = {Prompter::Button::Ok, Prompter::Button::Overwrite};
    form().NewSaveMenuClick();
    QCOMPARE(readAll(plan), saved);
    f->prompter->shown.clear();
    f->prompter->answers = {Prompter::Button::Ok};
    form().NewSaveMenuClick();
    QCOMPARE(f->prompter->shown.size(), 1);
}

QTEST_MAIN(SharedFolderTest)
#include "SharedFolderTest.moc"
