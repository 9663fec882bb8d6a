// Font dictionaries, widths and the Shift-JIS to CID mapping.

#include "pdfwriter/PdfDoc.h"
#include "pdfwriter/PdfFonts.h"
#include "pdfwriter/PdfJpFonts.h"
#include "PdfTestSupport.h"

#include "plan/Cp932.h"

#include <gtest/gtest.h>

namespace {

std::string objectText(TPdfXref &xref, int number)
{
    std::string out;
    xref.GetObject(number)->WriteIndirectToStream(out);
    return out;
}

TEST(PdfType1Font, DictionaryLayoutAndBaseFonts)
{
    TPdfXref xref;
    auto font = CreatePdfFont(&xref, "Arial");
    EXPECT_EQ(objectText(xref, 1), "1 0 obj\r\n<<\r\n/Type /Font\r\n/Subtype /Type1\r\n/Encoding /WinAnsiEncoding\r\n"
                                   "/FirstChar 32\r\n/LastChar 255\r\n/BaseFont /Helvetica\r\n>>\r\nendobj\r\n");
    ASSERT_NE(font->Data()->PdfArrayByName("Widths"), nullptr);
    EXPECT_EQ(font->Data()->PdfArrayByName("Widths")->ItemCount(), 224u);

    const std::pair<const char *, const char *> names[] = {
        {"FixedWidth", "Courier"},
        {"FixedWidth-Bold", "Courier-Bold"},
        {"FixedWidth-Italic", "Courier-Oblique"},
        {"FixedWidth-BoldItalic", "Courier-BoldOblique"},
        {"Arial-Bold", "Helvetica-Bold"},
        {"Arial-Italic", "Helvetica-Oblique"},
        {"Arial-BoldItalic", "Helvetica-BoldOblique"},
        {"Times-Roman", "Times-Roman"},
        {"Times-Bold", "Times-Bold"},
        {"Times-Italic", "Times-Italic"},
        {"Times-BoldItalic", "Times-BoldItalic"},
    };
    for (const auto &[name, base] : names) {
        auto f = CreatePdfFont(&xref, name);
        EXPECT_EQ(f->Name(), name);
        EXPECT_EQ(f->Data()->PdfNameByName("BaseFont")->Value(), base) << name;
    }
}

TEST(PdfType1Font, StandardWidths)
{
    TPdfXref xref;
    auto helvetica = CreatePdfFont(&xref, "Arial");
    auto helveticaBold = CreatePdfFont(&xref, "Arial-Bold");
    auto times = CreatePdfFont(&xref, "Times-Roman");
    auto courier = CreatePdfFont(&xref, "FixedWidth-Bold");
    const std::string s = std::string("A a0 W\xE9\x80", 7);
    EXPECT_EQ(helvetica->GetCharWidth(s, 0), 667);
    EXPECT_EQ(helvetica->GetCharWidth(s, 1), 278); // space
    EXPECT_EQ(helvetica->GetCharWidth(s, 2), 556);
    EXPECT_EQ(helvetica->GetCharWidth(s, 5), 944);
    EXPECT_EQ(helvetica->GetCharWidth(s, 6), 556); // eacute
    EXPECT_EQ(helvetica->GetCharWidth(s, 7), 0);   // past the end
    EXPECT_EQ(helveticaBold->GetCharWidth(s, 0), 722);
    EXPECT_EQ(times->GetCharWidth(s, 0), 722);
    EXPECT_EQ(times->GetCharWidth(s, 2), 444);
    EXPECT_EQ(times->GetCharWidth(s, 3), 500);
    EXPECT_EQ(times->GetCharWidth(s, 4), 250);
    for (std::size_t i = 0; i < s.size(); ++i) {
        EXPECT_EQ(courier->GetCharWidth(s, i), 600);
    }
    // Control codes lie below FirstChar and have no width.
    EXPECT_EQ(helvetica->GetCharWidth("\r", 0), 0);
}

TEST(PdfJpFont, ThreeDictionariesOfAFixedFont)
{
    TPdfXref xref;
    auto font = CreatePdfFont(&xref, "Gothic,Bold");
    EXPECT_EQ(objectText(xref, 1), "1 0 obj\r\n<<\r\n/BaseFont /Gothic,Bold\r\n/DescendantFonts [2 0 R ]\r\n"
                                   "/Type /Font\r\n/Subtype /Type0\r\n/Encoding /90ms-RKSJ-H\r\n>>\r\nendobj\r\n");
    EXPECT_EQ(objectText(xref, 2), "2 0 obj\r\n<<\r\n/Type /Font\r\n/Subtype /CIDFontType2\r\n/WinCharSet /128\r\n"
                                   "/BaseFont /Gothic,Bold\r\n/CIDSystemInfo <<\r\n/Registry (Adobe)\r\n"
                                   "/Ordering (Japan1)\r\n/Supplement 2\r\n>>\r\n/DW 1000\r\n/W [231 631 500 ]\r\n"
                                   "/FontDescriptor 3 0 R\r\n>>\r\nendobj\r\n");
    EXPECT_EQ(objectText(xref, 3), "3 0 obj\r\n<<\r\n/Type /FontDescriptor\r\n/FontName /Gothic,Bold\r\n"
                                   "/Ascent 859\r\n/CapHeight 859\r\n/Descent -141\r\n/MissingWidth 500\r\n"
                                   "/Flags 262149\r\n/ItalicAngle 0\r\n/StemV 156\r\n"
                                   "/FontBBox [0 -141 1000 859 ]\r\n>>\r\nendobj\r\n");
}

TEST(PdfJpFont, DescriptorValuesPerClass)
{
    struct Row {
        const char *name;
        int flags, angle, stemV;
        const char *encoding;
    };
    const Row rows[] = {
        {"Gothic", 5, 0, 78, "90ms-RKSJ-H"},           {"Gothic,Bold", 262149, 0, 156, "90ms-RKSJ-H"},
        {"Gothic,Italic", 5, -11, 78, "90ms-RKSJ-H"},  {"Gothic,BoldItalic", 262149, -11, 156, "90ms-RKSJ-H"},
        {"Mincyo", 7, 0, 78, "90ms-RKSJ-H"},           {"Mincyo,Bold", 262151, 0, 156, "90ms-RKSJ-H"},
        {"Mincyo,Italic", 7, -11, 78, "90ms-RKSJ-H"},  {"Mincyo,BoldItalic", 262151, -11, 156, "90ms-RKSJ-H"},
        {"PGothic", 4, 0, 78, "90msp-RKSJ-H"},         {"PGothic,Bold", 262148, 0, 156, "90msp-RKSJ-H"},
        {"PGothic,Italic", 4, -11, 78, "90msp-RKSJ-H"}, {"PGothic,BoldItalic", 262148, -11, 156, "90msp-RKSJ-H"},
        {"PMincyo", 6, 0, 78, "90msp-RKSJ-H"},         {"PMincyo,Bold", 262150, 0, 156, "90msp-RKSJ-H"},
        {"PMincyo,Italic", 6, -11, 78, "90msp-RKSJ-H"}, {"PMincyo,BoldItalic", 262150, -11, 156, "90msp-RKSJ-H"},
    };
    for (const Row &r : rows) {
        TPdfXref xref;
        auto font = CreatePdfFont(&xref, r.name);
        ASSERT_EQ(xref.ItemCount(), 4u) << r.name;
        auto *descriptor = dynamic_cast<TPdfDictionary *>(xref.GetObject(3));
        ASSERT_NE(descriptor, nullptr);
        EXPECT_EQ(descriptor->PdfNumberByName("Flags")->Value(), r.flags) << r.name;
        EXPECT_EQ(descriptor->PdfNumberByName("ItalicAngle")->Value(), r.angle) << r.name;
        EXPECT_EQ(descriptor->PdfNumberByName("StemV")->Value(), r.stemV) << r.name;
        EXPECT_EQ(descriptor->PdfNameByName("FontName")->Value(), r.name);
        EXPECT_EQ(font->Data()->PdfNameByName("Encoding")->Value(), r.encoding) << r.name;
    }
}

TEST(PdfJpFont, CodeToCIDFollowsThePublishedCMap)
{
    TPdfXref xref;
    auto font = CreatePdfFont(&xref, "Gothic");
    auto *jp = dynamic_cast<TPdfType0Font *>(font.get());
    ASSERT_NE(jp, nullptr);
    EXPECT_EQ(jp->CharToCID(" ", 0), 231);
    EXPECT_EQ(jp->CharToCID("}", 0), 231 + 0x5D);
    EXPECT_EQ(jp->CharToCID("~", 0), 631);
    EXPECT_EQ(jp->CharToCID("\xA0", 0), 326);
    EXPECT_EQ(jp->CharToCID("\xDF", 0), 326 + 0x3F);
    EXPECT_EQ(jp->CharToCID("\x81\x40", 0), 633);
    EXPECT_EQ(jp->CharToCID("\x81\x7E", 0), 633 + 0x3E);
    EXPECT_EQ(jp->CharToCID("\x81\x40", 1), -1); // trail byte
    EXPECT_EQ(jp->CharToCID("\x1F", 0), 0);       // outside every range
    EXPECT_EQ(jp->CharToCID("\x80", 0), 0);
    // "a" then 氏: position 2 is the trail byte of 氏, whose trail 0x81 is itself a lead-byte value.
    const std::string text = "a" + cp932::fromUtf8("氏");
    EXPECT_EQ(text, "a\x8E\x81");
    EXPECT_EQ(jp->CharToCID(text, 2), -1);
    EXPECT_GT(jp->CharToCID(text, 1), 631);

    EXPECT_EQ(pdfcmap::Cmap90msRKSJH.Lookup(0x8140), 633);
    EXPECT_EQ(pdfcmap::Cmap90msRKSJH.Lookup(0xFFFF), 0);
    EXPECT_EQ(pdfcmap::Cmap90mspRKSJH.Lookup(0x20), 1); // proportional Roman
}

TEST(PdfJpFont, FixedWidthsSitOnLeadBytes)
{
    TPdfXref xref;
    auto font = CreatePdfFont(&xref, "Gothic");
    const std::string text = cp932::fromUtf8("A氏ｱ\r");
    const int expected[] = {500, 1000, 0, 500, 500};
    ASSERT_EQ(text.size(), 5u);
    std::vector<int> widths;
    font->GetCharWidths(text, widths);
    for (std::size_t i = 0; i < text.size(); ++i) {
        EXPECT_EQ(font->GetCharWidth(text, i), expected[i]) << i;
        EXPECT_EQ(widths[i], expected[i]) << i;
    }
    // A lone lead byte at the end is measured as a single byte.
    EXPECT_EQ(font->GetCharWidth("a\x8E", 1), 500);
}

TEST(PdfJpFont, WidthArrayIsReadBackAndMalformedOnesAreRefused)
{
    TPdfXref xref;
    auto font = CreatePdfFont(&xref, "Gothic");
    auto *jp = dynamic_cast<TPdfType0Font *>(font.get());
    ASSERT_NE(jp, nullptr);
    ASSERT_EQ(jp->Widths().size(), 1u);
    EXPECT_EQ(jp->Widths()[0].StartIndex, 231);
    EXPECT_EQ(jp->Widths()[0].EndIndex, 631);
    EXPECT_EQ(jp->Widths()[0].Width, 500);

    auto *descendant = dynamic_cast<TPdfDictionary *>(xref.GetObject(2));
    ASSERT_NE(descendant, nullptr);
    const auto setW = [&](std::initializer_list<TPdfObject *> items) {
        auto *w = new TPdfArray(&xref);
        for (TPdfObject *o : items) {
            w->AddItem(o);
        }
        descendant->AddItem("W", w);
        jp->SetData(font->Data());
    };

    // Both forms: "first [w...]" and "first last w".
    auto *list = new TPdfArray(&xref);
    list->AddItem(new TPdfNumber(250));
    list->AddItem(new TPdfNumber(300));
    setW({new TPdfNumber(1), list, new TPdfNumber(231), new TPdfNumber(631), new TPdfNumber(500)});
    ASSERT_EQ(jp->Widths().size(), 3u);
    EXPECT_EQ(jp->Widths()[1].StartIndex, 2);
    EXPECT_EQ(jp->Widths()[1].Width, 300);

    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { setW({new TPdfName("x")}); }), "invalid W array start pos..");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { setW({new TPdfNumber(1)}); }), "invalid W array end pos..");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { setW({new TPdfNumber(1), new TPdfName("y")}); }),
              "invalid W array end pos..");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] { setW({new TPdfNumber(1), new TPdfNumber(2)}); }),
              "invalid W array value..");
    EXPECT_EQ(messageOf<EPdfInvalidValue>([&] {
                  auto *bad = new TPdfArray(&xref);
                  bad->AddItem(new TPdfText("z"));
                  setW({new TPdfNumber(1), bad});
              }),
              "invalid W array value..");
}

// Widths are kept per code after the first lookup: every code, measured
// again, keeps the width the CID table and W give it (no two codes share a
// kept width), and a new W array replaces the kept ones.
TEST(PdfJpFont, KeptWidthsMatchTheLookupAndFollowANewWidthArray)
{
    TPdfXref xref;
    auto font = CreatePdfFont(&xref, "PGothic");
    std::string text;
    for (int code = 1; code < 256; ++code) {
        if (!cp932::isLeadByte(static_cast<unsigned char>(code))) {
            text.push_back(static_cast<char>(code));
        }
    }
    for (const int lead : {0x81, 0x82, 0x83, 0x88, 0x8E, 0x9F, 0xE0, 0xEA}) {
        for (int trail = 0x40; trail <= 0xFC; trail += 3) {
            text.push_back(static_cast<char>(lead));
            text.push_back(static_cast<char>(trail));
        }
    }
    std::vector<int> first;
    std::vector<int> again;
    font->GetCharWidths(text, first);
    font->GetCharWidths(text, again);
    EXPECT_EQ(again, first);
    for (std::size_t i = 0; i < text.size(); ++i) {
        ASSERT_EQ(first[i], font->GetCharWidth(text, i)) << "byte " << i;
    }

    auto gothic = CreatePdfFont(&xref, "Gothic");
    auto *jp = dynamic_cast<TPdfType0Font *>(gothic.get());
    ASSERT_NE(jp, nullptr);
    const std::string name = "A" + cp932::fromUtf8("氏");
    std::vector<int> widths;
    gothic->GetCharWidths(name, widths);
    EXPECT_EQ(widths, (std::vector<int>{500, 1000, 0}));
    const int cid = jp->CharToCID(name, 1);
    auto *w = new TPdfArray(&xref);
    for (const int value : {231, 631, 250, cid, cid, 700}) {
        w->AddItem(new TPdfNumber(value));
    }
    auto *descendant = dynamic_cast<TPdfDictionary *>(xref.GetObject(gothic->Data()->ObjectNumber() + 1));
    ASSERT_NE(descendant, nullptr);
    descendant->AddItem("W", w);
    jp->SetData(gothic->Data());
    gothic->GetCharWidths(name, widths);
    EXPECT_EQ(widths, (std::vector<int>{250, 700, 0}));
}

TEST(PdfJpFont, ProportionalFontsMeasureWithTheirOwnWidths)
{
    TPdfXref xref;
    auto font = CreatePdfFont(&xref, "PMincyo,Italic");
    auto *descendant = dynamic_cast<TPdfDictionary *>(xref.GetObject(2));
    ASSERT_NE(descendant, nullptr);
    const TPdfArray *w = descendant->PdfArrayByName("W");
    ASSERT_NE(w, nullptr);
    // "first [w1 w2 ...]" groups, starting with the proportional Roman CIDs 1..95.
    ASSERT_GE(w->ItemCount(), 2u);
    EXPECT_EQ(dynamic_cast<TPdfNumber *>(w->Items(0))->Value(), 1);
    const auto *roman = dynamic_cast<TPdfArray *>(w->Items(1));
    ASSERT_NE(roman, nullptr);
    EXPECT_EQ(roman->ItemCount(), 95u);

    // The widths read back from the dictionary drive the measuring.
    const int wideW = font->GetCharWidth("W", 0);
    const int narrowI = font->GetCharWidth("i", 0);
    EXPECT_EQ(wideW, dynamic_cast<TPdfNumber *>(roman->Items('W' - 0x20))->Value());
    EXPECT_GT(wideW, narrowI);
    EXPECT_GT(narrowI, 0);
    // Half-width katakana stay half wide, kanji take the default width.
    EXPECT_EQ(font->GetCharWidth(cp932::fromUtf8("ｱ"), 0), 500);
    EXPECT_EQ(font->GetCharWidth(cp932::fromUtf8("漢"), 0), 1000);
}

TEST(PdfFontRegistry, FontsAreNumberedPerDocumentAndCreatedOnce)
{
    TPdfDoc doc;
    doc.SetClock(fixedTime);
    doc.NewDoc();
    doc.AddPage(); // creates Arial as /F0
    TPdfFont *gothic = doc.GetFont("Gothic");
    EXPECT_EQ(doc.GetFont("Gothic"), gothic);
    EXPECT_EQ(gothic->Data()->PdfNameByName("Name")->Value(), "F1");
    EXPECT_EQ(gothic->Data()->ObjectNumber(), 7);
    TPdfFont *times = doc.GetFont("Times-Italic");
    EXPECT_EQ(times->Data()->PdfNameByName("Name")->Value(), "F2");
    EXPECT_EQ(times->Data()->ObjectNumber(), 10);
    EXPECT_EQ(doc.FontCount(), 3u);
    EXPECT_TRUE(IsPdfFontName("PMincyo,BoldItalic"));
    EXPECT_FALSE(IsPdfFontName("Courier"));
}

} // namespace
