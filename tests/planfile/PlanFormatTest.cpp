// The fixed texts of the plan file and the rule that finds a field's text.

#include "planfile/PlanDecode.h"
#include "planfile/PlanFieldTable.h"
#include "planfile/PlanFormat.h"

#include "plan/Cp932.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

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
    std::vector<planfile::ItemPlace> places = {
        {1, date.x + 6, date.y},     // too far right
        {2, date.x, date.y},         // other page
        {1, date.x - 5, date.y + 5}, // corner
        {1, date.x, date.y},         // later
    };
    EXPECT_EQ(planfile::findFieldItems(places)[0], 2u) << "the corner, the first within the bounds";
    const planfile::PlanField &kaigo = planfile::kPlanFields[5];
    places.push_back({1, kaigo.x, kaigo.y});
    EXPECT_EQ(planfile::findFieldItems(places)[5], planfile::kNoItem)
        << "a field index not below the number of items finds nothing";
    places.push_back({});
    EXPECT_EQ(planfile::findFieldItems(places)[5], 4u);
    // Some of a file's items: the count of all of them decides.
    const std::vector<planfile::ItemPlace> some(places.begin() + 4, places.begin() + 5);
    EXPECT_EQ(planfile::findFieldItems(some, 5, planfile::currentLayout())[5], planfile::kNoItem);
    EXPECT_EQ(planfile::findFieldItems(some, 6, planfile::currentLayout())[5], 0u);
}

// The search by height finds what a look at every field would: every field
// at its own point and at each corner of its window, none just outside.
TEST(FieldItems, EveryFieldIsFoundAtTheEdgesOfItsWindow)
{
    for (const planfile::PlanField &field : planfile::kPlanFields) {
        for (const auto &[dx, dy, held] : std::vector<std::tuple<int, int, bool>>{
                 {0, 0, true}, {-5, -5, true}, {5, 5, true}, {-5, 5, true}, {6, 0, false}, {0, -6, false}}) {
            std::vector<planfile::ItemPlace> places(planfile::kPlanFields.size(), planfile::ItemPlace{0, 0, 0});
            places.back() = {field.page, field.x + dx, field.y + dy};
            const planfile::FieldItems found = planfile::findFieldItems(places);
            const bool at = found[static_cast<std::size_t>(field.index)] == places.size() - 1;
            EXPECT_EQ(held, planfile::liesAtField(field, field.page, field.x + dx, field.y + dy));
            EXPECT_EQ(at, held) << field.key << " " << dx << " " << dy;
        }
    }
}

} // namespace
