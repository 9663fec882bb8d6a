// The lock file beside a plan: who holds it, handing it over, stale locks,
// and places where no lock can be made.

#include "planlock/PlanLock.h"

#include "plan/FilePath.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

using planlock::LockOwner;
using planlock::PlanLock;

constexpr std::time_t kNow = 1'800'000'000;
constexpr long long kNoProcess = 2'147'480'000; // no process has this id

LockOwner other(const char *host, long long pid, std::time_t since)
{
    return LockOwner{"sato", host, pid, since};
}

TEST(PlanLock, HeldWhileOpenAndGoneWhenReleased)
{
    const testsupport::TempDir dir;
    const auto plan = dir / pathFromUtf8("実施計画 山田 2026_12_8.pdf");
    const LockOwner me = planlock::currentOwner(kNow);
    EXPECT_EQ(utf8FromPath(planlock::lockPathFor(plan).filename()), ".実施計画 山田 2026_12_8.pdf.lock");
    {
        PlanLock lock = PlanLock::acquire(plan, me, kNow);
        ASSERT_TRUE(lock.held());
        EXPECT_EQ(planlock::readLock(plan), me);
        PlanLock moved = std::move(lock);
        EXPECT_FALSE(lock.held());
        EXPECT_TRUE(moved.held());
        EXPECT_TRUE(std::filesystem::exists(planlock::lockPathFor(plan)));
    }
    EXPECT_FALSE(std::filesystem::exists(planlock::lockPathFor(plan)));
    EXPECT_FALSE(planlock::readLock(plan));
}

// Which locks another editor may take over, and which it must leave.
TEST(PlanLock, OnlyStaleLocksAreTakenOver)
{
    const LockOwner me = planlock::currentOwner(kNow);
    struct Case {
        const char *what;
        LockOwner holder;
        bool takenOver;
    };
    const Case cases[] = {
        {"a live editor of this host", LockOwner{"sato", me.host, me.pid, kNow - 60}, false},
        {"a gone process of this host", other(me.host.c_str(), kNoProcess, kNow - 60), true},
        {"another host, an hour old", other("ward-pc-2", kNoProcess, kNow - 3600), false},
        {"another host, over a day old", other("ward-pc-2", 1234, kNow - 25 * 3600), true},
        {"another host, an hour ahead", other("ward-pc-2", 1234, kNow + 3600), false},
        {"another host, over a day ahead", other("ward-pc-2", 1234, kNow + 25 * 3600), true},
        {"another host, far ahead", other("ward-pc-2", 1234, 999'999'999'999'999'999), true},
    };
    for (const Case &c : cases) {
        const testsupport::TempDir dir;
        const auto plan = dir / "plan.pdf";
        // The holder's lock as it would have made it; for the live editor of
        // this host, this very process under another user name.
        PlanLock first = PlanLock::acquire(plan, c.holder, c.holder.since);
        ASSERT_TRUE(first.held()) << c.what;
        const LockOwner second{"tanaka", "ward-pc-9", 42, kNow};
        PlanLock lock = PlanLock::acquire(plan, second, kNow);
        EXPECT_EQ(lock.held(), c.takenOver) << c.what;
        EXPECT_EQ(planlock::readLock(plan), c.takenOver ? second : c.holder) << c.what;
        // The first holder's release leaves a lock taken over in place.
        first.release();
        EXPECT_EQ(planlock::readLock(plan).has_value(), c.takenOver) << c.what;
    }
}

TEST(PlanLock, NoLockWhereNoneCanBeMadeOrRead)
{
    const testsupport::TempDir dir;
    const LockOwner me = planlock::currentOwner(kNow);
    // A folder that is not there: no lock, no error.
    EXPECT_FALSE(PlanLock::acquire(dir / "missing" / "plan.pdf", me, kNow).held());
#ifndef _WIN32
    // A FIFO at the lock's name is no lock and does not block the reader.
    const auto plan = dir / "plan.pdf";
    ASSERT_EQ(mkfifo(planlock::lockPathFor(plan).c_str(), 0644), 0);
    EXPECT_FALSE(planlock::readLock(plan));
    EXPECT_FALSE(PlanLock::acquire(plan, me, kNow).held());
#endif
    // A file that does not read as a lock is neither.
    const auto garbled = dir / "garbled.pdf";
    testsupport::writeFile(planlock::lockPathFor(garbled), "user=x\npid=abc\n");
    EXPECT_FALSE(planlock::readLock(garbled));
}

// Locks written by hand or on other systems: line ends, padding, links.
TEST(PlanLock, LockTextsAsOtherSystemsWriteThem)
{
    const LockOwner holder{"sato", "ward-pc-2", 1234, kNow - 60};
    const std::string lines[] = {"user=sato", "host=ward-pc-2", "pid=1234", "since=" + std::to_string(kNow - 60)};
    const auto join = [&](const std::string &end) {
        std::string text;
        for (const std::string &line : lines)
            text += line + end;
        return text;
    };
    const std::string texts[] = {join("\r\n"), join(" \t\n"), join("\n") + std::string(8192, ' '),
                                 join("\r\n") + std::string(5000, '\n')};
    for (const std::string &text : texts) {
        const testsupport::TempDir dir;
        const auto plan = dir / "plan.pdf";
        testsupport::writeFile(planlock::lockPathFor(plan), text);
        EXPECT_EQ(planlock::readLock(plan), holder) << text.size();
        EXPECT_FALSE(PlanLock::acquire(plan, planlock::currentOwner(kNow), kNow).held()) << text.size();
    }
#ifndef _WIN32
    // A link at the lock's name is not followed, and taking the lock
    // removes the link, never what it names.
    const testsupport::TempDir dir;
    const auto plan = dir / "plan.pdf";
    testsupport::writeFile(dir / "target", join("\n"));
    std::filesystem::create_symlink(dir / "target", planlock::lockPathFor(plan));
    EXPECT_FALSE(planlock::readLock(plan));
    const LockOwner me = planlock::currentOwner(kNow);
    EXPECT_TRUE(PlanLock::acquire(plan, me, kNow).held());
    EXPECT_EQ(testsupport::readFile(dir / "target"), join("\n"));
#endif
}

TEST(PlanLock, DigestTellsContentApart)
{
    const testsupport::TempDir dir;
    testsupport::writeFile(dir / "a", "%PDF-1.2 one");
    testsupport::writeFile(dir / "b", "%PDF-1.2 two");
    testsupport::writeFile(dir / "c", "%PDF-1.2 one");
    EXPECT_NE(planlock::fileDigest(dir / "a"), planlock::fileDigest(dir / "b"));
    EXPECT_EQ(planlock::fileDigest(dir / "a"), planlock::fileDigest(dir / "c"));
    EXPECT_FALSE(planlock::fileDigest(dir / "missing"));
}

} // namespace
