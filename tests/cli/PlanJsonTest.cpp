// The JSON form of a plan: starting values for missing keys, line breaks,
// and the round trip record -> JSON -> record.

#include "cli/PlanJson.h"

#include "CliFixture.h"
#include "FuzzEntry.h"
#include "FullPlan.h"
#include "support/Files.h"

#include <filesystem>

#include "plan/Common.h"
#include "plan/Cp932.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

using nlohmann::json;

namespace {

std::string j(const char *utf8)
{
    return cp932::fromUtf8(utf8);
}

TPRACTDATA accepted(const json &plan, TDateTime now = encodeDate(2024, 5, 1))
{
    auto result = planjson::planFromJson(plan, now);
    if (const auto *fault = std::get_if<planjson::Fault>(&result)) {
        ADD_FAILURE() << fault->text();
        return {};
    }
    return std::get<TPRACTDATA>(result);
}

TEST(PlanJson, MissingKeysTakeTheStartingValuesOfANewPlan)
{
    const TDateTime now = encodeDateTime(2024, 5, 1, 10, 0, 0);
    TPRACTDATA expected;
    ResetPlan(expected, now);
    EXPECT_EQ(accepted(json::object(), now), expected);
    EXPECT_EQ(expected.Sex, -1);
    EXPECT_EQ(expected.HDS, 30);

    const TPRACTDATA partial =
        accepted(json::parse(R"({"Name":"佐藤","MotionItems":[{},{},{},{},{},{},{},{"Time":"2週"}]})"), now);
    EXPECT_EQ(partial.Name, j("佐藤"));
    EXPECT_EQ(partial.MotionItems[7].Time, j("2週"));
    EXPECT_EQ(partial.MotionItems[7].Special, 0);
    EXPECT_EQ(partial.ActivityItems[0], TPRACTITEM{});
}

TEST(PlanJson, AgeIsComputedUnlessGiven)
{
    json plan = {{"PlanDate", "2024-03-03"}, {"BirthDate", "1950-03-04"}};
    EXPECT_EQ(accepted(plan).Age, 73);
    plan["PlanDate"] = "2024-03-05";
    EXPECT_EQ(accepted(plan).Age, 74);
    plan["Age"] = nullptr;
    EXPECT_EQ(accepted(plan).Age, 74);
    plan["Age"] = 12;
    EXPECT_EQ(accepted(plan).Age, 12);
}

TEST(PlanJson, LineBreaksBecomeCrLfAndCountTwoBytes)
{
    const TPRACTDATA p = accepted({{"Kenkou", "a\nb\r\nc\rd"}, {"RemarkText", "\n"}});
    EXPECT_EQ(p.Kenkou, "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(p.RemarkText, "\r\n");
    // 63 full-width characters, a break, 63 more: exactly 254 bytes.
    std::string line;
    for (int i = 0; i < 63; ++i) {
        line += "あ";
    }
    EXPECT_EQ(accepted({{"Kenkou", line + "\n" + line}}).Kenkou.size(), 254u);
    const auto result = planjson::planFromJson({{"Kenkou", line + "\n" + line + "a"}}, 0);
    ASSERT_TRUE(std::holds_alternative<planjson::Fault>(result));
    EXPECT_EQ(std::get<planjson::Fault>(result).key, "Kenkou");
}

TEST(PlanJson, DatesInBothShapesAndNothingElse)
{
    EXPECT_EQ(planjson::parseDate("2024-01-31"), encodeDate(2024, 1, 31));
    EXPECT_EQ(planjson::parseDate("2024-01-31T14:05:09"), encodeDateTime(2024, 1, 31, 14, 5, 9));
    for (const char *bad : {"2024-1-31", "2024-02-30", "2023-02-29", "2024-01-31T24:00:00", "2024-01-31 14:05:09",
                            "2024-01-31T14:05", "２０２４-01-31", ""}) {
        EXPECT_FALSE(planjson::parseDate(bad)) << bad;
    }
    EXPECT_EQ(planjson::formatDate(encodeDate(2024, 2, 29)), "2024-02-29");
    EXPECT_EQ(planjson::formatDate(encodeDateTime(1989, 1, 8, 0, 0, 1)), "1989-01-08T00:00:01");
    EXPECT_EQ(planjson::formatDate(encodeDateTime(2019, 5, 1, 23, 59, 59)), "2019-05-01T23:59:59");
}

TEST(PlanJson, RecordToJsonAndBackIsLossless)
{
    std::ifstream in(std::string(OVILANT_TEST_DATA_DIR) + "/plans/full.json");
    const json full = json::parse(in);
    const TPRACTDATA plan = accepted(full);
    EXPECT_EQ(plan.Name, j("山田太郎"));
    EXPECT_EQ(plan.ActivityItems[0].ABC[4], "ABC");
    EXPECT_EQ(plan.SonotaText, "a\\b (c)");
    EXPECT_EQ(plan.Team[1], j("医師 一郎"));

    const nlohmann::ordered_json back = planjson::planToJson(plan);
    EXPECT_EQ(json::parse(back.dump()), withEveryKey(full));
    std::vector<std::string> keys;
    for (const auto &[key, value] : back.items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, planjson::planKeys());
    EXPECT_EQ(accepted(json::parse(back.dump())), plan);
}

// The JSON fuzzer's corpus, replayed through its entry function: every
// input is read or refused, nothing else.
TEST(PlanJsonFuzzCorpus, EveryInputIsReadOrRefused)
{
    std::size_t count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(OVILANT_JSON_CORPUS_DIR)) {
        const std::string data = testsupport::readFile(entry.path());
        SCOPED_TRACE(entry.path().string());
        EXPECT_NO_THROW(planJsonFuzzOne(reinterpret_cast<const std::uint8_t *>(data.data()), data.size()));
        ++count;
    }
    EXPECT_GE(count, 3u) << "the corpus should not be empty";
}

} // namespace

// tests/data/plans/full.json is the full plan of the other tests in the JSON
// form, so that the tool's tests render the plan the golden files show
// (OVILANT_UPDATE_GOLDEN=1 writes it anew, as tests/tools/update-golden.sh
// does).
TEST(PlanJson, TheFullPlanFileIsTheFullPlan)
{
    const std::string path = std::string(OVILANT_TEST_DATA_DIR) + "/plans/full.json";
    const nlohmann::ordered_json full = planjson::planToJson(fullPlan());
    if (std::getenv("OVILANT_UPDATE_GOLDEN") != nullptr) {
        testsupport::writeFile(path, full.dump(2) + "\n");
    }
    std::ifstream in(path);
    EXPECT_EQ(json::parse(in), json::parse(full.dump()));
}
