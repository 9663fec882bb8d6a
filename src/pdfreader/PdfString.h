#pragma once

#include "pdfreader/Base.h"
#include "planfile/PlanDecode.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One text object of a page: where its Td put the text, and its lines (CP932
// bytes; blank lines as empty strings).
struct TTextItem {
    std::int32_t page = 0;
    TPdfCurrency x = 0; // four decimal places: 96.5 is 965000
    TPdfCurrency y = 0;
    std::vector<std::string> lines;
};

// The text items of all pages, in walk order and content order.
class TPdfString {
public:
    // Adds an item on the current page number; returns its index.
    std::size_t add(TPdfCurrency x, TPdfCurrency y, std::vector<std::string> lines);
    std::size_t count() const { return m_items.size(); }
    // Lines of all items, and the bytes of those lines.
    std::size_t lineCount() const { return m_lineCount; }
    std::size_t textBytes() const { return m_textBytes; }
    const TTextItem &at(std::size_t index) const { return m_items.at(index); }
    const std::vector<TTextItem> &items() const { return m_items; }
    void clear()
    {
        m_items.clear();
        m_lineCount = 0;
        m_textBytes = 0;
    }

    std::int32_t currentPage() const { return m_currentPage; }
    void setCurrentPage(std::int32_t page) { m_currentPage = page; }

    // Index of the first item on `page` whose point, truncated to whole
    // units, lies near (x, y) (planfile::liesNear: within 5 units on both
    // axes, bounds included).
    std::optional<std::size_t> find(std::int32_t page, std::int32_t x, std::int32_t y) const;

    // Lines of the item printed at a field's position (the rule of
    // planfile::findFieldItem), or none. None also when the field index is
    // not below the number of items, or is not a field index at all.
    const std::vector<std::string> *itemLines(int fieldIndex) const;

    // The items in the plain form the plan reading takes: coordinates
    // truncated to whole units.
    std::vector<planfile::TextItem> plainItems() const;

private:
    std::vector<TTextItem> m_items;
    std::int32_t m_currentPage = 1;
    std::size_t m_lineCount = 0;
    std::size_t m_textBytes = 0;
};
