// Downloads on a machine and a site where things go wrong: only the site
// saying a picture does not exist may shorten a series; a full disk or a busy
// site must never cost the pictures after it for good.
#include "app/downloadevents.h"
#include "download/dltesting.h"
#include "download/downloadfile.h"
#include "download/seriesdownload.h"
#include "site/sitenames.h"

#include <gmock/gmock.h>

namespace zob::dltest {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

class DownloadFaults : public DlTest {
protected:
    // Every file in `folder` whose name starts with a dot: temporary files.
    static std::vector<std::string> hiddenFiles(const fs::path& folder) {
        std::vector<std::string> names;
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            if (it->path().filename().string().starts_with('.')) {
                names.push_back(it->path().filename().string());
            }
        }
        return names;
    }
    // The requests of a run that ends with picture `last`: the pictures
    // after it that were already being fetched side by side count too.
    static std::size_t alreadyUnderWay(int last) {
        return static_cast<std::size_t>(last) + ImageGetThread::picturesInHand() - 1;
    }
    const demosite::Series& roomy() {
        return gallery(
            [](const demosite::Series& s) { return plain(s) && s.announcedPhotos >= 8; });
    }
};

TEST_F(DownloadFaults, ALocalWriteErrorStopsTheResolutionAndKeepsTheCount) {
    const auto& g = roomy();
    for (const std::int32_t count : {g.announcedPhotos, photoCountUnknown}) {
        const SeriesPtr series = record(g);
        series->photoCount = count;
        site().clearRequests();
        session->prompt.clear();
        window->received.clear();
        {
            const FileSizeLimit diskFull(64);
            runJob(series, resLow);
        }
        EXPECT_EQ(series->photoCount.load(), count) << "a full disk is no missing picture";
        EXPECT_THAT(window->of(WM_updateSpec), IsEmpty());
        EXPECT_THAT(window->of(WM_loadedLarge), IsEmpty());
        EXPECT_LE(requestsFor("/lores/"), alreadyUnderWay(1))
            << "the pictures after it would fail the same way";
        EXPECT_THAT(shownTexts(), Contains(HasSubstr("File too large")));
        EXPECT_THAT(hiddenFiles(series->localResolutionFolder(resLow)), IsEmpty());
    }
}

TEST_F(DownloadFaults, AFailedRenameIsAnErrorNeverAStoredPicture) {
    const auto& g = roomy();
    const SeriesPtr series = record(g);
    // A folder where picture 2 should go: the rename onto it fails.
    fs::create_directories(fs::path(series->localPictureFile(resLow, 2)) / "in-the-way");

    runJob(series, resLow);

    EXPECT_THAT(window->numbersOf(WM_loadedLarge), ElementsAre(1));
    EXPECT_THAT(shownTexts(), Contains(AllOf(StartsWith("Error occured. err #0/Fn=" +
                                                        series->localPictureFile(resLow, 2)),
                                             HasSubstr("cannot store the file: Is a directory"))));
    EXPECT_LE(requestsFor("/lores/"), alreadyUnderWay(2));
    EXPECT_EQ(series->photoCount.load(), g.announcedPhotos);
    EXPECT_THAT(window->of(WM_updateSpec), IsEmpty());
}

TEST_F(DownloadFaults, ASiteFailureSkipsOnlyThatPictureAndNeverCutsTheCount) {
    const auto& g = roomy();
    const SeriesPtr series = record(g);
    // Three failures in a row, none of them a "not found".
    demosite::Faults faults;
    faults.fixedAnswers[g.picturePath(demosite::resLow, 2)] = {503, "busy"};
    faults.fixedAnswers[g.picturePath(demosite::resLow, 3)] = {200, "<html>an error page</html>"};
    faults.fixedAnswers[g.picturePath(demosite::resLow, 4)] = {500, "oops"};
    site().setFaults(faults);

    runJob(series, resLow);

    EXPECT_EQ(series->photoCount.load(), g.announcedPhotos);
    EXPECT_THAT(window->of(WM_updateSpec), IsEmpty());
    EXPECT_EQ(picturesOnDisk(*series, resLow, g.announcedPhotos), g.announcedPhotos - 3);
    EXPECT_FALSE(fs::exists(series->localPictureFile(resLow, 3))) << "an error page is no picture";
    EXPECT_THAT(shownTexts(), Contains(HasSubstr(", not a picture")));
    EXPECT_EQ(window->numbersOf(WM_loadedLarge).size(),
              static_cast<std::size_t>(g.announcedPhotos - 3));

    // A site that fails every picture is given up on, the count left alone.
    const SeriesPtr unknown = record(g);
    unknown->photoCount = photoCountUnknown;
    demosite::Faults down;
    for (int n = 1; n <= 2 * ImageGetThread::siteFailureLimit; ++n) {
        down.fixedAnswers[g.picturePath(demosite::resHigh, n)] = {503, "down"};
    }
    site().setFaults(down);
    site().clearRequests();
    runJob(unknown, resHigh);
    EXPECT_EQ(unknown->photoCount.load(), photoCountUnknown);
    EXPECT_LE(requestsFor("/hires/ZEL-ORA"), alreadyUnderWay(ImageGetThread::siteFailureLimit));
}

// The thumbnail job and a mid-resolution job of a series without mid-res
// pictures run side by side: the picture job tries the archive for picture 1
// while the thumbnail job keeps fetching. Not one thumbnail may go astray.
TEST_F(DownloadFaults, TryingTheArchiveNeverMisleadsTheSeriesOtherJob) {
    const auto& g = gallery([](const demosite::Series& s) { return s.noMidRes; });
    for (int round = 0; round < 8; ++round) {
        fs::remove_all(local());
        const SeriesPtr series = record(g);
        startDownload(*series, resMid, window->messenger, false, env());
        ASSERT_TRUE(window->runUntilFreed(2));
        EXPECT_FALSE(series->inArchive.load());
        EXPECT_EQ(picturesOnDisk(*series, resThumb, g.announcedPhotos), g.announcedPhotos)
            << "round " << round << ": " << ::testing::PrintToString(shownTexts());
        EXPECT_FALSE(fs::exists(local() / "archive")) << "round " << round;
    }
}

TEST_F(DownloadFaults, TemporaryFilesAreUniqueHiddenBesideTheirFileAndLeftoversGo) {
    const auto& g = roomy();
    const SeriesPtr series = record(g);
    const std::string picture = series->localPictureFile(resLow, 1);
    {
        DownloadFile first(picture);
        DownloadFile second(picture);
        ASSERT_TRUE(first.append("\xFF\xD8\xFF") && second.append("\xFF\xD8\xFF"));
        EXPECT_NE(first.temporaryPath(), second.temporaryPath());
        EXPECT_EQ(fs::path(first.temporaryPath()).parent_path(), fs::path(picture).parent_path());
        EXPECT_THAT(fs::path(first.temporaryPath()).filename().string(),
                    StartsWith("." + fs::path(picture).filename().string() + "."));
    }
    // What a run that died left behind goes when the series is downloaded again.
    const fs::path lores = series->localResolutionFolder(resLow);
    const fs::path stale = lores / ("." + fs::path(picture).filename().string() + ".1-7.part");
    fs::create_directories(lores);
    writeBytes(stale, "half a picture");
    startDownload(*series, resLow, window->messenger, false, env());
    ASSERT_TRUE(window->runUntilFreed(2));
    EXPECT_THAT(hiddenFiles(lores), IsEmpty());
    EXPECT_THAT(hiddenFiles(series->localSeriesFolder()), IsEmpty());
    EXPECT_EQ(picturesOnDisk(*series, resLow, g.announcedPhotos), g.announcedPhotos);
}

TEST_F(DownloadFaults, AFolderPictureThatCannotBeWrittenIsTold) {
    const auto& g = roomy();
    const SeriesPtr series = record(g);
    fetchLogos(*series, true, true, context().fetchEnv());
    putPictures(*series, resLow, 1, g.announcedPhotos);
    fs::create_directories(fs::path(series->folderPictureFile()) / "in-the-way");

    pictureJobEnded(*series, session->prompt);

    EXPECT_THAT(shownTexts(), ElementsAre(HasSubstr("The folder picture was not stored")));
}

} // namespace
} // namespace zob::dltest
