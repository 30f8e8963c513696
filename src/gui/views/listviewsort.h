#pragma once

// What the list view's columns show and how they order the series. Kept apart
// from the widget so the orderings stay plain functions over the records.

#include "catalogue/seriesrec.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zob {

struct ListColumn {
    const char* heading;
    int width;
};

inline constexpr std::array<ListColumn, 6> listColumns{{
    {"Date", 64},
    {"Title", 122},
    {"Model", 64},
    {"Photo", 64},
    {"Specs", 44},
    {"Imgs", 36},
}};
inline constexpr int listColumnCount = static_cast<int>(listColumns.size());

// The text of one column's cell for `series`.
std::string listCellText(const SeriesRec& series, int column);

// Orders `rows` by the column headed `heading` (texts by bytes, case-sensitive;
// "Specs" by count with a movie just before an unread count). A heading of no
// column leaves the order as it is.
void sortByHeading(std::vector<SeriesPtr>& rows, std::string_view heading, bool descending);

} // namespace zob
