// The fit test: which texts of a plan will not print whole, measured by the
// report engine itself, and the line breaking that makes a memo fit.

#include "ContentParse.h"
#include "FormPdf.h"
#include "FullPlan.h"
#include "report/PlanFit.h"

#include "planfile/PlanFieldValue.h"

#include "plan/Common.h"
#include "plan/Cp932.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The field with this record key.
const planfile::PlanField &field(const char *key)
{
    return *planfile::fieldByKey(key);
}

std::string j(const char *utf8)
{
    return cp932::fromUtf8(utf8);
}

// `count` full-width characters, cycling through a few distinct ones.
std::string kanji(int count)
{
    static const char *const chars[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += j(chars[i % 10]);
    }
    return text;
}

TEST(PlanFit, ANameFitsUpToTheWidthOfItsBoxAndOneMoreCharacterIsCut)
{
    // The name block is 81 points wide at 10 points: eight full-width characters.
    EXPECT_TRUE(planfit::CheckFieldFit(field("Name"), kanji(8)).fits());
    const planfit::FieldFit nine = planfit::CheckFieldFit(field("Name"), kanji(9));
    ASSERT_EQ(nine.wideLines.size(), 1u);
    EXPECT_EQ(nine.wideLines[0].line, 1);
    EXPECT_EQ(nine.wideLines[0].lost, j("九"));
    EXPECT_EQ(nine.firstDroppedLine, 0);

    // The whole plan: the sample plan fits; with the long name only the name is cut.
    EXPECT_TRUE(planfit::CheckPlanFit(fullPlan()).empty());
    TPRACTDATA plan = fullPlan();
    plan.Name = kanji(9);
    const auto cuts = planfit::CheckPlanFit(plan);
    ASSERT_EQ(cuts.size(), 1u);
    EXPECT_EQ(cuts[0].where, &field("Name"));
    EXPECT_EQ(cuts[0].wideLines[0].lost, j("九"));
}

TEST(PlanFit, MemoLinesBelowTheBoxAndLinesOneCharacterTooWide)
{
    // The Gapei block holds two lines.
    EXPECT_TRUE(planfit::CheckFieldFit(field("Gapei"), j("一行目\r\n二行目")).fits());
    const planfit::FieldFit three = planfit::CheckFieldFit(field("Gapei"), j("一行目\r\n二行目\r\n三行目"));
    EXPECT_TRUE(three.wideLines.empty());
    EXPECT_EQ(three.firstDroppedLine, 3);
    EXPECT_EQ(three.dropped, j("三行目"));

    // The Kenkou block is 205 points wide at 8 points: 25 full-width characters a line.
    EXPECT_TRUE(planfit::CheckFieldFit(field("Kenkou"), kanji(3) + "\r\n" + kanji(25)).fits());
    const planfit::FieldFit wide = planfit::CheckFieldFit(field("Kenkou"), kanji(3) + "\r\n" + kanji(26));
    ASSERT_EQ(wide.wideLines.size(), 1u);
    EXPECT_EQ(wide.wideLines[0].line, 2);
    EXPECT_EQ(wide.wideLines[0].lost, j("六"));

    // Spaces beyond the edge are no loss worth a warning.
    EXPECT_TRUE(planfit::CheckFieldFit(field("Kenkou"), kanji(25) + "    \r\n" + kanji(1)).fits());
    // The Time cells print as labels, which are never cut.
    EXPECT_TRUE(planfit::CheckFieldFit(field("ActivityItems[3].Time"), kanji(4)).fits());
}

TEST(PlanFit, BrokenLinesPrintWhole)
{
    // The stock phrase in the PT,OT,ST column (74 points, 8 points: nine characters a line).
    const std::string phrase = j("関節可動域訓練を実施する。");
    const planfit::FieldFit cut = planfit::CheckFieldFit(field("PTOTST0Text"), phrase);
    ASSERT_EQ(cut.wideLines.size(), 1u);
    EXPECT_EQ(cut.wideLines[0].lost, j("施する。"));
    const std::string broken = planfit::BreakWideLines(field("PTOTST0Text"), phrase);
    EXPECT_EQ(broken, j("関節可動域訓練を実\r\n施する。"));
    EXPECT_TRUE(planfit::CheckFieldFit(field("PTOTST0Text"), broken).fits());

    // Three lines of 40 characters in Kenkou become six lines that fill the block.
    const std::string lines = kanji(40) + "\r\n" + kanji(40) + "\r\n" + kanji(40);
    const std::string kenkou = planfit::BreakWideLines(field("Kenkou"), lines);
    EXPECT_EQ(std::count(kenkou.begin(), kenkou.end(), '\n'), 5);
    EXPECT_TRUE(planfit::CheckFieldFit(field("Kenkou"), kenkou).fits());

    // The printout shows every broken line whole.
    TPRACTDATA plan = fullPlan();
    plan.PTOTST0Text = broken;
    plan.Kenkou = kenkou;
    EXPECT_TRUE(planfit::CheckPlanFit(plan).empty());
    const auto page1 = textObjectsOf(streamsOf(formPdf(plan, "c", encodeDate(2024, 1, 31)))[0]);
    const auto at = [&](double x, double y) {
        return std::find_if(page1.begin(), page1.end(), [&](const TextObject &t) { return t.x == x && t.y == y; });
    };
    const auto pt = at(350, 554.2);
    ASSERT_NE(pt, page1.end());
    EXPECT_EQ(pt->lines, (std::vector<std::string>{j("関節可動域訓練を実"), j("施する。")}));
    const auto health = at(24, 771.2);
    ASSERT_NE(health, page1.end());
    ASSERT_EQ(health->lines.size(), 6u);
    EXPECT_EQ(health->lines[1], kanji(40).substr(50));
}

} // namespace

namespace {

// A break at a blank takes the blank's place; elsewhere it is inserted,
// following the Japanese rules of line breaking, and every character stays. A goods cell is 55 points wide, two lines, and is
// not wrapped at blanks.
TEST(PlanFit, ABreakAtABlankReplacesTheBlank)
{
    const planfile::PlanField &goods = field("ActivityItems[0].Goods");
    const struct {
        const char *text;
        const char *broken;
    } cases[] = {
        {"Walk 40m Walk 40m", "Walk 40m Walk\r\n40m"},       // cut at the blank
        {"Walk 40m Wal 40m", "Walk 40m Wal\r\n40m"},         // cut right after it
        {"四点杖歩行器　車椅子", "四点杖歩行器\r\n車椅子"}, // a full-width blank
        {"四点杖　歩行器", "四点杖\r\n歩行器"},           // the line's last blank before the cut
        // No line starts with ー, 。 or a closing bracket, none ends with an opening one.
        {"歩行訓練トレーニング", "歩行訓練ト\r\nレーニング"},
        {"歩行器使用す。", "歩行器使用\r\nす。"},
        {"杖と歩行「器」", "杖と歩行\r\n「器」"},
        {"杖と歩行器具ぁ", "杖と歩行器\r\n具ぁ"},
    };
    for (const auto &c : cases) {
        const std::string broken = planfit::BreakWideLines(goods, j(c.text));
        EXPECT_EQ(broken, j(c.broken)) << c.text;
        EXPECT_EQ(planfit::BreakToFit(goods, j(c.text)), broken) << c.text;
    }
    // Nothing to offer: lines below the box, more bytes than the field takes.
    EXPECT_EQ(planfit::BreakToFit(field("Gapei"), j("一\r\n二\r\n三")), std::nullopt);
    const std::string lines = kanji(42) + "\r\n" + kanji(42) + "\r\n" + kanji(40); // 252 bytes in three lines
    EXPECT_TRUE(planfit::CheckFieldFit(field("Kenkou"), planfit::BreakWideLines(field("Kenkou"), lines)).fits());
    EXPECT_EQ(planfit::BreakToFit(field("Kenkou"), lines), std::nullopt) << "six lines of 258 bytes";
}

} // namespace
