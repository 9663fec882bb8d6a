// The fixed texts of the plan file and the rule that finds a field's text.

#include "planfile/PlanDecode.h"
#include "planfile/PlanFieldTable.h"
#include "planfile/PlanFormat.h"

#include "plan/Cp932.h"

#include <gtest/gtest.h>

namespace {

std::string utf8(std::string_view cp932Text)
{
    return cp932::toUtf8(cp932Text);
}

TEST(PlanFormat, FixedTextsAreTheirCp932Bytes)
{
    EXPECT_EQ(utf8(planfile::kAuthor), "Ｒ１．０");
    EXPECT_EQ(utf8(planfile::kSubject), "ＲＩＨＡ");
    EXPECT_EQ(utf8(planfile::kSexes[0]), "男性");
    EXPECT_EQ(utf8(planfile::kSexes[1]), "女性");
    const char *const levels[] = {"要支援１", "要支援２", "要介護１", "要介護２", "要介護３", "要介護４", "要介護５"};
    for (std::size_t i = 0; i < planfile::kCareLevels.size(); ++i) {
        EXPECT_EQ(utf8(planfile::kCareLevels[i]), levels[i]) << i;
    }
    EXPECT_EQ(utf8(planfile::kTick), "レ");
    EXPECT_EQ(utf8(planfile::kPriorityMarks[0]), "　");
    EXPECT_EQ(utf8(planfile::kPriorityMarks[1]), "○");
    EXPECT_EQ(utf8(planfile::kPriorityMarks[2]), "◎");
    EXPECT_EQ(utf8(planfile::kNotAPlanMessage), "このＰＤＦファイルはリハビリ実施計画書ではありません。");
}

TEST(PlanFormat, MarkersAreComparedAfterTrimmingBlanksAndControlBytes)
{
    const std::string author(planfile::kAuthor);
    const std::string subject(planfile::kSubject);
    EXPECT_TRUE(planfile::isPlanFile(" \t" + author + "\r\n", std::string("\0", 1) + subject));
    EXPECT_FALSE(planfile::isPlanFile(subject, author));
    EXPECT_FALSE(planfile::isPlanFile("\x81\x40" + author, subject)) << "a full-width space is not trimmed";
}

TEST(FieldItems, TheFirstItemWithinFiveUnitsOnTheFieldsPageHoldsIt)
{
    const planfile::PlanField &date = planfile::kPlanFields[0]; // page 1 (488, 822)
    std::vector<planfile::TextItem> items = {
        {1, date.x + 6, date.y, {"too far right"}},
        {2, date.x, date.y, {"other page"}},
        {1, date.x - 5, date.y + 5, {"corner"}},
        {1, date.x, date.y, {"later"}},
    };
    const auto lines = [&](int field) -> const std::vector<std::string> * {
        const auto index = planfile::findFieldItem(field, items.size(), [&](std::size_t i) {
            return planfile::ItemPlace{items[i].page, items[i].x, items[i].y};
        });
        return index ? &items[*index].lines : nullptr;
    };
    ASSERT_NE(lines(0), nullptr);
    EXPECT_EQ(lines(0)->front(), "corner");
    const planfile::PlanField &kaigo = planfile::kPlanFields[5];
    items.push_back({1, kaigo.x, kaigo.y, {"care level"}});
    EXPECT_EQ(lines(5), nullptr) << "a field index not below the number of items finds nothing";
    items.push_back({});
    ASSERT_NE(lines(5), nullptr);
    EXPECT_EQ(lines(5)->front(), "care level");
    EXPECT_EQ(lines(-1), nullptr);
    EXPECT_EQ(lines(248), nullptr);
}

} // namespace
