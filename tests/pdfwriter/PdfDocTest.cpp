// Document structure, save order, misuse messages and real readers.

#include "pdfwriter/PdfDoc.h"
#include "pdfwriter/PdfFonts.h"
#include "PdfTestSupport.h"

#include "plan/Cp932.h"

#include "support/FailingWrites.h"
#include "support/Files.h"
#include "support/Locale.h"
#include "support/Processes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>

namespace {

// A document laid out like a plan: catalog and information entries as the
// report engine sets them, two pages, Gothic text, a bold title on page 2.
void buildPlanLikeDocument(TPdfDoc &doc)
{
    doc.SetClock(fixedTime);
    doc.NewDoc();
    doc.Root().SetPageMode(pmUseNone);
    doc.Root().SetPageLayout(plSinglePage);
    TPdfInfo &info = doc.Info();
    info.SetAuthor(cp932::fromUtf8("Ｒ１．０"));
    info.SetCreationDate(fixedTime());
    info.SetCreator("");
    info.SetKeywords("");
    info.SetModDate(fixedTime());
    info.SetSubject(cp932::fromUtf8("ＲＩＨＡ"));
    info.SetTitle("");

    doc.AddPage();
    TPdfCanvas &c = doc.Canvas();
    c.SetFont("Gothic", 10);
    c.SetRGBFillColor(0);
    c.TextRect({34, 808, 200, 790}, cp932::fromUtf8("氏名"), paLeftJustify, false);
    doc.AddPage();
    c.SetFont("Gothic,Bold", 14);
    c.TextRect({34, 808, 400, 790}, cp932::fromUtf8("実施計画書"), paCenter, false);
    c.SetFont("Gothic", 10);
    c.TextRect({34, 700, 200, 680}, "12", paLeftJustify, false);
}

using testsupport::shellQuote;

TEST(PdfDocument, FirstBytesAndEndOfAPlanLikeFile)
{
    TPdfDoc doc;
    buildPlanLikeDocument(doc);
    const std::string pdf = doc.SaveToString();

    const std::string head = "%PDF-1.2 \r\n"
                             "1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n/PageMode /UseNone\r\n"
                             "/PageLayout /SinglePage\r\n>>\r\nendobj\r\n"
                             "2 0 obj\r\n<<\r\n/Producer (Ovilant version 1.0)\r\n"
                             "/Author <FEFF001B656E001BFF32FF11FF0EFF10>\r\n"
                             "/CreationDate (D:20240131143005)\r\n/Creator ()\r\n/Keywords ()\r\n"
                             "/Subject <FEFF001B656E001BFF32FF29FF28FF21>\r\n/Title ()\r\n"
                             "/ModDate (D:20240131143005)\r\n>>\r\nendobj\r\n"
                             "3 0 obj\r\n<<\r\n/Type /Pages\r\n/Kids [4 0 R 10 0 R ]\r\n/Count 2\r\n>>\r\nendobj\r\n"
                             "4 0 obj\r\n<<\r\n/Type /Page\r\n/Parent 3 0 R\r\n/MediaBox [0 0 596 842 ]\r\n"
                             "/Resources <<\r\n/Font <<\r\n/F0 6 0 R\r\n/F1 7 0 R\r\n>>\r\n/XObject <<\r\n>>\r\n"
                             "/ProcSet [/PDF /Text /ImageC ]\r\n>>\r\n/Contents 5 0 R\r\n>>\r\nendobj\r\n"
                             "5 0 obj\r\n<<\r\n/Length 61\r\n/Filter []\r\n>>\r\nstream\r\n"
                             "/F0 10 Tf\n/F1 10 Tf\n0 0 0 rg\nBT\n34 799.5 Td\n<8E8196BC> Tj\nET\n"
                             "\nendstream\r\nendobj\r\n";
    ASSERT_GE(pdf.size(), head.size());
    EXPECT_EQ(pdf.substr(0, head.size()), head);

    // Page 2 lists its fonts in the order of first use.
    EXPECT_NE(pdf.find("10 0 obj\r\n<<\r\n/Type /Page\r\n/Parent 3 0 R\r\n/MediaBox [0 0 596 842 ]\r\n"
                       "/Resources <<\r\n/Font <<\r\n/F0 6 0 R\r\n/F2 12 0 R\r\n/F1 7 0 R\r\n>>"),
              std::string::npos);
    EXPECT_NE(pdf.find("12 0 obj\r\n<<\r\n/BaseFont /Gothic,Bold\r\n/DescendantFonts [13 0 R ]\r\n"),
              std::string::npos);
    EXPECT_NE(pdf.find("14 0 obj\r\n<<\r\n/Type /FontDescriptor\r\n/FontName /Gothic,Bold\r\n"),
              std::string::npos);

    const std::string tail = "trailer\r\n<<\r\n/Size 15\r\n/Root 1 0 R\r\n/Info 2 0 R\r\n>>\r\nstartxref\r\n";
    const std::size_t trailerAt = pdf.rfind(tail);
    ASSERT_NE(trailerAt, std::string::npos);
    const std::size_t xrefAt = pdf.rfind("xref\r\n0 15\r\n0000000000 65535 f\r\n0000000011 00000 n\r\n");
    ASSERT_NE(xrefAt, std::string::npos);
    EXPECT_EQ(pdf.substr(trailerAt + tail.size()), std::to_string(xrefAt) + "\r\n%%EOF\r\n");
}

TEST(PdfDocument, EveryXrefLineIsTwentyBytesAndPointsAtItsObject)
{
    TPdfDoc doc;
    buildPlanLikeDocument(doc);
    const std::string pdf = doc.SaveToString();

    const std::size_t xrefAt = pdf.rfind("\r\nxref\r\n") + 2;
    const std::size_t firstLine = pdf.find("\r\n", xrefAt + 6) + 2;
    const std::size_t trailerAt = pdf.find("trailer\r\n", firstLine);
    ASSERT_EQ((trailerAt - firstLine) % 20, 0u);
    const std::size_t count = (trailerAt - firstLine) / 20;
    ASSERT_EQ(count, 15u);
    for (std::size_t i = 1; i < count; ++i) {
        const std::string line = pdf.substr(firstLine + 20 * i, 20);
        ASSERT_TRUE(std::regex_match(line, std::regex("[0-9]{10} 00000 n\r\n"))) << line;
        const std::size_t offset = std::stoul(line.substr(0, 10));
        EXPECT_EQ(pdf.compare(offset, std::to_string(i).size() + 7, std::to_string(i) + " 0 obj\r"), 0) << i;
    }
    EXPECT_EQ(pdf.substr(pdf.rfind("startxref\r\n") + 11), std::to_string(xrefAt) + "\r\n%%EOF\r\n");
}

TEST(PdfDocument, ModDateMovesToTheEndWhenSaving)
{
    TPdfDoc doc;
    TDateTime now = fixedTime();
    doc.SetClock([&] { return now; });
    doc.NewDoc();
    doc.Info().SetModDate(now);
    doc.Info().SetTitle("T");
    doc.AddPage();
    now = encodeDateTime(2025, 12, 1, 9, 5, 59);
    const std::string pdf = doc.SaveToString();
    EXPECT_NE(pdf.find("/Producer (Ovilant version 1.0)\r\n/CreationDate (D:20240131143005)\r\n/Title (T)\r\n"
                       "/ModDate (D:20251201090559)\r\n>>"),
              std::string::npos);
}

TEST(PdfDocument, DateFormat)
{
    EXPECT_EQ(PdfDateString(0), "D:18991230000000");
    EXPECT_EQ(PdfDateString(encodeDateTime(2024, 1, 31, 14, 30, 5)), "D:20240131143005");
    EXPECT_EQ(PdfDateString(encodeDateTime(1989, 1, 8, 0, 0, 0)), "D:19890108000000");
    EXPECT_EQ(PdfDateString(encodeDateTime(2019, 4, 30, 23, 59, 59)), "D:20190430235959");
    // A value a hair below midnight must not print second 60 or hour 24.
    EXPECT_EQ(PdfDateString(encodeDate(2020, 2, 29) - 1e-10), "D:20200229000000");
}

TEST(PdfDocument, MisuseMessages)
{
    TPdfDoc doc;
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { doc.SaveToString(); }),
              "SaveToStream --there is no document to save.");
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { doc.Canvas(); }), "GetCanvas --Document is null");
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { doc.Info(); }), "GetInfo --this method can not use this state..");
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { doc.Root(); }), "GetRoot --this method can not use this state..");
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { doc.GetFont("Arial"); }), "GetFont --document is null.");
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { doc.AddPage(); }), "AddPage --current pages null.");
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { doc.OutlineRoot(); }), "GetOutlineRoot --document is null..");

    doc.NewDoc();
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { doc.SaveToString(); }), "GetPage --the Page is nil");
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { doc.OutlineRoot(); }), "GetOutlineRoot --not use outline mode..");
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { doc.Canvas().SetFont("Gothic", 10); }),
              "GetPage --the Page is nil");
    EXPECT_EQ(messageOf<EPdfError>([&] { doc.GetFont("Helvetica"); }), "CreateFont --InvalidFontName:Helvetica");
    EXPECT_EQ(messageOf<EPdfError>([&] { doc.GetFont("gothic"); }), "CreateFont --InvalidFontName:gothic");
    // A refused font name leaves no object behind.
    EXPECT_EQ(doc.ObjectMgr()->ItemCount(), 4u);

    doc.FreeDoc();
    EXPECT_FALSE(doc.HasDoc());
    EXPECT_EQ(messageOf<EPdfInvalidOperation>([&] { doc.Canvas(); }), "GetCanvas --Document is null");
}

TEST(PdfDocument, OutlinesShiftTheFollowingObjects)
{
    TPdfDoc doc;
    doc.SetClock(fixedTime);
    doc.SetUseOutlines(true);
    doc.NewDoc();
    EXPECT_EQ(doc.OutlineRoot().ObjectNumber(), 2);
    EXPECT_EQ(doc.Info().Data()->ObjectNumber(), 3);
    EXPECT_EQ(doc.PagesRoot()->ObjectNumber(), 4);
    doc.AddPage();
    const std::string pdf = doc.SaveToString();
    EXPECT_NE(pdf.find("/Type /Catalog\r\n/Outlines 2 0 R\r\n/Pages 4 0 R\r\n"), std::string::npos);
}

TEST(PdfDocument, CatalogViewerPreferences)
{
    TPdfDoc doc;
    doc.SetClock(fixedTime);
    doc.NewDoc();
    TPdfCatalog &cat = doc.Root();
    cat.SetPageMode(pmUseOutlines);
    cat.SetPageLayout(plTwoColumnLeft);
    cat.SetNonFullScreenPageMode(pmUseThumbs);
    cat.SetViewerPreference(vpBit(vpHideToolbar) | vpBit(vpCenterWindow));
    EXPECT_EQ(PdfObjectToString(*cat.Data()),
              "<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n/PageMode /UseOutlines\r\n/PageLayout /TwoColumnLeft\r\n"
              "/ViewerPreferences <<\r\n/NonFullScreenPageMode /UseThumbs\r\n/HideToolbar true\r\n"
              "/CenterWindow true\r\n>>\r\n>>");
    cat.SetNonFullScreenPageMode(pmFullScreen);
    cat.SetViewerPreference(vpBit(vpFitWindow));
    EXPECT_EQ(PdfObjectToString(*cat.Data()->PdfDictionaryByName("ViewerPreferences")),
              "<<\r\n/FitWindow true\r\n>>");
    EXPECT_EQ(cat.PageLayout(), plTwoColumnLeft);
    EXPECT_EQ(cat.PageMode(), pmUseOutlines);
}

TEST(PdfDocument, NewDocDiscardsTheOpenDocument)
{
    TPdfDoc doc;
    doc.SetClock(fixedTime);
    doc.NewDoc();
    doc.AddPage();
    doc.Canvas().SetFont("Gothic", 9);
    doc.NewDoc();
    doc.AddPage();
    EXPECT_EQ(doc.FontCount(), 1u);
    EXPECT_EQ(doc.ObjectMgr()->ItemCount(), 7u);
    EXPECT_EQ(pageContent(doc), "/F0 10 Tf\n");
}

// Accepts a fixed number of bytes, then refuses.
class FailingOutput : public TPdfOutput {
public:
    explicit FailingOutput(std::size_t limit) : m_sink(limit) {}
    bool Write(std::string_view bytes) override { return m_sink.write(bytes); }
    const std::string &written() const { return m_sink.written(); }

private:
    testsupport::FailAfter m_sink;
};

TEST(PdfDocument, AFailingOutputStopsTheSaveWithAnError)
{
    TPdfDoc doc;
    buildPlanLikeDocument(doc);
    const std::string full = doc.SaveToString();
    for (std::size_t limit : {std::size_t{0}, std::size_t{10}, full.size() / 2, full.size() - 1}) {
        FailingOutput out(limit);
        EXPECT_THROW(doc.SaveToStream(out), EPdfWriteError) << limit;
        EXPECT_EQ(out.written(), full.substr(0, limit));
    }
    FailingOutput roomy(full.size());
    EXPECT_NO_THROW(doc.SaveToStream(roomy));
    EXPECT_EQ(roomy.written(), full);
}

TEST(PdfDocument, FileOutputReportsUncreatableFiles)
{
    TPdfDoc doc;
    buildPlanLikeDocument(doc);
    const testsupport::TempDir dir("ovilant-pdfwriter");
    const auto missing = dir / "no-such-folder" / "x.pdf";
    EXPECT_THROW(doc.SaveToFile(missing.string()), EPdfWriteError);
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_THROW(doc.SaveToFile("/dev/full"), EPdfWriteError);
    }
}

TEST(PdfDocument, LargeDocumentIsWrittenInChunksWithCorrectOffsets)
{
    TPdfDoc doc;
    doc.SetClock(fixedTime);
    doc.NewDoc();
    for (int p = 0; p < 40; ++p) {
        doc.AddPage();
        for (int i = 0; i < 200; ++i) {
            doc.Canvas().TextOut(10, static_cast<float>(i * 4), "line of text for the chunked writer");
        }
    }
    std::string direct = doc.SaveToString();
    ASSERT_GT(direct.size(), 200000u);
    const std::size_t xrefAt = std::stoul(direct.substr(direct.rfind("startxref\r\n") + 11));
    EXPECT_EQ(direct.compare(xrefAt, 6, "xref\r\n"), 0);
    const std::size_t lastLine = direct.find("trailer\r\n") - 20;
    const std::size_t lastOffset = std::stoul(direct.substr(lastLine, 10));
    EXPECT_EQ(direct.compare(lastOffset, 9, "84 0 obj\r"), 0);
}

// Numbers never follow the locale's decimal comma.
TEST(PdfDocument, NumbersIgnoreACommaDecimalLocale)
{
    const testsupport::CommaDecimalLocale locale;
    if (!locale.active()) {
        GTEST_SKIP() << locale.problem();
    }
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5") << locale.name();
    TPdfDoc doc;
    doc.SetClock(fixedTime);
    doc.NewDoc();
    doc.AddPage();
    doc.Canvas().MoveTo(10.25f, 801.2f);
    TPdfReal real(1.5);
    EXPECT_EQ(PdfObjectToString(real), "1.5");
    EXPECT_EQ(pageContent(doc), "/F0 10 Tf\n10.25 801.2 m\n");
}

// A short document with Japanese text in Gothic and ASCII in Arial is read by
// real tools: qpdf finds no fault and pdftotext gives the Japanese text back.
TEST(PdfDocumentReaders, QpdfAcceptsAndPdftotextExtractsJapanese)
{
    OVILANT_SKIP_WITHOUT("qpdf", "pdftotext");
    const std::string japanese = "リハビリテーション実施計画書：氏名山田太郎";
    const std::string second = "要介護３（ＡＢＣ）、ｶﾀｶﾅ";
    TPdfDoc doc;
    doc.SetClock(fixedTime);
    doc.NewDoc();
    doc.Info().SetAuthor(cp932::fromUtf8("Ｒ１．０"));
    doc.Info().SetSubject(cp932::fromUtf8("ＲＩＨＡ"));
    doc.AddPage();
    TPdfCanvas &c = doc.Canvas();
    c.SetFont("Gothic", 12);
    c.SetRGBFillColor(0);
    c.TextRect({40, 800, 560, 780}, cp932::fromUtf8(japanese), paLeftJustify, true);
    c.SetFont("Arial", 10);
    c.TextOut(40, 760, "Plan (draft) 2024\\01");
    c.SetDash({0}, 0);
    c.MoveTo(40, 750);
    c.LineTo(560, 750);
    c.SetRGBStrokeColor(0);
    c.SetLineWidth(0);
    c.Stroke();
    c.NewPath();
    doc.AddPage();
    c.SetFont("Gothic,Bold", 14);
    c.SetLeading(14);
    c.MultilineTextRect({40, 800, 560, 700}, cp932::fromUtf8(second + "\r\nABC"), false);

    const testsupport::TempDir dir("ovilant-pdfwriter");
    const auto pdfPath = dir / "check.pdf";
    doc.SaveToFile(pdfPath.string());

    const auto check = testsupport::runCommand("qpdf --check " + shellQuote(pdfPath.string()));
    EXPECT_EQ(check.status, 0) << check.out << check.err;

    const auto extract = testsupport::runCommand("pdftotext -enc UTF-8 " + shellQuote(pdfPath.string()) + " -");
    ASSERT_EQ(extract.status, 0) << extract.err;
    const std::string &text = extract.out;
    EXPECT_NE(text.find(japanese), std::string::npos) << text;
    EXPECT_NE(text.find(second), std::string::npos) << text;
    EXPECT_NE(text.find("Plan (draft) 2024\\01"), std::string::npos) << text;
    EXPECT_NE(text.find("ABC"), std::string::npos) << text;
}

} // namespace
