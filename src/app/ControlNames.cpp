#include "app/ControlNames.h"

namespace formnames {

QString abc(int row, int column)
{
    return QStringLiteral("ABC") + QString::number(row) + QString::number(column);
}

QString goods(int row)
{
    return QStringLiteral("Goods") + QString::number(row);
}

QString kaigo(int row)
{
    return QStringLiteral("Kaigo") + QString::number(row);
}

QString time(int row)
{
    return QStringLiteral("Time") + QString::number(row);
}

QString special(int row)
{
    return QStringLiteral("Special") + QString::number(row);
}

QString teamBox(int number)
{
    return QStringLiteral("TeamBox") + QString::number(number);
}

QString rowCaption(int row)
{
    static const std::array<const char16_t *, 13> activities{
        u"トイレへの移動", u"階段昇降", u"屋内移動", u"屋外移動",          u"食事", u"排泄（昼）", u"排泄（夜）",
        u"整容",           u"更衣",     u"入浴",     u"コミュニケーション", u"家事", u"外出"};
    static const std::array<const char16_t *, 8> motions{u"寝返り", u"起き上がり", u"座位",     u"立ち上がり",
                                                         u"立位",   u"移乗動作",   u"歩行",     u"摂食・嚥下"};
    if (row >= 0 && row < static_cast<int>(activities.size())) {
        return QString::fromUtf16(activities.at(static_cast<std::size_t>(row)));
    }
    if (row >= 20 && row < 20 + static_cast<int>(motions.size())) {
        return QString::fromUtf16(motions.at(static_cast<std::size_t>(row - 20)));
    }
    return QString();
}

const std::array<int, 21> &rows()
{
    static const std::array<int, 21> numbers{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 20, 21, 22, 23, 24, 25, 26, 27};
    return numbers;
}

} // namespace formnames
