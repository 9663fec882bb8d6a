// The reader's text items as the decoder reads them: the item that starts
// within 5 units of a field's place, on its page, holds the field.

#include "planio/PlanItems.h"

#include "PdfBuilder.h"
#include "pdfreader/Page.h"
#include "planfile/PlanFieldTable.h"

#include <gtest/gtest.h>

using namespace pdftest;

namespace {

using Lines = std::vector<std::string>;

const planfile::PlanField &fieldPosition(int field)
{
    return planfile::kPlanFields[static_cast<std::size_t>(field)];
}

// The lines of the item holding `field`, or nullptr.
const Lines *fieldLines(const std::vector<TTextItem> &items, int field)
{
    const TTextItem *item = planio::itemsByField(items)[static_cast<std::size_t>(field)];
    return item != nullptr ? &item->lines : nullptr;
}

std::vector<TTextItem> itemsOf(const std::vector<std::vector<TextObject>> &pages)
{
    return TPdfPage::fromBytes(planFile(pages).build())->takeStrings();
}

TextObject at(const std::string &x, const std::string &y, Lines lines)
{
    return TextObject{x, y, std::move(lines)};
}

TEST(FieldLookup, WithinFiveUnitsOnTheRightPage)
{
    TPdfString strings;
    strings.add(4902000, 8185000, {"date"}); // (490.2, 818.5) near field 0 (488, 822)
    strings.add(494 * CurrencyScale, 822 * CurrencyScale, {"too far"});
    strings.setCurrentPage(2);
    strings.add(488 * CurrencyScale, 822 * CurrencyScale, {"page 2"});
    strings.add(21 * CurrencyScale, 792 * CurrencyScale, {"self hope"});
    const std::vector<TTextItem> &items = strings.items();
    ASSERT_NE(fieldLines(items, 0), nullptr);
    EXPECT_EQ(*fieldLines(items, 0), Lines{"date"});
    // A field index not below the number of items gives nothing.
    EXPECT_EQ(fieldLines(items, 226), nullptr);
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
    for (int field = 0; field < static_cast<int>(planfile::kPlanFields.size()); ++field) {
        const planfile::PlanField &p = fieldPosition(field);
        pages[static_cast<std::size_t>(p.page - 1)].push_back(
            {std::to_string(p.x) + ".2", std::to_string(p.y) + ".8", {sjis("欄") + std::to_string(field), "2"}});
    }
    const std::vector<TTextItem> items = itemsOf(pages);
    ASSERT_EQ(items.size(), static_cast<std::size_t>(static_cast<int>(planfile::kPlanFields.size())));
    for (int field = 0; field < static_cast<int>(planfile::kPlanFields.size()); ++field) {
        const auto *lines = fieldLines(items, field);
        ASSERT_NE(lines, nullptr) << field;
        EXPECT_EQ(*lines, (Lines{sjis("欄") + std::to_string(field), "2"})) << field;
    }
}

TEST(FieldLookup, ItemsWithinFiveUnitsOfTheFieldOnItsPage)
{
    // Field 0 is at (488, 822) on page 1, field 5 at (505, 799).
    std::vector<TTextItem> items = itemsOf({{at("494", "822", {"6 off"}), at("490.2", "818.5", {"date"}),
                                             at("482.9", "822", {"second in the window"})},
                                            {at("488", "822", {"page 2"})}});
    ASSERT_NE(fieldLines(items, 0), nullptr);
    EXPECT_EQ(*fieldLines(items, 0), Lines{"date"}) << "490.2 and 818.5 truncate into the window; the first item wins";

    const std::vector<TextObject> misses = {at("494", "822", {"a"}), at("488", "828", {"b"}),
                                            at("505", "799", {"care"})};
    items = itemsOf({misses, {at("488", "822", {"page 2"})}});
    EXPECT_EQ(fieldLines(items, 0), nullptr) << "only misses on page 1, the exact point only on page 2";
    EXPECT_EQ(fieldLines(items, 5), nullptr) << "four items in all, field index 5";

    // Bounds are included (483 and 817 are exactly 5 below), and one item may
    // answer two fields: (452, 768) is within 5 of field 18 (451, 773) and of
    // field 19 (453, 763).
    std::vector<TextObject> page1 = misses;
    page1.push_back(at("483", "817", {"edge"}));
    page1.push_back(at("452", "768", {sjis("レ"), "", "3"}));
    std::vector<TextObject> page2(14, at("0", "0", {"filler"}));
    page2.push_back(at("488", "822", {"page 2"}));
    items = itemsOf({page1, page2});
    ASSERT_NE(fieldLines(items, 0), nullptr);
    EXPECT_EQ(*fieldLines(items, 0), Lines{"edge"});
    ASSERT_NE(fieldLines(items, 5), nullptr) << "20 items in all, field index 5";
    EXPECT_EQ(*fieldLines(items, 5), Lines{"care"});
    ASSERT_NE(fieldLines(items, 18), nullptr);
    EXPECT_EQ(*fieldLines(items, 18), (Lines{sjis("レ"), "", "3"}));
    EXPECT_EQ(fieldLines(items, 18), fieldLines(items, 19));
    EXPECT_EQ(fieldLines(items, 20), nullptr);
}

} // namespace
