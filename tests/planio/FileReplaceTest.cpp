// Writing a plan file never leaves a half-written file or a temporary file
// behind, and a failure leaves the old file as it was. The new file keeps
// the old one's permissions, a symbolic link is written through, what is
// not a writable regular file is refused without waiting on it, and the
// temporary files of crashed saves are cleared away.

#include "planio/FileReplace.h"

#include "FullPlan.h"
#include "planio/PlanSave.h"

#include "support/FailingWrites.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

class FileReplaceTest : public ::testing::Test {
protected:
    std::vector<std::string> entries() const { return testsupport::folderEntries(m_dir.path()); }

    testsupport::TempDir m_dir{"ovilant-replace"};
};

TEST_F(FileReplaceTest, CreatesAndReplacesWithoutLeavingTemporaryFiles)
{
    const fs::path target = m_dir / "plan.pdf";
    ReplaceFile(target.string(), "first");
    EXPECT_EQ(readFile(target), "first");
    ReplaceFile(target.string(), std::string(100000, 'x'));
    EXPECT_EQ(readFile(target), std::string(100000, 'x'));
    ReplaceFile(target.string(), "");
    EXPECT_EQ(readFile(target), "");
    EXPECT_EQ(entries(), std::vector<std::string>{"plan.pdf"});
}

TEST_F(FileReplaceTest, FailuresRaiseAndTouchNothing)
{
    // A save catches the writer's base for every failure; what() names the file.
    const fs::path missing = m_dir / "no-such-folder" / "plan.pdf";
    try {
        ReplaceFile(missing.string(), "x");
        ADD_FAILURE() << "a file in a missing folder must not be written";
    } catch (const EPdfError &e) {
        EXPECT_NE(dynamic_cast<const EFCreateError *>(&e), nullptr);
        EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + missing.string() + "\". ", 0), 0u) << e.what();
    }
    EXPECT_FALSE(fs::exists(missing.parent_path()));

    const fs::path folder = m_dir / "folder.pdf";
    fs::create_directory(folder);
    fs::path inside = folder / "keep";
    writeFile(inside, "kept");
    try {
        ReplaceFile(folder.string(), "x");
        ADD_FAILURE() << "a folder was replaced";
    } catch (const EFCreateError &e) {
        EXPECT_NE(std::string(e.what()).find(folder.string()), std::string::npos) << e.what();
    }
    EXPECT_EQ(readFile(inside), "kept");
    EXPECT_EQ(entries(), std::vector<std::string>{"folder.pdf"});
}

fs::perms permsOf(const fs::path &path)
{
    return fs::symlink_status(path).permissions() & fs::perms::mask;
}

TEST_F(FileReplaceTest, KeepsPermissionsAndWritesThroughLinks)
{
    // A private plan stays private; a new file gets the user's umask.
    const fs::path plan = m_dir / "plan.pdf";
    writeFile(plan, "old");
    fs::permissions(plan, fs::perms::owner_read | fs::perms::owner_write);
    ReplaceFile(plan.string(), "new");
    EXPECT_EQ(readFile(plan), "new");
    EXPECT_EQ(permsOf(plan), fs::perms::owner_read | fs::perms::owner_write);
    const mode_t mask = ::umask(027);
    ReplaceFile((m_dir / "fresh.pdf").string(), "x");
    ::umask(mask);
    EXPECT_EQ(permsOf(m_dir / "fresh.pdf"), static_cast<fs::perms>(0640));

    // A link, relative and absolute, to a plan in another folder: the plan
    // there is replaced, the link stays a link, nothing is left anywhere.
    fs::create_directory(m_dir / "store");
    const fs::path stored = m_dir / "store" / "real.pdf";
    writeFile(stored, "old");
    fs::create_symlink("store/real.pdf", m_dir / "relative.pdf");
    fs::create_symlink(stored, m_dir / "absolute.pdf");
    ReplaceFile((m_dir / "relative.pdf").string(), "through relative");
    EXPECT_EQ(readFile(stored), "through relative");
    ReplaceFile((m_dir / "absolute.pdf").string(), "through absolute");
    EXPECT_EQ(readFile(stored), "through absolute");
    EXPECT_TRUE(fs::is_symlink(m_dir / "relative.pdf"));
    EXPECT_TRUE(fs::is_symlink(m_dir / "absolute.pdf"));
    EXPECT_EQ(testsupport::folderEntries(m_dir / "store"), std::vector<std::string>{"real.pdf"});
    EXPECT_EQ(entries(), (std::vector<std::string>{"absolute.pdf", "fresh.pdf", "plan.pdf", "relative.pdf", "store"}));
}

TEST_F(FileReplaceTest, RefusesWhatIsNotAWritableRegularFile)
{
    const auto faultOf = [](const fs::path &path) {
        try {
            ReplaceFile(path.string(), "x");
        } catch (const EFCreateError &e) {
            return e.fault();
        }
        ADD_FAILURE() << path << " was replaced";
        return FileFault::System;
    };
    // A FIFO would block an open for reading or writing until a peer came.
    const fs::path fifo = m_dir / "fifo.pdf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(faultOf(fifo), FileFault::NotRegularFile);
    EXPECT_TRUE(fs::is_fifo(fifo));
    fs::create_symlink("fifo.pdf", m_dir / "link-to-fifo.pdf");
    EXPECT_EQ(faultOf(m_dir / "link-to-fifo.pdf"), FileFault::NotRegularFile);
    EXPECT_EQ(faultOf("/dev/null"), FileFault::NotRegularFile);

    // Read-only even for a user the system would let write it.
    const fs::path locked = m_dir / "locked.pdf";
    writeFile(locked, "kept");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(faultOf(locked), FileFault::ReadOnly);
    EXPECT_EQ(readFile(locked), "kept");

    // A folder that may not be written (not testable as the superuser).
    if (::geteuid() != 0) {
        fs::create_directory(m_dir / "closed");
        fs::permissions(m_dir / "closed", fs::perms::owner_read | fs::perms::owner_exec);
        try {
            ReplaceFile((m_dir / "closed" / "plan.pdf").string(), "x");
            ADD_FAILURE() << "written into a closed folder";
        } catch (const EFCreateError &e) {
            EXPECT_EQ(e.fault(), FileFault::System);
            EXPECT_EQ(e.systemError(), EACCES);
        }
        fs::permissions(m_dir / "closed", fs::perms::owner_all);
    }
    try {
        ReplaceFile((m_dir / "missing" / "plan.pdf").string(), "x");
        ADD_FAILURE() << "written into a missing folder";
    } catch (const EFCreateError &e) {
        EXPECT_EQ(e.fault(), FileFault::System);
        EXPECT_EQ(e.systemError(), ENOENT);
    }
    // Nothing was created beside the refused targets.
    std::vector<std::string> expected{"fifo.pdf", "link-to-fifo.pdf", "locked.pdf"};
    if (::geteuid() != 0) {
        expected.insert(expected.begin(), "closed");
    }
    EXPECT_EQ(entries(), expected);
}

// A save killed before its rename leaves its temporary file; the next save
// into that folder removes it once it is old enough to belong to no save
// still running. Other files are never touched.
TEST_F(FileReplaceTest, RemovesTemporaryFilesOfCrashedSaves)
{
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(5);
    for (const char *name : {".ovilant-123.tmp", ".ovilant-x1.tmp", "ovilant-456.tmp", ".ovilant-789.tmp.pdf"}) {
        writeFile(m_dir / name, "left behind");
        fs::last_write_time(m_dir / name, old);
    }
    writeFile(m_dir / ".ovilant-999.tmp", "a save running now");
    ReplaceFile((m_dir / "plan.pdf").string(), "new");
    EXPECT_EQ(entries(), (std::vector<std::string>{".ovilant-789.tmp.pdf", ".ovilant-999.tmp", ".ovilant-x1.tmp",
                                                   "ovilant-456.tmp", "plan.pdf"}));
}

TEST_F(FileReplaceTest, SavePlanWritesTheBytesOfTheSamePlan)
{
    const fs::path target = m_dir / "plan.pdf";
    writeFile(target, "old plan");
    const TDateTime t = encodeDateTime(2024, 1, 31, 14, 5, 9);
    SavePlanPdf(target.string(), fullPlan(), PlanCreatorText(t), t);
    EXPECT_EQ(readFile(target), MakePlanPdf(fullPlan(), PlanCreatorText(t), t));

    const fs::path bad = m_dir / "missing" / "plan.pdf";
    EXPECT_THROW(SavePlanPdf(bad.string(), fullPlan(), "", t), EFCreateError);
    EXPECT_EQ(entries(), std::vector<std::string>{"plan.pdf"});
}

// The writer fails halfway through the new file (the file size limit stops
// it): the save raises, the old plan keeps its bytes and the half-written
// temporary file is removed.
TEST_F(FileReplaceTest, SavePlanFailingHalfwayKeepsTheOldFile)
{
    const fs::path target = m_dir / "plan.pdf";
    writeFile(target, "old plan");
    const TDateTime t = encodeDateTime(2024, 1, 31, 14, 5, 9);
    const std::size_t size = MakePlanPdf(fullPlan(), PlanCreatorText(t), t).size();
    ASSERT_GT(size, 1000u);
    {
        testsupport::FileSizeLimit limit(size / 2);
        EXPECT_THROW(SavePlanPdf(target.string(), fullPlan(), PlanCreatorText(t), t), EFCreateError);
    }
    EXPECT_EQ(readFile(target), "old plan");
    EXPECT_EQ(entries(), std::vector<std::string>{"plan.pdf"});

    // The limit is what made it fail: without it the same save goes through.
    SavePlanPdf(target.string(), fullPlan(), PlanCreatorText(t), t);
    EXPECT_EQ(readFile(target).size(), size);
}

} // namespace
