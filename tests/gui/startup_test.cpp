// The window's start-up: its three end states and what it builds.

#include "gui/browserfixture.h"
#include "gui/dialogs/configdialog.h"
#include "gui/dialogs/splashform.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <gtest/gtest.h>

namespace zob::testing {
namespace {

using Shown = ScriptedPrompt::Shown;
using Kind = ScriptedPrompt::Kind;

class StartupTest : public BrowserFixture {};

TEST_F(StartupTest, FirstRunAsksForAnAccountThenEndsAndSavesWhatWasTyped) {
    makeBrowser();
    // The user types an account into the configuration dialog.
    modalAnswer = [this](QDialog&) {
        context().configInfo.login = "member";
        return int(QDialog::Accepted);
    };
    window().FormActivate();

    EXPECT_EQ(
        prompt.shown(),
        (std::vector<Shown>{{Kind::Message, "authentication",
                             "Enter your zel-ora ID/Password\n then restart this program again",
                             PromptAnswer::Ok}}));
    EXPECT_EQ(modalDialogs, std::vector<std::string>{"zob::TConfigForm"});
    EXPECT_TRUE(window().startup().aborted());
    EXPECT_EQ(terminateRequests, 1);
    EXPECT_EQ(window().navigator().crntArchive(), nullptr);

    // Activating again does nothing more.
    window().FormActivate();
    EXPECT_EQ(prompt.shown().size(), 1U);

    app->shutdown();
    EXPECT_NE(readBytes(iniPath()).find("login=member"), std::string::npos);
}

TEST_F(StartupTest, RefusedLoginTellsShowsTheDialogAndEnds) {
    writeSettings("[user]\nlogin=demo\npassword=wrong\n");
    start();
    ASSERT_EQ(prompt.shown().size(), 1U);
    EXPECT_EQ(prompt.shown()[0].text,
              "Your ID/Pasword pair will not correct.\nplease check config");
    EXPECT_EQ(modalDialogs, std::vector<std::string>{"zob::TConfigForm"});
    EXPECT_TRUE(window().startup().aborted());
    EXPECT_EQ(terminateRequests, 1);
}

TEST_F(StartupTest, EmptyLoginRunsOfflineFromTheLatestLocalMonth) {
    writeSettings("[user]\nlogin=\n");
    start();
    EXPECT_EQ(prompt.shown(),
              (std::vector<Shown>{{Kind::Message, "information",
                                   "account/password is not defined.\n Turn into offline mode",
                                   PromptAnswer::Ok}}));
    EXPECT_TRUE(context().offlineMode);
    EXPECT_EQ(window().menus().modeText(), "OFFLINE");
    EXPECT_TRUE(window().menus().offlineSearch());
    EXPECT_TRUE(part<QAction>(window(), "mOfflineSearch")->isChecked());
    EXPECT_FALSE(part<QAction>(window(), "mOfflineSearch")->isEnabled());
    // Nothing on disk: the walk back ends in December 2002, empty.
    ASSERT_NE(window().navigator().crntArchive(), nullptr);
    EXPECT_EQ(window().navigator().crntArchive()->menuCaption(), "2002/12");
    EXPECT_EQ(imageView(window())->LogoWarning->text(), "You don't have 2002/12 archives");
    EXPECT_TRUE(part<QMenu>(window(), "mArchive")->isEnabled());
    EXPECT_EQ(window().splash().form(), nullptr);
    EXPECT_TRUE(site().requests().empty());
}

TEST_F(StartupTest, MissingPasswordIsAskedForAndCancelMeansOffline) {
    writeSettings("[user]\nlogin=demo\n");
    start();
    EXPECT_EQ(modalDialogs, std::vector<std::string>{"zob::TPasswordForm"});
    EXPECT_EQ(prompt.shown(),
              (std::vector<Shown>{{Kind::Message, "information",
                                   "password is not defined.\n Turn into offline mode",
                                   PromptAnswer::Ok}}));
    EXPECT_EQ(window().menus().modeText(), "OFFLINE");
}

TEST_F(StartupTest, OnlineStartShowsThisMonthAsTilesAndRows) {
    writeOnlineSettings();
    start();
    EXPECT_TRUE(prompt.shown().empty());
    ASSERT_NE(window().navigator().crntArchive(), nullptr);
    EXPECT_EQ(window().navigator().crntArchive()->menuCaption().substr(0, 7), "2008/03");
    EXPECT_EQ(window().windowTitle(), "Zel-Ora Native Browser 1.00");
    EXPECT_EQ(window().menus().modeText(), "online");
    EXPECT_EQ(mainTab(window())->currentWidget(), imageView(window()));
    // The splash stays until the last cover has come.
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    const std::size_t count = site().content().month(2008, 3)->series.size();
    EXPECT_EQ(window().navigator().crntArchive()->size(), count);
    EXPECT_EQ(listView(window())->ArchiveGrid->model()->rowCount(), static_cast<int>(count));
    EXPECT_TRUE(part<QMenu>(window(), "mArchive")->isEnabled());
    EXPECT_EQ(imageView(window())->ImageViewLabel->text(),
              QString::fromStdString(window().navigator().crntArchive()->caption()));
    // The favorites and the bad list are loaded too; the history holds the month.
    EXPECT_NE(context().loadedArchives.favoriteList, nullptr);
    EXPECT_NE(context().loadedArchives.badList, nullptr);
    EXPECT_EQ(window().navigator().browseHistory()->entries().size(), 1U);
    EXPECT_EQ(part<QAction>(window(), "mFavorite")->isEnabled(),
              !context().loadedArchives.favoriteList->empty());
    EXPECT_TRUE(part<QAction>(window(), "mResLow")->isChecked());
    // Its catalogue reaches the disk at the end of the run: no mark yet.
    EXPECT_NE(archiveEntry("2008/03"), nullptr);
}

TEST_F(StartupTest, ResolutionSettingChecksItsMenuEntry) {
    writeBytes(iniPath(),
               "[user]\nlogin=\n[env]\nresolution=255\nlocal=" + localFolder().string() + "\n");
    start();
    EXPECT_TRUE(part<QAction>(window(), "mResThumb")->isChecked());
    EXPECT_EQ(window().menus().resolution(), resLow);
}

TEST_F(StartupTest, NoSplashShowsNoProgressAtAll) {
    writeOnlineSettings("noSplash=1\n");
    start();
    EXPECT_EQ(window().splash().form(), nullptr);
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
}

TEST_F(StartupTest, ArchiveMenuOfAJanuaryStartReachesIntoLastYear) {
    writeSettings("[user]\nlogin=\n");
    start(2008, 1);
    QStringList topLevel;
    for (QAction* action : part<QMenu>(window(), "mArchive")->actions()) {
        if (!action->isSeparator() && action->menu() == nullptr) {
            topLevel << action->text();
        }
    }
    EXPECT_EQ(topLevel,
              (QStringList{"&My favorites", "&Bad list", "Be&st of ZEL", "2008/01", "2007/12",
                           "2007/11", "2007/10", "2007/09", "2007/08", "archive 1"}));
    QAction* year2007 = archiveEntry("2007");
    ASSERT_NE(year2007, nullptr);
    ASSERT_NE(year2007->menu(), nullptr);
    EXPECT_EQ(year2007->menu()->actions().size(), 7);
    EXPECT_EQ(year2007->menu()->actions().first()->text(), "2007/07");
    EXPECT_NE(archiveEntry("2003"), nullptr);
    EXPECT_EQ(archiveEntry("2002"), nullptr);
}

TEST_F(StartupTest, ArchiveMenuOfAJulyStartKeepsToThisYear) {
    writeSettings("[user]\nlogin=\n");
    start(2008, 7);
    EXPECT_NE(archiveEntry("2008/07"), nullptr);
    EXPECT_NE(archiveEntry("2008/01"), nullptr);
    QAction* year2007 = archiveEntry("2007");
    ASSERT_NE(year2007, nullptr);
    EXPECT_EQ(year2007->menu()->actions().size(), 12);
}

TEST_F(StartupTest, SavedPositionBeyondTheWorkAreaGoesToTheRightEdge) {
    writeSettings("[user]\nlogin=\n", {}, "[window]\nmainX=100000\nmainY=20\n");
    start();
    const QRect work = window().screen()->availableGeometry();
    EXPECT_EQ(window().frameGeometry().right() + 1, work.left() + work.width());
}

TEST_F(StartupTest, SavedPlaceIsTheFramesAndIsSavedUnchanged) {
    writeSettings("[user]\nlogin=\n", {},
                  "[window]\nmainWidth=400\nmainHeight=340\nmainX=100\nmainY=80\n");
    start();
    EXPECT_EQ(window().frameGeometry().topLeft(), QPoint(100, 80));
    // Saved as placed, or each start would move the window by its frame.
    window().move(150, 90);
    EXPECT_TRUE(waitFor([this] { return window().frameGeometry().topLeft() == QPoint(150, 90); }));
    EXPECT_EQ(context().configInfo.mainX, 150);
    EXPECT_EQ(context().configInfo.mainY, 90);
}

TEST_F(StartupTest, DebugLogSwitchedOnShowsItsButtonsAndFirstLine) {
    writeSettings("[user]\nlogin=\n", "dbgMemo=1\n");
    start();
    // The tool bar shows them at its next layout.
    EXPECT_TRUE(waitFor([this] { return !part<QToolButton>(window(), "dbgBtn")->isHidden(); }));
    EXPECT_FALSE(part<QToolButton>(window(), "dbgSaveBtn")->isHidden());
    const std::vector<std::string> lines = context().debugLog.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().substr(lines.front().size() - 5), " test");
    ASSERT_TRUE(waitFor([this] {
        return part<QPlainTextEdit>(window(), "dbgMemo")->toPlainText().contains("test");
    }));
}

TEST_F(StartupTest, DebugButtonsStayHiddenWhileTheLogIsOff) {
    writeSettings("[user]\nlogin=\n");
    start();
    EXPECT_TRUE(part<QToolButton>(window(), "dbgBtn")->isHidden());
    EXPECT_FALSE(context().debugLog.isOn());
}

} // namespace
} // namespace zob::testing
