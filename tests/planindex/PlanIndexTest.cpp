// The index of a folder of plan files: which files are plans, what is kept
// of each, the other files with the reader's message, the cache that spares
// reading a file twice and that survives being damaged, and the previous
// plan of a patient. Also the differences between two plans.

#include "FullPlan.h"

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "plan/Marks.h"
#include "planfile/PlanFieldValue.h"
#include "planfile/PlanFormat.h"
#include "planindex/PlanDiff.h"
#include "planindex/PlanIndex.h"
#include "planio/PlanRead.h"
#include "planio/PlanSave.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

std::string j(const char *utf8)
{
    return cp932::fromUtf8(utf8);
}

TPRACTDATA planOf(const char *name, int year, int month, int day, TDateTime birth = encodeDate(1950, 3, 4))
{
    TPRACTDATA p = fullPlan();
    p.Name = j(name);
    p.PlanDate = encodeDate(year, month, day);
    p.BirthDate = birth;
    p.Age = AgeInYears(p.BirthDate, p.PlanDate);
    return p;
}

std::string pdfOf(const TPRACTDATA &plan)
{
    return MakePlanPdf(plan, PlanCreatorText(plan.PlanDate), plan.PlanDate);
}

// A PDF of another program: a plan file whose Subject marker is changed
// in place (the last hex digit: "ＲＩＨＡ" becomes "ＲＩＨ＠"), so that the
// file stays readable but is not a plan.
std::string foreignPdf()
{
    std::string bytes = pdfOf(fullPlan());
    const std::size_t key = bytes.find("/Subject");
    const std::size_t end = bytes.find('>', key);
    EXPECT_NE(key, std::string::npos);
    EXPECT_NE(end, std::string::npos);
    bytes[end - 1] = bytes[end - 1] == '0' ? '1' : '0';
    return bytes;
}

class PlanIndexTest : public testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(folder);
        writeFile(folder / "a.pdf", pdfOf(planOf("山田太郎", 2024, 1, 31)));
        writeFile(folder / "b.PDF", pdfOf(planOf("山田太郎", 2024, 5, 1)));
        writeFile(folder / "c.pdf", pdfOf(planOf("佐藤花子", 2024, 3, 1)));
        // Same name, another patient.
        writeFile(folder / "d.pdf", pdfOf(planOf("山田太郎", 2024, 4, 1, encodeDate(1960, 1, 1))));
        writeFile(folder / "foreign.pdf", foreignPdf());
        writeFile(folder / "notes.pdf", "これはPDFではありません\n");
        writeFile(folder / "readme.txt", "not looked at\n");
        fs::create_directories(folder / "old.pdf");
        writeFile(folder / "old.pdf" / "e.pdf", pdfOf(planOf("鈴木一郎", 2023, 1, 1)));
    }

    planindex::FolderIndex index(unsigned threads = 4) { return planindex::indexFolder(folder, cache, threads); }

    static std::vector<std::string> files(const planindex::FolderIndex &index)
    {
        std::vector<std::string> names;
        for (const auto &p : index.plans) {
            names.push_back(p.fileName);
        }
        return names;
    }

    testsupport::TempDir dir{"ovilant-planindex"};
    fs::path folder = dir / "plans";
    fs::path cache = dir / "cache" / "plan-index";
};

TEST_F(PlanIndexTest, ListsThePlansNewestFirstAndTheOtherPdfFilesWithTheReadersMessage)
{
    const std::string before = readFile(folder / "a.pdf");
    const auto result = index();

    EXPECT_EQ(files(result), (std::vector<std::string>{"b.PDF", "d.pdf", "c.pdf", "a.pdf"}));
    const planindex::IndexedPlan &b = result.plans[0];
    EXPECT_EQ(b.name, j("山田太郎"));
    EXPECT_EQ(b.sex, 1);
    EXPECT_EQ(b.birthDate, encodeDate(1950, 3, 4));
    EXPECT_EQ(b.planDate, encodeDate(2024, 5, 1));
    EXPECT_EQ(b.planDateText, FormatEraDate(encodeDate(2024, 5, 1)));
    EXPECT_EQ(b.kaigoLevel, fullPlan().KaigoLevel);
    EXPECT_EQ(b.team, fullPlan().Team);
    EXPECT_EQ(b.path, (fs::absolute(folder) / "b.PDF").string());

    ASSERT_EQ(result.others.size(), 2U);
    EXPECT_EQ(result.others[0].fileName, "foreign.pdf");
    EXPECT_EQ(result.others[0].text, planfile::kNotAPlanMessage);
    EXPECT_EQ(result.others[1].fileName, "notes.pdf");
    EXPECT_NE(result.others[1].text.find("PDF"), std::string::npos) << result.others[1].text;
    EXPECT_EQ(result.filesRead, 6U);
    EXPECT_EQ(readFile(folder / "a.pdf"), before);
}

// A plan file whose name is shown as `name` (CP932, written as hex), as no
// save writes it: the text object grows, and the content stream's Length,
// the offsets after it and startxref move with it.
std::string withPrintedName(const std::string &bytes, const std::string &name)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : name) {
        hex += kHex[static_cast<unsigned char>(c) >> 4];
        hex += kHex[static_cast<unsigned char>(c) & 15];
    }
    std::string out = bytes;
    const std::size_t at = out.find("40 799.5 Td\n<") + 13;
    const std::size_t close = out.find('>', at);
    out.replace(at, close - at, hex);
    std::ptrdiff_t shift = static_cast<std::ptrdiff_t>(hex.size()) - static_cast<std::ptrdiff_t>(close - at);
    const std::size_t length = out.rfind("/Length ", at) + 8;
    const std::size_t lengthEnd = out.find_first_not_of("0123456789", length);
    const std::string grown = std::to_string(std::stoll(out.substr(length, lengthEnd - length)) + shift);
    shift += static_cast<std::ptrdiff_t>(grown.size()) - static_cast<std::ptrdiff_t>(lengthEnd - length);
    out.replace(length, lengthEnd - length, grown);
    std::size_t line = out.find("65535 f\r\n", out.rfind("\r\nxref\r\n")) + 9;
    for (; out.compare(line + 17, 1, "n") == 0; line += 20) {
        const long long offset = std::stoll(out.substr(line, 10));
        if (offset > static_cast<long long>(at)) {
            char digits[16];
            std::snprintf(digits, sizeof digits, "%010lld", offset + shift);
            out.replace(line, 10, digits);
        }
    }
    const std::size_t startxref = out.rfind("startxref\r\n") + 11;
    const std::size_t startxrefEnd = out.find('\r', startxref);
    out.replace(startxref, startxrefEnd - startxref,
                std::to_string(std::stoll(out.substr(startxref, startxrefEnd - startxref)) + shift));
    return out;
}

// Of a file's texts the index keeps at most 256 bytes each, never half a
// character, read now or from the cache.
TEST_F(PlanIndexTest, KeepsTheStartOfLongTexts)
{
    std::string name = "x";
    for (int i = 0; i < 300; ++i)
        name += j("あ");
    writeFile(folder / "long.pdf", withPrintedName(pdfOf(planOf("山田", 2024, 6, 1)), name));
    for (int pass = 0; pass < 2; ++pass) {
        const auto result = index();
        ASSERT_EQ(result.plans.front().fileName, "long.pdf");
        EXPECT_EQ(result.plans.front().name, name.substr(0, 255)) << pass;
        EXPECT_EQ(result.filesRead, pass == 0 ? 7U : 0U);
    }
}

TEST_F(PlanIndexTest, ReadsAFileAgainOnlyWhenItsSizeOrTimeChanged)
{
    ASSERT_EQ(index().filesRead, 6U);
    EXPECT_EQ(index(1).filesRead, 0U);

    // Another name of the same length: the same size, a time 2 s later
    // (the C runtime of Windows sets file times in whole seconds).
    const fs::path c = folder / "c.pdf";
    const auto time = fs::last_write_time(c);
    const std::string old = readFile(c);
    std::string renamed = pdfOf(planOf("佐藤花江", 2024, 3, 1));
    ASSERT_EQ(renamed.size(), old.size());
    writeFile(c, renamed);
    fs::last_write_time(c, time + std::chrono::seconds(2));

    fs::remove(folder / "notes.pdf");
    const auto again = index();
    EXPECT_EQ(again.filesRead, 1U);
    EXPECT_EQ(again.plans[2].name, j("佐藤花江"));
    EXPECT_EQ(again.others.size(), 1U);
    EXPECT_EQ(index().filesRead, 0U);
}

#ifndef _WIN32
// A file written again with its old size and time put back (cp -p, a
// restore) is read again: its change time, or its inode, is not the cached
// one. (Windows keeps neither in what the index looks at.)
TEST_F(PlanIndexTest, AFileWrittenAgainWithItsOldSizeAndTimeIsReadAgain)
{
    const fs::path c = folder / "c.pdf";
    const auto changeTime = [&c] {
        struct stat info {};
        return ::stat(c.c_str(), &info) == 0 ? std::pair(info.st_ctim.tv_sec, info.st_ctim.tv_nsec) : std::pair(0L, 0L);
    };
    const auto time = fs::last_write_time(c);
    const std::string first = readFile(c);
    const std::string second = pdfOf(planOf("佐藤花江", 2024, 3, 1));
    ASSERT_EQ(second.size(), first.size());
    index();
    const auto cached = changeTime();
    writeFile(c, second);
    do { // file times tick in steps of a few milliseconds
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        fs::last_write_time(c, time);
    } while (changeTime() == cached);
    EXPECT_EQ(index().plans[2].name, j("佐藤花江"));
    writeFile(folder / "copy", first);
    fs::last_write_time(folder / "copy", time);
    fs::rename(folder / "copy", c);
    const auto again = index();
    EXPECT_EQ(again.filesRead, 1U);
    EXPECT_EQ(again.plans[2].name, j("佐藤花子"));
}
#endif

// A changed byte in an entry drops that entry alone; a cache that is no
// regular file is neither waited on nor read, and is replaced.
TEST_F(PlanIndexTest, ADamagedEntryOrACacheThatIsNoFileIsReadAgain)
{
    index();
    std::string cached = readFile(cache);
    cached[cached.find(j("佐藤花子")) + 1] ^= 0x01;
    writeFile(cache, cached);
    const auto again = index();
    EXPECT_EQ(again.filesRead, 1U);
    EXPECT_EQ(again.plans[2].name, j("佐藤花子"));
#ifndef _WIN32
    for (const auto &make : std::vector<std::function<void()>>{[this] { ASSERT_EQ(mkfifo(cache.c_str(), 0600), 0); },
                                                               [this] { fs::create_symlink("/dev/zero", cache); }}) {
        fs::remove(cache);
        make();
        EXPECT_EQ(index().filesRead, 6U);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(cache)));
    }
#endif
}

TEST_F(PlanIndexTest, ADamagedCacheIsIgnoredAndRebuilt)
{
    const auto first = index();
    const std::string good = readFile(cache);
    for (const std::string &damaged : {std::string("garbage"), good.substr(0, good.size() / 2),
                                       good.substr(0, good.size() - 2), std::string()}) {
        writeFile(cache, damaged);
        const auto rebuilt = index();
        EXPECT_EQ(rebuilt.filesRead, 6U);
        EXPECT_EQ(files(rebuilt), files(first));
        EXPECT_EQ(rebuilt.plans[0].team, first.plans[0].team);
        EXPECT_EQ(readFile(cache), good);
    }
    // Nothing but the cache is written: no temporary file stays behind.
    EXPECT_EQ(testsupport::folderEntries(cache.parent_path()), std::vector<std::string>{"plan-index"});
}

TEST_F(PlanIndexTest, ThePreviousPlanIsTheLatestEarlierOneOfTheSamePatient)
{
    const auto result = index();
    const TDateTime birth = encodeDate(1950, 3, 4);
    const auto *previous = planindex::previousPlan(result, j("山田太郎"), birth, encodeDate(2024, 6, 1));
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(previous->fileName, "b.PDF");
    // The plan of the same day is not its own predecessor.
    previous = planindex::previousPlan(result, j("山田太郎"), birth, encodeDate(2024, 5, 1) + 0.5);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(previous->fileName, "a.pdf");
    EXPECT_EQ(planindex::previousPlan(result, j("山田太郎"), birth, encodeDate(2024, 1, 31)), nullptr);
    EXPECT_EQ(planindex::previousPlan(result, j("山田"), birth, encodeDate(2025, 1, 1)), nullptr);
    // A name typed with a full-width blank is the same patient.
    previous = planindex::previousPlan(result, j("山田　太郎"), birth, encodeDate(2024, 6, 1));
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(previous->fileName, "b.PDF");
}

TEST(PlanDiff, ListsTheChangedMemoMarkCellAndPriorityMarkWithTheirCaptions)
{
    const TPRACTDATA older = fullPlan();
    TPRACTDATA newer = older;
    newer.Kenkou = j("脳梗塞\r\n改善傾向");
    newer.ActivityItems[2].ABC[1] = "C";
    newer.MotionItems[3].Special = newer.MotionItems[3].Special == 2 ? 1 : 2;

    // Read back from the files, as the list and the command line compare them.
    testsupport::TempDir dir;
    writeFile(dir / "old.pdf", pdfOf(older));
    writeFile(dir / "new.pdf", pdfOf(newer));
    const auto read = [&](const char *name) {
        auto result = planio::readPlanFile((dir / name).string());
        return std::get<planio::PlanFileRead>(result).printed.Plan;
    };
    const auto changes = planindex::diffPlans(read("old.pdf"), read("new.pdf"));

    ASSERT_EQ(changes.size(), 3U);
    EXPECT_EQ(std::string_view(changes[0].field->key), "Kenkou");
    EXPECT_EQ(planfile::fieldCaption(*changes[0].field), j("健康状態(原因疾患，発症・受傷日等)"));
    EXPECT_EQ(changes[0].before, older.Kenkou);
    EXPECT_EQ(changes[0].after, newer.Kenkou);
    EXPECT_EQ(std::string_view(changes[1].field->key), "ActivityItems[2].ABC[1]");
    EXPECT_EQ(planfile::fieldCaption(*changes[1].field), j("屋内移動　見守り"));
    EXPECT_EQ(changes[1].before, MarkToFullWidth(older.ActivityItems[2].ABC[1]));
    EXPECT_EQ(changes[1].after, j("Ｃ"));
    EXPECT_EQ(std::string_view(changes[2].field->key), "MotionItems[3].Special");
    EXPECT_EQ(planfile::fieldCaption(*changes[2].field), j("立ち上がり　重点項目"));

    const std::string summary = planindex::changeSummary(changes);
    EXPECT_EQ(summary.substr(0, summary.find("\r\n")),
              j("・健康状態(原因疾患，発症・受傷日等)：脳梗塞（2023年5月）／／右片麻痺 → 脳梗塞／改善傾向"));
    EXPECT_EQ(std::count(summary.begin(), summary.end(), '\n'), 2);
}

TEST(PlanDiff, AChangedFieldShowsAsThatField)
{
    // Changing any one field of a plan shows as exactly that field.
    const TPRACTDATA plan = fullPlan();
    TPRACTDATA changed = plan;
    changed.Team[13] = j("別の人");
    changed.SonotaFlag = !plan.SonotaFlag;
    const auto changes = planindex::diffPlans(plan, changed);
    ASSERT_EQ(changes.size(), 2U);
    EXPECT_EQ(planfile::fieldCaption(*changes[0].field), j("心身機能　その他"));
    EXPECT_EQ(planfile::fieldCaption(*changes[1].field), j("●その他：4"));
}

} // namespace
