#include "pdfreader/PdfString.h"

#include <array>

namespace {

std::array<TFieldPosition, FieldCount> buildFieldPositions()
{
    std::array<TFieldPosition, FieldCount> t{};
    auto set = [&t](int index, int page, int x, int y) { t[static_cast<std::size_t>(index)] = {page, x, y}; };

    set(0, 1, 488, 822);
    const int top[] = {40, 166, 283, 390, 505};
    for (int i = 0; i < 5; ++i)
        set(1 + i, 1, top[i], 799);
    set(6, 1, 23, 771);
    set(7, 1, 239, 763);
    set(8, 1, 239, 727);
    const int ticks[] = {134, 171, 219, 307};
    for (int i = 0; i < 4; ++i)
        set(9 + i, 1, ticks[i], 687);
    const int life[] = {675, 664, 653, 642, 631};
    for (int i = 0; i < 5; ++i)
        set(13 + i, 1, 152, life[i]);
    const int handicapX[] = {451, 453, 451, 455, 451, 455, 451, 456, 451, 456, 451, 456};
    const int handicapY[] = {773, 763, 750, 739, 726, 715, 702, 691, 680, 668, 656, 643};
    for (int i = 0; i < 12; ++i)
        set(18 + i, 1, handicapX[i], handicapY[i]);
    set(30, 1, 528, 621);

    // Activity rows 0..12 of page 1.
    const int markY[] = {554, 533, 512, 491, 449, 428, 407, 386, 365, 344, 323, 302, 281};
    const int goodsY[] = {550, 529, 508, 487, 445, 424, 403, 382, 361, 340, 319, 298, 277};
    const int kaigoY[] = {555, 534, 513, 492, 450, 429, 408, 387, 366, 345, 324, 303, 282};
    const int timeY[] = {548, 528, 508, 488, 444, 424, 404, 382, 359, 339, 319, 297, 277};
    const int specialY[] = {545, 525, 505, 484, 441, 421, 400, 379, 357, 337, 316, 295, 274};
    for (int r = 0; r < 13; ++r) {
        for (int c = 0; c < 5; ++c)
            set(31 + 5 * r + c, 1, 96 + 13 * c, markY[r]);
        set(96 + r, 1, 160, goodsY[r]);
        set(109 + r, 1, 217, kaigoY[r]);
        set(122 + r, 1, 290, timeY[r]);
        set(135 + r, 1, 330, specialY[r]);
    }
    set(148, 1, 350, 554);
    set(149, 1, 429, 554);
    set(150, 1, 508, 554);

    // Motion rows 20..27, still on page 1.
    const int mark2Y[] = {185, 164, 143, 123, 101, 80, 59, 38};
    const int goods2Y[] = {182, 161, 140, 119, 98, 77, 56, 35};
    const int kaigo2Y[] = {186, 165, 144, 123, 102, 81, 60, 39};
    const int time2Y[] = {181, 161, 141, 119, 96, 76, 56, 34};
    const int special2Y[] = {177, 157, 136, 115, 93, 73, 52, 31};
    for (int k = 0; k < 8; ++k) {
        for (int c = 0; c < 5; ++c)
            set(151 + 5 * k + c, 1, 96 + 13 * c, mark2Y[k]);
        set(191 + k, 1, 160, goods2Y[k]);
        set(199 + k, 1, 217, kaigo2Y[k]);
        set(207 + k, 1, 290, time2Y[k]);
        set(215 + k, 1, 330, special2Y[k]);
    }
    t[164].x = 138;
    set(223, 1, 349, 184);
    set(224, 1, 428, 184);
    set(225, 1, 507, 184);

    // Page 2: memos, then the care team.
    const int memoX[] = {21, 20, 57, 54, 21, 21, 20, 18, 19};
    const int memoY[] = {792, 744, 688, 624, 492, 431, 371, 312, 203};
    for (int i = 0; i < 9; ++i)
        set(226 + i, 2, memoX[i], memoY[i]);
    set(235, 2, 153, 134);
    const int teamX[] = {153, 257, 361, 465};
    const int teamY[] = {113, 93, 72};
    for (int i = 0; i < 12; ++i)
        set(236 + i, 2, teamX[i % 4], teamY[i / 4]);
    return t;
}

} // namespace

const TFieldPosition &fieldPosition(int fieldIndex)
{
    static const std::array<TFieldPosition, FieldCount> table = buildFieldPositions();
    return table.at(static_cast<std::size_t>(fieldIndex));
}

std::size_t TPdfString::add(TPdfCurrency x, TPdfCurrency y, std::vector<std::string> lines)
{
    m_items.push_back(TTextItem{m_currentPage, x, y, std::move(lines)});
    return m_items.size() - 1;
}

std::optional<std::size_t> TPdfString::find(std::int32_t page, std::int32_t x, std::int32_t y) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const TTextItem &item = m_items[i];
        if (item.page != page)
            continue;
        const std::int64_t ix = item.x / CurrencyScale; // truncates toward zero
        const std::int64_t iy = item.y / CurrencyScale;
        if (ix >= x - 5 && ix <= x + 5 && iy >= y - 5 && iy <= y + 5)
            return i;
    }
    return std::nullopt;
}

const std::vector<std::string> *TPdfString::itemLines(int fieldIndex) const
{
    if (fieldIndex < 0 || fieldIndex >= FieldCount || static_cast<std::size_t>(fieldIndex) >= m_items.size())
        return nullptr;
    const TFieldPosition &p = fieldPosition(fieldIndex);
    const auto index = find(p.page, p.x, p.y);
    if (!index)
        return nullptr;
    return &m_items[*index].lines;
}
