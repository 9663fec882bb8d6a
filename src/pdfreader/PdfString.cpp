#include "pdfreader/PdfString.h"

std::size_t TPdfString::add(TPdfCurrency x, TPdfCurrency y, std::vector<std::string> lines)
{
    m_items.push_back(TTextItem{m_currentPage, x, y, std::move(lines)});
    return m_items.size() - 1;
}
