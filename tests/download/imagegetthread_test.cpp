#include "download/dltesting.h"
#include "site/sitenames.h"

#include <gmock/gmock.h>

namespace zob::dltest {
namespace {

using ::testing::Contains;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::StartsWith;

std::vector<std::int32_t> upTo(int last, const std::vector<int>& except = {}) {
    std::vector<std::int32_t> numbers;
    for (int n = 1; n <= last; ++n) {
        if (std::find(except.begin(), except.end(), n) == except.end()) {
            numbers.push_back(n);
        }
    }
    return numbers;
}

class ImageGetThreadTest : public DlTest {};

TEST_F(ImageGetThreadTest, PicturesOnDiskAreAnnouncedWithoutAnyFetch) {
    const auto& g = gallery(plain);
    const SeriesPtr series = record(g);
    const int count = g.announcedPhotos;
    putPictures(*series, resLow, 1, count);

    runJob(series, resLow);

    EXPECT_THAT(window->numbersOf(WM_loadedLarge), ElementsAreArray(upTo(count)));
    EXPECT_EQ(logCount("* data exists."), static_cast<std::size_t>(count));
    EXPECT_EQ(requestsFor("/lores/"), 0U);
    EXPECT_EQ(series->loadedCountOf(resLow), count);
    EXPECT_EQ(series->loadingRes.load(), 0);
    EXPECT_EQ(series->partialRes.load(), 0);
    EXPECT_EQ(window->of(WM_loadedLargeAll).size(), 1U);
}

TEST_F(ImageGetThreadTest, FetchesIntoTheLocalLayoutAndReplacesAnEmptyLeftover) {
    const auto& g = gallery(plain);
    const SeriesPtr series = record(g);
    const int count = g.announcedPhotos;
    putPictures(*series, resLow, 1, 1);
    const fs::path emptyLeftover = series->localPictureFile(resLow, 2);
    writeBytes(emptyLeftover, "");

    runJob(series, resLow);
    runJob(series, resThumb);

    const fs::path folder = local() / yearFolderName(g.year) / g.name;
    for (int n = 1; n <= count; ++n) {
        EXPECT_GT(fs::file_size(folder / "lores" / pictureFileName(g.key, n)), 0U) << n;
        EXPECT_GT(fs::file_size(folder / localThumbnailFileName(g.key, n)), 0U) << n;
    }
    EXPECT_NE(readBytes(emptyLeftover), "");
    EXPECT_EQ(requestsFor("/lores/"), static_cast<std::size_t>(count - 1));
    EXPECT_THAT(window->numbersOf(WM_loadedLarge), ElementsAreArray(upTo(count)));
    EXPECT_THAT(window->numbersOf(WM_loadedThumb), ElementsAreArray(upTo(count)));
    EXPECT_EQ(series->photoCount.load(), count);
    // No temporary file stays behind in the year folder.
    for (const auto& entry : fs::directory_iterator(local() / yearFolderName(g.year))) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
    EXPECT_THAT(session->prompt.shown(), IsEmpty());
    const auto log = downloadtest::logTexts(context().debugLog);
    EXPECT_THAT(log, Contains("* data OK.(after repJob)"));
    EXPECT_THAT(log, Contains("* getHtml start:" + series->pictureUrl(resLow, 2)));
}

TEST_F(ImageGetThreadTest, MissingLastPicturesCutTheCount) {
    const auto& g = gallery([](const demosite::Series& s) { return s.lastPicturesMissing; });
    const SeriesPtr series = record(g);
    const int present = g.existingPictures[demosite::resLow];
    ASSERT_LT(present, g.announcedPhotos);

    runJob(series, resLow);

    EXPECT_EQ(series->photoCount.load(), present);
    ASSERT_EQ(window->of(WM_updateSpec).size(), 1U);
    EXPECT_EQ(window->of(WM_updateSpec)[0].series, series);
    EXPECT_THAT(window->numbersOf(WM_loadedLarge), ElementsAreArray(upTo(present)));
    EXPECT_EQ(picturesOnDisk(*series, resLow, g.announcedPhotos), present);
    EXPECT_EQ(logCount("= spec update & quit"), 1U);
    EXPECT_EQ(series->loadingRes.load(), 0);
}

TEST_F(ImageGetThreadTest, FailureGapsShorterThanThreeDoNotCutButThreeDo) {
    const auto& g =
        gallery([](const demosite::Series& s) { return plain(s) && s.announcedPhotos >= 12; });
    const SeriesPtr series = record(g);
    demosite::Faults faults;
    for (const int n : {5, 6, 8, 9, 10}) {
        faults.fixedAnswers[g.picturePath(demosite::resLow, n)] = {404, "gone"};
    }
    site().setFaults(faults);

    runJob(series, resLow);

    // 5 and 6 fail, 7 resets the run of failures, 8 to 10 cut back to 7.
    EXPECT_EQ(series->photoCount.load(), 7);
    EXPECT_THAT(window->numbersOf(WM_loadedLarge), ElementsAreArray(upTo(7, {5, 6})));
    EXPECT_EQ(window->of(WM_updateSpec).size(), 1U);
    EXPECT_EQ(picturesOnDisk(*series, resLow, 12), 5);
    EXPECT_EQ(logCount("* 404Err:5"), 1U);
    EXPECT_EQ(series->loadedCountOf(resLow), 9); // the job that cut is not counted

    // A gap of two alone leaves the count alone.
    const SeriesPtr again = record(g);
    site().setFaults({});
    again->photoCount = g.announcedPhotos;
    demosite::Faults gap;
    gap.fixedAnswers[g.picturePath(demosite::resHigh, 2)] = {404, "gone"};
    gap.fixedAnswers[g.picturePath(demosite::resHigh, 3)] = {404, "gone"};
    site().setFaults(gap);
    window->received.clear();
    runJob(again, resHigh);
    EXPECT_EQ(again->photoCount.load(), g.announcedPhotos);
    EXPECT_THAT(window->numbersOf(WM_loadedLarge),
                ElementsAreArray(upTo(g.announcedPhotos, {2, 3})));
    EXPECT_THAT(window->of(WM_updateSpec), IsEmpty());
}

TEST_F(ImageGetThreadTest, ABodyCutOffStaysPartialUntilTheNextRunAsksForTheRest) {
    const auto& g = gallery(plain);
    const SeriesPtr series = record(g);
    demosite::Faults faults;
    faults.closeMidBodyPrefix = g.picturePath(demosite::resLow, 3);
    site().setFaults(faults);

    runJob(series, resLow);

    const fs::path third = series->localPictureFile(resLow, 3);
    const fs::path partial = third.parent_path() / ("." + third.filename().string() + ".part");
    EXPECT_FALSE(fs::exists(third));
    EXPECT_GT(fs::file_size(partial), 0U);
    EXPECT_THAT(window->numbersOf(WM_loadedLarge), ElementsAreArray(upTo(g.announcedPhotos, {3})));
    EXPECT_THAT(shownTexts(),
                Contains(StartsWith("Error occured. err #3/Fn=" + third.string() + "\r\n")));

    site().setFaults({});
    window->received.clear();
    runJob(series, resLow);
    EXPECT_GT(fs::file_size(third), 0U);
    EXPECT_FALSE(fs::exists(partial));
    EXPECT_EQ(picturesOnDisk(*series, resLow, g.announcedPhotos), g.announcedPhotos);
    const auto requests = site().requests();
    const auto last = std::find_if(requests.rbegin(), requests.rend(), [&](const auto& request) {
        return request.target.ends_with(pictureFileName(g.key, 3));
    });
    ASSERT_NE(last, requests.rend());
    EXPECT_EQ(last->status, 206) << "only the rest is asked for";
}

TEST_F(ImageGetThreadTest, NoMidResEndsTheRunWithOneMessage) {
    const auto& g = gallery([](const demosite::Series& s) { return s.noMidRes; });
    const SeriesPtr series = record(g);

    runJob(series, resMid);

    EXPECT_EQ(shownTexts(), std::vector<std::string>{"This Series doesn't have mid-res images"});
    EXPECT_THAT(window->of(WM_loadedLarge), IsEmpty());
    EXPECT_EQ(logCount("= enforce retry getHtml"), 1U);
    EXPECT_EQ(series->photoCount.load(), g.announcedPhotos);
    EXPECT_EQ(series->loadedCountOf(resMid), 0);
    EXPECT_FALSE(fs::exists(series->localPictureFile(resMid, 1)));

    // The archive had no mid-res picture 1 either, so the series did not
    // move: its thumbnails still come from its own address, all of them.
    EXPECT_FALSE(series->inArchive.load());
    window->received.clear();
    runJob(series, resThumb);
    EXPECT_THAT(window->numbersOf(WM_loadedThumb), ElementsAreArray(upTo(g.announcedPhotos)));
    EXPECT_EQ(series->photoCount.load(), g.announcedPhotos);
}

TEST_F(ImageGetThreadTest, OfflineWalksOnlyThePicturesOnDisk) {
    const auto& g =
        gallery([](const demosite::Series& s) { return plain(s) && s.announcedPhotos >= 20; });
    const SeriesPtr unknown = record(g);
    unknown->photoCount = 999;
    putPictures(*unknown, resLow, 1, 12);

    runJob(unknown, resLow, true);
    EXPECT_THAT(window->numbersOf(WM_loadedLarge), ElementsAreArray(upTo(12)));
    EXPECT_EQ(window->of(WM_updateSpec).size(), 1U);
    EXPECT_EQ(unknown->photoCount.load(), 999);

    window->received.clear();
    unknown->photoCount = 20;
    runJob(unknown, resLow, true);
    EXPECT_THAT(window->numbersOf(WM_loadedLarge), ElementsAreArray(upTo(20)));
    EXPECT_THAT(window->of(WM_updateSpec), IsEmpty());
    EXPECT_EQ(picturesOnDisk(*unknown, resLow, 20), 12);
    EXPECT_EQ(requestsFor("/members/gallery/"), 0U);
}

TEST_F(ImageGetThreadTest, AnArchiveOnlySeriesKeepsItsFilesTogether) {
    const auto& g = gallery([](const demosite::Series& s) { return s.archiveOnly; });
    const SeriesPtr series = record(g);

    runJob(series, resThumb);
    runJob(series, resLow);

    EXPECT_TRUE(series->inArchive);
    EXPECT_EQ(series->name, g.name);
    const fs::path together = local() / "archive" / g.name;
    for (int n = 1; n <= g.announcedPhotos; ++n) {
        EXPECT_GT(fs::file_size(together / localThumbnailFileName(g.key, n)), 0U) << n;
        EXPECT_GT(fs::file_size(together / "lores" / pictureFileName(g.key, n)), 0U) << n;
    }
    EXPECT_FALSE(fs::exists(local() / yearFolderName(g.year) / g.name));
    EXPECT_EQ(window->numbersOf(WM_loadedLarge).size(),
              static_cast<std::size_t>(g.announcedPhotos));
}

} // namespace
} // namespace zob::dltest
