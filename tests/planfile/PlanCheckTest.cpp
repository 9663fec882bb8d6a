// The checks before saving: their order over several faults, what they
// store on the way, the messages and the reading of numbers.

#include "planfile/PlanCheck.h"
#include "planfile/PlanFieldValue.h"

#include "plan/Common.h"
#include "plan/Cp932.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// The field with this record key.
const planfile::PlanField *field(const char *key)
{
    return planfile::fieldByKey(key);
}

// A plan that passes every check.
planfile::PlanEntry validEntry()
{
    planfile::PlanEntry entry;
    ResetPlan(entry.Plan, encodeDate(2024, 1, 31));
    entry.BirthText = FormatEraDate(encodeDate(1950, 4, 1));
    entry.HDSText = "30";
    return entry;
}

TEST(CheckPlan, ReportsTheFirstFaultInSaveOrderAndStoresOnlyWhatCameBefore)
{
    planfile::PlanEntry entry = validEntry();
    entry.Plan.Jitchi0Text = "before";
    planRow(entry.Plan, 25).ABC[1] = "BC";
    planRow(entry.Plan, 25).Goods = std::string(59, 'g');
    entry.Plan.PTOTST1Text = "after";
    entry.Plan.Team[7] = std::string(51, 't');

    TPRACTDATA stored;
    ResetPlan(stored, encodeDate(2024, 1, 31));
    auto fault = planfile::CheckPlan(entry, &stored);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->where, field("MotionItems[5].Goods"));
    EXPECT_EQ(fault->message, planfile::tooLongMessage(58));
    EXPECT_EQ(stored.Jitchi0Text, "before");
    EXPECT_EQ(planRow(stored, 25).ABC[1], "BC") << "a row's marks are stored before its Goods are checked";
    EXPECT_EQ(stored.Age, 73);
    EXPECT_TRUE(planRow(stored, 25).Goods.empty());
    EXPECT_TRUE(stored.PTOTST1Text.empty());

    planRow(entry.Plan, 25).Goods = std::string(58, 'g');
    fault = planfile::CheckPlan(entry, &stored);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->where, field("Team[7]"));
    EXPECT_EQ(fault->message, planfile::tooLongMessage(50));
    EXPECT_EQ(stored.PTOTST1Text, "after");
    EXPECT_TRUE(stored.Team[7].empty());

    entry.Plan.Team[7] = std::string(50, 't');
    EXPECT_FALSE(planfile::CheckPlan(entry, &stored));
    EXPECT_EQ(stored.Team[7], entry.Plan.Team[7]);
}

TEST(CheckPlan, AnUnrepresentableInputFailsInItsTurnBeforeItsLength)
{
    planfile::PlanEntry entry = validEntry();
    entry.Plan.Name = std::string(51, 'n');
    entry.Unrepresentable = field("Kenkou");
    auto fault = planfile::CheckPlan(entry);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->where, field("Name"));

    entry.Plan.Name = "n";
    entry.BirthText = blankEraDateTemplate();
    fault = planfile::CheckPlan(entry);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->where, field("BirthDate"));
    EXPECT_EQ(fault->message, planfile::dateErrorMessage());

    entry.BirthText = FormatEraDate(encodeDate(1950, 4, 1));
    fault = planfile::CheckPlan(entry);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->where, field("Kenkou"));
    EXPECT_EQ(fault->message, planfile::unrepresentableMessage());
}

TEST(CheckPlan, AControlCharacterOtherThanALineBreakIsRefused)
{
    const std::pair<std::string, bool> cases[] = {
        {"a\x03", false}, {"\tb", false}, {"x\x1b", false}, {"a\x7f", false}, {std::string("a\0b", 3), false},
        {"a\r\nb", true}, {"\x83\x40", true}, // ァ: no byte of a double-byte character is taken for one
    };
    for (const auto &[text, passes] : cases) {
        planfile::PlanEntry entry = validEntry();
        entry.Plan.Kenkou = text;
        const auto fault = planfile::CheckPlan(entry);
        EXPECT_EQ(!fault, passes) << text;
        if (fault) {
            EXPECT_EQ(fault->where, field("Kenkou"));
            EXPECT_EQ(fault->message, planfile::unrepresentableMessage());
        }
    }
}

// A birth date on a later day than the plan date is the date error, stored
// nowhere; the same day (whatever the plan's time of day) passes with age 0.
TEST(CheckPlan, BirthDateAfterThePlanDateIsADateError)
{
    planfile::PlanEntry entry = validEntry();
    entry.Plan.PlanDate = encodeDateTime(2026, 5, 1, 9, 30, 0);
    entry.BirthText = FormatEraDate(encodeDate(2038, 1, 1));
    TPRACTDATA stored;
    ResetPlan(stored, entry.Plan.PlanDate);
    const TDateTime before = stored.BirthDate;
    auto fault = planfile::CheckPlan(entry, &stored);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->where, field("BirthDate"));
    EXPECT_EQ(fault->message, planfile::dateErrorMessage());
    EXPECT_EQ(stored.BirthDate, before);

    entry.BirthText = FormatEraDate(encodeDate(2026, 5, 2));
    EXPECT_TRUE(planfile::CheckPlan(entry));
    entry.BirthText = FormatEraDate(encodeDate(2026, 5, 1));
    EXPECT_FALSE(planfile::CheckPlan(entry, &stored));
    EXPECT_EQ(stored.Age, 0);
}

TEST(CheckPlan, MessagesAndNumbers)
{
    // Every limit's message, as the user reads it.
    const std::pair<std::size_t, const char *> messages[] = {
        {50, "入力文字数がオーバーしています。\n半角50文字・全角25文字以内で入力してください。"},
        {254, "入力文字数がオーバーしています。\n半角254文字・全角127文字以内で入力してください。"},
        {38, "入力文字数がオーバーしています。\n半角38文字・全角19文字以内で入力してください。"},
        {98, "入力文字数がオーバーしています。\n半角98文字・全角49文字以内で入力してください。"},
        {58, "入力文字数がオーバーしています。\n半角58文字・全角29文字以内で入力してください。"},
        {8, "入力文字数がオーバーしています。\n半角8文字・全角4文字以内で入力してください。"},
        {1000, "入力文字数がオーバーしています。\n半角1000文字・全角500文字以内で入力してください。"},
        {2, "入力文字数がオーバーしています。\n半角2文字で入力してください。"},
    };
    for (const auto &[limit, text] : messages) {
        EXPECT_EQ(cp932::toUtf8(planfile::tooLongMessage(limit)), text) << limit;
    }
    EXPECT_EQ(planfile::readNumber(" 5"), 5);
    EXPECT_EQ(planfile::readNumber("-1"), -1);
    EXPECT_EQ(planfile::readNumber("30"), 30);
    EXPECT_FALSE(planfile::readNumber(""));
    EXPECT_FALSE(planfile::readNumber("5 "));
    EXPECT_FALSE(planfile::readNumber("\x82\x54")); // a full-width digit
    EXPECT_FALSE(planfile::readNumber("-"));
    // Beyond 1000000009 either way the text is not a number (digits message).
    EXPECT_EQ(planfile::readNumber("-1000000009"), -1000000009);
    EXPECT_FALSE(planfile::readNumber("1000000010"));
}

} // namespace
