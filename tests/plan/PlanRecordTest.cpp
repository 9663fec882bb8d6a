#include "plan/Cp932.h"
#include "plan/DateTime.h"
#include "plan/PracticePlanType.h"
#include "plan/TextParse.h"

#include <gtest/gtest.h>

TEST(PlanRecord, ShortTextAndBuffersCutToTheirCapacity)
{
    ShortText<10> t;
    t = "ABCDEFGHIJKL";
    EXPECT_EQ(t.str(), "ABCDEFGHIJ");
    ShortText<60> goods = cp932::fromUtf8(std::string(30 * 3, 'x')); // 90 ASCII bytes
    EXPECT_EQ(goods.size(), 60u);

    TextBuffer buffer = std::string(1500, 'a');
    EXPECT_EQ(buffer.size(), 1024u);
    buffer = std::string("ab\0cd", 5);
    EXPECT_EQ(buffer.str(), "ab");
}

TEST(PlanRecord, CopiesShareNothing)
{
    TPRACTDATA plan;
    ResetPlan(plan, 45000.5);
    plan.Name = "Yamada";
    plan.ActivityItems[3].Goods = "cane";
    plan.Team[13] = "Dr";
    plan.RemarkText = "memo";

    TPRACTDATA copy = plan;
    copy.Name += "X";
    copy.ActivityItems[3].Goods = "walker";
    copy.Team[13] = "Nurse";
    copy.RemarkText = "changed";
    EXPECT_EQ(plan.Name, "Yamada");
    EXPECT_EQ(plan.ActivityItems[3].Goods, "cane");
    EXPECT_EQ(plan.Team[13], "Dr");
    EXPECT_EQ(plan.RemarkText, "memo");
    EXPECT_NE(plan, copy);
}

TEST(PlanRecord, ResetGivesTheStartingValues)
{
    TPRACTDATA plan;
    plan.Name = "x";
    plan.Home = true;
    plan.MotionItems[7].Special = 2;
    plan.MotionItems[7].ABC[4] = "ABC";
    ResetPlan(plan, 46000.25);
    EXPECT_EQ(plan.PlanDate, 46000.25);
    EXPECT_EQ(plan.BirthDate, 46000.25);
    EXPECT_EQ(plan.Sex, -1);
    EXPECT_EQ(plan.KaigoLevel, -1);
    EXPECT_EQ(plan.Age, 0);
    EXPECT_EQ(plan.HDS, 30);
    EXPECT_TRUE(plan.Name.empty());
    EXPECT_FALSE(plan.Home);
    EXPECT_EQ(plan.MotionItems[7].Special, 0);
    EXPECT_TRUE(plan.MotionItems[7].ABC[4].empty());
}

TEST(PlanRecord, RowNumbersMapToBothTables)
{
    TPRACTDATA plan;
    planRow(plan, 20).Time = "3";
    planRow(plan, 27).Time = "6";
    planRow(plan, 12).Time = "1";
    EXPECT_EQ(plan.MotionItems[0].Time, "3");
    EXPECT_EQ(plan.MotionItems[7].Time, "6");
    EXPECT_EQ(plan.ActivityItems[12].Time, "1");
    EXPECT_THROW(planRow(plan, 13), std::out_of_range);
    EXPECT_THROW(planRow(plan, 28), std::out_of_range);
    EXPECT_EQ(planRowNumbers().size(), 21u);
    EXPECT_EQ(planRowNumbers()[13], 20);
}

TEST(TextParse, IntegerFormsRangesAndTrim)
{
    using plantext::IntForm;
    using plantext::parseInt;
    EXPECT_EQ(parseInt<int>("0042"), 42);
    EXPECT_FALSE(parseInt<int>("-5")) << "a PDF number has no sign";
    EXPECT_FALSE(parseInt<int>("+5"));
    EXPECT_FALSE(parseInt<int>(" 5"));
    EXPECT_FALSE(parseInt<int>(""));
    EXPECT_FALSE(parseInt<int>("12 "));
    EXPECT_FALSE(parseInt<std::int32_t>("2147483648")) << "out of range";
    EXPECT_EQ(parseInt<std::int64_t>("2147483648"), 2147483648LL);

    EXPECT_EQ(parseInt<int>("  -7", IntForm::Signed), -7);
    EXPECT_EQ(parseInt<int>("+7", IntForm::Signed), 7);
    EXPECT_FALSE(parseInt<int>("+-7", IntForm::Signed)) << "one sign only";
    EXPECT_FALSE(parseInt<int>("- 7", IntForm::Signed));
    EXPECT_FALSE(parseInt<int>("  ", IntForm::Signed));

    EXPECT_EQ(plantext::trimmed(" \t\r\nab c\x01 "), "ab c");
    EXPECT_EQ(plantext::trimmed("\x82\x40"), "\x82\x40") << "a full-width space is kept";
}

TEST(TextParse, TimeOfDay)
{
    const auto at = [](TDateTime value) {
        const TimeOfDay t = timeOfDay(value);
        return std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second);
    };
    EXPECT_EQ(at(encodeDateTime(2003, 4, 1, 13, 5, 9)), "13:5:9");
    EXPECT_EQ(at(-1.25), "6:0:0") << "the fraction's absolute value";
    EXPECT_EQ(at(37712.0 + 86399.9996 / 86400.0), "23:59:59") << "rounds to a whole day: stays in its day";
}
