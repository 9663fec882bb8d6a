// A plan written as a PDF and read back with the reader gives the same plan:
// the writer and the reading share one field table and one set of texts.

#include "planfile/PlanDecode.h"
#include "planfile/PlanFieldValue.h"

#include "FullPlan.h"
#include "planio/PlanRead.h"
#include "pdfreader/PdfReadError.h"
#include "plan/Common.h"
#include "plan/Cp932.h"
#include "plan/TextParse.h"
#include "report/PlanFit.h"
#include "planio/PlanSave.h"

#include <gtest/gtest.h>

namespace {

planfile::PrintedPlan readBack(const TPRACTDATA &plan)
{
    return planio::loadPlanBytes(MakePlanPdf(plan, "creator", encodeDate(2024, 1, 31))).printed;
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

// What a text becomes in the file by the fit test's account: each line
// reported too wide loses its cut part, lines from the first one below the
// box are gone.
std::string keptText(std::string_view text, const planfit::FieldFit &fit)
{
    std::vector<std::string> lines;
    const std::string_view printed = plantext::trimmed(text);
    for (std::size_t start = 0;;) {
        const std::size_t end = printed.find("\r\n", start);
        lines.emplace_back(printed.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 2;
    }
    for (const planfit::WideLine &wide : fit.wideLines) {
        std::string &line = lines.at(static_cast<std::size_t>(wide.line - 1));
        EXPECT_TRUE(line.ends_with(wide.lost));
        line.resize(line.size() - wide.lost.size());
    }
    if (fit.firstDroppedLine > 0) {
        lines.resize(static_cast<std::size_t>(fit.firstDroppedLine - 1));
    }
    std::string kept;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        kept += (i > 0 ? "\r\n" : "") + lines[i];
    }
    return kept;
}

std::string fullWidth(const char *utf8, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += cp932::fromUtf8(utf8);
    }
    return text;
}

TEST(PlanRoundTrip, TheFitTestNamesExactlyWhatReopeningLoses)
{
    TPRACTDATA plan = fullPlan();
    plan.Name = fullWidth("山", 25);
    plan.Kenkou = fullWidth("健", 40) + "\r\n" + fullWidth("康", 40) + "\r\n" + fullWidth("状", 40);
    plan.PTOTST0Text = cp932::fromUtf8("関節可動域訓練を実施する。");
    plan.Kango1Text = fullWidth("看", 500);
    plan.SelfHopeText = fullWidth("希", 500);
    plan.Gapei = "a\r\nb\r\nc\r\nd";
    plan.MotionItems[2].Goods = fullWidth("杖", 9);
    plan.Team[7] = "Dr. " + fullWidth("長", 20);

    const std::vector<planfit::FieldFit> cuts = planfit::CheckPlanFit(plan);
    const TPRACTDATA reopened = readBack(plan).Plan;
    std::size_t next = 0;
    for (const planfile::PlanField *field : planfile::checkedFields()) {
        if (field->kind != planfile::FieldKind::Text && field->kind != planfile::FieldKind::Memo) {
            continue;
        }
        planfit::FieldFit fit;
        fit.where = field;
        if (next < cuts.size() && cuts[next].where == field) {
            fit = cuts[next++];
        }
        EXPECT_EQ(planfile::fieldText(reopened, *field), keptText(planfile::fieldText(plan, *field), fit))
            << field->key;
    }
    EXPECT_EQ(next, cuts.size()) << "cuts come in the order of the checks";
    EXPECT_EQ(cuts.size(), 8u);
    EXPECT_EQ(reopened.Name, fullWidth("山", 8));
    EXPECT_EQ(reopened.PTOTST0Text, cp932::fromUtf8("関節可動域訓練を実"));
    EXPECT_EQ(reopened.Kango1Text, fullWidth("看", 9));
}

} // namespace

namespace {

// A page whose box is not the plan's shows its text elsewhere or not at
// all: the file is no plan, though its text objects are all there.
TEST(PlanRoundTrip, OnlyPagesOfThePlansSizeRead)
{
    const std::string bytes = MakePlanPdf(fullPlan(), "creator", encodeDate(2024, 1, 31));
    const std::string box = "/MediaBox [0 0 596 842 ]";
    ASSERT_NE(bytes.find(box), std::string::npos);
    EXPECT_NO_THROW(planio::loadPlanBytes(bytes));
    // Each written over the first page's box with the same length, so that
    // no offset moves.
    for (const std::string other : {"/MediaBox [0 0 1 1     ]", "/MediaBox [0 0 842 596 ]", "/MediaBox [0 0 596 84 2]",
                                    "/CropBox  [0 0 596 842 ]"}) {
        std::string changed = bytes;
        changed.replace(changed.find(box), box.size(), other);
        try {
            planio::loadPlanBytes(changed);
            ADD_FAILURE() << other;
        } catch (const EPdfReadError &e) {
            EXPECT_STREQ(e.what(), "PDF PAGE SIZE ERROR") << other;
        }
    }
}

} // namespace
