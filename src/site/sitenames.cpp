#include "site/sitenames.h"

namespace zob {

namespace {

// printf's "%W.Wd": at least `width` digits, zeros in front, the sign before them.
std::string zeroPadded(int number, std::size_t width) {
    const bool negative = number < 0;
    std::string digits = std::to_string(negative ? -static_cast<long long>(number) : number);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return negative ? "-" + digits : digits;
}

std::string yearMonthName(int year, int month, std::string_view extension) {
    return zeroPadded(year, 4) + zeroPadded(month, 2) + std::string(extension);
}

std::string numberedName(std::string_view prefix, std::string_view seriesKey, int number,
                         std::string_view suffix) {
    std::string name(prefix);
    name += seriesKey;
    name += '_';
    name += zeroPadded(number, 4);
    name += suffix;
    return name;
}

} // namespace

std::string yearFolderName(int year) {
    return zeroPadded(year, 4);
}

std::string monthlyCsvName(int year, int month) {
    return yearMonthName(year, month, ".csv");
}

std::string archiveCsvName(int pageNumber) {
    return "Archive" + std::to_string(pageNumber) + ".csv";
}

std::string monthlyPageName(int year, int month) {
    return yearMonthName(year, month, ".html");
}

std::string pictureFileName(std::string_view seriesKey, int number) {
    return numberedName("ZEL-ORA_", seriesKey, number, ".jpg");
}

std::string picturePageFileName(std::string_view seriesKey, int number) {
    return numberedName("zel-ora_ZEL-ORA_", seriesKey, number, "_jpg.htm");
}

std::string siteThumbnailFileName(std::string_view seriesKey, int number) {
    return numberedName("tn_ZEL-ORA_", seriesKey, number, ".jpg");
}

std::string localThumbnailFileName(std::string_view seriesKey, int number) {
    return numberedName("tn_", seriesKey, number, ".jpg");
}

} // namespace zob
