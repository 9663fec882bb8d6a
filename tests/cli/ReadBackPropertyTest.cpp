// No plan that `render` writes is ever taken for a damaged file when it is
// read back: the plans of the JSON fuzzer's corpus, and random plans whose
// texts are long and full of blanks and blank lines, so that boxes cut them
// at a blank, before a blank line, at the bottom and in the middle of a
// wrapped word, and the page-2 header shows more of a long name than the
// name field does.

#include "cli/PlanJson.h"
#include "plan/Common.h"
#include "plan/Cp932.h"
#include "planfile/PlanFieldValue.h"
#include "planio/PlanRead.h"
#include "planio/PlanSave.h"
#include "planio/ReadBackCheck.h"

#include "support/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <variant>

namespace {

const TDateTime kNow = encodeDateTime(2024, 1, 31, 14, 5, 9);

// What render does with a JSON plan, then what opening the file does; the
// first difference the check finds, named. Empty when the file is sound, or
// when render refuses the plan.
std::string flaggedAfterRender(const nlohmann::json &json)
{
    const auto result = planjson::planFromJson(json, kNow);
    const auto *plan = std::get_if<TPRACTDATA>(&result);
    if (plan == nullptr) {
        return {};
    }
    const planio::PlanFileRead read = planio::loadPlanBytes(MakePlanPdf(*plan, PlanCreatorText(kNow), kNow));
    const auto difference = planio::findDifference(read);
    if (!difference) {
        return {};
    }
    return "flagged at " + (difference->itemName.empty() ? std::string("?") : difference->itemName) + " in " +
           json.dump();
}

// A text of at most `limit` CP932 bytes made of runs of letters, full-width
// characters, half-width and full-width blanks and, in memos, line breaks
// and blank lines; most of them long enough for their boxes to cut.
std::string randomText(std::mt19937 &random, std::size_t limit, bool memo)
{
    static const std::vector<std::string> pieces = {"a", "w", "あ", "漢", " ", "  ", "　", "ｱ", "(", "\\"};
    static const std::vector<std::string> breaks = {"\n", "\n\n", "\n \n", " \n", "\n　"};
    const std::size_t target = random() % 3 == 0 ? random() % (limit + 1) : limit;
    std::string utf8;
    std::size_t bytes = 0;
    while (bytes < target) {
        const bool lineBreak = memo && random() % 6 == 0;
        const std::string &piece = lineBreak ? breaks[random() % breaks.size()] : pieces[random() % pieces.size()];
        const std::size_t count = lineBreak ? 1 : 1 + random() % 12;
        std::string run;
        for (std::size_t i = 0; i < count; ++i) {
            run += piece;
        }
        // A memo's line break is CR LF in the record: two bytes.
        std::string cp932 = cp932::fromUtf8(run);
        std::size_t size = cp932.size();
        for (char c : cp932) {
            size += c == '\n' ? 1 : 0;
        }
        if (bytes + size > target) {
            break;
        }
        utf8 += run;
        bytes += size;
    }
    return utf8;
}

nlohmann::json randomPlan(std::mt19937 &random)
{
    TPRACTDATA plan;
    ResetPlan(plan, kNow);
    plan.BirthDate = encodeDate(1920 + static_cast<int>(random() % 90), 1 + static_cast<int>(random() % 12),
                                1 + static_cast<int>(random() % 28));
    plan.Age = AgeInYears(plan.BirthDate, kNow);
    plan.HDS = static_cast<std::int32_t>(random() % 31);
    static const std::vector<std::string> marks = {"", "A", "B", "C", "AB", "AC", "BC", "ABC"};
    for (const planfile::PlanField &field : planfile::kPlanFields) {
        switch (field.kind) {
        case planfile::FieldKind::Text:
        case planfile::FieldKind::Memo: {
            const std::size_t limit = field.limit > 0 ? field.limit : 10;
            const bool memo = field.kind == planfile::FieldKind::Memo;
            planfile::setFieldText(plan, field, cp932::fromUtf8(randomText(random, limit, memo)));
            break;
        }
        case planfile::FieldKind::Mark:
            planfile::setFieldText(plan, field, marks[random() % marks.size()]);
            break;
        case planfile::FieldKind::Tick: planfile::setFieldTick(plan, field, random() % 2 == 0); break;
        case planfile::FieldKind::Priority:
            planfile::setFieldNumber(plan, field, static_cast<std::int32_t>(random() % 3));
            break;
        case planfile::FieldKind::Choice:
            planfile::setFieldNumber(
                plan, field,
                static_cast<std::int32_t>(random() % (planfile::choiceItems(field.choices).size() + 1)) - 1);
            break;
        case planfile::FieldKind::Date:
        case planfile::FieldKind::Number: break;
        }
    }
    // As render gets it: memos with "\n" between lines.
    return nlohmann::json::parse(planjson::planToJson(plan).dump());
}

TEST(ReadBackProperty, PlansOfTheJsonCorpusAreNeverFlagged)
{
    std::size_t rendered = 0;
    for (const auto &entry : std::filesystem::directory_iterator(OVILANT_JSON_CORPUS_DIR)) {
        std::string error;
        const nlohmann::json json = planjson::parseJsonText(testsupport::readFile(entry.path()), error);
        if (!error.empty() || !std::holds_alternative<TPRACTDATA>(planjson::planFromJson(json, kNow))) {
            continue;
        }
        EXPECT_EQ(flaggedAfterRender(json), "") << entry.path();
        ++rendered;
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
