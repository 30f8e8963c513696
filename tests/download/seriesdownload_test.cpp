#include "catalogue/cataloguefile.h"
#include "download/dltesting.h"
#include "download/seriesdownload.h"
#include "site/sitenames.h"

#include <gmock/gmock.h>

namespace zob::dltest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class SeriesDownloadTest : public DlTest {
protected:
    const ImageGetThread& workerOf(const threadManagerNg& manager) {
        return dynamic_cast<const ImageGetThread&>(manager.worker(0));
    }
};

TEST_F(SeriesDownloadTest, ThumbnailResolutionStartsOnlyTheThumbnailJob) {
    const SeriesPtr series = record(gallery(plain));
    startDownload(*series, resThumb, window->messenger, false, env());

    ASSERT_NE(series->thumbJob, nullptr);
    EXPECT_EQ(series->pictureJob, nullptr);
    EXPECT_EQ(series->thumbJob->doneMessage, WM_loadedThumbAll);
    EXPECT_EQ(series->thumbJob->doneWParam, series);
    EXPECT_EQ(series->thumbJob->window, &window->messenger);
    EXPECT_EQ(workerOf(*series->thumbJob).resolution, resThumb);
    EXPECT_TRUE(hasResolution(series->partialRes, resThumb));
    ASSERT_TRUE(window->runUntilFreed(1));
    EXPECT_EQ(series->thumbJob, nullptr);
    EXPECT_EQ(window->of(WM_loadedThumbAll).size(), 1U);
}

TEST_F(SeriesDownloadTest, AnotherResolutionStartsBothJobsOnce) {
    const auto& g = gallery(plain);
    const SeriesPtr series = record(g);
    startDownload(*series, resMid, window->messenger, false, env());
    const auto thumbs = series->thumbJob;
    const auto pictures = series->pictureJob;
    ASSERT_NE(thumbs, nullptr);
    ASSERT_NE(pictures, nullptr);
    EXPECT_EQ(pictures->doneMessage, WM_loadedLargeAll);
    EXPECT_EQ(pictures->doneLParam.lock(), pictures);
    EXPECT_EQ(workerOf(*pictures).resolution, resMid);

    // While attached, a second start (even for another resolution) adds no
    // job; it only replays the thumbnails the job has stored so far.
    startDownload(*series, resHigh, window->messenger, false, env());
    const std::size_t replayed = window->received.size();
    EXPECT_EQ(window->numbersOf(WM_loadedThumb).size(), replayed);
    EXPECT_EQ(series->thumbJob, thumbs);
    EXPECT_EQ(series->pictureJob, pictures);
    EXPECT_EQ(context().managerRegistry.size(), 2U);

    ASSERT_TRUE(window->runUntilFreed(2));
    EXPECT_EQ(series->thumbJob, nullptr);
    EXPECT_EQ(series->pictureJob, nullptr);
    const auto count = static_cast<std::size_t>(g.announcedPhotos);
    EXPECT_EQ(window->numbersOf(WM_loadedLarge).size(), count);
    EXPECT_EQ(window->numbersOf(WM_loadedThumb).size(), replayed + count);
    EXPECT_THAT(site().requests(), Not(IsEmpty()));
    EXPECT_EQ(requestsFor("/hires/ZEL"), 0U);
}

TEST_F(SeriesDownloadTest, AnAttachedThumbnailJobReplaysTheThumbnailsOnDisk) {
    const SeriesPtr series = record(gallery(plain));
    putPictures(*series, resThumb, 1, 3);
    startDownload(*series, resThumb, window->messenger, false, env());
    // The worker waits on its first message meanwhile: nothing beyond 3 exists.
    startDownload(*series, resThumb, window->messenger, false, env());

    EXPECT_THAT(window->numbersOf(WM_loadedThumb), ElementsAre(1, 2, 3));
    EXPECT_EQ(window->received.size(), 3U);
    ASSERT_TRUE(window->runUntilFreed(1));
}

TEST_F(SeriesDownloadTest, TheThirtyFirstDownloadIsRefused) {
    downloadtest::JobDesk desk(false);
    std::vector<std::shared_ptr<threadManagerNg>> held;
    for (std::size_t i = 0; i < ManagerRegistry::liveLimit; ++i) {
        held.push_back(
            threadManagerNg::create(context().managerRegistry, 1, downloadtest::deskWorkers(desk)));
        ASSERT_NE(held.back(), nullptr);
        held.back()->window = &window->messenger;
    }
    const SeriesPtr series = record(gallery(plain));
    startDownload(*series, resLow, window->messenger, false, env());

    EXPECT_EQ(series->thumbJob, nullptr);
    EXPECT_EQ(series->pictureJob, nullptr);
    EXPECT_EQ(series->partialRes.load(), 0);
    EXPECT_EQ(shownTexts(),
              std::vector<std::string>{"Too many download sessions.\r\nPlease wait to start"});
    for (const auto& manager : held) {
        manager->start(0); // ends at once, its messages handled on this thread
    }
    EXPECT_TRUE(context().managerRegistry.empty());
    window.reset(); // joins
    for (const auto& manager : held) {
        manager->join();
    }
}

TEST_F(SeriesDownloadTest, StateFollowsDiskAndJobs) {
    const auto& g = gallery(plain);
    const SeriesPtr series = record(g);
    EXPECT_EQ(resState(*series, resLow), JobState::none);
    putPictures(*series, resLow, 1, 1);
    // A slow site keeps the picture job on picture 2 while the state is
    // looked at: a job that had already ended would no longer be stopping.
    demosite::Faults slow;
    slow.latency = std::chrono::milliseconds(400);
    site().setFaults(slow);

    startDownload(*series, resLow, window->messenger, false, env());
    // No message is handled yet, so both jobs are still attached.
    EXPECT_EQ(resState(*series, resThumb), JobState::downloading);
    EXPECT_EQ(resState(*series, resLow), JobState::downloading);
    EXPECT_EQ(resState(*series, resHigh), JobState::none);
    series->pictureJob->stopJob();
    EXPECT_EQ(resState(*series, resLow), JobState::stopping);
    series->thumbJob->stopJob();
    ASSERT_TRUE(window->runUntilFreed(2));
    site().setFaults({});

    series->scanLocalFiles();
    EXPECT_EQ(resState(*series, resLow), JobState::stopped); // stopped, picture 1 on disk
    startDownload(*series, resThumb, window->messenger, false, env());
    ASSERT_TRUE(window->runUntilFreed(1));
    series->scanLocalFiles();
    EXPECT_EQ(resState(*series, resThumb), JobState::complete);
    EXPECT_LT(picturesOnDisk(*series, resLow, g.announcedPhotos), g.announcedPhotos);

    series->deletePictures(resLow);
    EXPECT_EQ(picturesOnDisk(*series, resLow, g.announcedPhotos), 0);
    EXPECT_EQ(series->loadedCountOf(resLow), 0);
    EXPECT_EQ(picturesOnDisk(*series, resThumb, g.announcedPhotos), g.announcedPhotos);
    series->scanLocalFiles();
    EXPECT_EQ(resState(*series, resLow), JobState::none);
}

TEST_F(SeriesDownloadTest, DeletingAZeroBasedResolutionRemovesEveryNumber) {
    const auto& g = gallery(plain);
    const SeriesPtr series = record(g);
    putPictures(*series, resHigh, 0, g.announcedPhotos - 1);
    series->scanLocalFiles();
    ASSERT_TRUE(hasResolution(series->zeroBasedRes, resHigh));
    series->deletePictures(resHigh);
    EXPECT_TRUE(fs::is_empty(fs::path(series->localResolutionFolder(resHigh))));
}

TEST_F(SeriesDownloadTest, FetchLogosStoresMissingCovers) {
    const auto& g = gallery(plain);
    const SeriesPtr series = record(g);
    fetchLogos(*series, true, false, context().fetchEnv());
    EXPECT_GT(fs::file_size(series->localLogoFile(true)), 0U);
    EXPECT_FALSE(fs::exists(series->localLogoFile(false)));
    fetchLogos(*series, true, true, context().fetchEnv());
    EXPECT_GT(fs::file_size(series->localLogoFile(false)), 0U);
    EXPECT_EQ(requestsFor("cover"), 1U);

    const auto& moved = gallery([](const demosite::Series& s) { return s.archiveOnly; });
    const SeriesPtr archived = record(moved);
    fetchLogos(*archived, true, true, context().fetchEnv());
    EXPECT_TRUE(archived->inArchive);
    EXPECT_GT(fs::file_size(local() / "archive" / "00logo" / (moved.name + "_s.jpg")), 0U);
    EXPECT_GT(fs::file_size(local() / "archive" / "00logo" / (moved.name + "_l.jpg")), 0U);
}

// A series that answers only under the archive address: its files stay
// together, and its month's catalogue brings back the same series, still
// switched, with everything found.
TEST_F(SeriesDownloadTest, AnArchiveOnlySeriesSurvivesASaveAndAnotherRun) {
    const auto& g = gallery([](const demosite::Series& s) { return s.archiveOnly; });
    const SeriesPtr series = record(g);
    startDownload(*series, resLow, window->messenger, false, env());
    ASSERT_TRUE(window->runUntilFreed(2));
    startLogoDownload(*list, window->messenger, false, env());
    ASSERT_TRUE(window->runUntilFreed(1));
    ASSERT_TRUE(series->inArchive);
    // Both jobs met the dated address gone at picture 1, at the same time.
    EXPECT_EQ(picturesOnDisk(*series, resLow, g.announcedPhotos), g.announcedPhotos);
    EXPECT_EQ(picturesOnDisk(*series, resThumb, g.announcedPhotos), g.announcedPhotos);
    EXPECT_EQ(series->localSeriesFolder(), (local() / "archive" / g.name).string());
    EXPECT_FALSE(fs::exists(local() / yearFolderName(g.year) / g.name));

    list->save();
    const std::string text = readBytes(list->csvPath());
    EXPECT_THAT(text, HasSubstr("/members/gallery/" + yearFolderName(g.year) + "/" + g.name));
    EXPECT_THAT(text, Not(HasSubstr("_archive")));

    AppContext later(session->folder.path() / "ZObrowser.ini", session->prompt);
    const auto reread = std::make_shared<monthlyArtList>(later.loadedArchives, g.year, g.month);
    ASSERT_TRUE(reread->load());
    ASSERT_EQ(reread->size(), 1U);
    const SeriesRec& back = *reread->item(0);
    EXPECT_EQ(back.name, g.name);
    EXPECT_EQ(back.year, g.year);
    EXPECT_EQ(back.month, g.month);
    EXPECT_TRUE(back.inArchive);
    EXPECT_EQ(back.seriesUrl(), series->seriesUrl());
    EXPECT_EQ(back.loadedRes, withResolution(withResolution(0, resLow), resThumb));
    EXPECT_GT(fs::file_size(back.localLogoFile(true)), 0U);
    EXPECT_GT(fs::file_size(back.localLogoFile(false)), 0U);
}

} // namespace
} // namespace zob::dltest
