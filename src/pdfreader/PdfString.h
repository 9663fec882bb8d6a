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

// A rectangle of one page in whole units, bounds included: a text object
// lies in it when its page is `page` and its start point, truncated toward
// zero to whole units, lies within the bounds.
struct TTextWindow {
    std::int32_t page = 0;
    std::int64_t left = 0;
    std::int64_t bottom = 0;
    std::int64_t right = 0;
    std::int64_t top = 0;
};

// The text items of all pages, in walk order and content order. The reader
// only collects them; what they mean is for its callers to decide.
//
// A caller that needs only the text of a few places says so with keepOnly:
// the items that start elsewhere are then passed over, counted (seenCount,
// lineCount, textBytes) but not kept, and cost no copy of their lines.
class TPdfString {
public:
    // Keeps only the items that lie in one of `windows` from now on.
    void keepOnly(std::vector<TTextWindow> windows);
    // Whether an item starting at (x, y) on the current page is kept.
    bool wants(TPdfCurrency x, TPdfCurrency y) const;

    // Adds an item on the current page number; returns its index.
    std::size_t add(TPdfCurrency x, TPdfCurrency y, std::vector<std::string> lines);
    // Counts an item that is not kept, with its lines and their bytes.
    void pass(std::size_t lines, std::size_t bytes)
    {
        ++m_passed;
        m_lineCount += lines;
        m_textBytes += bytes;
    }
    std::size_t count() const { return m_items.size(); }
    // Items met, kept or not.
    std::size_t seenCount() const { return m_items.size() + m_passed; }
    // Lines of all items met, and the bytes of those lines.
    std::size_t lineCount() const { return m_lineCount; }
    std::size_t textBytes() const { return m_textBytes; }
    const TTextItem &at(std::size_t index) const { return m_items.at(index); }
    const std::vector<TTextItem> &items() const { return m_items; }
    // Hands the items over, leaving none.
    std::vector<TTextItem> take()
    {
        m_lineCount = 0;
        m_textBytes = 0;
        m_passed = 0;
        return std::move(m_items);
    }
    void clear()
    {
        m_items.clear();
        m_fillColours.clear();
        m_lineCount = 0;
        m_textBytes = 0;
        m_passed = 0;
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
    std::size_t m_passed = 0;
    bool m_keepAll = true;
    std::vector<TTextWindow> m_windows;
    // Of each page (index 0 is page 1), the rectangle around its windows:
    // most items lie outside it.
    std::vector<TTextWindow> m_pageBounds;
};
