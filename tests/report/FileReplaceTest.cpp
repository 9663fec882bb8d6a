// Writing a plan file never leaves a half-written file or a temporary file
// behind, and a failure leaves the old file as it was.

#include "report/FileReplace.h"
#include "FullPlan.h"
#include "report/PlanPdf.h"

#include "support/FailingWrites.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    const fs::path missing = m_dir / "no-such-folder" / "plan.pdf";
    EXPECT_THROW(ReplaceFile(missing.string(), "x"), EFCreateError);
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
