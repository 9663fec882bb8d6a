// The report engine on small hand-built pages: the exact operators each
// component writes, the order of visiting, the property rules while a
// document is open, and the containment rules.

#include "report/PReport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// A page with one panel at (1, 1), like the second plan page.
struct Fixture {
    TPReport report;
    TPRPage page{"Page"};
    TPRPanel panel{"Panel"};

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
    first.SetText("\t  one\r\ntwo  \r\n\r\n");
    first.SetParent(&f.panel);
    TPRText second("Second");
    second.SetBounds(0, 100, 200, 40);
    second.SetFontSize(10);
    second.SetText("x");
    second.SetParent(&f.panel);
    EXPECT_EQ(f.print(), kStart + "/F1 10 Tf\n0 0 0 rg\n14 TL\nBT\n1 832.5 Td\n(one) Tj\nT*\n(two) Tj\nET\n"
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

    const std::string content = f.print();
    const auto at = [&](const char *s) { return content.find(s); };
    ASSERT_NE(at("(1) Tj"), std::string::npos);
    EXPECT_LT(at("(1) Tj"), at("(2) Tj"));
    EXPECT_LT(at("(2) Tj"), at("(N) Tj"));
    EXPECT_NE(at("111 722.5 Td"), std::string::npos) << "nested item offset by both panels";
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
    TPRPanel panel("Panel");
    TPRPanel plain("Plain");
    expectThrowWithMessage<EPReportError>([&] { label.SetParent(&page); }, "this component must set on TPRPanel");
    expectThrowWithMessage<EPReportError>([&] { panel.SetParent(&label); }, "TPRPage can not set on TPRLabel");
    expectThrowWithMessage<EPReportError>([&] { page.SetParent(&panel); }, "TPRPage can not set on TPRPanel");
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
    TPRPanel panel("Panel");
    auto label = std::make_unique<TPRLabel>("Label");
    label->SetParent(&panel);
    label.reset();
    EXPECT_TRUE(panel.Children().empty());
    TPRLabel survivor("Survivor");
    {
        TPRPanel shortLived("ShortLived");
        survivor.SetParent(&shortLived);
    }
    EXPECT_EQ(survivor.Parent(), nullptr);
}

TEST(PReportProperties, DefaultsAndIgnoredValues)
{
    TPRText text;
    EXPECT_EQ(text.FontSize(), 12);
    EXPECT_EQ(text.Leading(), 14);
    EXPECT_EQ(text.InternalFontName(), "Gothic");
    text.SetFontBold(true);
    EXPECT_EQ(text.InternalFontName(), "Gothic,Bold");
    EXPECT_EQ(text.Width(), 100);
    EXPECT_EQ(text.Height(), 30);
    text.SetFontSize(0);
    text.SetFontSize(-3);
    text.SetLeading(-1);
    EXPECT_EQ(text.FontSize(), 12);
    EXPECT_EQ(text.Leading(), 14);
    EXPECT_EQ(TPRPanel().Height(), 100);
    EXPECT_EQ(TPRPage().Width(), 596);
    EXPECT_EQ(TPRPage().Height(), 842);
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
