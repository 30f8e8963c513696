#include "gui/views/listviewsort.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace zob {

namespace {

// A movie sorts after every real count but before a count not read yet.
constexpr std::int32_t movieRank = 998;

int sign(int value) {
    return (value > 0) - (value < 0);
}

// std::string::compare goes through char_traits<char>, which compares as
// unsigned bytes: the ordinal order the site's texts need.
int compareText(const std::string& a, const std::string& b) {
    return sign(a.compare(b));
}

std::int32_t specsRank(const SeriesRec& series) {
    const std::int32_t count = series.photoCount;
    return count == 0 ? movieRank : count;
}

using Comparison = std::function<int(const SeriesRec&, const SeriesRec&)>;

Comparison comparisonFor(std::string_view heading) {
    if (heading == "Date") {
        return [](const SeriesRec& a, const SeriesRec& b) { return compareText(a.date, b.date); };
    }
    if (heading == "Title") {
        return [](const SeriesRec& a, const SeriesRec& b) { return compareText(a.title, b.title); };
    }
    if (heading == "Model") {
        return [](const SeriesRec& a, const SeriesRec& b) { return compareText(a.model, b.model); };
    }
    if (heading == "Photo") {
        return [](const SeriesRec& a, const SeriesRec& b) {
            return compareText(a.photographer, b.photographer);
        };
    }
    if (heading == "Specs") {
        return [](const SeriesRec& a, const SeriesRec& b) {
            return sign(specsRank(a) - specsRank(b));
        };
    }
    return {};
}

} // namespace

std::string listCellText(const SeriesRec& series, int column) {
    switch (column) {
    case 0:
        return series.date;
    case 1:
        return series.title;
    case 2:
        return series.model;
    case 3:
        return series.photographer;
    case 4:
        return specsText(series.photoCount);
    case 5:
        return series.statusText();
    default:
        return {};
    }
}

void sortByHeading(std::vector<SeriesPtr>& rows, std::string_view heading, bool descending) {
    const int direction = descending ? -1 : 1;
    if (heading == "Imgs") {
        // The status is worked out from the disk state and the member's lists:
        // once per row, not once per comparison.
        std::vector<std::pair<std::string, SeriesPtr>> keyed;
        keyed.reserve(rows.size());
        for (const SeriesPtr& row : rows) {
            keyed.emplace_back(row->statusText(), row);
        }
        std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
            return direction * compareText(a.first, b.first) < 0;
        });
        std::transform(keyed.begin(), keyed.end(), rows.begin(),
                       [](auto& entry) { return std::move(entry.second); });
        return;
    }
    const Comparison compare = comparisonFor(heading);
    if (!compare) {
        return;
    }
    std::stable_sort(rows.begin(), rows.end(), [&](const SeriesPtr& a, const SeriesPtr& b) {
        return direction * compare(*a, *b) < 0;
    });
}

} // namespace zob
