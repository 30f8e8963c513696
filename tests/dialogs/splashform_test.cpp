#include "gui/dialogs/splashform.h"
#include "testsupport/screenshots.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

using zob::TsplashForm;

// Distance between the label's middle and the window's middle, in pixels.
int offCentre(const TsplashForm& splash) {
    const QLabel& label = *splash.msg;
    return (label.x() + label.x() + label.width()) - splash.width();
}

TEST(SplashForm, StartsHiddenCentredOnTheScreen) {
    TsplashForm splash;
    EXPECT_TRUE(splash.isHidden());
    EXPECT_EQ(splash.size(), QSize(300, 109));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(splash.message(), "initializing...");
    EXPECT_EQ(splash.ProgressBar1->minimum(), 0);
    EXPECT_EQ(splash.ProgressBar1->maximum(), 100);
    EXPECT_EQ(splash.progress(), 0);
    EXPECT_EQ(splash.ProgressBar1->geometry(), QRect(24, 64, 257, 25));

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(splash.x(), (screen.width() - 300) / 2);
    EXPECT_EQ(splash.y(), (screen.height() - 109) / 2);
}

TEST(SplashForm, MessageShowsTheWindowCentred) {
    TsplashForm splash;
    splash.setMessage(QStringLiteral("loading"));
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(splash.message(), "loading");
    EXPECT_LE(std::abs(offCentre(splash)), 1);
    EXPECT_GT(splash.msg->x(), 104 - 60) << "a short text moves left of its design place";

    // Whole text visible: the label grew to it.
    EXPECT_GE(splash.msg->width(), splash.msg->sizeHint().width());
}

TEST(SplashForm, LongMessageOverflowsEquallyOnBothSides) {
    TsplashForm splash;
    const QString longText(80, QChar(u'W'));
    splash.setMessage(longText);
    EXPECT_GT(splash.msg->width(), splash.width());
    EXPECT_LT(splash.msg->x(), 0);
    EXPECT_LE(std::abs(offCentre(splash)), 1);
    EXPECT_EQ(splash.msg->y(), 8);
}

TEST(SplashForm, TerminatingHidesTheBarAndKeepsTheLabelWhereItWas) {
    TsplashForm splash;
    splash.setMessage(QStringLiteral("a fairly long message to move the label"));
    const int left = splash.msg->x();
    splash.hide();

    splash.showTerminating();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_TRUE(splash.ProgressBar1->isHidden());
    EXPECT_EQ(splash.message(), "terminating...");
    EXPECT_EQ(splash.msg->x(), left);
    EXPECT_GE(splash.msg->width(), splash.msg->sizeHint().width());
}

TEST(SplashForm, TerminatingBeforeAnyMessageStaysAtTheDesignPlace) {
    TsplashForm splash;
    splash.showTerminating();
    EXPECT_EQ(splash.msg->pos(), QPoint(104, 8));
    EXPECT_TRUE(splash.isVisible());
}

TEST(SplashForm, Screenshot) {
    TsplashForm splash;
    splash.setMessage(QStringLiteral("initializing (get monthly archive)"));
    splash.setProgress(52);
    EXPECT_EQ(splash.progress(), 52);
    zob::testing::saveScreenshot(splash, QStringLiteral("splash"));
}

} // namespace
