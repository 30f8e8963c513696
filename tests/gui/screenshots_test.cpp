// What a user sees of the main window, saved under build/screenshots.

#include "gui/browserfixture.h"
#include "testsupport/screenshots.h"

#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <gtest/gtest.h>

namespace zob::testing {
namespace {

class ScreenshotTest : public BrowserFixture {};

TEST_F(ScreenshotTest, TheThreeTabsOfTheMainWindow) {
    writeOnlineSettings();
    start();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    // The best-of list fills more of the wall than one demo month.
    QAction* bestOf = findAction(part<QMenu>(window(), "mArchive"), "Be&st of ZEL");
    ASSERT_NE(bestOf, nullptr);
    window().navigator().archiveMenuSelect(*bestOf);
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    window().resize(590, 730);
    QTest::qWait(50);
    imageView(window())->monthSmallLogoImgClick(1);
    window().statusBar()->showMessage(imageView(window())->tile(1)->statusTip());
    const QString image = saveScreenshot(window(), "main_image_view");
    EXPECT_FALSE(QImage(image).isNull());

    mainTab(window())->setCurrentWidget(listView(window()));
    listView(window())->sortArchiveGrid(4);
    QTest::qWait(50);
    saveScreenshot(window(), "main_list_view");

    mainTab(window())->setCurrentWidget(contentsView(window()));
    QTest::qWait(50);
    saveScreenshot(window(), "main_contents_view");

    mainTab(window())->setCurrentWidget(imageView(window()));
    part<QLineEdit>(window(), "filterField")->setText("an");
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    QTest::qWait(50);
    saveScreenshot(window(), "main_filter_in_use");
}

} // namespace
} // namespace zob::testing
