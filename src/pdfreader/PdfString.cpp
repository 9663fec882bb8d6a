#include "pdfreader/PdfString.h"

std::size_t TPdfString::add(TPdfCurrency x, TPdfCurrency y, std::vector<std::string> lines)
{
    m_lineCount += lines.size();
    for (const std::string &line : lines)
        m_textBytes += line.size();
    m_items.push_back(TTextItem{m_currentPage, x, y, std::move(lines)});
    return m_items.size() - 1;
}

std::optional<std::size_t> TPdfString::find(std::int32_t page, std::int32_t x, std::int32_t y) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const TTextItem &item = m_items[i];
        // Coordinates truncate toward zero to whole units.
        if (planfile::liesNear(item.page, item.x / CurrencyScale, item.y / CurrencyScale, page, x, y))
            return i;
    }
    return std::nullopt;
}

const std::vector<std::string> *TPdfString::itemLines(int fieldIndex) const
{
    const auto index = planfile::findFieldItem(fieldIndex, m_items.size(), [this](std::size_t i) {
        const TTextItem &item = m_items[i];
        return planfile::ItemPlace{item.page, item.x / CurrencyScale, item.y / CurrencyScale};
    });
    return index ? &m_items[*index].lines : nullptr;
}

std::vector<planfile::TextItem> TPdfString::plainItems() const
{
    std::vector<planfile::TextItem> plain;
    plain.reserve(m_items.size());
    for (const TTextItem &item : m_items) {
        plain.push_back(planfile::TextItem{item.page, item.x / CurrencyScale, item.y / CurrencyScale, item.lines});
    }
    return plain;
}
