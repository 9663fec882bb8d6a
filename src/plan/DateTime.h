#pragma once

// The date-time value of a plan: a 64-bit floating count of days since
// 1899-12-30, whose fraction is the time of day. Days before that epoch are
// negative; the whole-day part is taken toward zero and the fraction's
// absolute value is the time of day (-1.25 is 1899-12-29 06:00).

#include <cstdint>

using TDateTime = double;

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CivilDate &, const CivilDate &) = default;
};

// Gregorian calendar: month 1-12, day within the month, 29 February in leap years.
bool isLeapYear(int year);
bool isValidDate(int year, int month, int day);

// Day count of a valid calendar date at midnight.
TDateTime encodeDate(int year, int month, int day);
// Calendar date of a date-time value (its time of day is ignored).
CivilDate decodeDate(TDateTime value);
// Date-time of a calendar date and a time of day.
TDateTime encodeDateTime(int year, int month, int day, int hour, int minute, int second);

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};
// Time of day of a date-time value: its fraction (absolute value) rounded to
// the millisecond, then cut to whole seconds. A fraction that rounds up to a
// whole day stays in its day as 23:59:59.
TimeOfDay timeOfDay(TDateTime value);

// The current local date and time.
TDateTime currentDateTime();
