// A newcomer's first session, then the same member offline the next day.

#include "catalogue/artlistlist.h"
#include "gui/browserfixture.h"
#include "gui/views/contentsview.h"
#include "gui/views/imageform.h"
#include "testsupport/screenshots.h"

#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace zob::testing {
namespace {

class NewcomerTest : public BrowserFixture {
protected:
    QAction* menuEntry(const SeriesPtr& series, int position) {
        window().series().buildSeriesPopup(series);
        QAction* action = window().series().archivePopup()->actions().at(position);
        if (action->menu() != nullptr) {
            action = action->menu()->actions().first();
        }
        return action;
    }
    SeriesPtr seriesNamed(const std::string& name) {
        for (const SeriesPtr& series : window().navigator().crntArchive()->records()) {
            if (series->name == name) {
                return series;
            }
        }
        return nullptr;
    }
    bool downloadsEnded(const SeriesPtr& series) {
        return !series->thumbJob && !series->pictureJob &&
               context().managerRegistry.unfinished() == 0;
    }
};

TEST_F(NewcomerTest, PickOpenFavorSearchThenFindItAllAgainOffline) {
    writeOnlineSettings();
    start();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));

    // A month from the Archive menu.
    window().navigator().archiveMenuSelect(*archiveEntry("2008/02"));
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    SeriesPtr chosen;
    for (const SeriesPtr& series : window().navigator().crntArchive()->records()) {
        if (!series->isMovie) {
            chosen = series;
            break;
        }
    }
    ASSERT_NE(chosen, nullptr);
    const std::string name = chosen->name;
    const int photos = chosen->photoCount.load();

    // Low resolution from the series menu, watched to the end.
    QAction* download = menuEntry(chosen, 2);
    ASSERT_EQ(download->text(), "Download &low-res pics");
    download->trigger();
    ASSERT_TRUE(waitFor([&] { return downloadsEnded(chosen); }));
    EXPECT_EQ(contentsView(window())->thumbnailCount(), static_cast<std::size_t>(photos));
    EXPECT_EQ(chosen->statusText().substr(0, 4), "TL--");

    // Into the favorites, then the same model's series from the site.
    if (chosen->statusText().find('F') == std::string::npos) {
        menuEntry(chosen, 7)->trigger();
    }
    EXPECT_NE(chosen->statusText().find('F'), std::string::npos);
    menuEntry(chosen, 10)->trigger();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    EXPECT_EQ(window().navigator().crntArchive()->caption(),
              "Search model:" + chosen->modelName(1));
    EXPECT_NE(seriesNamed(name), nullptr);

    window().close();
    ASSERT_EQ(closedCount, 1);
    app->shutdown();
    app.reset();
    chosen.reset();

    // The next day, offline: the same series, its files and its marks, from disk.
    std::string settings = readBytes(iniPath());
    const auto env = settings.find("[env]");
    settings.insert(settings.find('\n', env) + 1, "offline=1\n");
    writeBytes(iniPath(), settings);
    site().clearRequests();
    start();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    EXPECT_TRUE(context().offlineMode);
    QAction* february = archiveEntry("2008/02 *");
    ASSERT_NE(february, nullptr);
    window().navigator().archiveMenuSelect(*february);
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    const SeriesPtr again = seriesNamed(name);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->statusText(), "TL--F");
    EXPECT_TRUE(std::filesystem::exists(again->localPictureFile(resLow, photos)));
    window().series().openSeries(again, resLow);
    ASSERT_TRUE(waitFor([&] { return downloadsEnded(again); }));
    EXPECT_EQ(contentsView(window())->thumbnailCount(), static_cast<std::size_t>(photos));
    EXPECT_TRUE(site().requests().empty());

    // What the user sees now: the contents, the side viewer, the menu.
    window().resize(590, 730);
    QTest::qWait(50);
    saveScreenshot(window(), "contents_tab");
    app->imageForm().setImage(again->localPictureFile(resLow, 3));
    app->imageForm().show();
    QTest::qWait(50);
    saveScreenshot(app->imageForm(), "side_viewer_with_picture");
    mainTab(window())->setCurrentWidget(imageView(window()));
    window().series().buildSeriesPopup(again);
    QMenu* menu = window().series().archivePopup();
    menu->popup(window().mapToGlobal(QPoint(60, 200)));
    QTest::qWait(50);
    QPixmap shot = window().grab();
    {
        QPainter painter(&shot);
        painter.drawPixmap(window().mapFromGlobal(menu->pos()), menu->grab());
    }
    QLabel composed;
    composed.setPixmap(shot);
    composed.resize(shot.size());
    saveScreenshot(composed, "series_menu_over_tile");
    menu->hide();
}

} // namespace
} // namespace zob::testing
