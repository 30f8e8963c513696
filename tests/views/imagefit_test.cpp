#include "gui/views/imagefit.h"

#include <gtest/gtest.h>

namespace {

using namespace zob::imagefit;

TEST(ImageFitTest, PictureFitsTheAreaBelowThePanel) {
    // A window of ratio 62 is not wider than a picture of 66: the width decides.
    EXPECT_EQ(fitToArea({800, 1200}, {525, 862}), QRect(0, 20, 525, 787));
    // Wider than the picture: the height decides.
    EXPECT_EQ(fitToArea({800, 1200}, {525, 675}), QRect(0, 20, 436, 655));
    EXPECT_EQ(fitToArea({4000, 6000}, {525, 675}), QRect(0, 20, 436, 655));
    // A landscape picture in a tall window.
    EXPECT_EQ(fitToArea({1200, 800}, {525, 862}), QRect(0, 20, 525, 350));
}

TEST(ImageFitTest, RatiosCompareInWholePercent) {
    // 500 / 749 and 1000 / 1500 are both 66 percent, so the width decides and
    // the picture runs one pixel past the area, as it always has.
    EXPECT_EQ(fitToArea({1000, 1500}, {500, 769}), QRect(0, 20, 500, 750));
}

TEST(ImageFitTest, WindowSqueezedToThePanelDoesNotDivideByZero) {
    EXPECT_EQ(fitToArea({800, 1200}, {525, 20}).height(), 1);
    EXPECT_EQ(fitToArea({800, 1200}, {525, 0}).height(), 1);
}

TEST(ImageFitTest, InitialWindowFollowsTheWorkArea) {
    EXPECT_EQ(initialClientSize(1200, 30), QSize(525, 842));
    // Exactly the design height plus frame: still the short branch, and the
    // same size, so the two branches meet.
    EXPECT_EQ(initialClientSize(872, 30), QSize(525, 842));
    EXPECT_EQ(initialClientSize(800, 30), QSize(477, 770));
    EXPECT_EQ(initialClientSize(600, 0), QSize(364, 600));
}

TEST(ImageFitTest, WindowFitShrinksToTheFreeScreen) {
    EXPECT_EQ(windowFitSize({300, 200}, 1000, 1000), QSize(300, 200));
    // The width first, then the height of what is left.
    EXPECT_EQ(windowFitSize({4000, 6000}, 1000, 1000), QSize(666, 1000));
    EXPECT_EQ(windowFitSize({6000, 4000}, 1000, 1000), QSize(1000, 666));
    EXPECT_EQ(windowFitSize({4000, 6000}, 300, 580), QSize(300, 450));
    EXPECT_EQ(windowFitSize({0, 600}, 1000, 1000), std::nullopt);
    EXPECT_EQ(windowFitSize({600, 0}, 1000, 1000), std::nullopt);
    // No room beside the main window still gives a picture, not a negative one.
    const std::optional<QSize> squeezed = windowFitSize({400, 600}, -50, 1000);
    ASSERT_TRUE(squeezed.has_value());
    EXPECT_GT(squeezed->width(), 0);
}

TEST(ImageFitTest, NaturalSizeIsCentredOnTheClientArea) {
    EXPECT_EQ(centredOrigin({4000, 6000}, {525, 675}), QPoint(-1737, -2662));
    // Smaller than the window: positive, truncated towards zero.
    EXPECT_EQ(centredOrigin({300, 200}, {525, 675}), QPoint(112, 237));
    EXPECT_EQ(centredOrigin({525, 675}, {525, 675}), QPoint(0, 0));
}

TEST(ImageFitTest, DragStartsAfterFourPixels) {
    const QPoint press(100, 100);
    EXPECT_FALSE(dragStarted(press, press));
    EXPECT_FALSE(dragStarted(press, {103, 97}));
    EXPECT_FALSE(dragStarted(press, {97, 103}));
    EXPECT_TRUE(dragStarted(press, {104, 100}));
    EXPECT_TRUE(dragStarted(press, {100, 96}));
}

TEST(ImageFitTest, DragNeverUncoversTheWindow) {
    const QSize picture(1000, 1000);
    const QSize client(500, 500);
    const QPoint origin(-200, -200);
    EXPECT_EQ(dragTarget(origin, picture, client, {50, -30}), QPoint(-150, -230));
    // Left never above 0, top never below the panel.
    EXPECT_EQ(dragTarget(origin, picture, client, {300, 300}), QPoint(0, 20));
    EXPECT_EQ(dragTarget(origin, picture, client, {210, 215}), QPoint(0, 15));
    // No empty space right of or below the picture.
    EXPECT_EQ(dragTarget(origin, picture, client, {-400, -400}), QPoint(-500, -500));
    EXPECT_EQ(dragTarget(origin, picture, client, {-300, -300}), QPoint(-500, -500));
}

TEST(ImageFitTest, SmallPictureStaysAtTheTopLeft) {
    // Too small to fill the window: it sticks to the top left wherever it is pulled.
    for (const QPoint delta : {QPoint(-100, -100), QPoint(100, 100), QPoint(0, 0)}) {
        EXPECT_EQ(dragTarget({112, 237}, {300, 200}, {525, 675}, delta), QPoint(0, 20));
    }
}

} // namespace
