// A plan written as a PDF and read back with the reader gives the same plan:
// the writer and the reading share one field table and one set of texts.

#include "planfile/PlanDecode.h"

#include "FullPlan.h"
#include "pdfreader/Page.h"
#include "plan/Common.h"
#include "report/PlanPdf.h"

#include <gtest/gtest.h>

namespace {

planfile::PrintedPlan readBack(const TPRACTDATA &plan)
{
    const auto reader = TPdfPage::fromBytes(MakePlanPdf(plan, "creator", encodeDate(2024, 1, 31)));
    return planfile::decodePlan(reader->strings().plainItems());
}

TEST(PlanRoundTrip, AFullPlanReadsBackAsTheSameRecord)
{
    TPRACTDATA plan = fullPlan();
    const planfile::PrintedPlan printed = readBack(plan);
    EXPECT_TRUE(printed.HasPlanDate && printed.HasBirthDate && printed.HasAge && printed.HasHDS);
    EXPECT_EQ(printed.PlanDateText, FormatEraDate(plan.PlanDate));
    EXPECT_EQ(printed.HDSText, std::to_string(plan.HDS));
    // The file holds the dates as days.
    plan.PlanDate = encodeDate(decodeDate(plan.PlanDate).year, decodeDate(plan.PlanDate).month,
                               decodeDate(plan.PlanDate).day);
    plan.BirthDate = encodeDate(decodeDate(plan.BirthDate).year, decodeDate(plan.BirthDate).month,
                                decodeDate(plan.BirthDate).day);
    EXPECT_EQ(printed.Plan, plan);
}

TEST(PlanRoundTrip, NothingChosenReadsBackAsNothingChosen)
{
    TPRACTDATA plan = fullPlan();
    plan.Sex = -1;
    plan.KaigoLevel = -1;
    plan.ActivityItems[0].Special = 0;
    const planfile::PrintedPlan printed = readBack(plan);
    EXPECT_EQ(printed.Plan.Sex, -1);
    EXPECT_EQ(printed.Plan.KaigoLevel, -1);
    EXPECT_EQ(printed.Plan.ActivityItems[0].Special, 0);
    EXPECT_EQ(printed.PriorityTexts[0], "\x81\x40") << "a blank priority mark prints as a full-width space";
}

} // namespace
