#include "catalogue/monthlyartlist.h"

#include "site/sitenames.h"

#include <cstdio>

namespace zob {

namespace {

std::string yearMonthText(std::int32_t year, std::int32_t month) {
    char text[32];
    std::snprintf(text, sizeof text, "%4.4d/%2.2d", year, month);
    return text;
}

// The day of month a date text shows in its characters 9 and 10 ("2008/03/15");
// 0 when they are not a number (a rank, a short text).
int dayOfDate(const std::string& date) {
    if (date.size() <= 8) {
        return 0;
    }
    const std::string digits = date.substr(8, 2);
    int day = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return 0;
        }
        day = day * 10 + (c - '0');
    }
    return day;
}

} // namespace

int daysInMonth(int year, int month) {
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return year % 4 == 0 ? 29 : 28;
    default:
        return 31;
    }
}

monthlyArtList::monthlyArtList(ArtListList& registry, std::int32_t yearValue,
                               std::int32_t monthValue)
    : ArtList(registry), year(yearValue), month(monthValue) {
    siteSection = "gallery";
}

std::string monthlyArtList::siteFolder() const {
    if (isArchivePage()) {
        return std::string(menuArchive);
    }
    char text[16];
    std::snprintf(text, sizeof text, "%4.4d", year);
    return text;
}

std::string monthlyArtList::csvFileName() const {
    return isArchivePage() ? archiveCsvName(month) : monthlyCsvName(year, month);
}

std::string monthlyArtList::pageFileName() const {
    return isArchivePage() ? std::string("index.html") : monthlyPageName(year, month);
}

std::shared_ptr<ArtList> monthlyArtList::cloneEmpty() const {
    return std::make_shared<monthlyArtList>(registry(), year, month);
}

bool monthlyArtList::isIncomplete() const {
    if (isArchivePage()) {
        return true;
    }
    // The page lists the newest series first.
    const int newestDay = empty() ? 0 : dayOfDate(item(0)->date);
    return newestDay != daysInMonth(year, month);
}

bool monthlyArtList::isSame(const ArtList& other) const {
    const auto* monthly = dynamic_cast<const monthlyArtList*>(&other);
    return monthly != nullptr && monthly->year == year && monthly->month == month;
}

bool monthlyArtList::hasPrevious() const {
    // The index archive page has no month before it, and the site has no
    // month before its first: walking on from either would never end.
    return !isArchivePage() && (year > firstSiteYear || (year == firstSiteYear && month > 1));
}

std::string monthlyArtList::caption() const {
    if (isArchivePage()) {
        return std::string(menuArchive) + " " + std::to_string(month);
    }
    return yearMonthText(year, month);
}

std::string monthlyArtList::menuCaption() const {
    return yearMonthText(year, month) + (hasFile() ? " *" : "");
}

void monthlyArtList::setYearMonth(std::int32_t yearValue, std::int32_t monthValue) {
    year = yearValue;
    month = monthValue;
}

void monthlyArtList::prevMonth() {
    --month;
    if (month == 0) {
        month = 12;
        --year;
    }
}

} // namespace zob
