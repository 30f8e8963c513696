// What a real X server shows of the splash: these tests run under Xvfb, where
// a window that was never exposed stays black whatever the widget drew.

#include "gui/browserfixture.h"
#include "gui/dialogs/splashform.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

namespace zob::testing {
namespace {

// The screen as the X server has it, and how much of `area` is the splash's
// cream and how much is its dark text.
struct SplashPixels {
    QImage screen;
    int cream = 0;
    int dark = 0;
};

SplashPixels grabSplash(const QRect& area) {
    SplashPixels pixels;
    pixels.screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor colour = pixels.screen.pixelColor(x, y);
            if (colour == QColor(255, 251, 240)) {
                ++pixels.cream;
            } else if (colour.lightness() < 80) {
                ++pixels.dark;
            }
        }
    }
    return pixels;
}

void saveShot(const QImage& screen, const QString& name) {
    const QString folder = QStringLiteral(ZOB_BINARY_DIR "/screenshots");
    QDir().mkpath(folder);
    screen.save(folder + "/" + name + ".png");
}

class XServerTest : public BrowserFixture {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") {
            GTEST_SKIP() << "needs an X server";
        }
        BrowserFixture::SetUp();
    }
};

TEST_F(XServerTest, TheFirstMessageIsOnScreenBeforeTheEventLoopRunsAgain) {
    TsplashForm splash;
    splash.setMessage("loading (get monthly archive...)");
    // No event is handled between the message and the grab.
    const SplashPixels pixels = grabSplash(splash.geometry());
    const int area = splash.width() * splash.height();
    EXPECT_GT(pixels.cream, area / 2);
    EXPECT_GT(pixels.dark, 100); // the message's letters
}

TEST_F(XServerTest, TheSplashIsPaintedWhileASlowPageLoads) {
    writeOnlineSettings();
    start();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    demosite::Faults slow;
    slow.latency = std::chrono::milliseconds(2'000);
    site().setFaults(slow);

    SplashPixels pixels;
    QRect area;
    QTimer::singleShot(700, &window(), [&] {
        if (const TsplashForm* splash = window().splash().form()) {
            area = splash->geometry();
            pixels = grabSplash(area);
        }
        QTest::keyClick(&window(), Qt::Key_Escape);
    });
    window().navigator().archiveMenuSelect(*archiveEntry("2008/02"));

    ASSERT_FALSE(pixels.screen.isNull()) << "no splash during the load";
    saveShot(pixels.screen, "splash_slow_load");
    EXPECT_GT(pixels.cream, area.width() * area.height() / 2);
    EXPECT_GT(pixels.dark, 100);
}

} // namespace
} // namespace zob::testing
