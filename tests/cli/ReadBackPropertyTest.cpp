// No plan that `render` writes is ever taken for a damaged file when it is
// read back: the plans of the JSON fuzzer's corpus, and random plans whose
// long texts, full of blanks and blank lines, are cut by their boxes at a
// blank, before a blank line, at the bottom and where a wrap breaks them.

#include "cli/PlanJson.h"
#include "plan/Common.h"
#include "plan/Cp932.h"
#include "planfile/PlanFieldValue.h"
#include "planio/PlanRead.h"
#include "planio/PlanSave.h"
#include "planio/ReadBackCheck.h"

#include "support/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <variant>

namespace {

const TDateTime kNow = encodeDateTime(2024, 1, 31, 14, 5, 9);

// Renders a JSON plan render takes and reads the file back; the item where
// the check finds a difference, or "".
std::string flaggedAfterRender(const nlohmann::json &json)
{
    const TPRACTDATA plan = std::get<TPRACTDATA>(planjson::planFromJson(json, kNow));
    const auto difference =
        planio::findDifference(planio::loadPlanBytes(MakePlanPdf(plan, PlanCreatorText(kNow), kNow)));
    return difference ? "at " + difference->itemName + " in " + json.dump() : std::string();
}

// Runs of letters, full-width characters and blanks, and in memos line
// breaks and blank lines, up to `limit` CP932 bytes (a line break counts 2).
std::string randomText(std::mt19937 &random, std::size_t limit, bool memo)
{
    static const std::vector<std::string> runs = {"a", "w", "あ", "漢", " ", "　", "ｱ", "(", "\\"};
    static const std::vector<std::string> breaks = {"\n", "\n\n", "\n \n", " \n", "\n　"};
    const std::size_t target = random() % 3 == 0 ? random() % (limit + 1) : limit;
    std::string text;
    for (std::size_t bytes = 0;;) {
        std::string piece;
        if (memo && random() % 6 == 0) {
            piece = breaks[random() % breaks.size()];
        } else {
            const std::string &run = runs[random() % runs.size()];
            for (std::size_t n = 1 + random() % 12; n > 0; --n) {
                piece += run;
            }
        }
        const std::size_t size =
            cp932::fromUtf8(piece).size() + static_cast<std::size_t>(std::count(piece.begin(), piece.end(), '\n'));
        if (bytes + size > target) {
            return text;
        }
        text += piece;
        bytes += size;
    }
}

nlohmann::json randomPlan(std::mt19937 &random)
{
    TPRACTDATA plan;
    ResetPlan(plan, kNow);
    plan.BirthDate = encodeDate(1920 + static_cast<int>(random() % 90), 1 + static_cast<int>(random() % 12), 1);
    plan.Age = AgeInYears(plan.BirthDate, kNow);
    plan.HDS = static_cast<std::int32_t>(random() % 31);
    static const std::vector<std::string> marks = {"", "A", "C", "AB", "BC", "ABC"};
    for (const planfile::PlanField &field : planfile::kPlanFields) {
        using planfile::FieldKind;
        const auto pick = [&random](std::size_t count) { return static_cast<std::int32_t>(random() % count); };
        if (field.kind == FieldKind::Text || field.kind == FieldKind::Memo) {
            const bool memo = field.kind == FieldKind::Memo;
            planfile::setFieldText(plan, field, cp932::fromUtf8(randomText(random, field.limit, memo)));
        } else if (field.kind == FieldKind::Mark) {
            planfile::setFieldText(plan, field, marks[static_cast<std::size_t>(pick(marks.size()))]);
        } else if (field.kind == FieldKind::Tick) {
            planfile::setFieldTick(plan, field, pick(2) == 1);
        } else if (field.kind == FieldKind::Priority) {
            planfile::setFieldNumber(plan, field, pick(3));
        } else if (field.kind == FieldKind::Choice) {
            planfile::setFieldNumber(plan, field, pick(planfile::choiceItems(field.choices).size() + 1) - 1);
        }
    }
    return nlohmann::json::parse(planjson::planToJson(plan).dump());
}

TEST(ReadBackProperty, PlansOfTheJsonCorpusAreNeverFlagged)
{
    std::size_t rendered = 0;
    for (const auto &entry : std::filesystem::directory_iterator(OVILANT_JSON_CORPUS_DIR)) {
        std::string error;
        const nlohmann::json json = planjson::parseJsonText(testsupport::readFile(entry.path()), error);
        if (error.empty() && std::holds_alternative<TPRACTDATA>(planjson::planFromJson(json, kNow))) {
            EXPECT_EQ(flaggedAfterRender(json), "") << entry.path();
            ++rendered;
        }
    }
    EXPECT_GE(rendered, 10u) << "the corpus should hold plans that render takes";
}

TEST(ReadBackProperty, RandomPlansWithLongTextsAndBlanksAreNeverFlagged)
{
    std::mt19937 random(2024);
    for (int trial = 0; trial < 40; ++trial) {
        const nlohmann::json json = randomPlan(random);
        ASSERT_TRUE(std::holds_alternative<TPRACTDATA>(planjson::planFromJson(json, kNow))) << json.dump();
        EXPECT_EQ(flaggedAfterRender(json), "");
    }
}

} // namespace
