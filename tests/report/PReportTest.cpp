// The report engine on small hand-built pages: the exact operators each
// component writes, the order of visiting, the property rules while a
// document is open, and the containment rules.

#include "report/PReport.h"

#include "plan/Cp932.h"


#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// A page with one layout panel at (1, 1), like the second plan page.
struct Fixture {
    TPReport report;
    TPRPage page{"Page"};
    TPRLayoutPanel panel{"Panel"};

    Fixture()
    {
        report.SetClock([] { return encodeDateTime(2024, 1, 31, 14, 30, 5); });
        panel.SetBounds(1, 1, 594, 842);
        panel.SetParent(&page);
    }

    // The content of one page holding only what `build` adds to the panel.
    std::string print()
    {
        report.BeginDoc();
        report.Print(page);
        std::string content = report.PdfDoc()->Canvas().Contents()->Stream();
        report.Abort();
        return content;
    }
};

const std::string kStart = "/F0 10 Tf\n";

template <typename E> void expectThrowWithMessage(const std::function<void()> &f, const std::string &message)
{
    try {
        f();
        ADD_FAILURE() << "no exception, expected: " << message;
    } catch (const E &e) {
        EXPECT_EQ(e.what(), message);
    }
}

TEST(PReportLabel, WritesFontColourAndOneTextObjectAtTheTopLeftBaseline)
{
    Fixture f;
    TPRLabel label("TitleLabel2");
    label.SetBounds(16, 8, 225, 18);
    label.SetFontSize(12);
    label.SetFontBold(true);
    label.Caption = "AB(1)";
    label.SetParent(&f.panel);
    EXPECT_EQ(f.print(), kStart + "/F1 12 Tf\n0 0 0 rg\nBT\n17 822.8 Td\n(AB\\(1\\)) Tj\nET\n");
}

TEST(PReportLabel, EmptyCaptionWritesNothingAtAll)
{
    Fixture f;
    TPRLabel label("Empty");
    label.SetBounds(10, 10, 50, 12);
    label.SetFontSize(8);
    label.SetParent(&f.panel);
    EXPECT_EQ(f.print(), kStart);
}

TEST(PReportLabel, AlignmentAndJustification)
{
    Fixture f;
    TPRLabel centred("Centred");
    centred.SetBounds(9, 0, 100, 12);
    centred.SetFontSize(10);
    centred.Alignment = taCenter;
    centred.Caption = "12"; // 10 points wide: offset round(90 / 2) = 45
    centred.SetParent(&f.panel);
    TPRLabel right("Right");
    right.SetBounds(9, 20, 100, 12);
    right.SetFontSize(10);
    right.Alignment = taRightJustify;
    right.Caption = "123"; // 15 points wide: offset 85
    right.SetParent(&f.panel);
    TPRLabel justified("Justified");
    justified.SetBounds(9, 40, 50, 12);
    justified.SetFontSize(10);
    justified.AlignJustified = true;
    justified.Caption = "ABCD"; // (50 - 20) / 3 = 10 between characters
    justified.SetParent(&f.panel);
    EXPECT_EQ(f.print(), kStart + "/F1 10 Tf\n0 0 0 rg\nBT\n55 832.5 Td\n(12) Tj\nET\n"
                                  "0 0 0 rg\nBT\n95 812.5 Td\n(123) Tj\nET\n"
                                  "0 0 0 rg\n10 Tc\nBT\n10 792.5 Td\n(ABCD) Tj\nET\n");
}

TEST(PReportLabel, JustificationCountsADoubleByteCharacterOnce)
{
    Fixture f;
    TPRLabel label("Name");
    label.SetBounds(0, 0, 40, 12);
    label.SetFontSize(10);
    label.AlignJustified = true;
    label.Caption = cp932::fromUtf8("氏名"); // two characters, 20 points: (40 - 20) / 1
    label.SetParent(&f.panel);
    const std::string content = f.print();
    EXPECT_NE(content.find("20 Tc\n"), std::string::npos) << content;
    EXPECT_NE(content.find("<8E8196BC> Tj\n"), std::string::npos) << content;
}

TEST(PReportLabel, ClippingWrapsTheTextInAClipPath)
{
    Fixture f;
    TPRLabel label("Clipped");
    label.SetBounds(9, 0, 20, 10);
    label.SetFontSize(10);
    label.Clipping = true;
    label.Caption = "X";
    label.SetParent(&f.panel);
    EXPECT_EQ(f.print(), kStart + "/F1 10 Tf\n0 0 0 rg\nq\n10 841 m\n10 831 l\n30 831 l\n30 841 l\nh\nW\nn\n"
                                  "BT\n10 832.5 Td\n(X) Tj\nET\nQ\n");
}

TEST(PReportText, EmptyBlockStillWritesStateAndAnEmptyTextObject)
{
    Fixture f;
    TPRText text("Empty");
    text.SetBounds(95, 553, 10, 18);
    text.SetFontSize(8);
    text.SetLeading(9);
    text.SetText(" \r\n");
    text.SetParent(&f.panel);
    EXPECT_EQ(f.print(), kStart + "/F1 8 Tf\n0 0 0 rg\n9 TL\nBT\n96 281.2 Td\nET\n");
}

TEST(PReportText, LinesBelowTheBlockAreDropped)
{
    Fixture f;
    TPRText text("Marks");
    text.SetBounds(95, 280, 10, 18);
    text.SetFontSize(8);
    text.SetLeading(9);
    text.WordWrap = true;
    text.Lines = {"A", "B", "C"};
    text.SetParent(&f.panel);
    const std::string content = f.print();
    EXPECT_EQ(content, kStart + "/F1 8 Tf\n0 0 0 rg\n9 TL\nBT\n96 554.2 Td\n(A) Tj\nT*\n(B) Tj\nT*\nET\n");
}

TEST(PReportText, StateOperatorsOnlyOnChangeAndBlanksTrimmed)
{
    Fixture f;
    TPRText first("First");
    first.SetBounds(0, 0, 200, 40);
    first.SetFontSize(10);
    first.SetCharSpace(1);
    first.SetWordSpace(2);
    first.SetText("\t  one\r\ntwo  \r\n\r\n");
    first.SetParent(&f.panel);
    TPRText second("Second");
    second.SetBounds(0, 100, 200, 40);
    second.SetFontSize(10);
    second.SetCharSpace(1);
    second.SetWordSpace(2);
    second.SetText("x");
    second.SetParent(&f.panel);
    EXPECT_EQ(f.print(), kStart + "/F1 10 Tf\n0 0 0 rg\n1 Tc\n2 Tw\n14 TL\nBT\n1 832.5 Td\n(one) Tj\nT*\n(two) Tj\nET\n"
                                  "0 0 0 rg\nBT\n1 732.5 Td\n(x) Tj\nET\n");
}

TEST(PReportText, SetTextSplitsAtEveryKindOfLineBreak)
{
    TPRText text;
    text.SetText("a\r\nb\rc\nd\n\ne\r\n");
    EXPECT_EQ(text.Lines, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(text.Text(), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");
    text.SetText("");
    EXPECT_TRUE(text.Lines.empty());
}

TEST(PReportRect, BoxRuleAndDegenerateShapes)
{
    Fixture f;
    TPRRect box("Box");
    box.SetBounds(450, 60, 9, 10);
    box.SetParent(&f.panel);
    TPRRect rule("Rule");
    rule.SetBounds(13, 819, 567, 1);
    rule.SetParent(&f.panel);
    TPRRect dot("Dot");
    dot.SetBounds(5, 5, 1, 1);
    dot.SetParent(&f.panel);
    TPRRect upright("Upright");
    upright.SetBounds(5, 5, 1, 20);
    upright.SetParent(&f.panel);
    EXPECT_EQ(f.print(), kStart + "[] 0 d\n451 781 m\n459 781 l\n459 772 l\n451 772 l\n0 0 0 RG\n0 w\ns\n"
                                  "[] 0 d\n14 22 m\n580 22 l\n0 0 0 RG\n0 w\nS\nn\n"
                                  "[] 0 d\n6 836 m\n6 817 l\n0 0 0 RG\n0 w\nS\nn\n");
}

TEST(PReportRect, DashesFillAndInvisibleLines)
{
    Fixture f;
    TPRRect dashed("Dashed");
    dashed.SetBounds(0, 0, 10, 10);
    dashed.LineStyle = psDashDot;
    dashed.SetLineWidth(2);
    dashed.SetParent(&f.panel);
    TPRRect filled("Filled");
    filled.SetBounds(0, 0, 10, 10);
    filled.LineStyle = psClear;
    filled.FillColor = 0x0000FF;
    filled.SetParent(&f.panel);
    TPRRect both("Both");
    both.SetBounds(0, 0, 10, 10);
    both.LineStyle = psDash;
    both.FillColor = 0xFFFFFF;
    both.SetParent(&f.panel);
    TPRRect invisibleLine("InvisibleLine");
    invisibleLine.SetBounds(0, 0, 10, 1);
    invisibleLine.LineColor = clNone;
    invisibleLine.SetParent(&f.panel);
    const std::string path = "1 841 m\n10 841 l\n10 832 l\n1 832 l\n";
    EXPECT_EQ(f.print(), kStart + "[8 4 2 4 2 4 ] 0 d\n" + path + "0 0 0 RG\n2 w\ns\n" + path +
                             "1 0 0 rg\n0 0 0 RG\n0 w\nh\nf\n" + "[16 8 ] 0 d\n" + path +
                             "1 1 1 rg\n0 0 0 RG\n0 w\nh\nb\n");
}

TEST(PReportTree, ItemsPrintBeforePanelsThenInInsertionOrder)
{
    Fixture f;
    TPRPanel inner("Inner");
    inner.SetBounds(100, 100, 200, 200);
    inner.SetParent(&f.panel); // inserted first, printed after the items
    TPRLabel nested("Nested");
    nested.SetBounds(10, 10, 50, 12);
    nested.SetFontSize(10);
    nested.Caption = "N";
    nested.SetParent(&inner);
    TPRLabel second("Second");
    second.SetBounds(0, 0, 50, 12);
    second.SetFontSize(10);
    second.Caption = "2";
    TPRLabel first("First");
    first.SetBounds(0, 20, 50, 12);
    first.SetFontSize(10);
    first.Caption = "1";
    first.SetParent(&f.panel);
    second.SetParent(&f.panel);
    TPRLabel hidden("Hidden");
    hidden.SetBounds(0, 40, 50, 12);
    hidden.Caption = "H";
    hidden.Printable = false;
    hidden.SetParent(&f.panel);

    std::vector<std::string> events;
    f.panel.BeforePrint = [&](TPRLayoutPanel &p, TPRCanvas &, const TRect &r) {
        events.push_back("before " + p.Name() + " " + std::to_string(r.Left) + "," + std::to_string(r.Top));
    };
    f.panel.AfterPrint = [&](TPRLayoutPanel &p, TPRCanvas &, const TRect &) { events.push_back("after " + p.Name()); };
    f.page.OnPrintPage = [&](TPRPage &p, TPRCanvas &c) {
        events.push_back("page " + p.Name() + " " + std::to_string(c.PageWidth()) + "x" +
                         std::to_string(c.PageHeight()));
    };

    const std::string content = f.print();
    const auto at = [&](const char *s) { return content.find(s); };
    ASSERT_NE(at("(1) Tj"), std::string::npos);
    EXPECT_LT(at("(1) Tj"), at("(2) Tj"));
    EXPECT_LT(at("(2) Tj"), at("(N) Tj"));
    EXPECT_NE(at("111 722.5 Td"), std::string::npos) << "nested item offset by both panels";
    EXPECT_EQ(at("(H) Tj"), std::string::npos);
    EXPECT_EQ(events, (std::vector<std::string>{"page Page 596x842", "before Panel 1,1", "after Panel"}));
}

TEST(PReportTree, PageSizeGoesIntoTheMediaBox)
{
    Fixture f;
    f.page.SetBounds(0, 0, 300, 400);
    f.report.BeginDoc();
    f.report.Print(f.page);
    const std::string pdf = f.report.EndDocToString();
    EXPECT_NE(pdf.find("/MediaBox [0 0 300 400 ]"), std::string::npos);
}

TEST(PReportTree, ContainmentRules)
{
    TPRPage page("Page");
    TPRLabel label("Label");
    TPRLayoutPanel panel("Panel");
    TPRPanel plain("Plain");
    expectThrowWithMessage<EPReportError>([&] { label.SetParent(&page); }, "this component must set on TPRPanel");
    expectThrowWithMessage<EPReportError>([&] { panel.SetParent(&label); }, "TPRPage can not set on TPRLabel");
    expectThrowWithMessage<EPReportError>([&] { page.SetParent(&panel); }, "TPRPage can not set on TPRLayoutPanel");
    EXPECT_EQ(label.Parent(), nullptr);
    plain.SetParent(&page);
    panel.SetParent(&plain);
    label.SetParent(&panel);
    EXPECT_EQ(label.Parent(), &panel);
    label.SetParent(&plain); // moving takes it off the old parent
    EXPECT_TRUE(panel.Children().empty());
    EXPECT_EQ(plain.Children(), (std::vector<TPRControl *>{&panel, &label}));
    EXPECT_EQ(plain.ChildrenInPrintOrder(), (std::vector<TPRControl *>{&label, &panel}));
}

TEST(PReportTree, DestroyingAComponentDetachesIt)
{
    TPRLayoutPanel panel("Panel");
    auto label = std::make_unique<TPRLabel>("Label");
    label->SetParent(&panel);
    label.reset();
    EXPECT_TRUE(panel.Children().empty());
    TPRLabel survivor("Survivor");
    {
        TPRLayoutPanel shortLived("ShortLived");
        survivor.SetParent(&shortLived);
    }
    EXPECT_EQ(survivor.Parent(), nullptr);
}

TEST(PReportProperties, DefaultsAndIgnoredValues)
{
    TPRText text;
    EXPECT_EQ(text.FontSize(), 12);
    EXPECT_EQ(text.Leading(), 14);
    EXPECT_EQ(text.FontName(), fnGothic);
    EXPECT_EQ(text.FontColor(), clBlack);
    EXPECT_EQ(text.Width(), 100);
    EXPECT_EQ(text.Height(), 30);
    text.SetFontSize(0);
    text.SetFontSize(-3);
    text.SetLeading(-1);
    text.SetWordSpace(-1);
    EXPECT_EQ(text.FontSize(), 12);
    EXPECT_EQ(text.Leading(), 14);
    EXPECT_EQ(text.WordSpace(), 0);
    expectThrowWithMessage<EPdfInvalidValue>([&] { text.SetFontColor(0x10000000); },
                                             "the color you selected is not allowed.");
    text.SetFontColor(0x0FFFFFFF);
    EXPECT_EQ(text.FontColor(), 0x0FFFFFFF);
    TPRRect rect;
    rect.SetLineWidth(-2);
    EXPECT_EQ(rect.LineWidth(), 0);
    EXPECT_EQ(TPRPanel().Height(), 100);
    EXPECT_EQ(TPRPage().Width(), 596);
    EXPECT_EQ(TPRPage().Height(), 842);

    EXPECT_EQ(PRFontName(fnGothic, true, false), "Gothic,Bold");
    EXPECT_EQ(PRFontName(fnTimesRoman, false, false), "Times-Roman");
    EXPECT_EQ(PRFontName(fnTimesRoman, true, true), "Times-BoldItalic");
    EXPECT_EQ(PRFontName(fnArial, false, true), "Arial-Italic");
    EXPECT_EQ(PRFontName(fnPMincyo, true, true), "PMincyo,BoldItalic");
    EXPECT_EQ(PRFontName(fnFixedWidth, true, false), "FixedWidth-Bold");
}

TEST(PReportDocument, PropertiesAreFrozenWhileADocumentIsOpen)
{
    TPReport report;
    report.BeginDoc();
    const std::vector<std::pair<std::function<void()>, std::string>> setters = {
        {[&] { report.SetAuthor("a"); }, "SetAuthor --invalid operation."},
        {[&] { report.SetCreationDate(1); }, "SetCreationDate --invalid operation."},
        {[&] { report.SetCreator("c"); }, "SetCreator --invalid operation."},
        {[&] { report.SetModDate(1); }, "SetModDate --invalid operation."},
        {[&] { report.SetSubject("s"); }, "SetSubject --invalid operation."},
        {[&] { report.SetUseOutlines(true); }, "SetUseOutlines --invalid operation."},
        {[&] { report.SetViewerPreference(vpBit(vpFitWindow)); }, "SetViewerPreference --invalid operation."},
    };
    for (const auto &[set, message] : setters) {
        expectThrowWithMessage<EPdfInvalidOperation>(set, message);
    }
    EXPECT_EQ(report.Author(), "");
    report.Abort();
    EXPECT_FALSE(report.HasDoc());
    report.SetAuthor("a");
    EXPECT_EQ(report.Author(), "a");
}

TEST(PReportDocument, EndWithoutDocumentAndBeginAgainDiscardsTheOpenOne)
{
    TPReport report;
    expectThrowWithMessage<EInvalidOperation>([&] { report.EndDocToString(); }, "document is null..");
    TPRPage page;
    report.BeginDoc();
    report.Print(page);
    report.Print(page);
    EXPECT_EQ(report.PageCount(), 2);
    report.BeginDoc();
    EXPECT_EQ(report.PageCount(), 0);
    report.Print(page);
    const std::string pdf = report.EndDocToString();
    EXPECT_NE(pdf.find("/Count 1\r\n"), std::string::npos);
    EXPECT_FALSE(report.HasDoc());
}

// Printing needs an open document: without one it raises instead of
// touching a missing document, and the next begin works.
TEST(PReportDocument, PrintWithoutDocumentRaises)
{
    TPReport report;
    TPRPage page;
    expectThrowWithMessage<EInvalidOperation>([&] { report.Print(page); }, "document is null..");
    EXPECT_EQ(report.PageCount(), 0);
    EXPECT_FALSE(report.HasDoc());
    report.SetAuthor("after the failure");
    report.BeginDoc();
    report.Print(page);
    EXPECT_NE(report.EndDocToString().find("/Author (after the failure)"), std::string::npos);
}

// The engine's faults and the writer's are all caught as the one base
// EPdfError, and what() is exactly the message.
TEST(PReportDocument, EveryFailureIsAnEPdfErrorWithItsMessage)
{
    TPReport report;
    TPRPage page;
    TPRLabel label;
    expectThrowWithMessage<EPdfError>([&] { label.SetParent(&page); }, "this component must set on TPRPanel");
    expectThrowWithMessage<EPdfError>([&] { report.EndDocToString(); }, "document is null..");
    report.BeginDoc();
    expectThrowWithMessage<EPdfError>([&] { report.SetAuthor("x"); }, "SetAuthor --invalid operation.");
    expectThrowWithMessage<EPdfError>([&] { report.PdfDoc()->GetFont("Helvetica"); },
                                      "CreateFont --InvalidFontName:Helvetica");
}

TEST(PReportDocument, CatalogAndInformationFromTheProperties)
{
    TPReport report;
    report.SetClock([] { return encodeDateTime(2024, 2, 3, 4, 5, 6); });
    report.SetAuthor("me");
    report.SetCreationDate(encodeDateTime(2023, 12, 31, 23, 59, 58));
    report.SetViewerPreference(vpBit(vpHideToolbar) | vpBit(vpCenterWindow));
    TPRPage page;
    report.BeginDoc();
    report.Print(page);
    const std::string pdf = report.EndDocToString();
    EXPECT_NE(pdf.find("/Type /Catalog\r\n/Pages 3 0 R\r\n/PageMode /UseNone\r\n/PageLayout /SinglePage\r\n"
                       "/ViewerPreferences"),
              std::string::npos)
        << pdf.substr(0, 400);
    EXPECT_EQ(pdf.find("/NonFullScreenPageMode"), std::string::npos);
    EXPECT_NE(pdf.find("/HideToolbar true"), std::string::npos);
    EXPECT_NE(pdf.find("/CenterWindow true"), std::string::npos);
    EXPECT_NE(pdf.find("/Producer (Ovilant version 1.0)\r\n/Author (me)\r\n/CreationDate (D:20231231235958)\r\n"
                       "/Creator ()\r\n/Keywords ()\r\n/Subject ()\r\n/Title ()\r\n/ModDate (D:20240203040506)\r\n"),
              std::string::npos)
        << pdf.substr(0, 600);
}

} // namespace
