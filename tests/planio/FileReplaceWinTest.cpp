// On Windows a plan that another program holds open is refused with the
// reason "in use" (EBUSY), not as a disk failure, and a name Windows does
// not allow with EINVAL; either way the old file keeps its bytes and no
// temporary file is left.

#include <windows.h>
#undef ReplaceFile // windows.h's macro for ReplaceFileW; ours is tested here

#include "planio/FileReplace.h"

#include "support/Files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

int systemErrorOf(const fs::path &path)
{
    try {
        ReplaceFile(path, "new");
    } catch (const EFCreateError &e) {
        EXPECT_EQ(e.fault(), FileFault::System) << e.what();
        return e.systemError();
    }
    ADD_FAILURE() << path << " was replaced";
    return 0;
}

TEST(FileReplaceWinTest, AFileHeldOpenByAnotherProgramIsInUse)
{
    testsupport::TempDir dir("ovilant-replace");
    const fs::path plan = dir / "plan.pdf";
    writeFile(plan, "old");
    // A viewer that keeps the file open and lets nobody write it.
    const HANDLE viewer =
        CreateFileW(plan.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(systemErrorOf(plan), EBUSY);
    CloseHandle(viewer);
    EXPECT_EQ(readFile(plan), "old");
    EXPECT_EQ(testsupport::folderEntries(dir.path()), std::vector<std::string>{"plan.pdf"});

    ReplaceFile(plan, "new");
    EXPECT_EQ(readFile(plan), "new");
}

TEST(FileReplaceWinTest, ANameWindowsDoesNotAllowIsRefused)
{
    testsupport::TempDir dir("ovilant-replace");
    for (const char *name : {"a?b.pdf", "a*b.pdf", "a|b.pdf"}) {
        EXPECT_EQ(systemErrorOf(dir / name), EINVAL) << name;
    }
    EXPECT_TRUE(testsupport::folderEntries(dir.path()).empty());
}

} // namespace
