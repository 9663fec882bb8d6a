#include "plan/Cp932.h"
#include "plan/PracticePlanType.h"

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
