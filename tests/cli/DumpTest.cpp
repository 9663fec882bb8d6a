// `ovilant-plan dump`: plans written by render come back field by field;
// files that are not plans are refused. The tool is called in-process with
// captured streams, and once as a separate process.

#include "CliFixture.h"

#include "plan/FilePath.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;
using nlohmann::json;
using testsupport::readFile;
using testsupport::shellQuote;

namespace {

std::string repeat(const std::string &text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

// Paths (such as "ActivityItems[3].Goods") where `actual` differs from `expected`.
void collectDifferences(const json &expected, const json &actual, const std::string &path,
                        std::vector<std::string> &out)
{
    if (expected.is_object() && actual.is_object()) {
        for (const auto &[key, value] : expected.items()) {
            const std::string child = path.empty() ? key : path + "." + key;
            if (!actual.contains(key)) {
                out.push_back(child + ": missing");
            } else {
                collectDifferences(value, actual[key], child, out);
            }
        }
        for (const auto &[key, value] : actual.items()) {
            if (!expected.contains(key)) {
                out.push_back(path + "." + key + ": unexpected");
            }
        }
    } else if (expected.is_array() && actual.is_array() && expected.size() == actual.size()) {
        for (std::size_t i = 0; i < expected.size(); ++i) {
            collectDifferences(expected[i], actual[i], path + "[" + std::to_string(i) + "]", out);
        }
    } else if (expected != actual) {
        out.push_back(path + ": expected " + expected.dump() + ", got " + actual.dump());
    }
}

std::string differences(const json &expected, const json &actual)
{
    std::vector<std::string> found;
    collectDifferences(expected, actual, "", found);
    std::string text;
    for (const auto &line : found) {
        text += line + "\n";
    }
    return text;
}

class DumpTest : public CliFixture {
protected:
    DumpTest() : CliFixture("ovilant-dump") {}

    // The plan file that render writes for `plan`.
    fs::path render(const json &plan, const std::string &name = "plan.pdf")
    {
        const fs::path pdf = m_dir / name;
        EXPECT_EQ(run({"render", "-", pdf.string()}, plan.dump()), 0) << m_last.err;
        return pdf;
    }

    json dump(const fs::path &pdf)
    {
        const int status = run({"dump", pdf.string()});
        EXPECT_EQ(status, 0) << m_last.err;
        EXPECT_EQ(m_last.err, "");
        if (status != 0) {
            return json();
        }
        return json::parse(m_last.out);
    }

    json roundTrip(const json &plan) { return dump(render(plan)); }

    // What dump gives back for a plan that fits its printed boxes: the plan
    // itself, except that only the day of the plan date is printed.
    static json expectedBack(json plan)
    {
        plan = withEveryKey(std::move(plan));
        plan["PlanDate"] = plan["PlanDate"].get<std::string>().substr(0, 10);
        return plan;
    }
};

TEST_F(DumpTest, TheReviewedFullPlanComesBack)
{
    EXPECT_EQ(differences(expectedBack(m_full), roundTrip(m_full)), "");
}

// Every field holds its own text, chosen to try the ways a text can be
// printed: single-byte texts with parentheses and backslashes (escaped in
// literal strings; one before a letter that names an escape), texts that
// look like page content, half-width katakana, memos with empty lines and
// lines of spaces, exact fits of box widths and line counts, every mark
// combination, three marks on two lines, and no sex chosen.
json richPlan()
{
    const std::vector<std::string> marks = {"", "A", "B", "C", "AB", "AC", "BC", "ABC"};
    json plan;
    plan["PlanDate"] = "2019-05-01T08:30:00";
    plan["Name"] = "Yamada (T)\\x";
    plan["Sex"] = -1;
    plan["BirthDate"] = "1926-12-25";
    plan["KaigoLevel"] = 6;
    plan["Kenkou"] = "一行目\n\n三行目 (3)\n\n五行目\n" + repeat("健", 25);
    plan["Gapei"] = "a(b\n)c";
    plan["Seikatsu"] = "\\\\server\\share\n末行";
    plan["Home"] = true;
    plan["Etc"] = false;
    plan["EtcText"] = "ｴﾄｾﾄﾗ(1)";
    plan["Taiin"] = true;
    // Printed before ExerciseText on the page: read as content, it would
    // place "SPOOF" at ExerciseText's position.
    plan["HomeWork"] = "x)Q BT 453 763 Td (SPOOF)Tj ET";
    plan["Social"] = "((nested) \\(odd)";
    plan["GoOut"] = "tab\\there";
    plan["FreeTime"] = repeat("園", 35);
    plan["TaiinText"] = "\\";
    plan["ExerciseFlag"] = true;
    plan["ExerciseText"] = "右上下肢";
    plan["SenseFlag"] = false;
    plan["SenseText"] = "しびれ(軽度)";
    plan["BrainFlag"] = true;
    plan["BrainText"] = ")";
    plan["KoushukuFlag"] = false;
    plan["KoushukuText"] = "(";
    plan["ArthralgiaFlag"] = true;
    plan["ArthralgiaText"] = "1234567890123456789012345678901";
    plan["SonotaFlag"] = true;
    plan["SonotaText"] = "a\\b (c)\n)(";
    plan["HDS"] = 0;
    const auto rows = [&](int first, int count) {
        json list = json::array();
        for (int i = 0; i < count; ++i) {
            const int r = first + i;
            json row;
            json abc = json::array();
            for (int c = 0; c < 5; ++c) {
                abc.push_back(marks[static_cast<std::size_t>((r + c) % 8)]);
            }
            row["ABC"] = abc;
            row["Goods"] = r % 2 == 0 ? repeat("器", 6) + "\n(" + std::to_string(r) + ")" : "g" + std::to_string(r);
            row["Kaigo"] = r % 3 == 0 ? "" : "介助" + std::to_string(r) + "\n" + repeat("二", 8);
            row["Time"] = r % 4 == 0 ? "" : r % 4 == 1 ? "　" : r % 4 == 2 ? " " + std::to_string(r) + "(月)" : "半年";
            row["Special"] = r % 3;
            list.push_back(row);
        }
        return list;
    };
    plan["ActivityItems"] = rows(0, 13);
    plan["PTOTST0Text"] = "ＰＴ０\n\n週3回 (a)\n\\end";
    plan["Kango0Text"] = repeat("看", 9) + "\n\n" + repeat("護", 9) + "\n" + repeat("x", 18);
    plan["Jitchi0Text"] = "a b c d\n(e) f";
    plan["MotionItems"] = rows(20, 8);
    std::string eighteen;
    for (int i = 1; i <= 18; ++i) {
        eighteen += (i > 1 ? "\n" : "") + (i % 5 == 0 ? std::string() : "L" + std::to_string(i));
    }
    plan["PTOTST1Text"] = eighteen;
    plan["Kango1Text"] = "看護１";
    plan["Jitchi1Text"] = "実地１\n\n\n四";
    plan["SelfHopeText"] = repeat("望", 55) + "\n" + repeat("み", 55);
    plan["FarmilyHopeText"] = "家族(の)希望\n二行目";
    plan["LifePointText"] = repeat("点", 52);
    plan["RihaTergetText"] = "目標(1)\n\n目標(2)\n\n\n\n七行目";
    plan["SelfDoText"] = "自主トレ";
    plan["AskFarmilyText"] = "見守り\\(半角)";
    // Printed before RemarkText on page 2.
    plan["DiseseCareText"] = "x)Q BT 19 203 Td (SPOOF)Tj ET";
    plan["VariationText"] = "変化点\n   \nend";
    plan["RemarkText"] = "備考です\n(2)\n\\3";
    json team = json::array();
    for (int n = 1; n <= 13; ++n) {
        team.push_back("担当" + std::to_string(n));
    }
    team[0] = "医師 一郎";
    team[1] = "ＰＴ(理学)";
    team[2] = "";
    team[3] = "a\\b";
    team[4] = "あいうえおかきくけこ";
    plan["Team"] = team;
    return plan;
}

TEST_F(DumpTest, EveryFieldOfAFullyFilledPlanComesBackVerbatim)
{
    json plan = richPlan();
    const json back = roundTrip(plan);
    // Age is printed from the plan: 1926-12-25 to 2019-05-01.
    plan["Age"] = 92;
    EXPECT_EQ(differences(expectedBack(plan), back), "");
    EXPECT_EQ(back["ExerciseText"], "右上下肢");
    EXPECT_EQ(back["RemarkText"], "備考です\n(2)\n\\3");
}

TEST_F(DumpTest, AnEmptyPlanComesBackEmpty)
{
    // Nothing printed where a field is empty may be taken for that field,
    // such as a fixed caption of the form.
    json plan = m_full;
    for (auto &[key, value] : plan.items()) {
        if (value.is_string() && key != "PlanDate" && key != "BirthDate") {
            value = "";
        } else if (value.is_boolean()) {
            value = false;
        }
    }
    plan["Sex"] = -1;
    plan["KaigoLevel"] = -1;
    plan["HDS"] = 30;
    for (const char *table : {"ActivityItems", "MotionItems"}) {
        for (auto &row : plan[table]) {
            row = {{"ABC", {"", "", "", "", ""}}, {"Goods", ""}, {"Kaigo", ""}, {"Time", ""}, {"Special", 0}};
        }
    }
    plan["Team"] = std::vector<std::string>(13, "");
    EXPECT_EQ(differences(expectedBack(plan), roundTrip(plan)), "");
}

TEST_F(DumpTest, EveryCareLevelAndSexComesBack)
{
    for (int level = -1; level <= 6; ++level) {
        json plan = m_full;
        plan["KaigoLevel"] = level;
        plan["Sex"] = (level + 1) % 3 - 1;
        const json back = roundTrip(plan);
        EXPECT_EQ(back["KaigoLevel"], level);
        EXPECT_EQ(back["Sex"], plan["Sex"]) << "level " << level;
    }
}

// What the printed layout cannot carry. These are limits of the form, not of
// the file: render accepts the values, the page shows what dump reads.
TEST_F(DumpTest, TextsThatDoNotFitTheirBoxesComeBackAsPrinted)
{
    json plan = m_full;
    plan["PlanDate"] = "2024-01-31T23:59:59";        // the time of day is not printed
    plan["KaigoLevel"] = 7;                          // printed as an empty text: no selection
    plan["Name"] = repeat("名", 9);                  // 90 points in an 81-point box
    plan["Gapei"] = "一\n二\n三";                    // the box holds two lines
    plan["Kenkou"] = "\n\n  x y  \n\n";              // a block prints its text trimmed
    plan["Kango0Text"] = "aaaa bbbb cccc dddd eeee"; // wrapped at the box's width
    plan["Team"][0] = " a ";
    const json back = roundTrip(plan);
    EXPECT_EQ(back["PlanDate"], "2024-01-31");
    EXPECT_EQ(back["KaigoLevel"], -1);
    EXPECT_EQ(back["Name"], repeat("名", 8));
    EXPECT_EQ(back["Gapei"], "一\n二");
    EXPECT_EQ(back["Kenkou"], "x y");
    EXPECT_EQ(back["Kango0Text"], "aaaa bbbb cccc \ndddd eeee");
    EXPECT_EQ(back["Team"][0], "a");
}

TEST_F(DumpTest, FilesThatAreNotPlansAreRefused)
{
    const std::string notAPlan = "ovilant-plan: このＰＤＦファイルはリハビリ実施計画書ではありません。\n";
    const std::string pdf = readFile(render(m_full));

    // Another Author or Subject: "Ｒ１．１", "ＲＩＨＢ" (same length, so the
    // file stays readable).
    for (const auto &[from, to] : {std::pair<std::string, std::string>{"FF32FF11FF0EFF10>", "FF32FF11FF0EFF11>"},
                                   {"FF32FF29FF28FF21>", "FF32FF29FF28FF22>"}}) {
        std::string changed = pdf;
        const std::size_t at = changed.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        changed.replace(at, from.size(), to);
        const fs::path file = m_dir / "other.pdf";
        testsupport::writeFile(file, changed);
        EXPECT_EQ(run({"dump", file.string()}), 1);
        EXPECT_EQ(m_last.err, notAPlan);
        EXPECT_EQ(m_last.out, "");
    }

    // Files the reader refuses: its message, nothing on standard output.
    const fs::path text = m_dir / "text.pdf";
    testsupport::writeFile(text, "hello");
    const fs::path truncated = m_dir / "truncated.pdf";
    testsupport::writeFile(truncated, pdf.substr(0, pdf.size() / 2));
    const fs::path missing = m_dir / "計画書なし.pdf";
    for (const fs::path &file : {text, truncated, missing}) {
        EXPECT_EQ(run({"dump", utf8FromPath(file)}), 1) << file;
        EXPECT_EQ(m_last.err.rfind("ovilant-plan: ", 0), 0u) << m_last.err;
        EXPECT_EQ(m_last.err.back(), '\n');
        EXPECT_EQ(m_last.out, "") << file;
    }
    // Everything printed is UTF-8: the file name as given, and the reader's
    // own Japanese text.
    EXPECT_EQ(m_last.err, "ovilant-plan: PDF FILE OPEN ERROR : " + utf8FromPath(missing) + "\n");
    EXPECT_EQ(run({"dump", std::string(OVILANT_TEST_DATA_DIR) + "/bad/31-page-with-thumb.pdf"}), 1);
    EXPECT_EQ(m_last.err, "ovilant-plan: thumb 未サポート\n");
}

TEST_F(DumpTest, UsageErrors)
{
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"dump"}, {"dump", ""}, {"dump", "a.pdf", "b.pdf"}}) {
        EXPECT_EQ(run(args), 2);
        EXPECT_EQ(m_last.err, "ovilant-plan: usage: ovilant-plan dump IN.pdf\n");
        EXPECT_EQ(m_last.out, "");
    }
}

TEST_F(DumpTest, RunsAsAProgram)
{
    OVILANT_SKIP_WITHOUT("sh"); // on Windows the comparison with the Linux tool runs the program
    const fs::path pdf = render(m_full);
    const std::string tool = shellQuote(OVILANT_PLAN_TOOL);
    const auto dumped = testsupport::runCommand(tool + " dump " + shellQuote(pdf.string()));
    EXPECT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_EQ(differences(expectedBack(m_full), json::parse(dumped.out)), "");

    const fs::path notAPdf = m_dir / "plan.json";
    testsupport::writeFile(notAPdf, "{}");
    const auto refused = testsupport::runCommand(tool + " dump " + shellQuote(notAPdf.string()));
    EXPECT_EQ(refused.status, 1);
    EXPECT_FALSE(refused.err.empty());
    EXPECT_EQ(refused.out, "");
}

// Fields whose text `expected` has and `actual` lost.
void collectEmptied(const json &expected, const json &actual, const std::string &path, std::vector<std::string> &out)
{
    if (expected.is_object() && actual.is_object()) {
        for (const auto &[key, value] : expected.items()) {
            collectEmptied(value, actual.value(key, json()), path + "." + key, out);
        }
    } else if (expected.is_array() && actual.is_array() && expected.size() == actual.size()) {
        for (std::size_t i = 0; i < expected.size(); ++i) {
            collectEmptied(expected[i], actual[i], path + "[" + std::to_string(i) + "]", out);
        }
    } else if (expected.is_string() && !expected.get<std::string>().empty() &&
               (!actual.is_string() || actual.get<std::string>().empty())) {
        out.push_back(path);
    }
}

// A plan file changed after it was written must not read as a sound plan
// with a field silently emptied: each single-byte change inside page 1's
// text is refused, or dumped with exit status 3 and the first field where
// the file and the plan read from it part, or leaves every field's text.
TEST_F(DumpTest, ChangedBytesInThePrintedTextAreFoundOut)
{
    const std::string pdf = readFile(render(m_full));
    const json original = dump(m_dir / "plan.pdf");
    const std::size_t start = pdf.find("stream\r\n") + 8;
    const std::size_t end = pdf.find("endstream", start);

    // The text object of the name, made no text object.
    std::string changed = pdf;
    const std::size_t name = changed.find("BT\n40 799.5 Td", start);
    ASSERT_LT(name, end);
    changed[name + 1] = 'X';
    testsupport::writeFile(m_dir / "changed.pdf", changed);
    EXPECT_EQ(run({"dump", (m_dir / "changed.pdf").string()}), 3);
    EXPECT_EQ(json::parse(m_last.out)["Name"], "") << "the plan is printed all the same";
    EXPECT_NE(m_last.err.find("この計画書ファイルは一部が読み取れない可能性があります。"), std::string::npos) << m_last.err;
    EXPECT_NE(m_last.err.find("NameText"), std::string::npos) << m_last.err;

    std::mt19937 random(7);
    int found = 0;
    for (int trial = 0; trial < 40; ++trial) {
        changed = pdf;
        const std::size_t at = start + random() % (end - start);
        changed[at] = static_cast<char>(changed[at] ^ (1 << (random() % 7)));
        testsupport::writeFile(m_dir / "changed.pdf", changed);
        const int status = run({"dump", (m_dir / "changed.pdf").string()});
        SCOPED_TRACE("byte " + std::to_string(at) + ", status " + std::to_string(status));
        ASSERT_TRUE(status == 0 || status == 1 || status == 3) << m_last.err;
        found += status == 3 ? 1 : 0;
        if (status == 0) {
            std::vector<std::string> emptied;
            collectEmptied(original, json::parse(m_last.out), "", emptied);
            EXPECT_TRUE(emptied.empty()) << emptied.front();
        }
    }
    EXPECT_GT(found, 0);
}

// Files of no plan's size are refused before they are read. (That a plan
// written at any time reads as sound, every other dump here shows: they
// check the exit status, and the check writes the plan at another time.)
TEST_F(DumpTest, FilesBeyondAnyPlansSizeAreRefusedAtOnce)
{
    const fs::path large = m_dir / "large.pdf";
    testsupport::writeFile(large, "%PDF-1.2");
    fs::resize_file(large, 16u * 1024u * 1024u + 1u);
    EXPECT_EQ(run({"dump", large.string()}), 1);
    EXPECT_EQ(m_last.err, "ovilant-plan: ファイルが大きすぎます。計画書のファイルではありません。\n");
}

} // namespace
