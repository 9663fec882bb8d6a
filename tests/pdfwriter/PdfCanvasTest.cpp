// Content operators, text state, text in a rectangle and wrapped text.

#include "pdfwriter/PdfDoc.h"
#include "pdfwriter/PdfFonts.h"
#include "PdfTestSupport.h"

#include "plan/Cp932.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

class PdfCanvasTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.SetClock(fixedTime);
        doc.NewDoc();
        doc.AddPage();
        start = pageContent(doc).size();
    }
    // What was written since the page began (after its "/F0 10 Tf").
    std::string written() { return pageContent(doc).substr(start); }
    void reset() { start = pageContent(doc).size(); }
    TPdfCanvas &canvas() { return doc.Canvas(); }

    TPdfDoc doc;
    std::size_t start = 0;
};

TEST_F(PdfCanvasTest, EveryPageStartsWithTheDefaultFont)
{
    EXPECT_EQ(pageContent(doc), "/F0 10 Tf\n");
    doc.AddPage();
    EXPECT_EQ(pageContent(doc), "/F0 10 Tf\n");
    const TPdfDictionary *fonts = canvas().Page()->PdfDictionaryByName("Resources")->PdfDictionaryByName("Font");
    ASSERT_NE(fonts, nullptr);
    ASSERT_EQ(fonts->ItemCount(), 1u);
    EXPECT_EQ(fonts->Items(0).Key(), "F0");
}

TEST_F(PdfCanvasTest, PathAndGraphicsOperators)
{
    TPdfCanvas &c = canvas();
    c.GSave();
    c.SetDash({16, 8}, 0);
    c.SetDash({0}, 0);
    c.SetDash({8, 7, 2, 7}, 3);
    c.SetLineWidth(0);
    c.MoveTo(34, 808);
    c.LineTo(561.5f, 807.25f);
    c.ClosePath();
    c.NewPath();
    c.Stroke();
    c.ClosePathStroke();
    c.Fill();
    c.ClosePathFillStroke();
    c.Clip();
    c.GRestore();
    EXPECT_EQ(written(), "q\n[16 8 ] 0 d\n[] 0 d\n[8 7 2 7 ] 3 d\n0 w\n34 808 m\n561.5 807.25 l\nh\nn\nS\ns\nf\nb\nW\nQ\n");
}

TEST_F(PdfCanvasTest, ColoursAreAlwaysWritten)
{
    TPdfCanvas &c = canvas();
    c.SetRGBFillColor(0);
    c.SetRGBFillColor(0);
    c.SetRGBStrokeColor(0x00FF8000); // blue 255, green 128, red 0
    c.SetRGBFillColor(0x000000FF);
    c.SetRGBStrokeColor(-5);
    EXPECT_EQ(written(), "0 0 0 rg\n0 0 0 rg\n0 0.5 1 RG\n1 0 0 rg\n0 0 0 RG\n");
}

TEST_F(PdfCanvasTest, TextStateIsWrittenOnlyOnChange)
{
    TPdfCanvas &c = canvas();
    c.SetFont("Arial", 10); // the page already uses Arial 10
    c.SetFont("Gothic", 10);
    c.SetFont("Gothic", 10);
    c.SetFont("Gothic", 8);
    c.SetCharSpace(0);
    c.SetCharSpace(1.5f);
    c.SetCharSpace(1.5f);
    c.SetWordSpace(0);
    c.SetWordSpace(2);
    c.SetLeading(14);
    c.SetLeading(14);
    c.SetHorizontalScaling(100);
    c.SetHorizontalScaling(50);
    EXPECT_EQ(written(), "/F1 10 Tf\n/F1 8 Tf\n1.5 Tc\n2 Tw\n14 TL\n50 Tz\n");
    EXPECT_FLOAT_EQ(c.Attribute().FontSize, 8);
    EXPECT_EQ(c.Attribute().Font->Name(), "Gothic");
}

TEST_F(PdfCanvasTest, TextStateRangesAndMessages)
{
    TPdfCanvas &c = canvas();
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { c.SetWordSpace(-0.1f); }), "SetWordSpace --invalid word space");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { c.SetCharSpace(-30.5f); }), "SetCharSpace --invalid char space");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { c.SetCharSpace(300.5f); }), "SetCharSpace --invalid char space");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { c.SetFont("Gothic", -1); }), "SetCharSpace --invalid font size");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { c.SetFont("Gothic", 301); }), "SetCharSpace --invalid font size");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { c.SetLeading(-1); }), "SetLeading --invalid font size");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { c.SetLeading(301); }), "SetLeading --invalid font size");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { c.SetHorizontalScaling(9); }),
              "SetHorizontalScaling --invalid font size");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { c.SetHorizontalScaling(301); }),
              "SetHorizontalScaling --invalid font size");
    // A value that is not a number lies in no range; an infinite word space
    // could not be written. Neither may change the state or write anything.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { c.SetCharSpace(nan); }), "SetCharSpace --invalid char space");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { c.SetWordSpace(nan); }), "SetWordSpace --invalid word space");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { c.SetWordSpace(inf); }), "SetWordSpace --invalid word space");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { c.SetLeading(nan); }), "SetLeading --invalid font size");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { c.SetFont("Gothic", nan); }), "SetCharSpace --invalid font size");
    EXPECT_EQ(written(), "");
    EXPECT_FLOAT_EQ(c.TextWidth("a b"), 5.56f + 2.78f + 5.56f);
    // The limits themselves are accepted.
    c.SetCharSpace(-30);
    c.SetCharSpace(300);
    c.SetFont("Arial", 300);
    c.SetLeading(300);
    c.SetHorizontalScaling(10);
    c.SetHorizontalScaling(300);
    EXPECT_EQ(written(), "-30 Tc\n300 Tc\n/F0 300 Tf\n300 TL\n10 Tz\n300 Tz\n");
}

TEST_F(PdfCanvasTest, ShowTextUsesLiteralOrRawHexStrings)
{
    TPdfCanvas &c = canvas();
    c.ShowText("12");
    c.ShowText("a(b)\\c");
    c.ShowText(cp932::fromUtf8("氏名"));
    c.ShowText(cp932::fromUtf8("(1)日"));
    c.ShowText("");
    EXPECT_EQ(written(), "(12) Tj\n(a\\(b\\)\\\\c) Tj\n<8E8196BC> Tj\n<28312993FA> Tj\n() Tj\n");
}

TEST_F(PdfCanvasTest, TextRectAlignmentAndClipping)
{
    TPdfCanvas &c = canvas();
    c.SetFont("Gothic", 10);
    reset();
    const std::string name = cp932::fromUtf8("氏名"); // 20 points wide
    c.TextRect({100, 500, 200, 480}, name, paLeftJustify, false);
    c.TextRect({100, 500, 200, 480}, name, paRightJustify, false);
    c.TextRect({100, 500, 200, 480}, name, paCenter, false);
    c.TextRect({100, 500, 200, 480}, "abc", paCenter, true); // 15 wide: (100 - 15) / 2 = 42.5 -> 42
    EXPECT_EQ(written(), "BT\n100 491.5 Td\n<8E8196BC> Tj\nET\n"
                         "BT\n180 491.5 Td\n<8E8196BC> Tj\nET\n"
                         "BT\n140 491.5 Td\n<8E8196BC> Tj\nET\n"
                         "q\n100 500 m\n100 480 l\n200 480 l\n200 500 l\nh\nW\nn\n"
                         "BT\n142 491.5 Td\n(abc) Tj\nET\nQ\n");
    reset();
    c.TextRect({100, 500, 201, 480}, "abc", paCenter, false); // 43 exactly
    c.TextRect({100, 500, 202, 480}, "abc", paCenter, false); // 43.5 -> 44 (halves to even)
    EXPECT_EQ(written(), "BT\n143 491.5 Td\n(abc) Tj\nET\nBT\n144 491.5 Td\n(abc) Tj\nET\n");
}

TEST_F(PdfCanvasTest, TextOutWritesOneTextObject)
{
    canvas().TextOut(12.5f, 700, "x");
    EXPECT_EQ(written(), "BT\n12.5 700 Td\n(x) Tj\nET\n");
}

TEST_F(PdfCanvasTest, MeasuringFollowsTheCurrentTextState)
{
    TPdfCanvas &c = canvas();
    c.SetFont("Gothic", 10);
    const std::string mixed = cp932::fromUtf8("ab氏名");
    EXPECT_FLOAT_EQ(c.TextWidth(mixed), 30);
    EXPECT_FLOAT_EQ(c.TextWidth(""), 0);
    c.SetCharSpace(1);
    // Four characters: three char spaces between them (trail bytes count nothing).
    EXPECT_FLOAT_EQ(c.TextWidth(mixed), 33);
    c.SetCharSpace(0);
    c.SetWordSpace(2);
    // Only a space that is not the last byte adds the word space.
    EXPECT_FLOAT_EQ(c.TextWidth("a b "), 22);
    c.SetWordSpace(0);
    c.SetHorizontalScaling(50);
    EXPECT_FLOAT_EQ(c.TextWidth(mixed), 15);
    c.SetHorizontalScaling(100);

    EXPECT_EQ(c.MeasureText(mixed, 30), 6);
    EXPECT_EQ(c.MeasureText(mixed, 29.9f), 4); // never splits a double-byte character
    EXPECT_EQ(c.MeasureText(mixed, 19.9f), 2);
    EXPECT_EQ(c.MeasureText(mixed, 4), 0);

    c.SetFont("Arial", 10);
    EXPECT_FLOAT_EQ(c.TextWidth("Ab"), 6.67f + 5.56f);
    EXPECT_EQ(c.MeasureText("AAAA", 20), 2);
}

TEST_F(PdfCanvasTest, WrappedTextLinesBreaksAndStops)
{
    TPdfCanvas &c = canvas();
    c.SetFont("Gothic", 10); // every single-byte character 5 points
    c.SetLeading(14);
    reset();

    // CR LF forces a break even without word wrap.
    c.MultilineTextRect({10, 800, 200, 700}, "one\r\ntwo\r\nthree", false);
    EXPECT_EQ(written(), "BT\n10 791.5 Td\n(one) Tj\nT*\n(two) Tj\nT*\n(three) Tj\nET\n");

    // Word wrap breaks after the word that still fits; the line keeps its space.
    reset();
    c.MultilineTextRect({10, 800, 60, 700}, "aaa bbb ccc ddd", true);
    EXPECT_EQ(written(), "BT\n10 791.5 Td\n(aaa bbb ) Tj\nT*\n(ccc ddd) Tj\nET\n");

    // A word wider than the box is cut at the right edge, not wrapped.
    reset();
    c.MultilineTextRect({10, 800, 40, 700}, "abcdefghij", true);
    EXPECT_EQ(written(), "BT\n10 791.5 Td\n(abcdef) Tj\nET\n");
    reset();
    c.MultilineTextRect({10, 800, 40, 700}, cp932::fromUtf8("あいうえお"), false);
    EXPECT_EQ(written(), "BT\n10 791.5 Td\n<82A082A282A4> Tj\nET\n");

    // Without word wrap a long line of words is cut too.
    reset();
    c.MultilineTextRect({10, 800, 40, 700}, "aaa bbb ccc", false);
    EXPECT_EQ(written(), "BT\n10 791.5 Td\n(aaa bb) Tj\nET\n");

    // A line whose top falls below bottom + font size stops the block.
    // Tops: 800, 786, 772; 772 < 760 + 10 is false, 758 < 770 stops.
    reset();
    c.MultilineTextRect({10, 800, 200, 760}, "1\r\n2\r\n3\r\n4\r\n5", false);
    EXPECT_EQ(written(), "BT\n10 791.5 Td\n(1) Tj\nT*\n(2) Tj\nT*\n(3) Tj\nT*\nET\n");

    // Empty lines write only the line step; an empty text only BT, Td, ET.
    reset();
    c.MultilineTextRect({10, 800, 200, 700}, "a\r\n\r\nb", false);
    EXPECT_EQ(written(), "BT\n10 791.5 Td\n(a) Tj\nT*\nT*\n(b) Tj\nET\n");
    reset();
    c.MultilineTextRect({10, 800, 200, 700}, "", true);
    EXPECT_EQ(written(), "BT\n10 791.5 Td\nET\n");
}

TEST_F(PdfCanvasTest, WrappedTextCountsTheWordSpace)
{
    TPdfCanvas &c = canvas();
    c.SetFont("Gothic", 10);
    c.SetLeading(12);
    c.SetWordSpace(10);
    reset();
    // "ab " advances 15 + 10 and "cd " to 50; "ef" would end at 60 > 55, but only
    // because the word spaces count.
    c.MultilineTextRect({0, 100, 55, 0}, "ab cd ef", true);
    EXPECT_EQ(written(), "BT\n0 91.5 Td\n(ab cd ) Tj\nT*\n(ef) Tj\nET\n");
}

TEST_F(PdfCanvasTest, PageStateIsKeptPerPage)
{
    TPdfCanvas &c = canvas();
    c.SetFont("Gothic", 12);
    c.SetLeading(14);
    TPdfDictionary *first = c.Page();
    doc.AddPage();
    // The new page starts fresh; the old one keeps its state in hidden entries.
    EXPECT_EQ(c.Attribute().Font->Name(), "Arial");
    EXPECT_FLOAT_EQ(c.Attribute().Leading, 0);
    ASSERT_NE(first->PdfNameByName("_Font"), nullptr);
    EXPECT_EQ(first->PdfNameByName("_Font")->Value(), "Gothic");
    EXPECT_EQ(PdfObjectToString(*first).find("_Font"), std::string::npos);
    c.SetPage(first);
    EXPECT_EQ(c.Attribute().Font->Name(), "Gothic");
    EXPECT_FLOAT_EQ(c.Attribute().FontSize, 12);
    EXPECT_FLOAT_EQ(c.Attribute().Leading, 14);
}

TEST_F(PdfCanvasTest, PageSizeChangesTheMediaBoxInPlace)
{
    TPdfCanvas &c = canvas();
    EXPECT_EQ(c.PageHeight(), 842);
    EXPECT_EQ(c.PageWidth(), 596);
    c.SetPageHeight(800);
    c.SetPageWidth(600);
    EXPECT_EQ(PdfObjectToString(*c.Page()->PdfArrayByName("MediaBox")), "[0 0 600 800 ]");
}

TEST(PdfCanvasMeasuringOnly, WritesNothingButMeasures)
{
    TPdfDoc doc;
    doc.SetClock(fixedTime);
    doc.NewDocForMeasuring();
    TPdfCanvas &c = doc.Canvas();
    c.SetFont("Gothic", 10);
    c.TextRect({0, 100, 50, 80}, "abc", paCenter, true);
    c.MultilineTextRect({0, 100, 50, 0}, "a b c", true);
    c.SetRGBFillColor(0);
    EXPECT_EQ(pageContent(doc), "");
    EXPECT_FLOAT_EQ(c.TextWidth("abc"), 15);
}

TEST(PdfCanvasWithoutPage, RaisesGetPageMessage)
{
    TPdfDoc doc;
    doc.NewDoc();
    TPdfCanvas &c = doc.Canvas();
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { c.MoveTo(1, 1); }), "GetPage --the Page is nil");
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { c.ShowText("a"); }), "GetPage --the Page is nil");
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { c.TextWidth("a"); }), "GetPage --the Page is nil");
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { c.SetLeading(1); }), "GetPage --the Page is nil");
}

} // namespace
