#include "pdfreader/PdfString.h"

#include <algorithm>

void TPdfString::keepOnly(std::vector<TTextWindow> windows)
{
    m_windows = std::move(windows);
    m_keepAll = false;
    m_pageBounds.clear();
    for (const TTextWindow &w : m_windows) {
        if (w.page < 1)
            continue;
        const auto page = static_cast<std::size_t>(w.page);
        if (m_pageBounds.size() < page)
            m_pageBounds.resize(page, TTextWindow{0, 1, 1, 0, 0}); // empty
        TTextWindow &b = m_pageBounds[page - 1];
        if (b.page == 0) {
            b = w;
        } else {
            b.left = std::min(b.left, w.left);
            b.bottom = std::min(b.bottom, w.bottom);
            b.right = std::max(b.right, w.right);
            b.top = std::max(b.top, w.top);
        }
    }
}

bool TPdfString::wants(TPdfCurrency x, TPdfCurrency y) const
{
    if (m_keepAll)
        return true;
    if (m_currentPage < 1 || static_cast<std::size_t>(m_currentPage) > m_pageBounds.size())
        return false;
    const std::int64_t wholeX = x / CurrencyScale;
    const std::int64_t wholeY = y / CurrencyScale;
    const TTextWindow &b = m_pageBounds[static_cast<std::size_t>(m_currentPage) - 1];
    if (wholeX < b.left || wholeX > b.right || wholeY < b.bottom || wholeY > b.top)
        return false;
    for (const TTextWindow &w : m_windows) {
        if (w.page == m_currentPage && wholeX >= w.left && wholeX <= w.right && wholeY >= w.bottom && wholeY <= w.top)
            return true;
    }
    return false;
}

std::size_t TPdfString::add(TPdfCurrency x, TPdfCurrency y, std::vector<std::string> lines)
{
    m_lineCount += lines.size();
    for (const std::string &line : lines)
        m_textBytes += line.size();
    m_items.push_back(TTextItem{m_currentPage, x, y, std::move(lines)});
    return m_items.size() - 1;
}

void TPdfString::addFillColour()
{
    if (m_currentPage < 1)
        return;
    const auto page = static_cast<std::size_t>(m_currentPage);
    if (m_fillColours.size() < page)
        m_fillColours.resize(page);
    ++m_fillColours[page - 1];
}
