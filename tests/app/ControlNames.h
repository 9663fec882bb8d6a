#pragma once

// Names of the controls that come in families, composed from the family
// stem and the decimal row (and column) without leading zeros: row 12,
// column 4 is "ABC124", as the field table names them. Tests reach a row's
// controls through the plan view by these names.

#include <QString>

#include <array>

namespace formnames {

QString abc(int row, int column); // "ABC" + row + column
QString goods(int row);           // "Goods" + row
QString kaigo(int row);           // "Kaigo" + row
QString time(int row);            // "Time" + row
QString special(int row);         // "Special" + row
QString teamBox(int number);      // "TeamBox" + number, 1-13

// Rows of both tables in form order: 0-12, then 20-27.
const std::array<int, 21> &rows();
constexpr int kColumns = 5;
constexpr int kTeamBoxes = 13;

} // namespace formnames
