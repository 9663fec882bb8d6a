// Writing a plan file never leaves a half-written file or a temporary file
// behind, and a failure leaves the old file as it was.

#include "report/FileReplace.h"
#include "FullPlan.h"
#include "report/PlanPdf.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class FileReplaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("ovilant-replace-" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    static std::string read(const fs::path &path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(m_dir)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_dir;
};

TEST_F(FileReplaceTest, CreatesAndReplacesWithoutLeavingTemporaryFiles)
{
    const fs::path target = m_dir / "plan.pdf";
    ReplaceFile(target.string(), "first");
    EXPECT_EQ(read(target), "first");
    ReplaceFile(target.string(), std::string(100000, 'x'));
    EXPECT_EQ(read(target), std::string(100000, 'x'));
    ReplaceFile(target.string(), "");
    EXPECT_EQ(read(target), "");
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
    std::ofstream(inside) << "kept";
    try {
        ReplaceFile(folder.string(), "x");
        ADD_FAILURE() << "a folder was replaced";
    } catch (const EFCreateError &e) {
        EXPECT_NE(std::string(e.what()).find(folder.string()), std::string::npos) << e.what();
    }
    EXPECT_EQ(read(inside), "kept");
    EXPECT_EQ(entries(), std::vector<std::string>{"folder.pdf"});
}

TEST_F(FileReplaceTest, SavePlanWritesTheBytesOfTheSamePlan)
{
    const fs::path target = m_dir / "plan.pdf";
    std::ofstream(target) << "old plan";
    const TDateTime t = encodeDateTime(2024, 1, 31, 14, 5, 9);
    SavePlanPdf(target.string(), fullPlan(), PlanCreatorText(t), t);
    EXPECT_EQ(read(target), MakePlanPdf(fullPlan(), PlanCreatorText(t), t));

    const fs::path bad = m_dir / "missing" / "plan.pdf";
    EXPECT_THROW(SavePlanPdf(bad.string(), fullPlan(), "", t), EFCreateError);
    EXPECT_EQ(entries(), std::vector<std::string>{"plan.pdf"});
}

} // namespace
