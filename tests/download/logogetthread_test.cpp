#include "catalogue/artlist.h"
#include "download/dltesting.h"
#include "download/logogetthread.h"
#include "download/seriesdownload.h"
#include "site/sitenames.h"

#include <gmock/gmock.h>

namespace zob::dltest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Pair = std::pair<std::int32_t, std::int32_t>;

class LogoGetThreadTest : public DlTest {
protected:
    // The first three series of a month without series that move to the archive.
    std::shared_ptr<monthlyArtList> threeSeries() {
        for (const demosite::MonthContent& month : site().content().months()) {
            const auto& all = month.series;
            if (all.size() >= 3 && std::none_of(all.begin(), all.begin() + 3,
                                                [](const auto* s) { return s->archiveOnly; })) {
                auto monthList =
                    std::make_shared<monthlyArtList>(registry(), month.year, month.month);
                for (std::size_t i = 0; i < 3; ++i) {
                    const demosite::Series& s = *all[i];
                    monthList->addParsed(s.title, s.folderPath, s.date, s.modelText, s.photographer,
                                         s.coverPath, s.announcedPhotos, -1, -1);
                }
                return monthList;
            }
        }
        throw std::runtime_error("no month with three series");
    }

    void runLogos(ArtList& artList, bool offline) {
        startLogoDownload(artList, window->messenger, offline, env());
        ASSERT_TRUE(window->runUntilFreed(1));
    }

    std::vector<Pair> logoMessages() const {
        std::vector<Pair> pairs;
        for (const WindowMessage& message : window->of(WM_loadedLogo)) {
            pairs.emplace_back(message.listIndex, message.largeCover ? 1 : 0);
        }
        return pairs;
    }
};

TEST_F(LogoGetThreadTest, SmallCoversFirstThenLargeOnesEachAnnounced) {
    const auto monthList = threeSeries();
    runLogos(*monthList, false);

    EXPECT_THAT(logoMessages(), ElementsAre(Pair{0, 0}, Pair{1, 0}, Pair{2, 0}, Pair{0, 1},
                                            Pair{1, 1}, Pair{2, 1}));
    const fs::path logos = local() / yearFolderName(monthList->year) / "00logo";
    for (const SeriesPtr& series : monthList->records()) {
        EXPECT_GT(fs::file_size(logos / (series->name + "_s.jpg")), 0U);
        EXPECT_GT(fs::file_size(logos / (series->name + "_l.jpg")), 0U);
    }
    // The manager's own messages follow, the free message last.
    ASSERT_GE(window->received.size(), 8U);
    EXPECT_EQ(window->received[6].id, WM_loadedMonthlyAll);
    EXPECT_EQ(window->received[7].id, WM_freeThreadMngrNg);
    EXPECT_EQ(window->received[7].series, nullptr);
    EXPECT_EQ(window->received[7].manager, monthList->logoJob);
    EXPECT_EQ(logCount("= Logo(L)-Endjob:0-2"), 1U);

    // Covers on disk are announced again but not fetched again.
    site().clearRequests();
    window->received.clear();
    runLogos(*monthList, false);
    EXPECT_EQ(logoMessages().size(), 6U);
    EXPECT_THAT(site().requests(), IsEmpty());
}

TEST_F(LogoGetThreadTest, AnEmptyListAnnouncesOnceWithoutAManager) {
    const auto empty = std::make_shared<monthlyArtList>(registry(), 2008, 1);
    startLogoDownload(*empty, window->messenger, false, env());

    EXPECT_THAT(logoMessages(), ElementsAre(Pair{0, 0}));
    EXPECT_EQ(window->received.size(), 1U);
    EXPECT_EQ(empty->logoJob, nullptr);
    EXPECT_TRUE(context().managerRegistry.empty());
}

TEST_F(LogoGetThreadTest, OfflineAnnouncesEverythingAndFetchesNothing) {
    const auto monthList = threeSeries();
    runLogos(*monthList, true);

    EXPECT_EQ(logoMessages().size(), 6U);
    EXPECT_THAT(site().requests(), IsEmpty());
    const fs::path logos = local() / yearFolderName(monthList->year) / "00logo";
    EXPECT_TRUE(fs::is_directory(logos));
    EXPECT_TRUE(fs::is_empty(logos));
}

TEST_F(LogoGetThreadTest, ABrokenCoverIsNotStoredAndTheRunGoesOn) {
    const auto monthList = threeSeries();
    const demosite::Series& second = *site().content().seriesByName(monthList->item(1)->name);
    demosite::Faults faults;
    faults.closeMidBodyPrefix = second.coverPath;
    site().setFaults(faults);

    runLogos(*monthList, false);

    EXPECT_EQ(logoMessages().size(), 6U);
    EXPECT_FALSE(fs::exists(monthList->item(1)->localLogoFile(true)));
    EXPECT_GT(fs::file_size(monthList->item(1)->localLogoFile(false)), 0U);
    EXPECT_GT(fs::file_size(monthList->item(2)->localLogoFile(true)), 0U);
    const auto shown = shownTexts();
    const std::string error = "Error occured. err #3/Fn=" + monthList->item(1)->localLogoFile(true);
    EXPECT_NE(std::find_if(shown.begin(), shown.end(),
                           [&](const std::string& text) { return text.starts_with(error); }),
              shown.end());
}

TEST_F(LogoGetThreadTest, AnArchiveOnlyCoverLandsInTheArchiveFolder) {
    const auto& g = gallery([](const demosite::Series& s) { return s.archiveOnly; });
    const SeriesPtr series = record(g);

    runLogos(*list, false);

    EXPECT_TRUE(series->inArchive);
    const fs::path logos = local() / "archive" / "00logo";
    EXPECT_GT(fs::file_size(logos / (g.name + "_s.jpg")), 0U);
    EXPECT_GT(fs::file_size(logos / (g.name + "_l.jpg")), 0U);
    EXPECT_EQ(logCount("= enforce retry getHtml"), 1U);
}

} // namespace
} // namespace zob::dltest
