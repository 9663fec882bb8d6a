#include "pdfreader/PdfString.h"

bool TPdfString::wants(TPdfCurrency x, TPdfCurrency y) const
{
    if (m_keepAll)
        return true;
    const std::int64_t wholeX = x / CurrencyScale;
    const std::int64_t wholeY = y / CurrencyScale;
    for (const TTextWindow &w : m_windows) {
        if (w.page == m_currentPage && wholeX >= w.left && wholeX <= w.right && wholeY >= w.bottom &&
            wholeY <= w.top)
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
