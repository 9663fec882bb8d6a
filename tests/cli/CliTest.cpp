// `ovilant-plan render`, called in-process with captured streams, and once
// as a separate process.

#include "CliFixture.h"
#include "cli/PlanJson.h"

#include "plan/Cp932.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

namespace fs = std::filesystem;
using nlohmann::json;
using testsupport::readFile;
using testsupport::shellQuote;

namespace {

// The data of the content streams of a plan file.
std::vector<std::string> contentStreams(const std::string &pdf)
{
    std::vector<std::string> streams;
    std::size_t pos = 0;
    while ((pos = pdf.find("/Length ", pos)) != std::string::npos) {
        const std::size_t length = std::stoul(pdf.substr(pos + 8, pdf.find("\r\n", pos) - pos - 8));
        const std::size_t data = pdf.find(">>\r\nstream\r\n", pos) + 12;
        streams.push_back(pdf.substr(data, length));
        pos = data + length;
    }
    return streams;
}

class RenderTest : public CliFixture {
protected:
    RenderTest() : CliFixture("ovilant-cli") {}

    // Renders `plan` into out.pdf, over an existing file with the text "old".
    int renderOverOld(const json &plan)
    {
        write("out.pdf", "old");
        return run({"render", write("plan.json", plan.dump()).string(), (m_dir / "out.pdf").string()});
    }
    std::vector<std::string> entries() const { return testsupport::folderEntries(m_dir.path()); }
};

TEST_F(RenderTest, FullPlanGivesTheReviewedPagesAndReproducibleBytes)
{
    const fs::path plan = write("plan.json", m_full.dump(2));
    const fs::path out = m_dir / "out.pdf";
    ASSERT_EQ(run({"render", plan.string(), out.string()}), 0) << m_last.err;
    EXPECT_EQ(m_last.err, "");
    const std::string pdf = readFile(out);
    const auto streams = contentStreams(pdf);
    ASSERT_EQ(streams.size(), 2u);
    const std::string golden = std::string(OVILANT_TEST_DATA_DIR) + "/golden/full-plan-page";
    EXPECT_EQ(streams[0], readFile(golden + "1.content"));
    EXPECT_EQ(streams[1], readFile(golden + "2.content"));
    EXPECT_NE(pdf.find("/CreationDate (D:20240131140509)\r\n"
                       "/Creator <FEFF001B656E001BFF11FF14FF1AFF10FF15FF1AFF10FF19>\r\n"),
              std::string::npos);
    EXPECT_NE(pdf.find("/ModDate (D:20240131140509)\r\n"), std::string::npos);

    // Same plan, same time: the same bytes, also from standard input to standard output.
    ASSERT_EQ(run({"render", "-", "-"}, m_full.dump()), 0) << m_last.err;
    EXPECT_EQ(m_last.out, pdf);
    EXPECT_EQ(entries(), (std::vector<std::string>{"out.pdf", "plan.json"}));
}

TEST_F(RenderTest, TheTimeComesFromSourceDateEpoch)
{
    testsupport::setEnvironment("SOURCE_DATE_EPOCH", "0");
    ASSERT_EQ(run({"render", "-", "-"}, "{}"), 0) << m_last.err;
    const std::string pdf = m_last.out;
    EXPECT_NE(pdf.find("/CreationDate (D:19700101000000)"), std::string::npos);
    EXPECT_NE(pdf.find("/ModDate (D:19700101000000)"), std::string::npos);
    // A new plan's dates are the time of saving.
    std::string hex = "<";
    for (const unsigned char c : cp932::fromUtf8("昭和45年01月01日")) {
        static const char digits[] = "0123456789ABCDEF";
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    EXPECT_NE(pdf.find(hex + "> Tj"), std::string::npos) << "a new plan is dated at the time of saving";

    for (const char *bad : {"", "x", "-1", "12.5", "1e9", "99999999999999"}) {
        testsupport::setEnvironment("SOURCE_DATE_EPOCH", bad);
        if (std::getenv("SOURCE_DATE_EPOCH") == nullptr) {
            continue; // Windows holds no empty variable: "" removes it
        }
        EXPECT_EQ(run({"render", "-", "-"}, "{}"), 2) << bad;
        EXPECT_NE(m_last.err.find("SOURCE_DATE_EPOCH"), std::string::npos);
        EXPECT_EQ(m_last.out, "");
    }
}

TEST_F(RenderTest, UsageErrors)
{
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(m_last.err, "ovilant-plan: no command given; \"ovilant-plan --help\" lists the commands\n");
    EXPECT_EQ(run({"rendre", "a.json", "b.pdf"}), 2);
    EXPECT_EQ(m_last.err, "ovilant-plan: unknown command \"rendre\"; \"ovilant-plan --help\" lists the commands\n");
    EXPECT_EQ(run({"render"}), 2);
    EXPECT_EQ(m_last.err, "ovilant-plan: usage: ovilant-plan render [--strict] PLAN.json OUT.pdf\n");
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
             {"render", "a.json"}, {"render", "a.json", "b.pdf", "c"}, {"render", "", "b.pdf"}, {"check"},
             {"index"}, {"diff", "a.pdf"}}) {
        EXPECT_EQ(run(args), 2) << args[0];
        EXPECT_EQ(m_last.err.rfind("ovilant-plan: usage: ovilant-plan " + args[0] + " ", 0), 0u) << m_last.err;
    }
    EXPECT_TRUE(entries().empty());
}

// --help lists every command the tool answers to; --version names it.
TEST_F(RenderTest, HelpListsEveryCommandAndVersionNamesTheTool)
{
    EXPECT_EQ(run({"--help"}), 0);
    const std::string usage = m_last.out;
    EXPECT_EQ(m_last.err, "");
    for (const char *command : {"render", "dump", "check", "index", "diff", "print", "--version", "--help"}) {
        EXPECT_NE(usage.find(std::string("ovilant-plan ") + command), std::string::npos) << command;
        run({command});
        EXPECT_EQ(m_last.err.find("unknown command"), std::string::npos) << command << ": " << m_last.err;
    }
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_EQ(m_last.out, "ovilant-plan " OVILANT_VERSION "\n");
}

// Printing lives in ovilant-print beside the tool; without it, print says so.
TEST_F(RenderTest, PrintWithoutThePrintProgramSaysWhatIsMissing)
{
    EXPECT_EQ(run({"print", "a.pdf", "--to", "b.pdf"}), 1);
    EXPECT_EQ(m_last.err, "ovilant-plan: print needs ovilant-print, which is not installed beside this program\n");
    EXPECT_TRUE(entries().empty());
}

struct Refusal {
    const char *what;
    std::function<void(json &)> change;
    std::string message; // the whole error output
};

TEST_F(RenderTest, RefusedPlansWriteNothingAndSayWhy)
{
    const auto fullWidth = [](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) {
            s += "あ";
        }
        return s;
    };
    const std::vector<Refusal> refusals = {
        {"name of 52 bytes", [&](json &p) { p["Name"] = fullWidth(26); },
         "Name: 入力文字数がオーバーしています。\n半角50文字・全角25文字以内で入力してください。\n"},
        {"impossible birth date", [](json &p) { p["BirthDate"] = "1950-02-30"; }, "BirthDate: 日付エラーです。\n"},
        {"birth date before the first era", [](json &p) { p["BirthDate"] = "1850-01-01"; },
         "BirthDate: 日付エラーです。\n"},
        {"born after the plan date",
         [](json &p) {
             p["PlanDate"] = "2026-05-01";
             p["BirthDate"] = "2026-05-02";
         },
         "BirthDate: 日付エラーです。\n"},
        {"plan date null", [](json &p) { p["PlanDate"] = nullptr; }, "PlanDate: 日付エラーです。\n"},
        {"HDS 31", [](json &p) { p["HDS"] = 31; }, "HDS: 0 から 30 までの数値を入力してください。\n"},
        {"HDS -1", [](json &p) { p["HDS"] = -1; }, "HDS: 0 から 30 までの数値を入力してください。\n"},
        {"HDS 100", [](json &p) { p["HDS"] = 100; },
         "HDS: 入力文字数がオーバーしています。\n半角2文字で入力してください。\n"},
        {"HDS empty", [](json &p) { p["HDS"] = ""; }, "HDS: 半角2文字の数字で入力してください。\n"},
        {"HDS full-width digit", [](json &p) { p["HDS"] = "５"; }, "HDS: 半角2文字の数字で入力してください。\n"},
        {"goods of 59 bytes", [](json &p) { p["ActivityItems"][3]["Goods"] = std::string(59, 'g'); },
         "ActivityItems[3].Goods: 入力文字数がオーバーしています。\n半角58文字・全角29文字以内で入力してください。\n"},
        {"period of 9 bytes", [](json &p) { p["MotionItems"][5]["Time"] = "123456789"; },
         "MotionItems[5].Time: 入力文字数がオーバーしています。\n半角8文字・全角4文字以内で入力してください。\n"},
        {"memo of 1001 bytes", [](json &p) { p["RemarkText"] = std::string(999, 'r') + "\n"; },
         "RemarkText: 入力文字数がオーバーしています。\n半角1000文字・全角500文字以内で入力してください。\n"},
        {"team member of 51 bytes", [](json &p) { p["Team"][6] = std::string(51, 't'); },
         "Team[6]: 入力文字数がオーバーしています。\n半角50文字・全角25文字以内で入力してください。\n"},
        {"the first fault in the editor's order wins",
         [&](json &p) {
             p["Team"][0] = std::string(51, 't');
             p["EtcText"] = std::string(39, 'e');
         },
         "EtcText: 入力文字数がオーバーしています。\n半角38文字・全角19文字以内で入力してください。\n"},
        {"a character code page 932 lacks", [](json &p) { p["SelfHopeText"] = "歩く\xF0\x9F\x98\x80"; },
         "SelfHopeText: 使用できない文字が含まれています。\n"},
        {"unknown key", [](json &p) { p["FamilyHopeText"] = "x"; }, "FamilyHopeText: unknown key\n"},
        {"unknown row key", [](json &p) { p["ActivityItems"][0]["Goodz"] = "x"; },
         "ActivityItems[0].Goodz: unknown key\n"},
        {"sex 2", [](json &p) { p["Sex"] = 2; }, "Sex: must be an integer from -1 to 1\n"},
        {"sex 2^64 - 1, -1 when wrapped", [](json &p) { p["Sex"] = 18446744073709551615ULL; },
         "Sex: must be an integer from -1 to 1\n"},
        {"a tab in a text", [](json &p) { p["Name"] = "山田\t太郎"; },
         "Name: must not contain the control character U+0009\n"},
        {"DEL in a memo of a row", [](json &p) { p["ActivityItems"][0]["Goods"] = "a\nb\x7F"; },
         "ActivityItems[0].Goods: must not contain the control character U+007F\n"},
        {"care level 8", [](json &p) { p["KaigoLevel"] = 8; }, "KaigoLevel: must be an integer from -1 to 7\n"},
        {"priority mark 3", [](json &p) { p["MotionItems"][0]["Special"] = 3; },
         "MotionItems[0].Special: must be an integer from 0 to 2\n"},
        {"marks out of order", [](json &p) { p["ActivityItems"][2]["ABC"][1] = "CA"; },
         "ActivityItems[2].ABC[1]: must hold the letters A, B, C, each at most once and in this order\n"},
        {"line break in a single-line field", [](json &p) { p["Name"] = "山田\n太郎"; },
         "Name: must be a single line\n"},
        {"flag as a number", [](json &p) { p["Home"] = 1; }, "Home: must be true or false\n"},
        {"text as a number", [](json &p) { p["Gapei"] = 5; }, "Gapei: must be a string\n"},
        {"twelve rows", [](json &p) { p["ActivityItems"].erase(0); }, "ActivityItems: must be an array of 13 rows\n"},
        {"twelve team members", [](json &p) { p["Team"].erase(0); }, "Team: must be an array of 13 strings\n"},
        {"null character", [](json &p) { p["Kango1Text"] = std::string("a\0b", 3); },
         "Kango1Text: must not contain a null character\n"},
        {"not an object", [](json &p) { p = json::array(); }, "PLAN: the plan must be a JSON object\n"},
        // A fault is reported under its own key, never a later one, even
        // when the keys after it are left unread.
        {"a tab in the name of an older plan",
         [](json &p) {
             p["PlanDate"] = "2020-01-01";
             p["Name"] = "山田\t太郎";
         },
         "Name: must not contain the control character U+0009\n"},
        {"sex -0.0 in an older plan",
         [](json &p) {
             p["PlanDate"] = "2020-01-01";
             p["Sex"] = -0.0;
         },
         "Sex: must be an integer from -1 to 1\n"},
        {"age 2147483647", [](json &p) { p["Age"] = 2147483647; }, "Age: must be an integer from 0 to 999\n"},
        {"age -1", [](json &p) { p["Age"] = -1; }, "Age: must be an integer from 0 to 999\n"},
        {"an unknown key of 100,000 bytes", [](json &p) { p[std::string(100000, 'K')] = 1; },
         std::string(40, 'K') + "…: unknown key\n"},
    };
    for (const Refusal &r : refusals) {
        json plan = m_full;
        r.change(plan);
        EXPECT_EQ(renderOverOld(plan), 1) << r.what;
        EXPECT_EQ(m_last.err, std::string("ovilant-plan: ") + r.message) << r.what;
        EXPECT_EQ(m_last.out, "") << r.what;
        EXPECT_EQ(readFile(m_dir / "out.pdf"), "old") << r.what;
        EXPECT_EQ(entries(), (std::vector<std::string>{"out.pdf", "plan.json"})) << r.what;
    }
}

TEST_F(RenderTest, LimitsThemselvesPass)
{
    json plan = m_full;
    std::string name;
    for (int i = 0; i < 25; ++i) {
        name += "あ";
    }
    plan["Name"] = name;
    plan["HDS"] = " 5";
    plan["Team"][12] = std::string(50, 't');
    plan["ActivityItems"][12]["Time"] = "12345678";
    plan["Sex"] = -1;
    plan["KaigoLevel"] = 7;
    EXPECT_EQ(renderOverOld(plan), 0) << m_last.err;
    EXPECT_EQ(readFile(m_dir / "out.pdf").substr(0, 8), "%PDF-1.2");
}

TEST_F(RenderTest, UnreadableInputAndUnwritableOutput)
{
    EXPECT_EQ(run({"render", (m_dir / "missing.json").string(), (m_dir / "out.pdf").string()}), 1);
    EXPECT_NE(m_last.err.find("cannot read"), std::string::npos) << m_last.err;

    const fs::path broken = write("broken.json", "{\"Name\": ");
    EXPECT_EQ(run({"render", broken.string(), (m_dir / "out.pdf").string()}), 1);
    EXPECT_NE(m_last.err.find("is not valid JSON"), std::string::npos) << m_last.err;

    const fs::path plan = write("plan.json", m_full.dump());
    const fs::path nowhere = m_dir / "no-folder" / "out.pdf";
    EXPECT_EQ(run({"render", plan.string(), nowhere.string()}), 1);
    EXPECT_NE(m_last.err.find("cannot write " + nowhere.string()), std::string::npos) << m_last.err;
    fs::create_directory(m_dir / "folder.pdf");
    EXPECT_EQ(run({"render", plan.string(), (m_dir / "folder.pdf").string()}), 1);
    EXPECT_TRUE(fs::is_directory(m_dir / "folder.pdf"));
    EXPECT_EQ(entries(), (std::vector<std::string>{"broken.json", "folder.pdf", "plan.json"}));
}

// A plan whose name is cut at the right edge and whose Gapei memo has a
// line below its box.
json cutPlan(json plan)
{
    plan["Name"] = "山田山田山田山田太郎";
    plan["Gapei"] = "一行目\n二行目\n三行目";
    return plan;
}

TEST_F(RenderTest, TextsThatWillNotPrintAreWarnedAboutAndStrictWritesNothing)
{
    const std::string warnings =
        "ovilant-plan: warning: Name: will not print: line 1 beyond the right edge \"太郎\"\n"
        "ovilant-plan: warning: Gapei: will not print: line 3 and below \"三行目\"\n";
    ASSERT_EQ(renderOverOld(cutPlan(m_full)), 0) << m_last.err;
    EXPECT_EQ(m_last.err, warnings);
    EXPECT_EQ(readFile(m_dir / "out.pdf").substr(0, 8), "%PDF-1.2");

    write("out.pdf", "old");
    const fs::path plan = write("plan.json", cutPlan(m_full).dump());
    EXPECT_EQ(run({"render", "--strict", plan.string(), (m_dir / "out.pdf").string()}), 1);
    EXPECT_EQ(m_last.err, warnings + "ovilant-plan: --strict: nothing written\n");
    EXPECT_EQ(readFile(m_dir / "out.pdf"), "old");
    EXPECT_EQ(run({"render", "-", "-", "--strict"}, m_full.dump()), 0) << "a plan that fits passes";
    EXPECT_EQ(m_last.err, "");
}

TEST_F(RenderTest, CheckPrintsTheFindingsAndWritesNothing)
{
    ASSERT_EQ(run({"check", write("plan.json", cutPlan(m_full).dump()).string()}), 1);
    EXPECT_EQ(json::parse(m_last.out), json::parse(R"({"fault": null, "cut": [
        {"key": "Name", "wideLines": [{"line": 1, "lost": "太郎"}], "belowBox": null},
        {"key": "Gapei", "wideLines": [], "belowBox": {"firstLine": 3, "lost": "三行目"}}], "lookAlikes": []})"));
    EXPECT_EQ(entries(), std::vector<std::string>{"plan.json"});

    EXPECT_EQ(run({"check", "-"}, m_full.dump()), 0);
    EXPECT_EQ(json::parse(m_last.out), json::parse(R"({"fault": null, "cut": [], "lookAlikes": []})"));

    // Characters code page 932 holds only as look-alikes are listed, once
    // per key, and render warns of them; neither refuses the plan.
    json lookAlike = m_full;
    lookAlike["Name"] = "山〜田〜";
    lookAlike["Team"][2] = "¥−";
    EXPECT_EQ(run({"check", "-"}, lookAlike.dump()), 0);
    EXPECT_EQ(json::parse(m_last.out)["lookAlikes"], json::parse(R"([{"key": "Name", "from": "〜", "to": "～"},
        {"key": "Team[2]", "from": "¥", "to": "\\"}, {"key": "Team[2]", "from": "−", "to": "－"}])"));
    EXPECT_EQ(run({"render", "-", (m_dir / "look.pdf").string()}, lookAlike.dump()), 0);
    EXPECT_NE(m_last.err.find("warning: Name: \"〜\" is saved as \"～\""), std::string::npos) << m_last.err;
    fs::remove(m_dir / "look.pdf");

    json refused = cutPlan(m_full);
    refused["HDS"] = 31;
    EXPECT_EQ(run({"check", "-"}, refused.dump()), 1);
    EXPECT_EQ(json::parse(m_last.out)["fault"],
              json::parse(R"({"key": "HDS", "message": "0 から 30 までの数値を入力してください。"})"));
    EXPECT_EQ(run({"check"}), 2);
    EXPECT_EQ(m_last.err, "ovilant-plan: usage: ovilant-plan check PLAN.json\n");
}

// Every fault of the JSON text itself exits 1 with a message and writes
// nothing: numbers beyond a double (which used to end the process), a NUL
// byte with anything after it, trailing garbage, a key given twice, nesting
// deeper than a plan's.
TEST_F(RenderTest, MalformedJsonIsRefusedWithAMessage)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"[1e400]", "overflow"},
        {R"({"Age": 1e400})", "overflow"},
        {R"({"Age": -1e400})", "overflow"},
        {std::string("{}\0garbage", 10), "NUL"},
        {std::string("{\"Name\": \"a\0b\"}", 15), "NUL"},
        {"{} {}", "parse"},
        {R"({"Name": "a", "Name": "b"})", "\"Name\" appears twice"},
        {R"({"ActivityItems": [{"Goods": "a", "Goods": "b"}]})", "\"Goods\" appears twice"},
        {R"({"ActivityItems": [{"ABC": [["A"]]}]})", "nested deeper than 4 levels at offset 28"},
        {std::string(1'000'000, '[') + std::string(1'000'000, ']'), "nested deeper than 4 levels at offset 4"},
        {"{\"" + std::string(100'000, 'K') + "\": 1, \"" + std::string(100'000, 'K') + "\": 2}",
         "\"" + std::string(40, 'K') + "…\" appears twice"},
    };
    for (const auto &[text, reason] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(run({"render", "-", (m_dir / "out.pdf").string()}, text), 1);
        EXPECT_NE(m_last.err.find("is not valid JSON"), std::string::npos) << m_last.err;
        EXPECT_NE(m_last.err.find(reason), std::string::npos) << m_last.err;
        EXPECT_FALSE(fs::exists(m_dir / "out.pdf"));
        EXPECT_EQ(run({"check", "-"}, text), 1) << "check reads a plan as render does";
        EXPECT_NE(m_last.err.find(reason), std::string::npos) << m_last.err;
    }
    // Objects closed one after another are not looked at again: 200,000
    // empty objects in one array, 40,000 keys with empty objects (minutes
    // when each closing object rescanned its parent).
    std::string many = "{\"Team\": [{}";
    for (int i = 1; i < 200'000; ++i)
        many += ",{}";
    std::string keys = "{\"k0\": {}";
    for (int i = 1; i < 40'000; ++i)
        keys += ",\"k" + std::to_string(i) + "\": {}";
    for (const std::string &text : {many + "]}", keys + "}"}) {
        std::string error;
        EXPECT_FALSE(planjson::parseJsonText(text, error).is_null());
        EXPECT_EQ(error, "");
    }
    // The same key in two different objects is no duplicate, brackets in a
    // string no nesting.
    for (const char *text : {R"({"ActivityItems": [{"Goods": "a"}, {"Goods": "b"}]})", R"({"Name": "[[[[[\""})"}) {
        run({"render", "-", "-"}, text);
        EXPECT_EQ(m_last.err.find("is not valid JSON"), std::string::npos) << m_last.err;
    }
}

TEST(RenderProcess, RunsAsACommand)
{
    OVILANT_SKIP_WITHOUT("sh"); // on Windows the comparison with the Linux tool runs the program
    const testsupport::TempDir dir("ovilant-proc");
    const fs::path plan = std::string(OVILANT_TEST_DATA_DIR) + "/plans/full.json";
    const fs::path out = dir / "out.pdf";
    const std::string tool = shellQuote(OVILANT_PLAN_TOOL);
    const auto render = testsupport::runCommand("SOURCE_DATE_EPOCH=1706709909 " + tool + " render " +
                                                shellQuote(plan.string()) + " " + shellQuote(out.string()));
    EXPECT_EQ(render.status, 0) << render.err;
    EXPECT_EQ(readFile(out).substr(0, 11), "%PDF-1.2 \r\n");
    const auto usage = testsupport::runCommand(tool + " render");
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.err, "ovilant-plan: usage: ovilant-plan render [--strict] PLAN.json OUT.pdf\n");
}

} // namespace
