// Choosing lists from the menus, the history, the empty-list texts and the
// worker messages that build the views.

#include "catalogue/monthlyartlist.h"
#include "gui/browserfixture.h"
#include "gui/dialogs/configdialog.h"
#include "gui/dialogs/splashform.h"
#include "gui/displaytext.h"
#include "gui/views/imageform.h"
#include "gui/views/logotile.h"
#include "gui/views/tilegeometry.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
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
        for (QAction* action : part<QMenu>(window(), "mArchive")->findChildren<QAction*>()) {
            if (action->text().startsWith(captionStart)) {
                entry = action;
            }
        }
        for (QAction* action : part<QMenu>(window(), "mArchive")->actions()) {
            if (action->text().startsWith(captionStart)) {
                entry = action;
            }
        }
        if (entry == nullptr) {
            entry = findAction(part<QMenu>(window(), "mArchive"), captionStart);
        }
        ASSERT_NE(entry, nullptr) << captionStart.toStdString();
        window().navigator().archiveMenuSelect(*entry);
        ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    }

    static std::size_t monthSize(int year, int month) {
        return site().content().month(year, month)->series.size();
    }
};

TEST_F(NavigationTest, ChoosingAMonthShowsAllItsSeriesInBothViews) {
    startOnline();
    choose("2008/02");
    ASSERT_NE(window().navigator().crntArchive(), nullptr);
    EXPECT_EQ(window().navigator().crntArchive()->size(), monthSize(2008, 2));
    EXPECT_EQ(imageView(window())->tileCount(), monthSize(2008, 2));
    EXPECT_EQ(listView(window())->ArchiveGrid->model()->rowCount(),
              static_cast<int>(monthSize(2008, 2)));
    EXPECT_EQ(window().navigator().crntYear(), 2008);
    EXPECT_EQ(window().navigator().crntMonth(), 2);
    EXPECT_EQ(window().navigator().browseHistory()->entries().size(), 2U);
    // Tiles sit in their cells, row by row.
    ArchiveImageView& wall = *imageView(window());
    const auto expectTilesInTheirCells = [&wall](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            ASSERT_NE(wall.tile(i), nullptr) << i;
            const QRect cell = tileRectFor(static_cast<int>(i), wall.columns(), 133, 190, 10);
            EXPECT_EQ(wall.tile(i)->pos(), cell.topLeft()) << i;
        }
    };
    expectTilesInTheirCells(0, wall.tileCount());

    // A wall longer than a few screens makes only the tiles in view and a
    // screen around them; scrolling makes the ones it brings and lets the far
    // ones go.
    const auto longList = std::make_shared<monthlyArtList>(context().loadedArchives, 2001, 1);
    for (int i = 0; i < 80; ++i) {
        const std::string name = "long_" + std::to_string(100 + i) + "_200101";
        longList->addParsed("Title " + name, "/members/gallery/2001/" + name + "/", "2001/01/01",
                            "Ann", "BY Carl", "/members/gallery/2001/" + name + "/cover.jpg", 24,
                            -1, -1);
    }
    window().resize(600, 500);
    window().navigator().setCrntArchive(longList, 0);
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    const std::size_t last = wall.tileCount() - 1;
    ASSERT_EQ(last, 79u);
    EXPECT_EQ(wall.tile(last), nullptr);
    wall.setScrollPosition(wall.archiveBox->verticalScrollBar()->maximum());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    expectTilesInTheirCells(last - static_cast<std::size_t>(wall.columns()), last + 1);
    EXPECT_EQ(wall.tile(0), nullptr);
    EXPECT_LT(wall.tileContents()->findChildren<LogoTile*>().size(),
              static_cast<qsizetype>(wall.tileCount()));
}

TEST_F(NavigationTest, ChoosingTheCurrentMonthChangesNothing) {
    startOnline();
    const ArtListPtr before = window().navigator().crntArchive();
    choose("2008/03");
    EXPECT_EQ(window().navigator().crntArchive(), before);
    EXPECT_EQ(window().navigator().browseHistory()->entries().size(), 1U);
}

TEST_F(NavigationTest, AMonthLoadedBeforeIsShownFromTheSameList) {
    startOnline();
    const ArtListPtr march = window().navigator().crntArchive();
    choose("2008/02");
    choose("2008/03");
    EXPECT_EQ(window().navigator().crntArchive(), march);
}

TEST_F(NavigationTest, CoverReportsMoveTheSplashProgressAndTheLastClosesIt) {
    startOnline();
    const auto count = static_cast<std::int32_t>(window().navigator().crntArchive()->size());
    ASSERT_GE(count, 3);
    HistoryWindow& asHistoryWindow = window().navigator();
    asHistoryWindow.setListMenusEnabled(false);
    asHistoryWindow.showSplash("loading (get monthly archive...)");
    window().events().handleWindowMessage(WindowMessage::loadedLogo(1, false));
    ASSERT_NE(window().splash().form(), nullptr);
    EXPECT_EQ(window().splash().form()->progress(), 1 * 80 / count + 20);
    EXPECT_EQ(window().splash().form()->message(), "loading (get pics...)");
    // A report beyond the list makes no tile.
    window().events().handleWindowMessage(WindowMessage::loadedLogo(count + 3, false));
    EXPECT_EQ(imageView(window())->tileCount(), static_cast<std::size_t>(count));
    EXPECT_EQ(window().splash().form(), nullptr);
    EXPECT_TRUE(part<QMenu>(window(), "mArchive")->isEnabled());
}

TEST_F(NavigationTest, ASlowPageLoadsBesideALiveWindowAndEscapeCancelsIt) {
    startOnline();
    const ArtListPtr before = window().navigator().crntArchive();
    const std::size_t tiles = imageView(window())->tileCount();
    demosite::Faults slow;
    slow.latency = std::chrono::milliseconds(1'500);
    site().setFaults(slow);

    bool handledMeanwhile = false;
    bool listMenusOff = false;
    QTimer::singleShot(200, &window(), [&] {
        handledMeanwhile = true;
        listMenusOff = !part<QMenu>(window(), "mArchive")->isEnabled() &&
                       !part<QMenu>(window(), "mHistory")->isEnabled();
        QTest::keyClick(&window(), Qt::Key_Escape);
    });
    window().navigator().archiveMenuSelect(*archiveEntry("2008/02"));

    EXPECT_TRUE(handledMeanwhile);
    EXPECT_TRUE(listMenusOff);
    // The list shown before comes back; nothing of the cancelled month stays.
    EXPECT_EQ(window().navigator().crntArchive(), before);
    EXPECT_EQ(window().navigator().browseHistory()->entries().size(), 1U);
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    EXPECT_EQ(imageView(window())->tileCount(), tiles);
    EXPECT_TRUE(part<QMenu>(window(), "mArchive")->isEnabled());
    EXPECT_FALSE(
        std::filesystem::exists(monthlyArtList(context().loadedArchives, 2008, 2).csvPath()));
    EXPECT_LT(
        context().loadedArchives.indexOfSame(monthlyArtList(context().loadedArchives, 2008, 2)), 0);
}

TEST_F(NavigationTest, TheFilterNarrowsTheListFoldedAndClearingItBringsTheListBack) {
    startOnline();
    const ArtListPtr whole = window().navigator().crntArchive();
    ASSERT_GT(whole->size(), 2U);
    const SeriesPtr wanted = whole->item(whole->size() - 1);
    // Another case and accents on the letters: still the same title.
    QString typed = toDisplay(wanted->title).toUpper();
    typed.replace('E', QChar(0xC9)).replace('O', QChar(0xD6)).replace('A', QChar(0xC5));
    auto* field = part<QLineEdit>(window(), "filterField");
    field->setText(typed);

    const ArtListPtr shown = window().navigator().crntArchive();
    ASSERT_NE(shown, whole);
    EXPECT_GE(shown->indexOfName(*wanted), 0);
    EXPECT_LT(shown->size(), whole->size());
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    EXPECT_EQ(imageView(window())->tileCount(), shown->size());
    EXPECT_EQ(window().navigator().browseHistory()->entries().size(), 1U);

    field->clear();
    EXPECT_EQ(window().navigator().crntArchive(), whole);
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    EXPECT_EQ(imageView(window())->tileCount(), whole->size());

    // Another list shown empties the field.
    field->setText(typed);
    choose("2008/02");
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(window().navigator().crntArchive()->menuCaption(), "2008/02");
}

TEST_F(NavigationTest, EmptyListsExplainThemselves) {
    startOnline();
    choose("Stopping or loading");
    EXPECT_EQ(imageView(window())->LogoWarning->text(), "You don't stop any download");
    EXPECT_FALSE(listView(window())->ArchiveGrid->isEnabled());
    choose("Downloading");
    EXPECT_EQ(imageView(window())->LogoWarning->text(), "You don't have downloaded yet");
    choose("Downloaded");
    EXPECT_EQ(imageView(window())->LogoWarning->text(), "You don't have downloaded yet");
    choose("&Bad list");
    EXPECT_EQ(imageView(window())->LogoWarning->text(), "You don't have my favorite list");
    // A list with series has no text.
    choose("2008/02");
    EXPECT_TRUE(imageView(window())->LogoWarning->text().isEmpty());
}

TEST_F(NavigationTest, ARowClickSelectsItsTileWhenTheImageViewIsShown) {
    startOnline();
    window().resize(600, 700);
    mainTab(window())->setCurrentWidget(listView(window()));
    QTableView* grid = listView(window())->ArchiveGrid;
    const int row = 2;
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    ArchiveImageView& view = *imageView(window());
    EXPECT_TRUE(view.selectionPending());
    EXPECT_FALSE(view.selectionBackdrop->isVisible());

    mainTab(window())->setCurrentWidget(imageView(window()));
    EXPECT_TRUE(view.tileIsSelected());
    EXPECT_EQ(view.selectedIndex(), 2U);
    EXPECT_FALSE(view.selectionBackdrop->isHidden());
    const QRect tileCell = tileRectFor(2, view.columns(), 133, 190, 10);
    EXPECT_EQ(view.selectionBackdrop->pos(), tileCell.topLeft() - QPoint(10, 10));

    // Another tab clears the selection.
    mainTab(window())->setCurrentWidget(listView(window()));
    EXPECT_FALSE(view.tileIsSelected());
    EXPECT_TRUE(view.selectionBackdrop->isHidden());
}

TEST_F(NavigationTest, ATileClickSelectsItsRowAndTheSecondClickDeselects) {
    startOnline();
    ArchiveImageView& view = *imageView(window());
    view.monthSmallLogoImgClick(2);
    EXPECT_TRUE(view.tileIsSelected());
    EXPECT_TRUE(part<QAction>(window(), "mCopy")->isEnabled());
    EXPECT_TRUE(part<QAction>(window(), "mAddToFavorite")->isEnabled());
    const SeriesPtr selected = window().navigator().crntArchive()->item(2);
    const int row = listView(window())->findGridRow(*selected);
    EXPECT_EQ(listView(window())->ArchiveGrid->currentIndex().row(), row - 1);
    // The side viewer holds the large cover, though it is hidden.
    EXPECT_EQ(app->imageForm().currentFile(), selected->localLogoFile(false));

    view.monthSmallLogoImgClick(2);
    EXPECT_FALSE(view.tileIsSelected());
    EXPECT_TRUE(view.selectionBackdrop->isHidden());
    EXPECT_FALSE(part<QAction>(window(), "mAddToFavorite")->isEnabled());
}

TEST_F(NavigationTest, BackAndForwardShowTheListsWithTheirScrollPositions) {
    startOnline();
    // Small enough for the few covers of a month to need scrolling.
    window().resize(330, 420);
    ArchiveImageView& view = *imageView(window());
    view.setScrollPosition(200);
    const int march = view.scrollPosition();
    ASSERT_GT(march, 0);
    choose("2008/02");
    view.setScrollPosition(150);
    const int february = view.scrollPosition();
    choose("2008/01");
    EXPECT_TRUE(part<QToolButton>(window(), "histBackward")->isEnabled());
    EXPECT_FALSE(part<QToolButton>(window(), "histForward")->isEnabled());

    window().navigator().back();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    EXPECT_EQ(window().navigator().crntArchive()->menuCaption().substr(0, 7), "2008/02");
    EXPECT_EQ(view.scrollPosition(), february);
    EXPECT_TRUE(part<QToolButton>(window(), "histForward")->isEnabled());

    window().navigator().back();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    EXPECT_EQ(window().navigator().crntArchive()->menuCaption().substr(0, 7), "2008/03");
    EXPECT_EQ(view.scrollPosition(), march);
    EXPECT_FALSE(part<QToolButton>(window(), "histBackward")->isEnabled());

    window().navigator().forward();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    EXPECT_EQ(window().navigator().crntArchive()->menuCaption().substr(0, 7), "2008/02");

    // The History menu: one radio entry per list, newest first, the current checked.
    const QList<QAction*> entries = part<QMenu>(window(), "mHistory")->actions();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0]->text().left(7), "2008/01");
    EXPECT_EQ(entries[2]->text().left(7), "2008/03");
    EXPECT_TRUE(entries[1]->isChecked());
    EXPECT_FALSE(entries[0]->isChecked());

    // Choosing an entry from the menu keeps the order.
    window().navigator().historyMenuClick(*entries[2]);
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    EXPECT_EQ(window().navigator().crntArchive()->menuCaption().substr(0, 7), "2008/03");
    EXPECT_EQ(part<QMenu>(window(), "mHistory")->actions().size(), 3);
    EXPECT_TRUE(part<QMenu>(window(), "mHistory")->actions()[2]->isChecked());
}

TEST_F(NavigationTest, TheModeLabelSwitchesOfflineAndBack) {
    startOnline();
    QTest::mouseDClick(part<QLabel>(window(), "modeStr"), Qt::LeftButton);
    EXPECT_TRUE(context().offlineMode);
    EXPECT_EQ(window().menus().modeText(), "OFFLINE");
    EXPECT_FALSE(part<QAction>(window(), "mOfflineSearch")->isEnabled());
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    QTest::mouseDClick(part<QLabel>(window(), "modeStr"), Qt::LeftButton);
    EXPECT_FALSE(context().offlineMode);
    EXPECT_EQ(window().menus().modeText(), "online");
    EXPECT_TRUE(part<QAction>(window(), "mOfflineSearch")->isEnabled());

    // The settings dialog's offline box goes offline the same way.
    modalAnswer = [](QDialog& dialog) {
        static_cast<TConfigForm&>(dialog).offlineChk->click();
        return int(QDialog::Accepted);
    };
    part<QAction>(window(), "mConfig")->trigger();
    EXPECT_TRUE(context().offlineMode);
    EXPECT_EQ(window().menus().modeText(), "OFFLINE");
    EXPECT_FALSE(part<QAction>(window(), "mOfflineSearch")->isEnabled());
}

TEST_F(NavigationTest, OfflineADoubleClickOnAMovieIsRefusedInWords) {
    startOnline();
    choose("Be&st of ZEL");
    QTest::mouseDClick(part<QLabel>(window(), "modeStr"), Qt::LeftButton);
    ASSERT_TRUE(context().offlineMode);
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    const std::vector<SeriesPtr>& records = window().navigator().crntArchive()->records();
    const auto movie = std::find_if(records.begin(), records.end(),
                                    [](const SeriesPtr& series) { return series->isMovie; });
    ASSERT_NE(movie, records.end());
    prompt.clear();
    imageView(window())->monthSmallLogoImgDblClick(
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
    const SeriesPtr first = window().navigator().crntArchive()->item(0);
    // The cover is on disk, yet the tile is the placeholder with the title.
    ASSERT_TRUE(std::filesystem::file_size(first->localLogoFile(true)) > 0);
    const QImage shown = imageView(window())->tile(0)->image();
    const QImage placeholder = noLogoImage(QString::fromStdString(first->title));
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
              placeholder.convertToFormat(QImage::Format_RGB32));
}

TEST_F(NavigationTest, SystemMessagesOfTheWindow) {
    startOnline();
    window().events().handleWindowMessage(WindowMessage::updateThreadCount(3));
    EXPECT_EQ(window().menus().threadStatusText(), "3 Threads");
    window().events().handleWindowMessage(WindowMessage::updateThreadCount(0));
    EXPECT_EQ(window().menus().threadStatusText(), "");

    // Moving with the side viewer hidden changes only the main window's place.
    const configInfoClass before = context().configInfo;
    window().WM_move(321, 123);
    EXPECT_EQ(context().configInfo.mainX, 321);
    EXPECT_EQ(context().configInfo.mainY, 123);
    EXPECT_EQ(context().configInfo.sideX, before.sideX);

    window().resize(330, 420);
    imageView(window())->setScrollPosition(0);
    ASSERT_GE(imageView(window())->archiveBox->verticalScrollBar()->maximum(), 60);
    window().WM_mouseWheel(-60);
    EXPECT_EQ(imageView(window())->scrollPosition(), 60);
    window().WM_mouseWheel(60);
    EXPECT_EQ(imageView(window())->scrollPosition(), 0);
}

} // namespace
} // namespace zob::testing
