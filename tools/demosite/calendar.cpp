#include "demosite/calendar.h"

#include <cstdio>
#include <ctime>

namespace demosite {

int daysInMonth(int year, int month) {
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 29 : 28;
    default:
        return 31;
    }
}

int monthOrdinal(int year, int month) {
    return year * 12 + (month - 1);
}

CalendarDate resolveToday(int year, int month, int day) {
    if (year != 0) {
        // A date given only in part still names a real day.
        const int validMonth = month < 1 ? 1 : (month > 12 ? 12 : month);
        const int lastDay = daysInMonth(year, validMonth);
        return {year, validMonth, day < 1 ? lastDay : (day > lastDay ? lastDay : day)};
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string dateText(int year, int month, int day) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", year, month, day);
    return text;
}

bool parseIsoDate(const std::string& text, CalendarDate& date) {
    int year = 0, month = 0, day = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &tail) != 3) {
        return false;
    }
    if (year < 1000 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) {
        return false;
    }
    date = {year, month, day};
    return true;
}

} // namespace demosite
