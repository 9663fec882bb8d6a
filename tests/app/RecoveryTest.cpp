// The recovery copy of unsaved changes: written after the edits, removed by
// a save or a discard, offered back by the next editor when the one that
// wrote it ended without saving.

#include "TestSupport.h"
#include "app/FormControls.h"
#include "app/RecoveryCopy.h"
#include "planlock/LockPlatform.h"
#include "settings/Registory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <functional>
#include <limits>

namespace {

// An editor on this host whose process is gone (beyond any process number).
planlock::LockOwner endedEditor()
{
    return planlock::LockOwner{"tanaka", planlock::platform::hostName(), 1LL << 40, 0};
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT
private slots:
    void copyFollowsUnsavedChangesOnly();
    void copyOfAnEndedEditorIsOfferedBack();
    void copiesThatAreNotOfferedStay();
    void copyRoundTripsEveryText();
    void keyPressCostsNoMoreWithTheCopy();
};

void RecoveryTest::copyFollowsUnsavedChangesOnly()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    fillSampleData(form);
    form.Modified = false;
    form.Registory->SaveFolder = f.dir.path();
    const QString copy = form.recoveryCopyPath();
    auto *name = form.planForm().control<TEdit>("NameEdit");
    QTest::keyClicks(name, QStringLiteral("Yamada"));
    QVERIFY(!QFile::exists(copy)); // not at the key press itself
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(copy), TMainForm::kRecoveryQuietMs + 3000);
    QVERIFY(readAll(copy).contains("Yamada\n"));

    // Saved: gone.
    f.prompter->answers = {Prompter::Button::Ok};
    form.NewSaveMenuClick();
    QVERIFY2(!form.Modified, qPrintable(f.prompter->shown.isEmpty() ? QString() : f.prompter->shown.last().text));
    QVERIFY(!QFile::exists(copy));

    // Edited again, then thrown away by New and by the close: gone each time.
    for (const bool closing : {false, true}) {
        QTest::keyClicks(name, QStringLiteral("X"));
        form.flushRecovery();
        QVERIFY(QFile::exists(copy));
        f.prompter->answers = {Prompter::Button::Ok};
        closing ? static_cast<void>(form.close()) : form.NewMenuClick();
        QVERIFY(!QFile::exists(copy));
    }
}

void RecoveryTest::copyOfAnEndedEditorIsOfferedBack()
{
    WindowFixture f;
    const QString planFile = f.dir.filePath(QStringLiteral("実施計画 山田 太郎 2003_4_1.pdf"));
    QString leftCopy;
    {
        // The editor that ends without saving: a plan file in it (saved,
        // then gone) and typed texts.
        std::unique_ptr<TestMainForm> ended = f.makeWindow(endedEditor());
        ended->NewMenuClick();
        fillSampleData(*ended);
        ended->Registory->SaveFolder = f.dir.path();
        ended->NewSaveMenuClick();
        QVERIFY(QFile::remove(planFile));
        f.prompter->shown.clear();
        ended->planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田 花子"));
        ended->planForm().control<TMemo>("Goods1")->setText(QStringLiteral("器具0\n杖"));
        ended->Modified = true;
        leftCopy = ended->recoveryCopyPath();
        ended->flushRecovery();
        QVERIFY(QFile::exists(leftCopy));
    } // destroyed as by a signal: the copy stays

    TestMainForm &form = *f.form;
    f.prompter->answers = {Prompter::Button::Restore};
    form.offerRecovery();
    QCOMPARE(f.prompter->shown.size(), 1);
    const FakePrompter::Shown &offer = f.prompter->shown.first();
    QVERIFY(offer.text.startsWith(QStringLiteral("前回、保存されずに終了した計画書があります。復元しますか？")));
    QCOMPARE(offer.buttons, (QList<Prompter::Button>{Prompter::Button::Restore, Prompter::Button::Discard,
                                                      Prompter::Button::Later}));
    QCOMPARE(form.planForm().control<TEdit>("NameEdit")->text(), QStringLiteral("山田 花子"));
    QCOMPARE(form.planForm().control<TMemo>("Goods1")->toPlainText(), QStringLiteral("器具0\n杖"));
    QVERIFY(form.Modified);
    QVERIFY(form.planForm().isVisible());
    QCOMPARE(form.windowTitle(), QStringLiteral("リハビリ実施計画書[*]"));
    // The copy is this window's now; the one left behind is gone.
    QVERIFY(!QFile::exists(leftCopy));
    QVERIFY(QFile::exists(form.recoveryCopyPath()));
}

void RecoveryTest::copiesThatAreNotOfferedStay()
{
    WindowFixture f;
    const QString folder = QFileInfo(f.form->recoveryCopyPath()).absolutePath();
    recovery::Copy copy;
    copy.host = QString::fromStdString(planlock::platform::hostName());
    copy.fields = {{QStringLiteral("Name"), QStringLiteral("残す")}};
    // A live editor's copy (this process), one of another host, one that is cut short.
    copy.pid = QCoreApplication::applicationPid();
    const QString live = recovery::pathFor(folder, copy.host, 77);
    recovery::write(live, copy);
    copy.host = QStringLiteral("other-pc");
    copy.pid = endedEditor().pid;
    const QString other = recovery::pathFor(folder, copy.host, copy.pid);
    recovery::write(other, copy);
    const QString cut = recovery::pathFor(folder, QStringLiteral("cut"), 1);
    QFile file(cut);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(recovery::encode(copy).chopped(4));
    file.close();

    f.form->offerRecovery();
    QCOMPARE(f.prompter->shown.size(), 1); // only the copy that cannot be read, reported
    QCOMPARE(f.prompter->shown.first().kind, Prompter::Kind::Warning);
    QVERIFY(f.prompter->shown.first().text.contains(QDir::toNativeSeparators(cut)));

    // An ended editor's copy answered 後で stays, 破棄する removes it.
    copy.host = QString::fromStdString(planlock::platform::hostName());
    const QString ended = recovery::pathFor(folder, copy.host, copy.pid);
    for (const Prompter::Button answer : {Prompter::Button::Later, Prompter::Button::Discard}) {
        recovery::write(ended, copy);
        f.prompter->shown.clear();
        f.prompter->answers = {answer, answer}; // the warning about the cut copy takes either
        f.form->offerRecovery();
        QCOMPARE(f.prompter->shown.size(), 2);
        QCOMPARE(QFile::exists(ended), answer == Prompter::Button::Later);
        QVERIFY(!f.form->Modified);
    }
    for (const QString &kept : {live, other, cut}) {
        QVERIFY2(QFile::exists(kept), qPrintable(kept));
    }
}

void RecoveryTest::copyRoundTripsEveryText()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    fillSampleData(form);
    // Texts no plan file holds yet survive too: an escape, a backslash, a line break.
    form.planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("a\\nb\\\\c 〜"));
    const auto before = form.planForm().texts();
    const std::optional<recovery::Copy> copy = recovery::decode(recovery::encode(recovery::Copy{
        QStringLiteral("pc"), 5, QStringLiteral("C:\\計画\\a.pdf"), 37712.5, before}));
    QVERIFY(copy.has_value());
    QCOMPARE(copy->planFile, QStringLiteral("C:\\計画\\a.pdf"));
    QCOMPARE(copy->planDate, 37712.5);
    form.ClearForm();
    form.planForm().showTexts(copy->fields);
    QCOMPARE(form.planForm().texts(), before);
}

// The copy is written from timers, never from the key press: typing costs
// the same with it as without it. Measured over 300 key presses into a memo.
void RecoveryTest::keyPressCostsNoMoreWithTheCopy()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    auto *memo = form.planForm().control<TMemo>("SelfHope");
    memo->setFocus();
    const auto typing = [&] {
        memo->clear();
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 300; ++i) {
            QTest::keyClick(memo, static_cast<char>('a' + i % 26));
        }
        return timer.nsecsElapsed() / 300;
    };
    typing(); // warm up
    // Alternating rounds, the fastest of each: the machine's other load
    // falls on both alike.
    const std::function<void(bool)> hook = form.Modified.changed;
    qint64 with = std::numeric_limits<qint64>::max();
    qint64 without = with;
    for (int round = 0; round < 3; ++round) {
        form.Modified.changed = hook;
        form.Modified = true;
        with = std::min(with, typing());
        form.Modified = false;
        form.Modified.changed = nullptr; // no copy follows the edits
        form.Modified = true;
        without = std::min(without, typing());
    }
    form.Modified.changed = hook;
    qInfo("key press: %lld us with the recovery copy, %lld us without", with / 1000, without / 1000);
    QVERIFY2(with < without * 2 + 200000, "typing is slower with the recovery copy");
}

QTEST_MAIN(RecoveryTest)
#include "RecoveryTest.moc"
