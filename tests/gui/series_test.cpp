// Opening series, their menu and its commands, on the demo site.

#include "catalogue/artlistlist.h"
#include "catalogue/memberlists.h"
#include "download/seriesdownload.h"
#include "gui/browserfixture.h"
#include "gui/views/contentsview.h"
#include "gui/views/imageform.h"
#include "gui/views/loadstatstrip.h"
#include "gui/views/tilegeometry.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QUrl>
#include <gtest/gtest.h>

namespace zob::testing {
namespace {

class SeriesTest : public BrowserFixture {
protected:
    void startOnline(const std::string& debugKeys = {}) {
        writeOnlineSettings(debugKeys);
        makeBrowser();
        window().show();
        window().FormActivate();
        ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    }

    // The first gallery (not a movie) of the current list, with its index.
    std::pair<SeriesPtr, std::size_t> gallery() {
        const std::vector<SeriesPtr>& records = window().navigator().crntArchive()->records();
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (!records[i]->isMovie) {
                return {records[i], i};
            }
        }
        return {nullptr, 0};
    }

    bool downloadsEnded(const SeriesPtr& series) {
        return !series->thumbJob && !series->pictureJob &&
               context().managerRegistry.unfinished() == 0;
    }

    // The series menu as the right mouse button would open it.
    QMenu& menuFor(const SeriesPtr& series) {
        window().series().buildSeriesPopup(series);
        return *window().series().archivePopup();
    }
    static QAction* entry(QMenu& menu, int position) { return menu.actions().at(position); }
};

TEST_F(SeriesTest, OpeningAGalleryFillsItsContentsAndTheStripGoesWhenDone) {
    startOnline();
    const auto [series, index] = gallery();
    ASSERT_NE(series, nullptr);
    window().series().openSeries(series, resLow);
    EXPECT_EQ(mainTab(window())->currentWidget(), contentsView(window()));
    EXPECT_EQ(contentsView(window())->contentsSeries(), series);
    EXPECT_EQ(contentsView(window())->ImageTitleLabel->text(),
              QString::fromStdString(series->title));
    EXPECT_EQ(window().loadStatStrips().size(), 1U);
    EXPECT_EQ(window().loadStatStrips().strip(0)->series(), series);

    ASSERT_TRUE(waitFor([&] { return downloadsEnded(series); }));
    const int count = series->photoCount.load();
    EXPECT_EQ(contentsView(window())->thumbnailCount(), static_cast<std::size_t>(count));
    // Each thumbnail sits in the cell of its own picture number.
    const int columns = contentsView(window())->columns();
    for (int n = 1; n <= count; ++n) {
        const ThumbTile* thumb = contentsView(window())->thumbnailOf(n);
        ASSERT_NE(thumb, nullptr) << n;
        const QRect cell = tileRectFor(n - 1, columns, 140, 140, 5);
        EXPECT_EQ(thumb->geometry().topLeft(), cell.topLeft()) << n;
    }
    EXPECT_EQ(window().loadStatStrips().size(), 0U);
    EXPECT_TRUE(std::filesystem::exists(series->folderPictureFile()));
    EXPECT_EQ(series->statusText().substr(0, 2), "TL");
    EXPECT_EQ(window().menus().threadStatusText(), "");
}

TEST_F(SeriesTest, ASecondOpenWhilePicturesDownloadIsRefused) {
    startOnline();
    const SeriesPtr series = gallery().first;
    demosite::Faults slow;
    slow.latency = std::chrono::milliseconds(30);
    site().setFaults(slow);
    window().series().openSeries(series, resLow);
    ASSERT_NE(series->pictureJob, nullptr);
    prompt.clear();
    window().series().openSeries(series, resLow);
    EXPECT_EQ(prompt.shown(), (std::vector<ScriptedPrompt::Shown>{
                                  {ScriptedPrompt::Kind::Message, "",
                                   "Cannot Download now. Please wait", PromptAnswer::Ok}}));

    // While it downloads, the menu offers only to stop it.
    QMenu& menu = menuFor(series);
    EXPECT_EQ(entry(menu, 2)->text(), "Stop or Delete &low-res pics");
    EXPECT_TRUE(entry(menu, 2)->isEnabled());
    EXPECT_FALSE(entry(menu, 3)->isEnabled());

    // Stop or Delete answered No stops and keeps every file.
    ASSERT_TRUE(waitFor([this] { return contentsView(window())->thumbnailCount() > 0; }));
    prompt.script({PromptAnswer::No});
    entry(menu, 2)->trigger();
    ASSERT_TRUE(waitFor([&] { return downloadsEnded(series); }));
    site().setFaults({});
    EXPECT_EQ(prompt.shown().back().title, "confirmation");
    EXPECT_EQ(prompt.shown().back().text,
              "Are you sure to Stop&Delete ALL PICTURES?\rYES\tStop and Delete\rNO\tOnly Stop "
              "Downloading\rCANCEL\tContinue to Download");
    // The pictures in hand were finished and kept; the rest never came.
    series->recountFiles();
    EXPECT_GT(series->loadedCountOf(resThumb) + series->loadedCountOf(resLow), 0);
    EXPECT_LT(series->loadedCountOf(resLow), series->photoCount.load());
}

TEST_F(SeriesTest, StopOrDeleteAnsweredYesAlsoRemovesThePictures) {
    startOnline();
    const SeriesPtr series = gallery().first;
    demosite::Faults slow;
    slow.latency = std::chrono::milliseconds(30);
    site().setFaults(slow);
    window().series().openSeries(series, resLow);
    QMenu& menu = menuFor(series);
    // Cancel leaves the download running.
    prompt.script({PromptAnswer::Cancel, PromptAnswer::Yes});
    entry(menu, 2)->trigger();
    EXPECT_NE(series->pictureJob, nullptr);
    EXPECT_EQ(resState(*series, resLow), JobState::downloading);
    entry(menuFor(series), 2)->trigger();
    ASSERT_TRUE(waitFor([&] { return downloadsEnded(series); }));
    site().setFaults({});
    series->recountFiles();
    EXPECT_EQ(series->loadedCountOf(resLow), 0);
    EXPECT_EQ(series->loadedCountOf(resThumb), 0);
    EXPECT_EQ(series->statusText().substr(0, 4), "----");
}

TEST_F(SeriesTest, CompleteLowResolutionMenuAndDeleteAll) {
    startOnline();
    const SeriesPtr series = gallery().first;
    window().series().openSeries(series, resLow);
    ASSERT_TRUE(waitFor([&] { return downloadsEnded(series); }));

    QMenu& menu = menuFor(series);
    EXPECT_EQ(entry(menu, 0)->text(), QString::fromStdString("open URL: " + series->title));
    EXPECT_EQ(entry(menu, 2)->text(), "**DELETE** &low-res pics");
    EXPECT_NE(menu.defaultAction(), entry(menu, 2));
    EXPECT_EQ(entry(menu, 5)->text(), "**DELETE** ALL PICS");
    ASSERT_EQ(menu.actions().size(), 13);
    EXPECT_EQ(entry(menu, 12)->text(), "Show &pics");
    EXPECT_EQ(menu.defaultAction(), entry(menu, 12));
    // Opened twice, "Show &pics" is still there once.
    QMenu& again = menuFor(series);
    EXPECT_EQ(again.actions().size(), 13);

    // Delete answered Yes on "ALL PICS" removes all four resolutions.
    prompt.script({PromptAnswer::Yes});
    entry(again, 5)->trigger();
    EXPECT_EQ(prompt.shown().back().text, "Are you sure to DELETE pictures?");
    EXPECT_EQ(series->statusText().substr(0, 4), "----");
    EXPECT_FALSE(std::filesystem::exists(series->localPictureFile(resLow, 1)));
}

TEST_F(SeriesTest, FavoritesAreAddedAndRemovedOnTheSiteAndMarkTheTile) {
    startOnline();
    const auto [series, index] = gallery();
    const auto& favorites = context().loadedArchives.favoriteList;
    const bool wasFavorite = favorites->indexOfName(*series) >= 0;
    QMenu& menu = menuFor(series);
    site().clearRequests();
    entry(menu, 7)->trigger();
    const bool nowFavorite = favorites->indexOfName(*series) >= 0;
    EXPECT_NE(nowFavorite, wasFavorite);
    const std::vector<demosite::LoggedRequest> requests = site().requests();
    EXPECT_TRUE(std::any_of(requests.begin(), requests.end(), [&](const auto& request) {
        return request.target.find(wasFavorite ? "remove=" : "add=") != std::string::npos;
    }));
    EXPECT_EQ(series->statusText().find('F') != std::string::npos, nowFavorite);
    EXPECT_EQ(menuFor(series).actions().at(7)->text(),
              nowFavorite ? "Remove from My Favorite" : "Add to My Favorite");
    // The tile was drawn again with its mark.
    EXPECT_FALSE(imageView(window())->tile(index)->image().isNull());

    entry(menuFor(series), 8)->trigger();
    EXPECT_NE(series->statusText().find('B'), std::string::npos);
    entry(menuFor(series), 8)->trigger();
    EXPECT_EQ(series->statusText().find('B'), std::string::npos);
}

TEST_F(SeriesTest, CopyTakesTheSelectedTilesOrThumbnailsAddress) {
    startOnline();
    const auto [series, index] = gallery();
    imageView(window())->monthSmallLogoImgClick(index);
    window().series().copySelection();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), series->resolutionUrl(resLow));

    window().series().openSeries(series, resLow);
    ASSERT_TRUE(waitFor([&] { return downloadsEnded(series); }));
    contentsView(window())->SeriesImgClick(2);
    EXPECT_TRUE(part<QAction>(window(), "mCopy")->isEnabled());
    window().series().copySelection();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), series->pictureHtmlUrl(resLow, 3));
}

TEST_F(SeriesTest, SearchingTheSameModelOnlineThenOffline) {
    startOnline();
    const SeriesPtr series = gallery().first;
    QMenu& menu = menuFor(series);
    QAction* model = entry(menu, 10);
    if (model->menu() != nullptr) {
        model = model->menu()->actions().first();
    }
    model->trigger();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    const std::string caption = "Search model:" + series->modelName(1);
    ASSERT_NE(window().navigator().crntArchive(), nullptr);
    EXPECT_EQ(window().navigator().crntArchive()->caption(), caption);
    EXPECT_FALSE(window().navigator().crntArchive()->empty());
    EXPECT_EQ(window().navigator().browseHistory()->entries().front().list,
              window().navigator().crntArchive());

    // Offline, the same search scans the local catalogues.
    QTest::mouseDClick(part<QLabel>(window(), "modeStr"), Qt::LeftButton);
    ASSERT_TRUE(context().offlineMode);
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    site().clearRequests();
    QAction* again = entry(menuFor(series), 10);
    if (again->menu() != nullptr) {
        again = again->menu()->actions().first();
    }
    EXPECT_TRUE(again->isEnabled());
    again->trigger();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    EXPECT_EQ(window().navigator().crntArchive()->caption(), caption);
    EXPECT_TRUE(site().requests().empty());
}

} // namespace
} // namespace zob::testing
