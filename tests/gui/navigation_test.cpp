// Choosing lists from the menus, the history, the empty-list texts and the
// worker messages that build the views.

#include "gui/browserfixture.h"
#include "gui/dialogs/splashform.h"
#include "gui/views/imageform.h"
#include "gui/views/logotile.h"
#include "gui/views/tilegeometry.h"

#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace zob::testing {
namespace {

class NavigationTest : public BrowserFixture {
protected:
    void startOnline() {
        writeOnlineSettings();
        start();
        ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    }

    // Chooses an Archive menu entry by the beginning of its caption and waits
    // for its covers.
    void choose(const QString& captionStart) {
        QAction* entry = nullptr;
        for (QAction* action : window().mArchive->findChildren<QAction*>()) {
            if (action->text().startsWith(captionStart)) {
                entry = action;
            }
        }
        for (QAction* action : window().mArchive->actions()) {
            if (action->text().startsWith(captionStart)) {
                entry = action;
            }
        }
        if (entry == nullptr) {
            entry = findAction(window().mArchive, captionStart);
        }
        ASSERT_NE(entry, nullptr) << captionStart.toStdString();
        window().archiveMenuSelect(*entry);
        ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    }

    static std::size_t monthSize(int year, int month) {
        return site().content().month(year, month)->series.size();
    }
};

TEST_F(NavigationTest, ChoosingAMonthShowsAllItsSeriesInBothViews) {
    startOnline();
    choose("2008/02");
    ASSERT_NE(window().crntArchive(), nullptr);
    EXPECT_EQ(window().crntArchive()->size(), monthSize(2008, 2));
    EXPECT_EQ(window().imageView->tileCount(), monthSize(2008, 2));
    EXPECT_EQ(window().listView->ArchiveGrid->rowCount(), static_cast<int>(monthSize(2008, 2)));
    EXPECT_EQ(window().crntYear(), 2008);
    EXPECT_EQ(window().crntMonth(), 2);
    EXPECT_EQ(window().browseHistory()->entries().size(), 2U);
    // Tiles sit in their cells, row by row.
    const int columns = window().imageView->columns();
    for (std::size_t i = 0; i < window().imageView->tileCount(); ++i) {
        ASSERT_NE(window().imageView->tile(i), nullptr) << i;
        const QRect cell = tileRectFor(static_cast<int>(i), columns, 133, 190, 10);
        EXPECT_EQ(window().imageView->tile(i)->pos(), cell.topLeft()) << i;
    }
}

TEST_F(NavigationTest, ChoosingTheCurrentMonthChangesNothing) {
    startOnline();
    const ArtListPtr before = window().crntArchive();
    choose("2008/03");
    EXPECT_EQ(window().crntArchive(), before);
    EXPECT_EQ(window().browseHistory()->entries().size(), 1U);
}

TEST_F(NavigationTest, AMonthLoadedBeforeIsShownFromTheSameList) {
    startOnline();
    const ArtListPtr march = window().crntArchive();
    choose("2008/02");
    choose("2008/03");
    EXPECT_EQ(window().crntArchive(), march);
}

TEST_F(NavigationTest, CoverReportsMoveTheSplashProgressAndTheLastClosesIt) {
    startOnline();
    const auto count = static_cast<std::int32_t>(window().crntArchive()->size());
    ASSERT_GE(count, 3);
    HistoryWindow& asHistoryWindow = window();
    asHistoryWindow.setListMenusEnabled(false);
    asHistoryWindow.showSplash("loading (get monthly archive...)");
    window().handleWindowMessage(WindowMessage::loadedLogo(1, false));
    ASSERT_NE(window().splashForm(), nullptr);
    EXPECT_EQ(window().splashForm()->progress(), 1 * 80 / count + 20);
    EXPECT_EQ(window().splashForm()->message(), "loading (get pics...)");
    // A report beyond the list makes no tile.
    window().handleWindowMessage(WindowMessage::loadedLogo(count + 3, false));
    EXPECT_EQ(window().imageView->tileCount(), static_cast<std::size_t>(count));
    EXPECT_EQ(window().splashForm(), nullptr);
    EXPECT_TRUE(window().mArchive->isEnabled());
}

TEST_F(NavigationTest, EmptyListsExplainThemselves) {
    startOnline();
    choose("Stopping or loading");
    EXPECT_EQ(window().imageView->LogoWarning->text(), "You don't stop any download");
    EXPECT_FALSE(window().listView->ArchiveGrid->isEnabled());
    choose("Downloading");
    EXPECT_EQ(window().imageView->LogoWarning->text(), "You don't have downloaded yet");
    choose("Downloaded");
    EXPECT_EQ(window().imageView->LogoWarning->text(), "You don't have downloaded yet");
    choose("&Bad list");
    EXPECT_EQ(window().imageView->LogoWarning->text(), "You don't have my favorite list");
    // A list with series has no text.
    choose("2008/02");
    EXPECT_TRUE(window().imageView->LogoWarning->text().isEmpty());
}

TEST_F(NavigationTest, ARowClickSelectsItsTileWhenTheImageViewIsShown) {
    startOnline();
    window().resize(600, 700);
    window().mainTab->setCurrentWidget(window().listView);
    QTableWidget* grid = window().listView->ArchiveGrid;
    const int row = 2;
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    ArchiveImageView& view = *window().imageView;
    EXPECT_TRUE(view.selectionPending());
    EXPECT_FALSE(view.selectionBackdrop->isVisible());

    window().mainTab->setCurrentWidget(window().imageView);
    EXPECT_TRUE(view.tileIsSelected());
    EXPECT_EQ(view.selectedIndex(), 2U);
    EXPECT_FALSE(view.selectionBackdrop->isHidden());
    const QRect tileCell = tileRectFor(2, view.columns(), 133, 190, 10);
    EXPECT_EQ(view.selectionBackdrop->pos(), tileCell.topLeft() - QPoint(10, 10));

    // Another tab clears the selection.
    window().mainTab->setCurrentWidget(window().listView);
    EXPECT_FALSE(view.tileIsSelected());
    EXPECT_TRUE(view.selectionBackdrop->isHidden());
}

TEST_F(NavigationTest, ATileClickSelectsItsRowAndTheSecondClickDeselects) {
    startOnline();
    ArchiveImageView& view = *window().imageView;
    view.monthSmallLogoImgClick(2);
    EXPECT_TRUE(view.tileIsSelected());
    EXPECT_TRUE(window().mCopy->isEnabled());
    EXPECT_TRUE(window().mAddToFavorite->isEnabled());
    const SeriesPtr selected = window().crntArchive()->item(2);
    const int row = window().listView->findGridRow(*selected);
    EXPECT_EQ(window().listView->ArchiveGrid->currentRow(), row - 1);
    // The side viewer holds the large cover, though it is hidden.
    EXPECT_EQ(app->imageForm().currentFile(), selected->localLogoFile(false));

    view.monthSmallLogoImgClick(2);
    EXPECT_FALSE(view.tileIsSelected());
    EXPECT_TRUE(view.selectionBackdrop->isHidden());
    EXPECT_FALSE(window().mAddToFavorite->isEnabled());
}

TEST_F(NavigationTest, BackAndForwardShowTheListsWithTheirScrollPositions) {
    startOnline();
    // Small enough for the few covers of a month to need scrolling.
    window().resize(330, 420);
    ArchiveImageView& view = *window().imageView;
    view.setScrollPosition(200);
    const int march = view.scrollPosition();
    ASSERT_GT(march, 0);
    choose("2008/02");
    view.setScrollPosition(150);
    const int february = view.scrollPosition();
    choose("2008/01");
    EXPECT_TRUE(window().histBackward->isEnabled());
    EXPECT_FALSE(window().histForward->isEnabled());

    window().histBackwardClick();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    EXPECT_EQ(window().crntArchive()->menuCaption().substr(0, 7), "2008/02");
    EXPECT_EQ(view.scrollPosition(), february);
    EXPECT_TRUE(window().histForward->isEnabled());

    window().histBackwardClick();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    EXPECT_EQ(window().crntArchive()->menuCaption().substr(0, 7), "2008/03");
    EXPECT_EQ(view.scrollPosition(), march);
    EXPECT_FALSE(window().histBackward->isEnabled());

    window().histForwardClick();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    EXPECT_EQ(window().crntArchive()->menuCaption().substr(0, 7), "2008/02");

    // The History menu: one radio entry per list, newest first, the current checked.
    const QList<QAction*> entries = window().mHistory->actions();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0]->text().left(7), "2008/01");
    EXPECT_EQ(entries[2]->text().left(7), "2008/03");
    EXPECT_TRUE(entries[1]->isChecked());
    EXPECT_FALSE(entries[0]->isChecked());

    // Choosing an entry from the menu keeps the order.
    window().historyMenuClick(*entries[2]);
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    EXPECT_EQ(window().crntArchive()->menuCaption().substr(0, 7), "2008/03");
    EXPECT_EQ(window().mHistory->actions().size(), 3);
    EXPECT_TRUE(window().mHistory->actions()[2]->isChecked());
}

TEST_F(NavigationTest, TheModeLabelSwitchesOfflineAndBack) {
    startOnline();
    QTest::mouseDClick(window().modeStr, Qt::LeftButton);
    EXPECT_TRUE(context().offlineMode);
    EXPECT_EQ(window().modeText(), "OFFLINE");
    EXPECT_FALSE(window().mOfflineSearch->isEnabled());
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    QTest::mouseDClick(window().modeStr, Qt::LeftButton);
    EXPECT_FALSE(context().offlineMode);
    EXPECT_EQ(window().modeText(), "");
    EXPECT_TRUE(window().mOfflineSearch->isEnabled());
}

TEST_F(NavigationTest, OfflineADoubleClickOnAMovieIsRefusedInWords) {
    startOnline();
    choose("Be&st of ZEL");
    QTest::mouseDClick(window().modeStr, Qt::LeftButton);
    ASSERT_TRUE(context().offlineMode);
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    const std::vector<SeriesPtr>& records = window().crntArchive()->records();
    const auto movie = std::find_if(records.begin(), records.end(),
                                    [](const SeriesPtr& series) { return series->isMovie; });
    ASSERT_NE(movie, records.end());
    prompt.clear();
    window().imageView->monthSmallLogoImgDblClick(
        static_cast<std::size_t>(movie - records.begin()));
    EXPECT_EQ(prompt.shown(),
              (std::vector<ScriptedPrompt::Shown>{{ScriptedPrompt::Kind::Message, "information",
                                                   "In offline-mode, you cannot open movie URL.",
                                                   PromptAnswer::Ok}}));
    EXPECT_TRUE(context().managerRegistry.empty());
}

TEST_F(NavigationTest, DebugNoImageDrawsEveryTileAsAPlaceholder) {
    writeOnlineSettings("dbgNoImg=1\n");
    start();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    const SeriesPtr first = window().crntArchive()->item(0);
    // The cover is on disk, yet the tile is the placeholder with the title.
    ASSERT_TRUE(std::filesystem::file_size(first->localLogoFile(true)) > 0);
    const QImage shown = window().imageView->tile(0)->image();
    const QImage placeholder = noLogoImage(QString::fromStdString(first->title));
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
              placeholder.convertToFormat(QImage::Format_RGB32));
}

TEST_F(NavigationTest, SystemMessagesOfTheWindow) {
    startOnline();
    window().handleWindowMessage(WindowMessage::updateThreadCount(3));
    EXPECT_EQ(window().threadStatusText(), "3 Threads");
    window().handleWindowMessage(WindowMessage::updateThreadCount(0));
    EXPECT_EQ(window().threadStatusText(), "");

    // Moving with the side viewer hidden changes only the main window's place.
    const configInfoClass before = context().configInfo;
    window().WM_move(321, 123);
    EXPECT_EQ(context().configInfo.mainX, 321);
    EXPECT_EQ(context().configInfo.mainY, 123);
    EXPECT_EQ(context().configInfo.sideX, before.sideX);

    window().resize(330, 420);
    window().imageView->setScrollPosition(0);
    ASSERT_GE(window().imageView->archiveBox->verticalScrollBar()->maximum(), 60);
    window().WM_mouseWheel(-60);
    EXPECT_EQ(window().imageView->scrollPosition(), 60);
    window().WM_mouseWheel(60);
    EXPECT_EQ(window().imageView->scrollPosition(), 0);
}

} // namespace
} // namespace zob::testing
