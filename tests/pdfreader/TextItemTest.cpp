// The text-object grammar of content streams, page numbering of items and
// the lookup of items by field position.
#include "ReaderTestSupport.h"

#include "plan/Cp932.h"
#include "planfile/PlanFieldTable.h"

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

const planfile::PlanField &fieldPosition(int field)
{
    return planfile::kPlanFields.at(static_cast<std::size_t>(field));
}

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

    // Any B followed by T counts, also inside a string; a B not followed
    // by T swallows the next byte.
    items = scan("(BT\n1 2 Td\n(a) Tj\nET\n)");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].lines, Lines{"a"});
    EXPECT_TRUE(scan("BBT\n1 2 Td\n(a) Tj\nET\n").empty());
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

TEST(FieldLookup, WithinFiveUnitsOnTheRightPage)
{
    TPdfString items;
    items.add(4902000, 8185000, {"date"}); // (490.2, 818.5) near field 0 (488, 822)
    items.add(494 * CurrencyScale, 822 * CurrencyScale, {"too far"});
    items.setCurrentPage(2);
    items.add(488 * CurrencyScale, 822 * CurrencyScale, {"page 2"});
    items.add(21 * CurrencyScale, 792 * CurrencyScale, {"self hope"});
    ASSERT_NE(items.itemLines(0), nullptr);
    EXPECT_EQ(*items.itemLines(0), Lines{"date"});
    EXPECT_EQ(items.find(1, 488, 822), 0u);
    EXPECT_FALSE(items.find(1, 488 - 12, 822));
    EXPECT_EQ(items.find(2, 488, 822), 2u);
    EXPECT_EQ(items.find(1, 499, 822), 1u) << "494 is within 5 of 499, 490 is not";
    // A field index not below the number of items gives nothing.
    EXPECT_EQ(items.itemLines(226), nullptr);
    EXPECT_EQ(items.itemLines(-1), nullptr);
    EXPECT_EQ(items.itemLines(248), nullptr);
}

TEST(FieldLookup, TableMatchesThePrintedLayout)
{
    EXPECT_EQ(fieldPosition(0).x, 488);
    EXPECT_EQ(fieldPosition(5).x, 505);
    EXPECT_EQ(fieldPosition(29).y, 643);
    EXPECT_EQ(fieldPosition(31 + 5 * 12 + 4).x, 96 + 52);
    EXPECT_EQ(fieldPosition(31 + 5 * 12 + 4).y, 281);
    EXPECT_EQ(fieldPosition(164).x, 138);
    EXPECT_EQ(fieldPosition(165).x, 96 + 13 * 4);
    EXPECT_EQ(fieldPosition(190).y, 38);
    EXPECT_EQ(fieldPosition(222).y, 31);
    EXPECT_EQ(fieldPosition(225).x, 507);
    EXPECT_EQ(fieldPosition(226).page, 2);
    EXPECT_EQ(fieldPosition(234).y, 203);
    EXPECT_EQ(fieldPosition(243).x, 465);
    EXPECT_EQ(fieldPosition(247).y, 72);
    EXPECT_EQ(fieldPosition(225).page, 1);
}

TEST(FieldLookup, EveryFieldOfAWrittenPlanComesBack)
{
    // One item at each field position with distinct text, as the layout
    // prints them; every field finds its own item.
    std::vector<std::vector<TextObject>> pages(2);
    for (int field = 0; field < planfile::kFieldCount; ++field) {
        const planfile::PlanField &p = fieldPosition(field);
        pages[static_cast<std::size_t>(p.page - 1)].push_back(
            {std::to_string(p.x) + ".2", std::to_string(p.y) + ".8", {sjis("欄") + std::to_string(field), "2"}});
    }
    auto reader = TPdfPage::fromBytes(planFile(pages).build());
    ASSERT_EQ(reader->itemCount(), static_cast<std::size_t>(planfile::kFieldCount));
    for (int field = 0; field < planfile::kFieldCount; ++field) {
        const auto *lines = reader->itemLines(field);
        ASSERT_NE(lines, nullptr) << field;
        EXPECT_EQ(*lines, (Lines{sjis("欄") + std::to_string(field), "2"})) << field;
    }
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
