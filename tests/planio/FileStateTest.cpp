// Before saving, the editor asks whether another program holds the plan
// file, and which file is at the path: a file held open is in use, nothing
// else is (no file, a folder, a device); a file replaced by a save is
// another file even with the same size.

#include "planio/FileReplace.h"
#include "report/FileState.h"

#include "plan/FilePath.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using testsupport::writeFile;

namespace {

TEST(FileState, OnlyAFileHeldOpenIsInUse)
{
    testsupport::TempDir dir("ovilant-state");
    const fs::path plan = dir / pathFromUtf8("実施計画 山田 2026_12_8.pdf");
    writeFile(plan, "plan");
    EXPECT_FALSE(FileInUse(plan));
    {
        const testsupport::HeldOpen viewer(plan);
        EXPECT_TRUE(FileInUse(plan));
    }
    EXPECT_FALSE(FileInUse(plan));

    EXPECT_FALSE(FileInUse(dir / "missing.pdf"));
    EXPECT_FALSE(FileInUse(dir / "missing" / "plan.pdf"));
    EXPECT_FALSE(FileInUse(dir.path()));
    for (const fs::path &special : testsupport::nonRegularFiles(dir.path())) {
        EXPECT_FALSE(FileInUse(special)) << special;
    }
}

TEST(FileState, AReplacedFileIsAnotherFile)
{
    testsupport::TempDir dir("ovilant-state");
    const fs::path plan = dir / "plan.pdf";
    writeFile(plan, "first");
    const auto first = IdentifyFile(plan);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, 5);
    EXPECT_EQ(IdentifyFile(plan), first) << "nothing changed";

    ReplaceFile(plan, "other"); // same size, a new file renamed over the old one
    const auto second = IdentifyFile(plan);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->size, 5);
    EXPECT_NE(second->file, first->file);

    EXPECT_FALSE(IdentifyFile(dir / "missing.pdf"));
    EXPECT_FALSE(IdentifyFile(dir.path()));
}

} // namespace
