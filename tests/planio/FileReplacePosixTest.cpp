// On POSIX systems the new file keeps the old one's permissions, a symbolic
// link is written through, a folder that may not be written is refused
// with EACCES, and a write that fails halfway leaves the old file.

#include "planio/FileReplace.h"
#include "FullPlan.h"
#include "planio/PlanSave.h"

#include "support/FileSizeLimit.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

class FileReplacePosixTest : public ::testing::Test {
protected:
    std::vector<std::string> entries() const { return testsupport::folderEntries(m_dir.path()); }

    testsupport::TempDir m_dir{"ovilant-replace"};
};

fs::perms permsOf(const fs::path &path)
{
    return fs::symlink_status(path).permissions() & fs::perms::mask;
}

TEST_F(FileReplacePosixTest, KeepsPermissionsAndWritesThroughLinks)
{
    // A private plan stays private; a new file gets the user's umask.
    const fs::path plan = m_dir / "plan.pdf";
    writeFile(plan, "old");
    fs::permissions(plan, fs::perms::owner_read | fs::perms::owner_write);
    ReplaceFile(plan, "new");
    EXPECT_EQ(readFile(plan), "new");
    EXPECT_EQ(permsOf(plan), fs::perms::owner_read | fs::perms::owner_write);
    const mode_t mask = ::umask(027);
    ReplaceFile(m_dir / "fresh.pdf", "x");
    ::umask(mask);
    EXPECT_EQ(permsOf(m_dir / "fresh.pdf"), static_cast<fs::perms>(0640));

    // A link, relative and absolute, to a plan in another folder: the plan
    // there is replaced, the link stays a link, nothing is left anywhere.
    fs::create_directory(m_dir / "store");
    const fs::path stored = m_dir / "store" / "real.pdf";
    writeFile(stored, "old");
    fs::create_symlink("store/real.pdf", m_dir / "relative.pdf");
    fs::create_symlink(stored, m_dir / "absolute.pdf");
    ReplaceFile(m_dir / "relative.pdf", "through relative");
    EXPECT_EQ(readFile(stored), "through relative");
    ReplaceFile(m_dir / "absolute.pdf", "through absolute");
    EXPECT_EQ(readFile(stored), "through absolute");
    EXPECT_TRUE(fs::is_symlink(m_dir / "relative.pdf"));
    EXPECT_TRUE(fs::is_symlink(m_dir / "absolute.pdf"));
    EXPECT_EQ(testsupport::folderEntries(m_dir / "store"), std::vector<std::string>{"real.pdf"});
    EXPECT_EQ(entries(), (std::vector<std::string>{"absolute.pdf", "fresh.pdf", "plan.pdf", "relative.pdf", "store"}));
}

TEST_F(FileReplacePosixTest, RefusesAFolderThatMayNotBeWritten)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser writes into any folder";
    }
    fs::create_directory(m_dir / "closed");
    fs::permissions(m_dir / "closed", fs::perms::owner_read | fs::perms::owner_exec);
    try {
        ReplaceFile(m_dir / "closed" / "plan.pdf", "x");
        ADD_FAILURE() << "written into a closed folder";
    } catch (const EFCreateError &e) {
        EXPECT_EQ(e.fault(), FileFault::System);
        EXPECT_EQ(e.systemError(), EACCES);
    }
    fs::permissions(m_dir / "closed", fs::perms::owner_all);
    EXPECT_EQ(entries(), std::vector<std::string>{"closed"});
}

// The writer fails halfway through the new file (the file size limit stops
// it): the save raises, the old plan keeps its bytes and the half-written
// temporary file is removed.
TEST_F(FileReplacePosixTest, SavePlanFailingHalfwayKeepsTheOldFile)
{
    const fs::path target = m_dir / "plan.pdf";
    writeFile(target, "old plan");
    const TDateTime t = encodeDateTime(2024, 1, 31, 14, 5, 9);
    const std::size_t size = MakePlanPdf(fullPlan(), PlanCreatorText(t), t).size();
    ASSERT_GT(size, 1000u);
    {
        testsupport::FileSizeLimit limit(size / 2);
        EXPECT_THROW(SavePlanPdf(target, fullPlan(), PlanCreatorText(t), t), EFCreateError);
    }
    EXPECT_EQ(readFile(target), "old plan");
    EXPECT_EQ(entries(), std::vector<std::string>{"plan.pdf"});

    // The limit is what made it fail: without it the same save goes through.
    SavePlanPdf(target, fullPlan(), PlanCreatorText(t), t);
    EXPECT_EQ(readFile(target).size(), size);
}

} // namespace
