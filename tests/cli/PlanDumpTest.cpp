// Reading a plan from the printed items, without files: each field index is
// answered from a map of printed lines (CP932), as the reader facade would.

#include "cli/PlanDump.h"

#include "plan/Cp932.h"
#include "cli/PlanJson.h"

#include <gtest/gtest.h>

#include <map>

using nlohmann::ordered_json;

namespace {

std::string sj(const char *utf8)
{
    return cp932::fromUtf8(utf8);
}

// Printed lines by field index; indices not present have no item.
class Printed {
public:
    Printed &at(int field, std::vector<std::string> lines)
    {
        m_items[field] = std::move(lines);
        return *this;
    }
    // One line given in UTF-8.
    Printed &line(int field, const char *utf8) { return at(field, {sj(utf8)}); }

    ordered_json dump() const
    {
        return plandump::dumpPlan([this](int field) -> const std::vector<std::string> * {
            const auto it = m_items.find(field);
            return it == m_items.end() ? nullptr : &it->second;
        });
    }

private:
    std::map<int, std::vector<std::string>> m_items;
};

constexpr int kSexField = 2;
constexpr int kKaigoField = 5;

TEST(PlanDump, NothingPrintedGivesAnEmptyPlanInTheKeyOrderOfRender)
{
    const ordered_json plan = Printed().dump();

    std::vector<std::string> keys;
    for (const auto &[key, value] : plan.items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, planjson::planKeys());
    for (const char *table : {"ActivityItems", "MotionItems"}) {
        for (const auto &row : plan[table]) {
            std::vector<std::string> rowKeys;
            for (const auto &[key, value] : row.items()) {
                rowKeys.push_back(key);
            }
            EXPECT_EQ(rowKeys, planjson::rowKeys());
            EXPECT_EQ(row["ABC"], ordered_json::array({"", "", "", "", ""}));
            EXPECT_EQ(row["Special"], 0);
        }
    }
    EXPECT_EQ(plan["ActivityItems"].size(), 13u);
    EXPECT_EQ(plan["MotionItems"].size(), 8u);
    EXPECT_EQ(plan["Team"], ordered_json(std::vector<std::string>(13, "")));

    EXPECT_TRUE(plan["PlanDate"].is_null());
    EXPECT_TRUE(plan["BirthDate"].is_null());
    EXPECT_TRUE(plan["Age"].is_null());
    EXPECT_TRUE(plan["HDS"].is_null());
    EXPECT_EQ(plan["Sex"], -1);
    EXPECT_EQ(plan["KaigoLevel"], -1);
    EXPECT_EQ(plan["Home"], false);
    EXPECT_EQ(plan["SonotaFlag"], false);
    EXPECT_EQ(plan["Name"], "");
    EXPECT_EQ(plan["RemarkText"], "");
}

TEST(PlanDump, SexIsChosenOnlyByItsTwoWords)
{
    EXPECT_EQ(Printed().line(kSexField, "男性").dump()["Sex"], 0);
    EXPECT_EQ(Printed().line(kSexField, "女性").dump()["Sex"], 1);
    // An empty item (a plan saved with no sex chosen) and any other text
    // leave the choice open instead of selecting 女性.
    EXPECT_EQ(Printed().line(kSexField, "").dump()["Sex"], -1);
    EXPECT_EQ(Printed().line(kSexField, "男").dump()["Sex"], -1);
    EXPECT_EQ(Printed().line(kSexField, "男性 ").dump()["Sex"], -1);
    EXPECT_EQ(Printed().at(kSexField, {}).dump()["Sex"], -1);
    // Only line 1 counts.
    EXPECT_EQ(Printed().at(kSexField, {sj("女性"), sj("男性")}).dump()["Sex"], 1);
}

TEST(PlanDump, CareLevelIsThePositionInTheList)
{
    const char *levels[] = {"要支援１", "要支援２", "要介護１", "要介護２", "要介護３", "要介護４", "要介護５"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Printed().line(kKaigoField, levels[i]).dump()["KaigoLevel"], i) << levels[i];
    }
    EXPECT_EQ(Printed().line(kKaigoField, "要介護6").dump()["KaigoLevel"], -1);
    EXPECT_EQ(Printed().line(kKaigoField, "要介護3").dump()["KaigoLevel"], -1) << "half-width digit";
    EXPECT_EQ(Printed().line(kKaigoField, "").dump()["KaigoLevel"], -1);
}

TEST(PlanDump, EraDatesAreReadAsCalendarDates)
{
    const auto dates = [](const char *planDate, const char *birth) {
        return Printed().line(0, planDate).line(3, birth).dump();
    };
    ordered_json plan = dates("平成15年 4月 1日", "昭和25年03月04日");
    EXPECT_EQ(plan["PlanDate"], "2003-04-01");
    EXPECT_EQ(plan["BirthDate"], "1950-03-04");
    EXPECT_EQ(dates("令和 6年 1月31日", "明治 1年 1月 1日")["PlanDate"], "2024-01-31");
    EXPECT_EQ(dates("令和 6年 1月31日", "明治 1年 1月 1日")["BirthDate"], "1868-01-01");

    // Texts that the save's date check would refuse come back as null.
    for (const char *bad : {"＿＿__年__月__日", "平成  年  月  日", "平成15年 2月30日", "西暦15年 1月 1日", ""}) {
        plan = dates(bad, bad);
        EXPECT_TRUE(plan["PlanDate"].is_null()) << bad;
        EXPECT_TRUE(plan["BirthDate"].is_null()) << bad;
    }
}

TEST(PlanDump, AgeAndHdsAreNumbersOrNull)
{
    const auto numbers = [](const char *age, const char *hds) { return Printed().line(4, age).line(30, hds).dump(); };
    ordered_json plan = numbers("73", "21");
    EXPECT_EQ(plan["Age"], 73);
    EXPECT_EQ(plan["HDS"], 21);
    plan = numbers(" 5", "0");
    EXPECT_EQ(plan["Age"], 5);
    EXPECT_EQ(plan["HDS"], 0);
    EXPECT_EQ(numbers("-3", "+7")["Age"], -3);
    EXPECT_EQ(numbers("-3", "+7")["HDS"], 7);
    for (const char *bad : {"", "Old", "12a", "１２", "5 ", "99999999999"}) {
        plan = numbers(bad, bad);
        EXPECT_TRUE(plan["Age"].is_null()) << bad;
        EXPECT_TRUE(plan["HDS"].is_null()) << bad;
    }
}

TEST(PlanDump, TicksAreSetOnlyByTheTickMark)
{
    ordered_json plan = Printed().line(9, "レ").line(10, "x").line(12, "").line(18, "レ").at(28, {}).dump();
    EXPECT_EQ(plan["Home"], true);
    EXPECT_EQ(plan["Etc"], false);
    EXPECT_EQ(plan["Taiin"], false);
    EXPECT_EQ(plan["ExerciseFlag"], true);
    EXPECT_EQ(plan["SonotaFlag"], false);
    EXPECT_EQ(plan["SenseFlag"], false);
}

TEST(PlanDump, MarksJoinTwoLinesAndKeepOnlyLettersInOrder)
{
    const int first = 31; // ABC00
    const auto mark = [&](std::vector<std::string> lines) {
        return Printed().at(first, std::move(lines)).dump()["ActivityItems"][0]["ABC"][0];
    };
    EXPECT_EQ(mark({"AB", "C"}), "ABC");
    EXPECT_EQ(mark({"AC"}), "AC");
    EXPECT_EQ(mark({"A", "B"}), "AB");
    EXPECT_EQ(mark({"AB", "C", "X"}), "ABC") << "a third line is not read";
    EXPECT_EQ(mark({"AB", "", "C"}), "AB");
    EXPECT_EQ(mark({"CA"}), "C") << "a letter out of order is dropped";
    EXPECT_EQ(mark({"BA"}), "B");
    EXPECT_EQ(mark({"AAC"}), "AC");
    EXPECT_EQ(mark({"ABCD"}), "ABC");
    EXPECT_EQ(mark({"D"}), "");
    EXPECT_EQ(mark({sj("ＡＢ")}), "") << "full-width letters are not stored letters";
    EXPECT_EQ(mark({}), "");

    // The last cell of the lower table.
    const ordered_json plan = Printed().at(190, {"B", "C"}).dump();
    EXPECT_EQ(plan["MotionItems"][7]["ABC"][4], "BC");
}

TEST(PlanDump, PriorityMarksAreReadFromTheCaption)
{
    const ordered_json plan =
        Printed().line(135, "○").line(136, "◎").line(137, "　").line(138, "◎◎").line(215, "◎").line(222, "○").dump();
    EXPECT_EQ(plan["ActivityItems"][0]["Special"], 1);
    EXPECT_EQ(plan["ActivityItems"][1]["Special"], 2);
    EXPECT_EQ(plan["ActivityItems"][2]["Special"], 0);
    EXPECT_EQ(plan["ActivityItems"][3]["Special"], 0);
    EXPECT_EQ(plan["ActivityItems"][4]["Special"], 0);
    EXPECT_EQ(plan["MotionItems"][0]["Special"], 2);
    EXPECT_EQ(plan["MotionItems"][7]["Special"], 1);
}

TEST(PlanDump, MemosKeepEveryLineAndSingleLineFieldsTheFirst)
{
    const std::vector<std::string> lines = {sj("一行目"), "", "", sj("四行目"), ""};
    const ordered_json plan = Printed()
                                  .at(6, lines)   // Kenkou: memo
                                  .at(1, lines)   // Name: single line
                                  .at(29, lines)  // SonotaText: memo
                                  .at(19, lines)  // ExerciseText: single line
                                  .at(96, lines)  // Goods of row 0
                                  .at(122, lines) // Time of row 0
                                  .at(234, lines) // RemarkText
                                  .at(247, lines) // Team[13]
                                  .dump();
    EXPECT_EQ(plan["Kenkou"], "一行目\n\n\n四行目\n");
    EXPECT_EQ(plan["Name"], "一行目");
    EXPECT_EQ(plan["SonotaText"], "一行目\n\n\n四行目\n");
    EXPECT_EQ(plan["ExerciseText"], "一行目");
    EXPECT_EQ(plan["ActivityItems"][0]["Goods"], "一行目\n\n\n四行目\n");
    EXPECT_EQ(plan["ActivityItems"][0]["Time"], "一行目");
    EXPECT_EQ(plan["RemarkText"], "一行目\n\n\n四行目\n");
    EXPECT_EQ(plan["Team"][12], "一行目");
    EXPECT_EQ(plan["Team"][11], "");
}

TEST(PlanDump, TextsAreConvertedFromCp932)
{
    // Half-width katakana and an NEC special character are single CP932
    // characters; a stray lead byte cannot be converted and is replaced.
    const ordered_json plan =
        Printed().at(1, {sj("ﾘﾊﾋﾞﾘ①")}).at(13, {std::string("ab\x82", 3)}).at(14, {"(x)\\y"}).dump();
    EXPECT_EQ(plan["Name"], "ﾘﾊﾋﾞﾘ①");
    EXPECT_EQ(plan["HomeWork"], "ab\xEF\xBF\xBD");
    EXPECT_EQ(plan["Social"], "(x)\\y");
    // The output is written as valid UTF-8 JSON that reads back the same.
    const std::string text = plan.dump();
    EXPECT_NE(text.find("\"Name\":\"ﾘﾊﾋﾞﾘ①\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"HomeWork\":\"ab\xEF\xBF\xBD\""), std::string::npos) << text;
    EXPECT_NE(text.find(R"("Social":"(x)\\y")"), std::string::npos) << text;
    EXPECT_EQ(ordered_json::parse(text), plan);
}

TEST(PlanDump, PlanFilesAreRecognisedByTheirTrimmedMarkers)
{
    const std::string author = sj("Ｒ１．０");
    const std::string subject = sj("ＲＩＨＡ");
    EXPECT_TRUE(plandump::isPlanFile(author, subject));
    EXPECT_TRUE(plandump::isPlanFile(" \t" + author + "\r\n", std::string("\0", 1) + subject + " "));
    EXPECT_FALSE(plandump::isPlanFile(subject, author));
    EXPECT_FALSE(plandump::isPlanFile(author, ""));
    EXPECT_FALSE(plandump::isPlanFile("", subject));
    EXPECT_FALSE(plandump::isPlanFile("R1.0", "RIHA")) << "half-width markers";
    EXPECT_FALSE(plandump::isPlanFile(author + "x", subject));
    EXPECT_FALSE(plandump::isPlanFile(sj("　") + author, subject)) << "a full-width space is not trimmed";
    EXPECT_EQ(cp932::toUtf8(plandump::notAPlanMessage()), "このＰＤＦファイルはリハビリ実施計画書ではありません。");
}

} // namespace
