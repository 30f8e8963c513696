#include "catalogue/catalogueerror.h"
#include "catalogue/listtesting.h"
#include "platform/debuglog.h"
#include "search/offlinescan.h"
#include "search/offlinescantesting.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zob {
namespace {

using cataloguetest::CatalogueWorld;
using offlinescantest::fixedMonth;
using offlinescantest::RecordingProgress;
using offlinescantest::SeriesLine;
using offlinescantest::writeMonth;

class OfflineScan : public ::testing::Test {
protected:
    OfflineScan() {
        settings.today = fixedMonth(2008, 3);
        settings.progress = &progress;
        settings.temporaryFile = working.path() / "srchTmp.csv";
        settings.debugLog = &log;
    }

    void month(int year, int monthValue, const std::vector<SeriesLine>& series) {
        writeMonth(world.registry, year, monthValue, series);
    }
    // The names of a result list, in order.
    static std::vector<std::string> names(const ArtList& list) {
        std::vector<std::string> result;
        for (const SeriesPtr& record : list.records()) {
            result.push_back(record->name);
        }
        return result;
    }
    bool scan(ArtList& list, const std::string& name) { return offlineScan(list, name, settings); }

    CatalogueWorld world;
    ScratchFolder working;
    RecordingProgress progress;
    DebugLog log;
    OfflineScanSettings settings;
    std::shared_ptr<cataloguetest::NamedList> result = world.named("");
};

TEST_F(OfflineScan, WalksFromThisMonthBackToJanuary2004) {
    for (int year = 2003; year <= 2008; ++year) {
        for (int m = 1; m <= 12; ++m) {
            month(year, m, {});
        }
    }
    std::filesystem::remove(world.indexFile("200611.csv"));

    EXPECT_FALSE(scan(*result, "Ann"));
    // Later months and the site's first year are never read; a month
    // without a file is passed by.
    ASSERT_EQ(progress.texts.size(), 50u);
    EXPECT_EQ(progress.texts.front(), "check 2008/3 archive ... ");
    EXPECT_EQ(progress.texts.back(), "check 2004/1 archive ... ");
    EXPECT_EQ(
        std::count(progress.texts.begin(), progress.texts.end(), "check 2006/11 archive ... "), 0);

    progress.texts.clear();
    month(2006, 11, {});
    scan(*result, "Ann");
    EXPECT_EQ(progress.texts.size(), 51u);
}

TEST_F(OfflineScan, AClockBeforeTheWalkEndReadsItsMonthAlone) {
    month(2003, 5, {{"old_ann", "Ann"}});
    month(2003, 4, {{"older_ann", "Ann"}});
    settings.today = fixedMonth(2003, 5);
    EXPECT_TRUE(scan(*result, "Ann"));
    EXPECT_EQ(names(*result), (std::vector<std::string>{"old_ann_200305"}));
    EXPECT_EQ(progress.texts.size(), 1u);
}

TEST_F(OfflineScan, KeepsEveryLineHoldingTheNameNewestMonthFirst) {
    month(2008, 3, {{"a_1", "Annabel"}, {"b_1", "anna"}, {"c_1", "Bea & Anna"}});
    month(2007, 12, {{"d_1", "Cleo"}, {"e_1", "Dana", "Anna Photo"}});
    month(2004, 1, {{"f_1", "Anna"}});
    month(2003, 12, {{"g_1", "Anna"}});

    EXPECT_TRUE(scan(*result, "Anna"));
    // By substring, letter case counting, in any field; 2003 is not read.
    EXPECT_EQ(names(*result),
              (std::vector<std::string>{"a_1_200803", "c_1_200803", "e_1_200712", "f_1_200401"}));
    EXPECT_FALSE(std::filesystem::exists(settings.temporaryFile));
}

TEST_F(OfflineScan, AnEmptyNameOrNoMatchLeavesTheListEmpty) {
    month(2008, 3, {{"a_1", "Ann"}});
    EXPECT_FALSE(scan(*result, ""));
    EXPECT_FALSE(scan(*result, "Zoe"));
    // The header of every file holds "version=", and it is no series.
    EXPECT_FALSE(scan(*result, "version="));
    EXPECT_TRUE(result->empty());
    EXPECT_FALSE(std::filesystem::exists(settings.temporaryFile));
}

TEST_F(OfflineScan, ResultsReadAsTheOldestVersionWithoutIds) {
    month(2008, 2, {{"a_1", "Ann & Bea", "Carl Weber", 77, 501}});
    ASSERT_TRUE(scan(*result, "Bea"));
    ASSERT_EQ(result->size(), 1u);
    const SeriesRec& found = *result->item(0);
    EXPECT_EQ(found.title, "Title of a_1_200802");
    EXPECT_EQ(found.date, "2008/02/01");
    EXPECT_EQ(found.model, "Ann & Bea");
    EXPECT_EQ(found.photographer, "Carl Weber");
    EXPECT_EQ(found.photoCount, 24);
    EXPECT_EQ(found.favoriteId, -1);
    EXPECT_EQ(found.modelId, -1);
}

TEST_F(OfflineScan, ALoadedSeriesKeepsItsRecordAndIds) {
    month(2008, 2, {{"a_1", "Ann", "Carl", 77, 501}, {"b_1", "Ann", "Carl", 78, 502}});
    const auto february = std::make_shared<monthlyArtList>(world.registry, 2008, 2);
    february->load();
    world.registry.registerList(february);

    ASSERT_TRUE(scan(*result, "Ann"));
    ASSERT_EQ(result->size(), 2u);
    EXPECT_EQ(result->item(0), february->item(0));
    EXPECT_EQ(result->item(1)->favoriteId, 78);
    EXPECT_EQ(result->item(1)->modelId, 502);
}

TEST_F(OfflineScan, TheGatheredFileGoesAwayWhenAMatchingLineIsBad) {
    month(2008, 3, {{"a_1", "Ann"}});
    std::filesystem::create_directories(world.scratch / "00index");
    writeBytes(world.indexFile("200802.csv"),
               "version=74\r\n\"Broken\",/members/gallery/2008/nodate/,2008/02/01,Ann,Carl,24,"
               "/members/gallery/2008/nodate/cover.jpg,-1,-1\r\n");
    EXPECT_THROW(scan(*result, "Ann"), CatalogueError);
    EXPECT_FALSE(std::filesystem::exists(settings.temporaryFile));
}

TEST_F(OfflineScan, ReadsLinesEndedEitherWay) {
    std::filesystem::create_directories(world.scratch / "00index");
    const std::string line = "\"T\",/members/gallery/2008/ann_x_200801/,2008/01/02,Ann,Carl,3,"
                             "/members/gallery/2008/ann_x_200801/c.jpg";
    writeBytes(world.indexFile("200801.csv"),
               line + "\n" + line + "\r\n" + "\"U\"," + line.substr(4) + " extra Ann");
    ASSERT_TRUE(scan(*result, "Ann"));
    // The same series three times: a result list takes what the lines say.
    EXPECT_EQ(result->size(), 3u);
}

} // namespace
} // namespace zob
