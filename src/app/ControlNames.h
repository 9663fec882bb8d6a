#pragma once

// Names of the controls that come in families, composed from the family
// stem and the decimal row (and column) without leading zeros: row 12,
// column 4 is "ABC124". The window builds its controls with these names and
// every part that looks a control up by number uses the same functions.

#include <QString>

#include <array>

namespace formnames {

QString abc(int row, int column); // "ABC" + row + column
QString goods(int row);           // "Goods" + row
QString kaigo(int row);           // "Kaigo" + row
QString time(int row);            // "Time" + row
QString special(int row);         // "Special" + row
QString teamBox(int number);      // "TeamBox" + number, 1-13

// The item caption of a table row on the form: "トイレへの移動" for row 0,
// "寝返り" for row 20, ...; empty for a number that is not a row.
QString rowCaption(int row);

// Rows of both tables in form order: 0-12, then 20-27.
const std::array<int, 21> &rows();
constexpr int kColumns = 5;
constexpr int kTeamBoxes = 13;

} // namespace formnames
