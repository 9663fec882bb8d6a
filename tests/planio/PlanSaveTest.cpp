// The plan file as the save commands write it: its bytes depend only on
// the plan, the creator text and the time, whichever thread saves and
// whatever it saved before; its name and its Creator text.

#include "FullPlan.h"
#include "planio/PlanSave.h"

#include "plan/Common.h"
#include "plan/Cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

TDateTime saveTime()
{
    return encodeDateTime(2024, 1, 31, 14, 5, 9);
}

std::string j(const char *utf8)
{
    return cp932::fromUtf8(utf8);
}

std::string pdfOf(const TPRACTDATA &plan)
{
    return MakePlanPdf(plan, PlanCreatorText(saveTime()), saveTime());
}

// Each thread keeps one layout form for all its saves. A file must depend
// only on its own plan: not on the plan saved before it in the same thread,
// nor on saves running at the same time in other threads.
TEST(PlanSave, AFileDependsOnlyOnItsOwnPlan)
{
    const TPRACTDATA marked = fullPlan();
    TPRACTDATA unmarked = fullPlan();
    unmarked.Name = j("別人");
    for (int row : planRowNumbers()) {
        planRow(unmarked, row).Special = 5;
    }
    std::string fresh;
    std::thread([&] { fresh = pdfOf(unmarked); }).join();
    EXPECT_EQ(fresh.find("<819D> Tj"), std::string::npos) << "a priority mark where the plan has none";

    ASSERT_NE(pdfOf(marked).find("<819D> Tj"), std::string::npos); // the thread's form now holds marks
    EXPECT_EQ(pdfOf(unmarked), fresh);

    const std::string expectedMarked = pdfOf(marked);
    std::vector<std::string> results(2);
    std::thread other([&] {
        for (int i = 0; i < 10 && results[1].empty(); ++i) {
            if (pdfOf(unmarked) != fresh) {
                results[1] = "unmarked";
            }
        }
    });
    for (int i = 0; i < 10 && results[0].empty(); ++i) {
        if (pdfOf(marked) != expectedMarked) {
            results[0] = "marked";
        }
    }
    other.join();
    EXPECT_EQ(results, (std::vector<std::string>{"", ""})) << "concurrent saves disturbed each other";
}

TEST(PlanFileName, NoLeadingZerosAndTheNameUnchanged)
{
    TPRACTDATA plan;
    plan.Name = j("山田太郎");
    plan.PlanDate = encodeDateTime(2024, 1, 31, 9, 0, 0);
    EXPECT_EQ(PlanFileName(plan), j("実施計画 山田太郎 2024_1_31.pdf"));
    plan.PlanDate = encodeDate(2009, 10, 5);
    plan.Name = "a b";
    EXPECT_EQ(PlanFileName(plan), j("実施計画 ") + "a b 2009_10_5.pdf");
}

TEST(PlanFileName, PathSeparatorsAreFoundButNotInsideDoubleByteCharacters)
{
    EXPECT_TRUE(IsPlainFileName(j("実施計画 ソフト表 2024_1_31.pdf"))) << "ソ and 表 end in byte 5C";
    EXPECT_FALSE(IsPlainFileName(j("実施計画 ../x 2024_1_31.pdf")));
    EXPECT_FALSE(IsPlainFileName("a\\b.pdf"));
    EXPECT_FALSE(IsPlainFileName(std::string("a\0b.pdf", 7)));
    EXPECT_TRUE(IsPlainFileName("plain.pdf"));
}

TEST(PlanCreator, TimeOfDayInFullWidthCharacters)
{
    EXPECT_EQ(PlanCreatorText(encodeDateTime(2024, 1, 31, 14, 5, 9)), j("１４：０５：０９"));
    EXPECT_EQ(PlanCreatorText(encodeDateTime(2024, 1, 31, 9, 0, 59)), j("９：００：５９"));
    EXPECT_EQ(PlanCreatorText(encodeDate(2024, 1, 31)), j("０：００：００"));
    EXPECT_EQ(PlanCreatorText(encodeDateTime(2024, 1, 31, 23, 59, 59) + 0.9 / 86400.0), j("２３：５９：５９"));

    // Whatever the time format, every character becomes full-width; one
    // that has no full-width form in the table becomes ０, a double-byte
    // character counting once.
    EXPECT_EQ(FullWidthTimeText("0123456789"), j("０１２３４５６７８９"));
    EXPECT_EQ(FullWidthTimeText("1.2/3:4"), j("１．２／３：４"));
    EXPECT_EQ(FullWidthTimeText("AM 9:05"), j("０００９：０５"));
    EXPECT_EQ(FullWidthTimeText(j("午後2:05")), j("００２：０５"));
    EXPECT_EQ(FullWidthTimeText(""), "");
}

} // namespace
