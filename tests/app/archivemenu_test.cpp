#include "app/archivemenu.h"

#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace zob {
namespace {

std::vector<std::string> captions(const std::vector<ArchiveMonthEntry>& entries) {
    std::vector<std::string> result;
    for (const ArchiveMonthEntry& entry : entries) {
        result.push_back(entry.caption);
    }
    return result;
}

const auto nothingOnDisk = [](int, int) { return false; };

TEST(ArchiveMenuLayout, EarlyInTheYearTheTopLevelReachesIntoLastYear) {
    const ArchiveMenuLayout layout = archiveMenuLayout(2008, 2, nothingOnDisk, false);
    EXPECT_EQ(captions(layout.topLevel),
              (std::vector<std::string>{"2008/02", "2008/01", "2007/12", "2007/11", "2007/10",
                                        "2007/09"}));
    ASSERT_FALSE(layout.years.empty());
    EXPECT_EQ(layout.years.front().year, 2007);
    EXPECT_EQ(layout.years.front().months.size(), 8U);
    EXPECT_EQ(layout.years.front().months.front().caption, "2007/08");
    EXPECT_EQ(layout.years.back().year, 2003);
    EXPECT_EQ(layout.years.back().months.size(), 12U);
    EXPECT_EQ(layout.archiveCaption, "archive 1");
}

TEST(ArchiveMenuLayout, LaterInTheYearOnlyThisYearIsAtTopLevel) {
    const ArchiveMenuLayout layout = archiveMenuLayout(2008, 11, nothingOnDisk, true);
    EXPECT_EQ(layout.topLevel.size(), 11U);
    EXPECT_EQ(layout.topLevel.back().caption, "2008/01");
    EXPECT_EQ(layout.years.front().months.size(), 12U);
    EXPECT_EQ(layout.archiveCaption, "archive 1 *");
}

TEST(ArchiveMenuLayout, OldYearsOfferOnlyTheMonthsOnDiskAndMarksShowFiles) {
    const std::set<std::pair<int, int>> onDisk = {{2012, 5}, {2005, 3}, {2003, 1}};
    const auto hasCatalogue = [&onDisk](int year, int month) {
        return onDisk.count({year, month}) > 0;
    };
    const ArchiveMenuLayout layout = archiveMenuLayout(2012, 6, hasCatalogue, false);
    EXPECT_EQ(layout.topLevel[1].caption, "2012/05 *");
    for (const ArchiveYearMenu& year : layout.years) {
        for (const ArchiveMonthEntry& month : year.months) {
            const bool old = year.year <= 2012 - 6;
            const bool present = hasCatalogue(month.year, month.month);
            EXPECT_EQ(month.enabled, !old || present) << month.caption;
            EXPECT_EQ(month.caption.ends_with(" *"), present) << month.caption;
        }
    }
}

TEST(ArchiveMenuLayout, TheSitesFirstMonthsNeverReachBefore2003) {
    const ArchiveMenuLayout layout = archiveMenuLayout(2003, 2, nothingOnDisk, false);
    EXPECT_EQ(captions(layout.topLevel), (std::vector<std::string>{"2003/02", "2003/01"}));
    EXPECT_TRUE(layout.years.empty());
}

} // namespace
} // namespace zob
