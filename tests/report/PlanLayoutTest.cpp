// The two-page plan layout: the generated tables, the fill from the plan
// record, the finished file against reviewed golden content streams, and the
// contract with the reader (each field's text object starts within 5 units of
// its entry in the field position table).

#include "ContentParse.h"
#include "FormPdf.h"
#include "FullPlan.h"
#include "planfile/PlanLayouts.h"
#include "report/PrintFormatUnit.h"

#include "plan/Common.h"
#include "plan/Cp932.h"

#include "support/Files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using testsupport::readFile;

namespace {

// Computed on use: the date functions are not ready during static initialisation.
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
    return formPdf(plan, j("１４：０５：０９"), saveTime());
}

// The two content streams of a plan file (objects 5 and 11).
std::vector<std::string> contentsOf(const std::string &pdf)
{
    std::vector<std::string> streams = streamsOf(pdf);
    EXPECT_EQ(streams.size(), 2u);
    return streams;
}

// What the form's data says of every layout version: only the title of
// page 2 is bold, and only the marks and the three approach memos of the
// upper table wrap.
TEST(PlanLayoutTable, OnlyTheTitleIsBoldAndOnlyMarksAndMemosOfTheUpperTableWrap)
{
    for (int v = 1; const planfile::PlanLayout *layout = planfile::builtInLayouts().find(v); ++v) {
        std::set<std::string> bold;
        std::set<std::string> wrapping;
        std::set<std::string> expectedWrapping;
        for (int page = 1; page <= 2; ++page) {
            for (const planfile::LayoutItemDef &item : layout->items(page)) {
                if (item.bold) {
                    bold.insert(item.name);
                }
                if (item.wordWrap) {
                    wrapping.insert(item.name);
                }
            }
        }
        for (const planfile::PlanField &field : layout->fields) {
            const std::string key = field.key;
            if (field.kind == planfile::FieldKind::Mark || key == "PTOTST0Text" || key == "Kango0Text" ||
                key == "Jitchi0Text") {
                expectedWrapping.insert(field.item);
            }
        }
        EXPECT_EQ(bold, std::set<std::string>{"TitleLabel2"}) << "layout " << v;
        EXPECT_EQ(wrapping, expectedWrapping) << "layout " << v;
    }
}

TEST(PlanLayoutForm, ItemsKeepTheirFixedContentAndEveryFilledItemIsFilled)
{
    TPrintFormatForm form;
    const planfile::PlanLayout &layout = planfile::currentLayout();
    EXPECT_EQ(form.PageItems(1).size(), layout.page1Items.size());
    EXPECT_EQ(form.PageItems(2).size(), layout.page2Items.size());
    EXPECT_EQ(form.PRLayoutPanel1.Children().size(), layout.page1Items.size());
    EXPECT_EQ(form.FindLabel("PRLabel2")->Caption, j("リハビリテーション実施計画書（１）"));
    EXPECT_EQ(form.FindText("RihaText")->Lines.size(), 11u);
    EXPECT_EQ(form.FindText("RihaText")->Lines[5], "\xFA\x68"); // 丨, the IBM extension bytes
    EXPECT_TRUE(form.FindLabel("TitleLabel2")->FontBold());
    EXPECT_EQ(form.FindLabel("PRLabel39")->FontSize(), 18);
    EXPECT_EQ(form.FindText("SonotaText")->Leading(), 8);
    // Full-width spaces at the start of a fixed text are part of it (the
    // block trims only single-byte blanks), so the heads stay indented.
    EXPECT_EQ(form.FindText("PRText147")->Lines,
              (std::vector<std::string>{j("　使用器具"), j("杖・装具・歩"), j("行器・車椅子"), j("　　など")}));
    EXPECT_EQ(form.FindText("PRText148")->Lines[0], j("　使用器具"));
    EXPECT_EQ(form.FindText("PRText149")->Lines, (std::vector<std::string>{j("　　介護内容"), j("つたい・もたれ等")}));
    EXPECT_EQ(form.FindText("PRText150")->Lines[0], j("　　介護内容"));

    form.PlanData = fullPlan();
    form.FillItems();
    const auto filledText = [&](const planfile::LayoutItemDef &def) {
        if (auto *t = dynamic_cast<TPRText *>(form.FindItem(def.name))) {
            return t->Text();
        }
        return dynamic_cast<TPRLabel *>(form.FindItem(def.name))->Caption;
    };
    for (int page = 1; page <= 2; ++page) {
        for (const auto &def : layout.items(page)) {
            if (def.kind == planfile::LayoutItemKind::Rect) {
                continue;
            }
            const std::string name = def.name;
            if (name == "PRSample1" || name == "PRSample2") {
                EXPECT_TRUE(dynamic_cast<TPRText *>(form.FindItem(name))->Lines.empty());
            } else if (def.filled) {
                EXPECT_FALSE(filledText(def).empty()) << name << " left empty by a full plan";
            }
        }
    }
}

TEST(PlanLayoutForm, ValueConversions)
{
    TPrintFormatForm form;
    TPRACTDATA &p = form.PlanData;
    ResetPlan(p, encodeDate(2024, 1, 31));
    p.Name = j("山田");
    p.BirthDate = encodeDate(1989, 1, 8);
    p.Age = 35;
    p.HDS = 7;
    p.Etc = true;
    p.ActivityItems[0].ABC = {"ABC", "AB", "", "C", "BC"};
    p.ActivityItems[1].Special = 1;
    p.MotionItems[7].Special = 2;
    p.Team[13] = j("最後");
    form.FillItems();

    const auto lines = [&](const char *name) { return form.FindText(name)->Lines; };
    using L = std::vector<std::string>;
    EXPECT_EQ(lines("PlanDateText"), L{j("令和06年01月31日")});
    EXPECT_EQ(lines("PRDate"), L{j("令和06年01月31日")});
    EXPECT_EQ(lines("BirthText"), L{j("平成01年01月08日")});
    EXPECT_EQ(lines("NameText"), L{j("山田")});
    EXPECT_EQ(lines("UserNameLbl"), L{j("山田")});
    EXPECT_EQ(lines("SexText"), L{}) << "no sex chosen prints an empty item";
    EXPECT_EQ(lines("KaigoText"), L{}) << "no care level chosen prints an empty item";
    EXPECT_EQ(lines("OldText"), L{"35"});
    EXPECT_EQ(lines("HDSText"), L{"7"});
    EXPECT_EQ(lines("EtcBox"), L{j("レ")});
    EXPECT_EQ(lines("HomeBox"), L{" "});
    EXPECT_EQ(lines("ABC00"), (L{"AB", "C"}));
    EXPECT_EQ(lines("ABC01"), L{"AB"});
    EXPECT_EQ(lines("ABC02"), L{});
    EXPECT_EQ(lines("ABC04"), L{"BC"});
    EXPECT_EQ(form.FindLabel("Point0")->Caption, j("　"));
    EXPECT_EQ(form.FindLabel("Point1")->Caption, j("○"));
    EXPECT_EQ(form.FindLabel("Point27")->Caption, j("◎"));
    EXPECT_EQ(lines("TeamBox13"), L{j("最後")});

    const char *levels[] = {"要支援１", "要支援２", "要介護１", "要介護２", "要介護３", "要介護４", "要介護５"};
    for (int level = 0; level <= 7; ++level) {
        p.KaigoLevel = level;
        form.FillItems();
        EXPECT_EQ(lines("KaigoText"), level < 7 ? L{j(levels[level])} : L{}) << level;
    }
    p.Sex = 0;
    form.FillItems();
    EXPECT_EQ(lines("SexText"), L{j("男性")});
    p.Sex = 1;
    form.FillItems();
    EXPECT_EQ(lines("SexText"), L{j("女性")});

    // A value that is no priority mark prints nothing, whatever the label
    // held before.
    p.ActivityItems[1].Special = 5;
    form.FillItems();
    EXPECT_EQ(form.FindLabel("Point1")->Caption, "");
}

TEST(PlanFile, StructureOfTheWrittenFile)
{
    const std::string pdf = pdfOf(fullPlan());
    EXPECT_EQ(objectCount(pdf), 14);
    EXPECT_EQ(pdf.rfind("xref\r\n0 15\r\n"), pdf.find("xref\r\n"));
    EXPECT_EQ(pdf.substr(0, 11), "%PDF-1.2 \r\n");
    EXPECT_NE(pdf.find("/Type /Catalog\r\n/Pages 3 0 R\r\n/PageMode /UseNone\r\n/PageLayout /SinglePage\r\n>>"),
              std::string::npos);
    EXPECT_NE(pdf.find("/Producer (Ovilant version 1.0)\r\n"
                       "/Author <FEFF001B656E001BFF32FF11FF0EFF10>\r\n"
                       "/CreationDate (D:20240131140509)\r\n"
                       "/Creator <FEFF001B656E001BFF11FF14FF1AFF10FF15FF1AFF10FF19>\r\n"
                       "/Keywords (" + planfile::layoutMark(planfile::kNewestLayoutVersion) + ")\r\n"
                       "/Subject <FEFF001B656E001BFF32FF29FF28FF21>\r\n"
                       "/Title ()\r\n"
                       "/ModDate (D:20240131140509)\r\n>>"),
              std::string::npos)
        << pdf.substr(0, 700);
    // Fonts in order of first use on each page.
    EXPECT_NE(pdf.find("/Font <<\r\n/F0 6 0 R\r\n/F1 7 0 R\r\n>>"), std::string::npos);
    EXPECT_NE(pdf.find("/Font <<\r\n/F0 6 0 R\r\n/F2 12 0 R\r\n/F1 7 0 R\r\n>>"), std::string::npos);
    EXPECT_NE(pdf.find("/BaseFont /Gothic,Bold"), std::string::npos);
    EXPECT_EQ(pdf.substr(pdf.size() - 7), "%%EOF\r\n");

    const auto contents = contentsOf(pdf);
    EXPECT_EQ(contents[0].substr(0, 47), "/F0 10 Tf\n[] 0 d\n451 781 m\n459 781 l\n459 772 l\n");
    EXPECT_EQ(contents[1].substr(0, 10), "/F0 10 Tf\n");

    // The same plan, creator and time give the same bytes.
    EXPECT_EQ(pdfOf(fullPlan()), pdf);
}

// A report left open by a failure refuses the next begin until it is
// aborted; after the abort the form writes the same file as before.
TEST(PlanFile, AbortAfterAFailureLetsTheNextSaveWork)
{
    TPrintFormatForm form;
    form.PlanData = fullPlan();
    form.CreatorText = j("１４：０５：０９");
    form.Clock = saveTime;
    form.BeginReport();
    try {
        form.BeginReport();
        ADD_FAILURE() << "a second begin while a document is open must fail";
    } catch (const EPdfInvalidOperation &e) {
        EXPECT_STREQ(e.what(), "SetAuthor --invalid operation.");
    }
    form.AbortReport();
    form.BeginReport();
    form.PrintPages();
    const std::string bytes = form.EndReportToString();
    EXPECT_FALSE(form.PReport1.HasDoc());
    EXPECT_EQ(bytes, pdfOf(fullPlan()));
}

TEST(PlanFile, OrderOfTextsOnThePages)
{
    TPRACTDATA plan = fullPlan();
    plan.Home = false;
    plan.ActivityItems[3].Time = "";
    const auto contents = contentsOf(pdfOf(plan));
    const auto page1 = textObjectsOf(contents[0]);
    const auto page2 = textObjectsOf(contents[1]);
    // Every label and text block writes one text object, except empty labels
    // (the unticked 自宅 and the emptied target period on page 1).
    const auto printing = [](int page) {
        const auto items = planfile::currentLayout().items(page);
        return static_cast<std::size_t>(std::count_if(items.begin(), items.end(), [](const planfile::LayoutItemDef &i) {
            return i.kind != planfile::LayoutItemKind::Rect;
        }));
    };
    EXPECT_EQ(page1.size(), printing(1) - 1u);
    EXPECT_EQ(page2.size(), printing(2));
    // First texts of page 1: the exercise tick, the empty sample block, the name label.
    ASSERT_GE(page1.size(), 3u);
    EXPECT_EQ(page1[0].lines, std::vector<std::string>{j("レ")});
    EXPECT_TRUE(page1[1].lines.empty());
    EXPECT_EQ(page1[1].x, 113);
    EXPECT_EQ(page1[2].lines, std::vector<std::string>{j("氏名")});
    EXPECT_EQ(page2[0].lines, std::vector<std::string>{j("リハビリテーション実施計画書（２）")});
    EXPECT_EQ(page2[0].x, 17);
    EXPECT_FLOAT_EQ(page2[0].y, 822.8f);
    const auto name = std::find_if(page1.begin(), page1.end(), [](const TextObject &t) { return t.x == 40; });
    ASSERT_NE(name, page1.end());
    EXPECT_EQ(name->y, 799.5);
}

// The reader looks for each field at a fixed point of its page and takes the
// first text object that starts within 5 units (coordinates truncated toward
// zero). A full plan must give back every field's own text there.
TEST(PlanFile, EveryFieldStartsWhereTheReaderLooks)
{
    TPrintFormatForm form;
    form.PlanData = fullPlan();
    form.FillItems();
    const auto contents = contentsOf(pdfOf(fullPlan()));
    const std::vector<std::vector<TextObject>> pages = {textObjectsOf(contents[0]), textObjectsOf(contents[1])};

    for (const planfile::PlanField &field : planfile::kPlanFields) {
        const int index = field.index;
        const auto &items = pages[static_cast<std::size_t>(field.page - 1)];
        const auto found = std::find_if(items.begin(), items.end(), [&](const TextObject &t) {
            const auto x = static_cast<long>(std::trunc(t.x));
            const auto y = static_cast<long>(std::trunc(t.y));
            return x >= field.x - 5 && x <= field.x + 5 && y >= field.y - 5 && y <= field.y + 5;
        });
        ASSERT_NE(found, items.end()) << "field " << index << " (" << field.item << ") has no text object";

        // What the item was filled with, line by line as printed (three marks on two lines).
        std::vector<std::string> expected;
        if (auto *text = form.FindText(field.item)) {
            expected = text->Lines;
            while (!expected.empty() && expected.back().empty()) {
                expected.pop_back();
            }
        } else {
            expected = {form.FindLabel(field.item)->Caption};
        }
        EXPECT_EQ(found->lines, expected)
            << "field " << index << " (" << field.item << ") at " << found->x << " " << found->y;
    }
}

// The reviewed content streams of the full plan. Set OVILANT_UPDATE_GOLDEN=1
// to rewrite them after a deliberate change, and review the new pages.
TEST(PlanFile, ContentStreamsMatchTheReviewedGoldenFiles)
{
    const auto contents = contentsOf(pdfOf(fullPlan()));
    const std::string dir = std::string(OVILANT_TEST_DATA_DIR) + "/golden/";
    for (std::size_t page = 0; page < contents.size(); ++page) {
        const std::string path = dir + "full-plan-page" + std::to_string(page + 1) + ".content";
        if (std::getenv("OVILANT_UPDATE_GOLDEN") != nullptr) {
            testsupport::writeFile(path, contents[page]);
        }
        const std::string golden = readFile(path);
        ASSERT_FALSE(golden.empty()) << path;
        EXPECT_EQ(contents[page], golden) << "page " << page + 1;
    }
}

// Recording the pages sees the text objects the file gets, each with its
// item, page, point and lines; a T* that ends an object leaves an empty last
// line in the record, where a content stream shows nothing.
TEST(PlanFile, RecordedPagesHoldTheTextObjectsOfTheFile)
{
    TPRACTDATA plan = fullPlan();
    plan.Gapei = j("一行目\r\n\r\n三行目"); // cut after the blank line
    TPrintFormatForm form;
    form.PlanData = plan;
    const std::vector<TPRTextObject> recorded = form.RecordPages();
    const auto contents = contentsOf(pdfOf(plan));
    std::vector<TextObject> file = textObjectsOf(contents[0]);
    const std::size_t page1 = file.size();
    for (const TextObject &object : textObjectsOf(contents[1])) {
        file.push_back(object);
    }
    ASSERT_EQ(recorded.size(), file.size());
    for (std::size_t i = 0; i < file.size(); ++i) {
        std::vector<std::string> lines = recorded[i].Lines;
        while (!lines.empty() && lines.back().empty() && lines.size() > file[i].lines.size()) {
            lines.pop_back();
        }
        EXPECT_EQ(lines, file[i].lines) << recorded[i].Item->Name();
        EXPECT_EQ(recorded[i].Page, i < page1 ? 1 : 2);
        EXPECT_NEAR(recorded[i].X, file[i].x, 0.005);
        EXPECT_NEAR(recorded[i].Y, file[i].y, 0.005);
    }
    EXPECT_EQ(recorded.front().Item, form.FindItem("ExerciseBox"));
}

TEST(PlanFile, LongTextsAreCutAtTheBoxEdges)
{
    TPRACTDATA plan = fullPlan();
    plan.Name = j("寿限無寿限無五劫の擦り切れ");                      // wider than the 81-point name block
    plan.Kango0Text = j("あいうえおかきくけこさしすせそ たちつてと"); // wraps at the space
    plan.Gapei = j("一行目\r\n二行目\r\n三行目");                     // the block holds two lines
    const auto page1 = textObjectsOf(contentsOf(pdfOf(plan))[0]);
    const auto at = [&](double x, double y) {
        return std::find_if(page1.begin(), page1.end(), [&](const TextObject &t) { return t.x == x && t.y == y; });
    };
    const auto name = at(40, 799.5);
    ASSERT_NE(name, page1.end());
    EXPECT_EQ(name->lines, std::vector<std::string>{j("寿限無寿限無五劫")}) << "8 full-width characters fit 81 points";
    const auto gapei = at(239, 764.2);
    ASSERT_NE(gapei, page1.end());
    EXPECT_EQ(gapei->lines, (std::vector<std::string>{j("一行目"), j("二行目")}));
    const auto kango = at(429, 554.2);
    ASSERT_NE(kango, page1.end());
    ASSERT_EQ(kango->lines.size(), 2u);
    EXPECT_EQ(kango->lines[1], j("たちつてと"));
}

} // namespace
