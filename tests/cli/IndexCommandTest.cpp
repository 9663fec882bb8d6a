// `ovilant-plan index` and `ovilant-plan diff`, called in-process: the plans
// of a folder as JSON lines and as CSV with the files that are not plans on
// the error stream, the cache in $XDG_CACHE_HOME, and the changed fields of
// two plans with their captions.

#include "cli/Cli.h"

#include "FullPlan.h"

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "planio/PlanSave.h"
#include "support/FailingAllocations.h"
#include "support/Files.h"
#include "support/Processes.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

std::vector<std::string> lines(const std::string &text, const std::string &end = "\n")
{
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t next = text.find(end, at);
        out.push_back(text.substr(at, next - at));
        at = next == std::string::npos ? text.size() : next + end.size();
    }
    return out;
}

class IndexCommand : public testing::Test {
protected:
    void SetUp() override
    {
        // The tool's cache goes to a folder of the test (XDG on POSIX
        // systems, LOCALAPPDATA on Windows).
        testsupport::setEnvironment("XDG_CACHE_HOME", (dir / "cache").string());
        testsupport::setEnvironment("LOCALAPPDATA", (dir / "cache").string());
        fs::create_directories(folder);
        older = fullPlan();
        older.Name = cp932::fromUtf8("山田,\"太郎\"");
        older.PlanDate = encodeDate(2024, 1, 31);
        newer = older;
        newer.PlanDate = encodeDate(2024, 5, 1);
        newer.Kenkou = cp932::fromUtf8("脳梗塞\r\n改善");
        newer.MotionItems[0].ABC[4] = "C";
        write("old.pdf", older);
        write("new.pdf", newer);
        testsupport::writeFile(folder / "notes.pdf", "text\n");
    }
    void TearDown() override
    {
        testsupport::unsetEnvironment("XDG_CACHE_HOME");
        testsupport::unsetEnvironment("LOCALAPPDATA");
    }

    void write(const char *name, const TPRACTDATA &plan)
    {
        testsupport::writeFile(folder / name, MakePlanPdf(plan, PlanCreatorText(plan.PlanDate), plan.PlanDate));
    }
    testsupport::RunResult run(const std::vector<std::string> &args)
    {
        return testsupport::runInProcess(cli::run, args);
    }

    testsupport::TempDir dir{"ovilant-index-cli"};
    fs::path folder = dir / "plans";
    TPRACTDATA older;
    TPRACTDATA newer;
};

TEST_F(IndexCommand, ListsThePlansAsJsonLinesNewestFirstAndTheOtherFilesOnTheErrorStream)
{
    const auto result = run({"index", folder.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto rows = lines(result.out);
    ASSERT_EQ(rows.size(), 2U) << result.out;
    const json first = json::parse(rows[0]);
    EXPECT_EQ(first["File"], (fs::absolute(folder) / "new.pdf").string());
    EXPECT_EQ(first["Name"], "山田,\"太郎\"");
    EXPECT_EQ(first["Sex"], "女性");
    EXPECT_EQ(first["BirthDate"], "1950-03-04");
    EXPECT_EQ(first["KaigoLevel"], "要介護３");
    EXPECT_EQ(first["PlanDate"], "2024-05-01");
    ASSERT_EQ(first["Team"].size(), 13U);
    EXPECT_EQ(first["Team"][0], cp932::toUtf8(newer.Team[1]));
    EXPECT_EQ(json::parse(rows[1])["PlanDate"], "2024-01-31");

    EXPECT_EQ(result.err.rfind("ovilant-plan: " + (fs::absolute(folder) / "notes.pdf").string() + ": PDF", 0), 0U)
        << result.err;
    EXPECT_EQ(lines(result.err).size(), 1U);
    EXPECT_TRUE(fs::exists(dir / "cache" / "ovilant" / "plan-index"));

    // The same again from the cache.
    const auto again = run({"index", folder.string()});
    EXPECT_EQ(again.out, result.out);
    EXPECT_EQ(again.err, result.err);
}

#ifndef _WIN32
// Every line is what the JSON library writes for the same values: file names
// of any bytes (escapes, control bytes, broken UTF-8, which the library
// replaces) and plan texts with characters CP932 holds in one byte, in two,
// and bytes it does not hold.
TEST_F(IndexCommand, JsonLinesAreWhatTheJsonLibraryWritesForAnyFileNameAndText)
{
    fs::remove(folder / "notes.pdf");
    const char *const names[] = {"q\"uote\\back.pdf",    "ctl\x01\x1f\x7f\t\n\r\b\f.pdf", "bad\xff\xfe.pdf",
                                 "overlong\xc0\xaf.pdf", "surrogate\xed\xa0\x80.pdf",     "beyond\xf4\x90\x80\x80.pdf",
                                 "cut\xe3\x81.pdf",      "four\xf0\x9f\x98\x80.pdf",      "日本語.pdf"};
    const std::string texts[] = {cp932::fromUtf8("ｶﾀｶﾅ髙①～∥"), std::string("a\x80\xa0\xfd\x81\x7f", 6),
                                 std::string("lead at end\x82", 12), "\"\\/\t"};
    int n = 0;
    for (const char *name : names) {
        TPRACTDATA plan = older;
        plan.Name = texts[n % std::size(texts)];
        plan.Team[1 + n % kTeamMembers] = texts[(n + 1) % std::size(texts)];
        testsupport::writeFile(folder / name, MakePlanPdf(plan, PlanCreatorText(plan.PlanDate), plan.PlanDate));
        ++n;
    }
    for (int pass = 0; pass < 2; ++pass) { // read, then from the cache
        const auto result = run({"index", folder.string()});
        ASSERT_EQ(result.status, 0) << result.err;
        const auto rows = lines(result.out);
        EXPECT_EQ(rows.size(), std::size(names) + 2);
        std::set<std::string> files;
        for (const std::string &row : rows) {
            const auto parsed = nlohmann::ordered_json::parse(row);
            EXPECT_EQ(row, parsed.dump(-1, ' ', false)) << row;
            files.insert(parsed["File"].get<std::string>());
        }
        for (const char *name : {"q\"uote\\back.pdf", "four\xf0\x9f\x98\x80.pdf", "日本語.pdf"}) {
            EXPECT_TRUE(files.contains((fs::absolute(folder) / name).string())) << name;
        }
    }
}
#endif

TEST_F(IndexCommand, ListsThePlansAsCsvWithAHeader)
{
    const auto result = run({"index", folder.string(), "--csv"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto rows = lines(result.out, "\r\n");
    ASSERT_EQ(rows.size(), 3U) << result.out;
    EXPECT_EQ(rows[0], "File,Name,Sex,BirthDate,KaigoLevel,PlanDate,Team1,Team2,Team3,Team4,Team5,Team6,Team7,"
                       "Team8,Team9,Team10,Team11,Team12,Team13");
    EXPECT_EQ(rows[1].rfind((fs::absolute(folder) / "new.pdf").string() +
                                ",\"山田,\"\"太郎\"\"\",女性,1950-03-04,要介護３,2024-05-01,",
                            0),
              0U)
        << rows[1];
}

TEST_F(IndexCommand, DueListsThePatientsWhoseNextReviewIsOnOrBeforeTheDay)
{
    // A plan of 2026-03-31 is due three months on, on 2026-06-30; one of
    // the same name and another birth date is another patient.
    TPRACTDATA sato = fullPlan();
    sato.Name = cp932::fromUtf8("佐藤 花子");
    sato.PlanDate = encodeDate(2026, 3, 31);
    write("sato.pdf", sato);
    sato.BirthDate = encodeDate(1941, 5, 6);
    sato.PlanDate = encodeDate(2026, 4, 10);
    write("sato-other.pdf", sato);
    const std::string yamada = (fs::absolute(folder) / "new.pdf").string();
    const auto names = [&](const std::string &options) {
        std::vector<std::string> args = {"index", folder.string(), "--due"};
        for (const std::string &option : lines(options, " ")) {
            args.push_back(option);
        }
        const auto result = run(args);
        EXPECT_EQ(result.status, 0) << result.err;
        std::vector<std::string> out;
        for (const std::string &row : lines(result.out)) {
            out.push_back(json::parse(row)["Name"]);
        }
        return out;
    };
    EXPECT_EQ(names("--on 2026-06-29"), std::vector<std::string>{"山田,\"太郎\""});
    EXPECT_EQ(names("--on 2026-06-30"), (std::vector<std::string>{"山田,\"太郎\"", "佐藤 花子"}));
    EXPECT_EQ(names("--on 2026-07-10 --months 4"), std::vector<std::string>{"山田,\"太郎\""});
    EXPECT_EQ(names("--on 2024-07-31"), std::vector<std::string>{});
    EXPECT_EQ(names("").size(), 3U); // today, long after all three

    const auto row = json::parse(lines(run({"index", folder.string(), "--due", "--on", "2026-06-30"}).out)[0]);
    json expected = json::parse(R"({"Name": "山田,\"太郎\"", "BirthDate": "1950-03-04", "LatestPlanDate": "2024-05-01",
                                    "NextReview": "2024-08-01"})");
    expected["File"] = yamada;
    EXPECT_EQ(row, expected);
    const auto csv = run({"index", folder.string(), "--csv", "--due", "--on", "2024-08-01"});
    EXPECT_EQ(csv.out, "Name,BirthDate,LatestPlanDate,NextReview,File\r\n\"山田,\"\"太郎\"\"\",1950-03-04,2024-05-01,"
                       "2024-08-01," +
                           yamada + "\r\n");
    EXPECT_EQ(run({"index", folder.string(), "--due", "--csv", "--on", "2024-07-31"}).out,
              "Name,BirthDate,LatestPlanDate,NextReview,File\r\n");

    for (const char *bad : {"--due --on 2026-6-30", "--due --on 2026-02-30", "--due --months 0", "--due --months 25",
                            "--on 2026-06-30", "--due --months"}) {
        std::vector<std::string> args = {"index", folder.string()};
        for (const std::string &option : lines(bad, " ")) {
            args.push_back(option);
        }
        EXPECT_EQ(run(args).status, 2) << bad;
    }
}

TEST_F(IndexCommand, DiffListsTheChangedFieldsWithTheirCaptions)
{
    const auto result = run({"diff", (folder / "old.pdf").string(), (folder / "new.pdf").string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const json diff = json::parse(result.out);
    const json expected = json::parse(R"json([
        {"Field": "PlanDate", "Caption": "計画評価実施日", "Old": "令和06年01月31日", "New": "令和06年05月01日"},
        {"Field": "Kenkou", "Caption": "健康状態(原因疾患，発症・受傷日等)",
         "Old": "脳梗塞（2023年5月）\n\n右片麻痺", "New": "脳梗塞\n改善"},
        {"Field": "MotionItems[0].ABC[4]", "Caption": "寝返り　行わず", "Old": "ＡＢ", "New": "Ｃ"}
    ])json");
    EXPECT_EQ(diff["Changes"], expected) << diff.dump(2);

    const auto refused = run({"diff", (folder / "old.pdf").string(), (folder / "notes.pdf").string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(run({"diff", "a.pdf"}).status, 2);
    EXPECT_EQ(run({"index", (dir / "missing").string()}).status, 1);
}

// Memory running out ends a command with exit 1 and a message, never an
// abort: the reader's message for a file it could not finish (which the
// index does not cache), the tool's own elsewhere.
TEST_F(IndexCommand, RunningOutOfMemoryEndsWithExitOneAndAMessage)
{
    const std::string old = (fs::absolute(folder) / "old.pdf").string();
    testsupport::writeFile(dir / "big.json", "{\"Name\": \"" + std::string(100'000, 'n') + "\"}");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"index", folder.string()}, "ovilant-plan: " + old + ": PDF READ MEMORY ERROR\n"},
        {{"diff", old, old}, "ovilant-plan: " + old + ": PDF READ MEMORY ERROR\n"},
        {{"dump", old}, "PDF READ MEMORY ERROR\n"},
        {{"check", (dir / "big.json").string()}, "ovilant-plan: out of memory\n"},
    };
    for (const auto &[args, message] : cases) {
        testsupport::RunResult result;
        {
            const testsupport::FailingAllocations scarce(16 * 1024);
            result = run(args);
        }
        EXPECT_EQ(result.status, 1) << args[0];
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    }
    const auto again = run({"index", folder.string()});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(lines(again.out).size(), 2U) << again.out;
}

} // namespace
