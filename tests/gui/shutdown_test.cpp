// Closing the window: lists saved once, running downloads finish their
// picture in hand, the settings reach the file.

#include "catalogue/artlistlist.h"
#include "gui/browserfixture.h"
#include "gui/dialogs/splashform.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace zob::testing {
namespace {

class ShutdownTest : public BrowserFixture {
protected:
    void startOnline() {
        writeOnlineSettings();
        start();
        ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    }

    // A gallery (not a movie) of the current list.
    SeriesPtr aGallery() {
        for (const SeriesPtr& series : window().navigator().crntArchive()->records()) {
            if (!series->isMovie) {
                return series;
            }
        }
        return nullptr;
    }
};

TEST_F(ShutdownTest, ExitWithNothingRunningSavesAndEndsAtOnce) {
    startOnline();
    window().resize(500, 600);
    window().navigator().crntArchive()->saved = false;
    const std::filesystem::path file = window().navigator().crntArchive()->csvPath();
    std::filesystem::remove(file);

    part<QAction>(window(), "mExit")->trigger();
    EXPECT_EQ(closedCount, 1);
    EXPECT_FALSE(window().isVisible());
    EXPECT_TRUE(std::filesystem::exists(file));

    app->shutdown();
    const std::string settings = readBytes(iniPath());
    EXPECT_NE(settings.find("mainWidth=500"), std::string::npos) << settings;
    // A second shutdown changes nothing.
    app->shutdown();
}

TEST_F(ShutdownTest, CloseDuringADownloadWaitsForItAndSavesOnce) {
    startOnline();
    demosite::Faults slow;
    slow.latency = std::chrono::milliseconds(40);
    site().setFaults(slow);
    const SeriesPtr gallery = aGallery();
    ASSERT_NE(gallery, nullptr);
    window().series().openSeries(gallery, window().menus().resolution());
    ASSERT_FALSE(context().managerRegistry.empty());

    window().navigator().crntArchive()->saved = false;
    const std::filesystem::path file = window().navigator().crntArchive()->csvPath();
    EXPECT_FALSE(window().close());
    EXPECT_EQ(closedCount, 0);
    ASSERT_NE(window().splash().form(), nullptr);
    EXPECT_EQ(window().splash().form()->msg->text(), "terminating...");
    EXPECT_TRUE(std::filesystem::exists(file));

    // Saved once: what changes now is not written by the close that follows.
    std::filesystem::remove(file);
    window().navigator().crntArchive()->saved = false;
    // A second press while stopping is refused as well.
    EXPECT_FALSE(window().close());

    // The last manager's end closes the window without another action.
    ASSERT_TRUE(waitFor([this] { return closedCount == 1; }));
    site().setFaults({});
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(context().managerRegistry.empty());
    app->shutdown();
    EXPECT_EQ(context().managerRegistry.unfinished(), 0U);
}

TEST_F(ShutdownTest, AnAbandonedStartStillSavesTheSettings) {
    writeSettings("[user]\nlogin=demo\npassword=wrong\n");
    start();
    ASSERT_TRUE(window().startup().aborted());
    std::filesystem::remove(iniPath());
    app->shutdown();
    EXPECT_TRUE(std::filesystem::exists(iniPath()));
}

TEST_F(ShutdownTest, WithoutSplashNoTerminatingWindowIsShown) {
    writeOnlineSettings("noSplash=1\n");
    start();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    window().close();
    EXPECT_EQ(window().splash().form(), nullptr);
    EXPECT_EQ(closedCount, 1);
}

} // namespace
} // namespace zob::testing
