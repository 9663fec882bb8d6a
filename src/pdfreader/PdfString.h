#pragma once

#include "pdfreader/Base.h"

#include <cstdint>
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

// The text items of all pages, in walk order and content order. The reader
// only collects them; what they mean is for its callers to decide.
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
    // Hands the items over, leaving none.
    std::vector<TTextItem> take()
    {
        m_lineCount = 0;
        m_textBytes = 0;
        return std::move(m_items);
    }
    void clear()
    {
        m_items.clear();
        m_fillColours.clear();
        m_lineCount = 0;
        m_textBytes = 0;
    }

    std::int32_t currentPage() const { return m_currentPage; }
    void setCurrentPage(std::int32_t page) { m_currentPage = page; }

    // Counts a fill colour selection (`rg`) outside the text objects of the
    // current page.
    void addFillColour();
    // How many fill colour selections each page has (index 0 is page 1);
    // pages after the last one counted have none. Kept by take().
    const std::vector<std::int32_t> &fillColours() const { return m_fillColours; }

private:
    std::vector<std::int32_t> m_fillColours;
    std::vector<TTextItem> m_items;
    std::int32_t m_currentPage = 1;
    std::size_t m_lineCount = 0;
    std::size_t m_textBytes = 0;
};
