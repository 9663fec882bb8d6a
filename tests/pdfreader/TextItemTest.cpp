// The text-object grammar of content streams and page numbering of items.
#include "ReaderTestSupport.h"

#include "pdfreader/ContentScanner.h"
#include "plan/Cp932.h"

#include <gtest/gtest.h>

using namespace pdftest;

namespace {

std::vector<TTextItem> scan(const std::string &content)
{
    TPdfString items;
    TPdfPage::scanContent(content, items);
    return items.items();
}

using Lines = std::vector<std::string>;

TEST(TextObjects, OneLineAndItsPoint)
{
    const auto items = scan("BT\n100 700 Td\n(abc) Tj\nET\n");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].page, 1);
    EXPECT_EQ(items[0].x, 100 * CurrencyScale);
    EXPECT_EQ(items[0].y, 700 * CurrencyScale);
    EXPECT_EQ(items[0].lines, Lines{"abc"});

    const auto decimals = scan("BT\n96.5 554.25 Td\n(a) Tj\nET\n");
    ASSERT_EQ(decimals.size(), 1u);
    EXPECT_EQ(decimals[0].x, 965000);
    EXPECT_EQ(decimals[0].y, 5542500);

    const auto negative = scan("BT\n-5 700 Td\n(a) Tj\nET\n");
    ASSERT_EQ(negative.size(), 1u);
    EXPECT_EQ(negative[0].x, 0) << "a negative operand reads as 0";
}

TEST(TextObjects, LinesBlankLinesAndEmptyBlocks)
{
    EXPECT_EQ(scan("BT\n1 2 Td\nET\n").at(0).lines, Lines{""});
    EXPECT_EQ(scan("BT\n1 2 Td\n(a) Tj\nT*\n(b) Tj\nET\n").at(0).lines, (Lines{"a", "b"}));
    EXPECT_EQ(scan("BT\n1 2 Td\n(a) Tj\nT*\nT*\n(b) Tj\nET\n").at(0).lines, (Lines{"a", "", "b"}));
    EXPECT_EQ(scan("BT\n1 2 Td\n(a) Tj\nT*\nT*\nT*\n<8E8196BC> Tj\nET\n").at(0).lines,
              (Lines{"a", "", "", sjis("氏名")}));
    // Trailing T* before ET: the lines shown so far, then the block ends.
    EXPECT_EQ(scan("BT\n1 2 Td\n(a) Tj\nT*\nET\n").at(0).lines, Lines{"a"});
    EXPECT_TRUE(scan("0 0 m\n10 10 l\nS\nq 1 0 0 1 0 0 cm Q\n").empty()) << "graphics only";
}

TEST(TextObjects, FontSelectionInsideTheObjectIsSkipped)
{
    const auto items = scan("BT\n/F1 10 Tf\n20 30 Td\n(x) Tj\nET\n");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].x, 20 * CurrencyScale);
    EXPECT_EQ(items[0].lines, Lines{"x"});
    EXPECT_EQ(scan("BT\n/F1 10 TTf\n20 30 Td\n(x) Tj\nET\n").at(0).lines, Lines{"x"}) << "a T before Tf";
}

TEST(TextObjects, EscapedStringsReadBackExactly)
{
    // Whatever a single-byte text holds, our writer's escapes read back.
    const std::string texts[] = {"a(b", "x)y", "back\\slash", "\\\\(", "tab\tcr\rlf\nbs\bff\f", "(()))",
                                 "x)Q BT 453 763 Td (SPOOF)Tj ET"};
    for (const std::string &text : texts) {
        const auto items = scan(content({{"10", "20", {text, "next"}}}));
        ASSERT_EQ(items.size(), 1u) << text;
        EXPECT_EQ(items[0].lines, (Lines{text, "next"})) << text;
    }
    // Octal escapes, continuation and nesting as PDF writes them.
    EXPECT_EQ(scan("BT\n1 2 Td\n(\\101\\102C a(b)c \\\nd) Tj\nET\n").at(0).lines, Lines{"ABC a(b)c d"});
}

TEST(TextObjects, MismatchesStopTheObjectButKeepItsItem)
{
    // Lower-case hex digits stop the object: no line.
    auto items = scan("BT\n1 2 Td\n<8e81> Tj\nET\n");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_TRUE(items[0].lines.empty());

    // A second string stops on a missing Tj: the first line remains.
    items = scan("BT\n1 2 Td\n(a) Tj\nT*\n(b) TJ\nET\nBT\n3 4 Td\n(c) Tj\nET\n");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].lines, Lines{"a"});
    EXPECT_EQ(items[1].lines, Lines{"c"}) << "the scan goes on after a stop";

    // An unknown operator after Tj.
    items = scan("BT\n1 2 Td\n(a) Tj\n0 g\nET\n");
    EXPECT_TRUE(items.at(0).lines.empty());

    // No string before the end of the stream: the object stops there.
    items = scan("BT\n1 2 Td\n0 0 m\n");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_TRUE(items[0].lines.empty());
    items = scan("BT\n1 2 Td\n(unterminated");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_TRUE(items[0].lines.empty());
    items = scan("BT");
    ASSERT_EQ(items.size(), 1u);
    items = scan("BT\n7 "); // blanks running into the end of the stream
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].x, 7 * CurrencyScale);

    // Only the operator BT starts an object, not BT inside a longer word.
    EXPECT_TRUE(scan("BBT\n1 2 Td\n(a) Tj\nET\n").empty());
    EXPECT_TRUE(scan("/BT 1 2 Td\n(a) Tj\nET\n").empty());
}

// Text a viewer would not show refuses the stream; the same bytes where a
// viewer shows them are read.
TEST(TextObjects, HiddenTextIsRefused)
{
    const std::string text = "BT\n1 2 Td\n(a) Tj\nET\n";
    const std::string hidden[] = {
        "(" + text + ")",                                     // inside a string
        "/Span <</ActualText (" + text + ")>> BDC\nEMC\n",     // a marked-content string
        "/P <</X <BT>>> BDC EMC\n",                           // a hex string
        "% " + text,                                          // a comment
        "BI\n/W 1 /H 1 /BPC 8 /CS /G\nID\n" + text + "\nEI\n",  // inline image data
        "3 Tr\n" + text,                                      // invisible rendering mode
        "q 7 Tr Q\n" + text,                                  // clipping only
        "3 % a comment\nTr\n" + text,                         // a comment between operand and Tr
        "ETrg 3\nTr " + text,                                  // after a token holding r and T
    };
    for (const std::string &content : hidden) {
        try {
            scan(content);
            ADD_FAILURE() << content;
        } catch (const EPdfReadError &e) {
            EXPECT_EQ(std::string(e.what()).rfind("PDF HIDDEN TEXT ERROR", 0), 0u) << content;
        }
    }
    const std::string shown[] = {
        "(a\\) (b)) Tj\n" + text,                              // a string with escapes before
        "BI\n/W 1 /H 1\nID\nxEIx\nEI\n" + text,                 // an image whose data holds EI
        "0 Tr\n" + text,                                        // the default rendering mode
        "[(x) 3] TJ\n<41> Tj\n" + text,
        "3 /N Tr x3 Tr 3x Tr 3 Tf Tr\n" + text,               // 3 not the operand of Tr
        "xBT BTx xTr xrg\n" + text,                           // operators only as whole tokens
    };
    for (const std::string &content : shown) {
        const auto items = scan(content);
        ASSERT_EQ(items.size(), 1u) << content;
        EXPECT_EQ(items[0].lines, Lines{"a"}) << content;
    }
}

// Keeping only the items of some windows changes what is kept, never what
// is read: the same items there, the same counts, the same refusals.
TEST(TextObjects, KeepingSomeWindowsReadsAndRefusesAlike)
{
    const std::vector<TTextWindow> windows = {{1, 95, 549, 105, 559}, {1, 0, 0, 2, 3}};
    const std::string kept = "BT\n100 554.9 Td\n<41> Tj\nT*\n(b) Tj\nET\n";
    const std::string other = "BT\n300 554 Td\n(x\\)y) Tj\nT*\nT*\n<4142> Tj\nET\n";
    const std::string many = [] {
        std::string lines = "BT\n300 1 Td\n";
        for (std::size_t i = 0; i <= TPdfContentScanner::MaxTextLines; ++i)
            lines += "(a) Tj\nT*\n";
        return lines + "ET\n";
    }();
    const std::string contents[] = {
        kept + other + "0 0 0 rg\n" + kept,
        other + "BT\n1 2 Td\n(a) Tj\n0 g\nET\n" + kept,
        "BT\n300 2 Td\n0 0 0 rg (a) Tj\nET\nBT\n1 2 Td\n0.5 0.5 0.5 rg\n(b) Tj\nET\n",
        other + "3 Tr\n" + kept,
        other + "(" + kept + ")",
        kept + "BT\n300 2 Td\n<" + std::string(TPdfLexer::MaxTokenLength + 1, 'A') + "> Tj\nET\n",
        kept + "BT\n300 2 Td\n(" + std::string(TPdfLexer::MaxTokenLength + 1, 'a') + ") Tj\nET\n",
        "BT\n300 " + std::string(TPdfLexer::MaxTokenLength + 1, '1') + " Td\nET\n",
        kept + many,
        kept + "BT\n300 2 Td\n<" + std::string(TPdfLexer::MaxTokenLength, 'A') + "> Tj\nET\n" + kept,
    };
    const auto read = [](const std::string &content, const std::vector<TTextWindow> *only) {
        TPdfString items;
        if (only != nullptr)
            items.keepOnly(*only);
        try {
            TPdfPage::scanContent(content, items);
        } catch (const EPdfReadError &e) {
            return std::make_pair(std::string(e.what()), items);
        }
        return std::make_pair(std::string(), items);
    };
    for (const std::string &content : contents) {
        SCOPED_TRACE(content.substr(0, 120));
        const auto [allError, all] = read(content, nullptr);
        const auto [someError, some] = read(content, &windows);
        EXPECT_EQ(someError, allError);
        EXPECT_EQ(some.seenCount(), all.count());
        EXPECT_EQ(some.lineCount(), all.lineCount());
        EXPECT_EQ(some.textBytes(), all.textBytes());
        EXPECT_EQ(some.fillColours(), all.fillColours());
        std::vector<TTextItem> expected;
        for (const TTextItem &item : all.items()) {
            TPdfString one;
            one.keepOnly(windows);
            if (one.wants(item.x, item.y))
                expected.push_back(item);
        }
        ASSERT_EQ(some.count(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(some.at(i).x, expected[i].x);
            EXPECT_EQ(some.at(i).y, expected[i].y);
            EXPECT_EQ(some.at(i).lines, expected[i].lines);
        }
    }
    TPdfString items;
    items.keepOnly(windows);
    TPdfPage::scanContent(contents[0], items);
    EXPECT_EQ(items.count(), 2u) << "the items at (100, 554.9), within the first window";
}

TEST(TextObjects, CompressedOrOddContentRaisesNothing)
{
    PdfFile file = planFile({{}});
    file.objects[5] = "<<\r\n/Length 10\r\n/Filter /FlateDecode\r\n>>\r\nstream\r\nx\x9C\x01\x02\x03\x04\x05\x06\x07\x08\nendstream";
    auto reader = TPdfPage::fromBytes(file.build());
    EXPECT_EQ(reader->itemCount(), 0u);
}

TEST(TextObjects, ItemsCarryTheirPageNumber)
{
    PdfFile file = planFile({{}, {{"10", "20", {"second"}}}});
    auto reader = TPdfPage::fromBytes(file.build());
    ASSERT_EQ(reader->itemCount(), 1u);
    EXPECT_EQ(reader->strings().at(0).page, 2) << "page 2 even when page 1 has no items";
}

TEST(TextObjects, ContentLengthBoundsTheScan)
{
    // Length shorter than the data: the object is cut at the stream's end.
    PdfFile file = planFile({{}});
    const std::string data = "BT\n1 2 Td\n(abc) Tj\nET\n";
    file.objects[5] = "<<\r\n/Length 12\r\n/Filter []\r\n>>\r\nstream\r\n" + data + "\nendstream";
    auto reader = TPdfPage::fromBytes(file.build());
    ASSERT_EQ(reader->itemCount(), 1u);
    EXPECT_TRUE(reader->strings().at(0).lines.empty());
}

} // namespace

namespace {

// Pages 4, 6, ... all naming the content stream of the first page.
PdfFile sharedContent(int pageCount, const std::string &data)
{
    PdfFile file = planFile(std::vector<std::vector<TextObject>>(static_cast<std::size_t>(pageCount)));
    file.objects[5] = streamObject(data);
    for (int i = 0; i < pageCount; ++i) {
        const int page = 4 + 2 * i;
        file.objects[page] = dict({{"Type", "/Page"}, {"Parent", "3 0 R"}, {"Resources", "<<\r\n>>"}, {"Contents", "5 0 R"}});
        if (i > 0)
            file.objects.erase(page + 1);
    }
    return file;
}

TEST(TextObjects, SharedContentIsReadPerPageWithinABudget)
{
    auto reader = TPdfPage::fromBytes(sharedContent(3, "BT\n1 2 Td\n(a) Tj\nET\n").build());
    ASSERT_EQ(reader->itemCount(), 3u);
    EXPECT_EQ(reader->strings().at(2).page, 3);

    // 40 pages over one 200 KB stream would scan 8 MB out of a 200 KB file.
    std::string big = "BT\n1 2 Td\n(a) Tj\nET\n";
    while (big.size() < 200000)
        big += "0 0 m\n";
    const std::string bytes = sharedContent(40, big).build();
    const std::string message = readError(bytes);
    EXPECT_EQ(message.rfind("PDF Contents OBJECT Stream Length ERROR ", 0), 0u) << message;
}

} // namespace
