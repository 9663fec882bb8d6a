#pragma once

// Era date texts: the 16-byte code-page-932 text in which the form writes
// its dates, e.g. 平成15年 4月 1日 (bytes 1-4 era name, 5-6 era year,
// 7-8 年, 9-10 month, 11-12 月, 13-14 day, 15-16 日).

#include "plan/DateTime.h"

#include <string>
#include <string_view>

// Blank template "＿＿__年__月__日" and the text both date fields hold before
// any plan is started, "平成  年  月  日"; both CP932.
const std::string &blankEraDateTemplate();
const std::string &initialEraDateText();

// Applies one typed character to an era date text. `caret` counts CP932
// bytes (0 before byte 1, 16 after byte 16). On return `key` is always the
// null character, `text` the new text and `caret` the new caret position.
// Caret -1 sets the blank template, any caret below -1 sets the formatted
// date of `now`; both return caret 0.
void EditEraDate(int &caret, std::string &text, char &key, TDateTime now);
// As above with the current local date and time for the caret -2 request.
void EditEraDate(int &caret, std::string &text, char &key);

// Reads an era date text. On success `date` is the calendar date at midnight.
bool ParseEraDate(std::string_view text, TDateTime &date);

// The era date text of a date, "ggee年mm月dd日", from the era boundaries
// 明治 (before 1912-07-30), 大正, 昭和 (from 1926-12-25), 平成 (from
// 1989-01-08) and 令和 (from 2019-05-01); era year = year - era base year.
std::string FormatEraDate(TDateTime date);

// Whole years between two dates, in either order: |a - b| / 365.25 truncated.
int AgeInYears(TDateTime a, TDateTime b);
