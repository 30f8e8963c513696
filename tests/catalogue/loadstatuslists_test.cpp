#include "catalogue/listtesting.h"
#include "catalogue/loadstatuslists.h"
#include "catalogue/loadstatustesting.h"
#include "catalogue/monthlyartlist.h"
#include "platform/debuglog.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace zob {
namespace {

using cataloguetest::addGallery;
using cataloguetest::CatalogueWorld;
using loadstatustest::putPictures;
using Names = std::vector<std::string>;

Names namesOf(const ArtList& list) {
    Names names;
    for (const SeriesPtr& record : list.records()) {
        names.push_back(record->name);
    }
    return names;
}

class RecordingProgress : public ProgressDisplay {
public:
    void showProgressText(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

class LoadStatusTest : public ::testing::Test {
protected:
    LoadStatusTest() { log.switchOn(); }

    struct Entry {
        std::string name;
        bool movie = false;
    };
    static constexpr std::int32_t photos = 10;

    // Writes a month's catalogue; its records tell where their pictures go.
    std::vector<SeriesPtr> writeMonth(int year, int month, const std::vector<Entry>& entries) {
        auto list = std::make_shared<monthlyArtList>(world.registry, year, month);
        char date[16];
        std::snprintf(date, sizeof date, "%4.4d/%2.2d/01", year, month);
        for (const Entry& entry : entries) {
            const std::string folder = "/members/" +
                                       std::string(entry.movie ? "movies" : "gallery") + "/" +
                                       std::to_string(year) + "/" + entry.name + "/";
            list->addParsed("T", folder, date, "Ann", "BY Carl", folder + "cover.jpg", photos, -1,
                            -1);
        }
        list->save();
        return list->records();
    }

    // Loads a month from its file and registers it, as showing it would.
    void registerMonth(int year, int month) {
        auto list = std::make_shared<monthlyArtList>(world.registry, year, month);
        list->load();
        world.registry.registerList(list);
    }

    // The merge lines written to the debug log since line `from`.
    Names mergeLines(std::size_t from = 0) const {
        Names merges;
        const Names lines = log.lines();
        for (std::size_t i = from; i < lines.size(); ++i) {
            if (const std::size_t at = lines[i].find("marged:"); at != std::string::npos) {
                merges.push_back(lines[i].substr(at));
            }
        }
        return merges;
    }

    CatalogueWorld world;
    DebugLog log;
    RecordingProgress progress;
    MonthClock march2008 = [] { return YearMonth{2008, 3}; };
};

TEST_F(LoadStatusTest, PicturesOnDiskDecideTheList) {
    const auto records = writeMonth(2008, 3,
                                    {{"done_a_200803"},
                                     {"thumbs_b_200803"},
                                     {"mixed_c_200803"},
                                     {"half_d_200803"},
                                     {"fresh_e_200803"},
                                     {"film_f_200803", true}});
    putPictures(*records[0], resHigh, {1, photos});
    putPictures(*records[1], resThumb, {1, photos});
    // Complete at high resolution, started at low: still stopped.
    putPictures(*records[2], resHigh, {1, photos});
    putPictures(*records[2], resLow, {1});
    putPictures(*records[3], resLow, {1, 2});
    // A movie's folder holds no pictures the lists look at.
    std::filesystem::create_directories(records[5]->localSeriesFolder());

    const auto loaded = loadedArtList(world.registry, log, nullptr, march2008);
    const auto stopped = stoppedArtList(world.registry, log, nullptr, march2008);
    const auto notLoaded = notLoadArtList(world.registry, log, nullptr, march2008);
    EXPECT_EQ(namesOf(*loaded), (Names{"done_a_200803", "thumbs_b_200803"}));
    EXPECT_EQ(namesOf(*stopped), (Names{"mixed_c_200803", "half_d_200803"}));
    EXPECT_EQ(namesOf(*notLoaded), (Names{"fresh_e_200803", "film_f_200803"}));
    EXPECT_EQ(stopped->item(0)->statusText(), "-l-H");
    EXPECT_TRUE(loaded->load());
    EXPECT_TRUE(stopped->load());
    EXPECT_TRUE(notLoaded->load());
}

TEST_F(LoadStatusTest, FirstBuildReadsEveryFoundMonthDownToJanuary2004) {
    writeMonth(2008, 4, {{"later_a_200804"}});
    writeMonth(2008, 3, {{"now_b_200803"}});
    writeMonth(2007, 11, {{"nov_c_200711"}, {"nov_d_200711"}});
    writeMonth(2004, 1, {{"jan_e_200401"}});
    writeMonth(2003, 12, {{"dec_f_200312"}});
    writeMonth(2003, 1, {{"first_g_200301"}});

    const auto list = notLoadArtList(world.registry, log, &progress, march2008);

    EXPECT_EQ(progress.texts, (Names{"check 2008/3 archive ... ", "check 2007/11 archive ... ",
                                     "check 2004/1 archive ... "}));
    EXPECT_EQ(mergeLines(), (Names{"marged:1 file (2008/3)", "marged:3 file (2007/11)",
                                   "marged:4 file (2004/1)"}));
    // Each month's series go before those of the later months.
    EXPECT_EQ(namesOf(*list),
              (Names{"jan_e_200401", "nov_c_200711", "nov_d_200711", "now_b_200803"}));
    // The months read are not registered; the records are the list's own.
    EXPECT_EQ(world.registry.size(), 0u);
    for (const SeriesPtr& record : list->records()) {
        EXPECT_EQ(record->ownerList(), list) << record->name;
    }
}

TEST_F(LoadStatusTest, LaterBuildsMergeOnlyMonthsLoadedInThisRun) {
    const auto march = writeMonth(2008, 3, {{"aa_a_200803"}});
    writeMonth(2008, 2, {{"bb_b_200802"}});
    const auto list = notLoadArtList(world.registry, log, &progress, march2008);
    ASSERT_EQ(namesOf(*list), (Names{"bb_b_200802", "aa_a_200803"}));

    // A catalogue that appears later is not read again by a rebuild.
    writeMonth(2008, 1, {{"cc_c_200801"}});
    progress.texts.clear();
    std::size_t logged = log.lines().size();
    EXPECT_TRUE(list->load());
    EXPECT_EQ(namesOf(*list), (Names{"bb_b_200802", "aa_a_200803"}));
    EXPECT_TRUE(progress.texts.empty());
    EXPECT_TRUE(mergeLines(logged).empty());

    // Months shown in this run are merged, and a status change there is seen.
    putPictures(*march[0], resMid, {1, photos});
    registerMonth(2008, 3);
    registerMonth(2008, 1);
    logged = log.lines().size();
    EXPECT_TRUE(list->load());
    EXPECT_EQ(namesOf(*list), (Names{"cc_c_200801", "bb_b_200802"}));
    EXPECT_EQ(mergeLines(logged), (Names{"marged:2 mem (2008/3)", "marged:2 mem (2008/1)"}));
    EXPECT_TRUE(progress.texts.empty());

    const auto loaded = loadedArtList(world.registry, log, nullptr, march2008);
    EXPECT_EQ(namesOf(*loaded), (Names{"aa_a_200803"}));
}

TEST_F(LoadStatusTest, NothingOnDiskGivesEmptyLists) {
    std::vector<std::shared_ptr<statBaseArtList>> lists{
        loadedArtList(world.registry, log, &progress, march2008),
        stoppedArtList(world.registry, log, &progress, march2008),
        notLoadArtList(world.registry, log, &progress, march2008)};
    for (const auto& list : lists) {
        EXPECT_TRUE(list->empty()) << list->caption();
        EXPECT_FALSE(list->load()) << list->caption();
    }
    EXPECT_TRUE(progress.texts.empty());
    EXPECT_TRUE(mergeLines().empty());
}

TEST_F(LoadStatusTest, KindsAreDifferentListsThatAreNeverStored) {
    writeMonth(2008, 3, {{"aa_a_200803"}});
    const auto loaded = loadedArtList(world.registry, log, nullptr, march2008);
    const auto loadedAgain = loadedArtList(world.registry, log, nullptr, march2008);
    const auto stopped = stoppedArtList(world.registry, log, nullptr, march2008);
    const auto notLoaded = notLoadArtList(world.registry, log, nullptr, march2008);
    const auto downloading = std::make_shared<loadingArtList>(world.registry);
    const auto month = std::make_shared<monthlyArtList>(world.registry, 2008, 3);

    EXPECT_TRUE(loaded->isSame(*loadedAgain));
    EXPECT_FALSE(loaded->isSame(*stopped));
    EXPECT_FALSE(stopped->isSame(*notLoaded));
    EXPECT_FALSE(notLoaded->isSame(*loaded));
    EXPECT_FALSE(loaded->isSame(*downloading));
    EXPECT_FALSE(downloading->isSame(*loaded));
    EXPECT_FALSE(loaded->isSame(*month));
    EXPECT_FALSE(month->isSame(*loaded));
    world.registry.registerList(loaded);
    EXPECT_EQ(world.registry.indexOfSame(*stopped), -1);
    EXPECT_EQ(world.registry.indexOfSame(*loadedAgain), 0);

    const std::vector<std::pair<std::shared_ptr<ArtList>, std::string>> captions{
        {downloading, "Currently downloading series"},
        {loaded, "Downloaded series"},
        {stopped, "Stopped series"},
        {notLoaded, "No downloaded series"}};
    for (const auto& [list, caption] : captions) {
        EXPECT_EQ(list->caption(), caption);
        EXPECT_EQ(list->menuCaption(), caption);
        EXPECT_TRUE(list->hasPrevious()) << caption;
        EXPECT_FALSE(list->isIncomplete()) << caption;
        EXPECT_EQ(list->csvFileName() + list->siteFolder() + list->pageFileName() + list->query() +
                      list->siteSection,
                  "")
            << caption;
    }
    EXPECT_EQ(notLoaded->cloneEmpty(), nullptr);

    const auto index = world.scratch / "00index";
    notLoaded->saved = false;
    notLoaded->save();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(index),
                            std::filesystem::directory_iterator()),
              1)
        << "only the month's own catalogue";
    EXPECT_FALSE(notLoaded->hasFile());
}

class DownloadingListTest : public ::testing::Test {
protected:
    CatalogueWorld world;
};

TEST_F(DownloadingListTest, RunsOfStripsOfOneSeriesGiveOneEntry) {
    auto month = world.month(2008, 3);
    const SeriesPtr a = addGallery(*month, "aa_a_200803");
    const SeriesPtr b = addGallery(*month, "bb_b_200803");
    const SeriesPtr c = addGallery(*month, "cc_c_200803");

    std::vector<SeriesPtr> strips{a, a, b, a, c, c};
    const auto list = std::make_shared<loadingArtList>(world.registry, &strips);
    EXPECT_EQ(namesOf(*list), (Names{"aa_a_200803", "bb_b_200803", "aa_a_200803", "cc_c_200803"}));

    strips = {c};
    EXPECT_TRUE(list->load());
    EXPECT_EQ(namesOf(*list), (Names{"cc_c_200803"}));
    EXPECT_EQ(month->size(), 3u) << "records are shared, never taken away";
    strips.clear();
    EXPECT_FALSE(list->load());

    // The clone has no strips: nothing to build from, nothing changes.
    strips = {a};
    const auto clone = list->cloneEmpty();
    ASSERT_NE(clone, nullptr);
    EXPECT_TRUE(clone->isSame(*list));
    EXPECT_FALSE(clone->load());
}

TEST_F(DownloadingListTest, AStripOfAnUnsharedRecordListsTheRegisteredOne) {
    auto month = world.month(2008, 3);
    const SeriesPtr registered = addGallery(*month, "aa_a_200803");
    world.registry.registerList(month);
    auto other = world.named("other.csv");
    const SeriesPtr twin = SeriesRec::create(*other, "/members/gallery/2008/aa_a_200803/", "T",
                                             "/members/gallery/2008/aa_a_200803/c.jpg");

    std::vector<SeriesPtr> strips{twin, twin, registered};
    const auto list = std::make_shared<loadingArtList>(world.registry, &strips);
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ(list->item(0), registered);
}

} // namespace
} // namespace zob
