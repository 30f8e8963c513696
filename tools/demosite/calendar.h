#pragma once

#include <string>

namespace demosite {

struct CalendarDate {
    int year = 0, month = 0, day = 0;
};

int daysInMonth(int year, int month);
// Months counted from January of year 0, so consecutive months differ by one.
int monthOrdinal(int year, int month);
// The given date, or the system's local date where year is 0. A missing or
// impossible day of a given month becomes its last day.
CalendarDate resolveToday(int year, int month, int day);
// "YYYY/MM/DD" as the site prints dates; the day sits in characters 9 and 10.
std::string dateText(int year, int month, int day);
// Parses "YYYY-MM-DD"; false when the text is not a valid date.
bool parseIsoDate(const std::string& text, CalendarDate& date);

} // namespace demosite
