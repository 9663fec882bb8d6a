#include "ControlNames.h"

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

const std::array<int, 21> &rows()
{
    static const std::array<int, 21> numbers{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 20, 21, 22, 23, 24, 25, 26, 27};
    return numbers;
}

} // namespace formnames
