#pragma once

#include "catalogue/artlist.h"

#include <cstdint>

namespace zob {

// One month of the site's archive pages; year 1 stands for page `month` of
// the site's index archive instead.
class monthlyArtList : public ArtList {
public:
    monthlyArtList(ArtListList& registry, std::int32_t yearValue, std::int32_t monthValue);

    std::string siteFolder() const override;
    std::string csvFileName() const override;
    std::string pageFileName() const override;
    std::shared_ptr<ArtList> cloneEmpty() const override;
    // A month is fetched until a series of its last day is known.
    bool isIncomplete() const override;
    bool isSame(const ArtList& other) const override;
    // False for the first month the site ever had (and anything before it)
    // and for the index archive page.
    bool hasPrevious() const override;
    std::string caption() const override;
    std::string menuCaption() const override;

    void setYearMonth(std::int32_t yearValue, std::int32_t monthValue);
    void prevMonth();
    bool isArchivePage() const { return year == 1; }

    std::int32_t year;
    std::int32_t month;
};

// Days of a month as the site counts them (every fourth year a leap year).
int daysInMonth(int year, int month);

// The first month the site has.
inline constexpr int firstSiteYear = 2003;

} // namespace zob
