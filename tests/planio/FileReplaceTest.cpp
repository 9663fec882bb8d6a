// Writing a plan file never leaves a half-written file or a temporary file
// behind, and a failure leaves the old file as it was. What is not a
// writable regular file is refused without waiting on it, the temporary
// files of crashed saves are cleared away, and a file under a Japanese name
// in a folder with a Japanese name is written where it is named.

#include "planio/FileReplace.h"

#include "FullPlan.h"
#include "plan/FilePath.h"
#include "planio/PlanSave.h"

#include "support/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
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
    ReplaceFile(target, "first");
    EXPECT_EQ(readFile(target), "first");
    ReplaceFile(target, std::string(100000, 'x'));
    EXPECT_EQ(readFile(target), std::string(100000, 'x'));
    ReplaceFile(target, "");
    EXPECT_EQ(readFile(target), "");
    EXPECT_EQ(entries(), std::vector<std::string>{"plan.pdf"});
}

// The name the save command builds, in a folder named in Japanese: written
// there and replaced there, and a failure names it in UTF-8.
TEST_F(FileReplaceTest, WritesUnderAJapaneseNameInAJapaneseFolder)
{
    const fs::path folder = m_dir / pathFromUtf8("計画書フォルダー");
    fs::create_directory(folder);
    const fs::path target = folder / pathFromUtf8("実施計画 山田 2026_12_8.pdf");
    ReplaceFile(target, "first");
    ReplaceFile(target, "second");
    EXPECT_EQ(readFile(target), "second");
    EXPECT_EQ(testsupport::folderEntries(folder), std::vector<std::string>{utf8FromPath(target.filename())});
    try {
        ReplaceFile(folder / pathFromUtf8("無い") / target.filename(), "x");
        ADD_FAILURE() << "written into a missing folder";
    } catch (const EFCreateError &e) {
        EXPECT_NE(std::string(e.what()).find("計画書フォルダー"), std::string::npos) << e.what();
        EXPECT_EQ(e.systemError(), ENOENT);
    }
}

TEST_F(FileReplaceTest, FailuresRaiseAndTouchNothing)
{
    // A save catches the writer's base for every failure; what() names the file.
    const fs::path missing = m_dir / "no-such-folder" / "plan.pdf";
    try {
        ReplaceFile(missing, "x");
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
        ReplaceFile(folder, "x");
        ADD_FAILURE() << "a folder was replaced";
    } catch (const EFCreateError &e) {
        EXPECT_EQ(e.fault(), FileFault::Folder);
        EXPECT_NE(std::string(e.what()).find(utf8FromPath(folder)), std::string::npos) << e.what();
    }
    EXPECT_EQ(readFile(inside), "kept");
    EXPECT_EQ(entries(), std::vector<std::string>{"folder.pdf"});
}

FileFault faultOf(const fs::path &path)
{
    try {
        ReplaceFile(path, "x");
    } catch (const EFCreateError &e) {
        return e.fault();
    }
    ADD_FAILURE() << path << " was replaced";
    return FileFault::System;
}

TEST_F(FileReplaceTest, RefusesWhatIsNotAWritableRegularFile)
{
    // A FIFO would block an open for reading or writing until a peer came;
    // a device is no plan file.
    std::vector<std::string> expected;
    for (const fs::path &special : testsupport::nonRegularFiles(m_dir.path())) {
        SCOPED_TRACE(special.string());
        EXPECT_EQ(faultOf(special), FileFault::NotRegularFile);
        if (special.parent_path() == m_dir.path()) {
            expected.push_back(utf8FromPath(special.filename()));
        }
    }

    // Read-only even for a user the system would let write it.
    const fs::path locked = m_dir / "locked.pdf";
    writeFile(locked, "kept");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(faultOf(locked), FileFault::ReadOnly);
    EXPECT_EQ(readFile(locked), "kept");
    expected.push_back("locked.pdf");

    try {
        ReplaceFile(m_dir / "missing" / "plan.pdf", "x");
        ADD_FAILURE() << "written into a missing folder";
    } catch (const EFCreateError &e) {
        EXPECT_EQ(e.fault(), FileFault::System);
        EXPECT_EQ(e.systemError(), ENOENT);
    }
    // Nothing was created beside the refused targets.
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries(), expected);
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
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
    ReplaceFile(m_dir / "plan.pdf", "new");
    EXPECT_EQ(entries(), (std::vector<std::string>{".ovilant-789.tmp.pdf", ".ovilant-999.tmp", ".ovilant-x1.tmp",
                                                   "ovilant-456.tmp", "plan.pdf"}));
}

TEST_F(FileReplaceTest, SavePlanWritesTheBytesOfTheSamePlan)
{
    const fs::path target = m_dir / "plan.pdf";
    writeFile(target, "old plan");
    const TDateTime t = encodeDateTime(2024, 1, 31, 14, 5, 9);
    SavePlanPdf(target, fullPlan(), PlanCreatorText(t), t);
    EXPECT_EQ(readFile(target), MakePlanPdf(fullPlan(), PlanCreatorText(t), t));

    const fs::path bad = m_dir / "missing" / "plan.pdf";
    EXPECT_THROW(SavePlanPdf(bad, fullPlan(), "", t), EFCreateError);
    EXPECT_EQ(entries(), std::vector<std::string>{"plan.pdf"});
}

} // namespace
