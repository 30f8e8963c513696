// The browser without a mouse: the tile wall's keys, the list's, the history's.

#include "gui/browserfixture.h"
#include "gui/displaytext.h"
#include "gui/views/imageform.h"
#include "gui/views/tilegeometry.h"
#include "testsupport/screenshots.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QStatusBar>
#include <QTableView>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>

namespace zob::testing {
namespace {

class KeyboardTest : public BrowserFixture {
protected:
    // The best-of list: more covers than the window shows at once.
    void startOnBestOf(int height = 730) {
        writeOnlineSettings();
        start();
        ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
        window().navigator().archiveMenuSelect(*archiveEntry("Be&st of ZEL"));
        ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
        window().resize(590, height);
        window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        wall().setFocus();
        QTest::qWait(50);
    }

    ArchiveImageView& wall() { return *imageView(window()); }
    SeriesPtr shown(int index) {
        return window().navigator().crntArchive()->item(static_cast<std::size_t>(index));
    }
    QString statusText() { return window().statusBar()->currentMessage(); }

    // What a click on the tile would have left behind.
    void expectSelected(int index, const char* key) {
        SCOPED_TRACE(key);
        ASSERT_TRUE(wall().tileIsSelected());
        ASSERT_EQ(wall().selectedIndex(), static_cast<std::size_t>(index));
        const QRect cell = tileRectFor(index, wall().columns(), 133, 190, 10);
        EXPECT_EQ(wall().selectionBackdrop->pos(), cell.topLeft() - QPoint(10, 10));
        EXPECT_EQ(app->imageForm().currentFile(), shown(index)->localLogoFile(false));
        EXPECT_EQ(statusText(), wall().tile(static_cast<std::size_t>(index))->statusTip());
        EXPECT_EQ(window().series().commandTarget(), shown(index));
        const QModelIndexList rows =
            listView(window())->ArchiveGrid->selectionModel()->selectedRows();
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(listView(window())->findGridRow(*shown(index)) - 1,
                  listView(window())->ArchiveGrid->verticalHeader()->visualIndex(rows[0].row()));
        // The box keeps the whole frame in view.
        const int top = wall().selectionBackdrop->y() - wall().scrollPosition();
        EXPECT_GE(top, 0);
        EXPECT_LE(top + 190, wall().archiveBox->viewport()->height());
    }
};

TEST_F(KeyboardTest, WallArrowsHomeEndAndPagesMoveTheSelectionAsClicksDo) {
    startOnBestOf(480); // one whole row in view
    const int count = static_cast<int>(window().navigator().crntArchive()->size());
    const int columns = wall().columns();
    const int rows = wall().archiveBox->viewport()->height() / 190;
    ASSERT_GE(rows, 1);
    ASSERT_GT(count, columns * (rows + 1)) << "the list must need scrolling";
    EXPECT_EQ(wall().focusPolicy(), Qt::StrongFocus);
    EXPECT_TRUE(wall().hasFocus());

    const std::vector<std::pair<Qt::Key, int>> steps{
        {Qt::Key_Right, 0},      {Qt::Key_Right, 1},       {Qt::Key_Down, 1 + columns},
        {Qt::Key_Left, columns}, {Qt::Key_Up, 0},          {Qt::Key_PageDown, rows * columns},
        {Qt::Key_PageUp, 0},     {Qt::Key_End, count - 1}, {Qt::Key_Up, count - 1 - columns},
        {Qt::Key_Home, 0},       {Qt::Key_Down, columns},  {Qt::Key_Right, columns + 1}};
    for (const auto& [key, index] : steps) {
        QTest::keyClick(&wall(), key);
        expectSelected(index, QKeySequence(key).toString().toUtf8().constData());
    }
    const QString path = saveScreenshot(window(), "wall_keyboard_selection");
    EXPECT_FALSE(QImage(path).isNull());

    // A click on the selected tile still takes the selection away.
    wall().monthSmallLogoImgClick(columns + 1);
    EXPECT_FALSE(wall().tileIsSelected());
}

TEST_F(KeyboardTest, LettersJumpByTitleMenuKeysGiveTheMenuEnterOpens) {
    startOnBestOf();
    const int count = static_cast<int>(window().navigator().crntArchive()->size());
    // The most common first letter: it must lead round the list.
    std::map<QChar, std::vector<int>> byLetter;
    for (int i = 0; i < count; ++i) {
        byLetter[toDisplay(shown(i)->title).trimmed().at(0).toUpper()].push_back(i);
    }
    const auto& [letter, matches] =
        *std::max_element(byLetter.begin(), byLetter.end(), [](const auto& a, const auto& b) {
            return a.second.size() < b.second.size();
        });
    ASSERT_GE(matches.size(), 2u);
    QTest::keyClick(&wall(), Qt::Key_End);
    std::vector<int> expected = matches;
    expected.push_back(matches.front()); // round again from the start
    for (const int index : expected) {
        QTest::keyClicks(&wall(), QString(letter.toLower()));
        expectSelected(index, "letter");
    }

    QMenu* menu = window().series().archivePopup();
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        QTest::keyClick(&wall(), key, modifiers);
        ASSERT_TRUE(menu->isVisible());
        EXPECT_EQ(window().series().commandTarget(), shown(matches.front()));
        const LogoTile& tile = *wall().tile(static_cast<std::size_t>(matches.front()));
        EXPECT_TRUE(QRect(tile.mapToGlobal(QPoint(0, 0)), tile.size()).contains(menu->pos()));
        menu->hide();
    }

    // The list chooses by key too: the wall takes the row's tile when shown.
    mainTab(window())->setCurrentWidget(listView(window()));
    QTableView& grid = *listView(window())->ArchiveGrid;
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Down);
    const int row = grid.verticalHeader()->visualIndex(grid.currentIndex().row()) + 1;
    const SeriesPtr chosen = listView(window())->seriesAtGridRow(row);
    EXPECT_EQ(statusText(), toDisplay(chosen->summary()));
    EXPECT_EQ(app->imageForm().currentFile(), chosen->localLogoFile(false));
    const int index = window().navigator().crntArchive()->indexOfName(*chosen);
    EXPECT_TRUE(wall().selectionPending());
    EXPECT_EQ(wall().selectedIndex(), static_cast<std::size_t>(index));
    mainTab(window())->setCurrentWidget(&wall());
    wall().setFocus();

    QTest::keyClick(&wall(), Qt::Key_Return);
    EXPECT_EQ(mainTab(window())->currentWidget(), contentsView(window()));
    EXPECT_EQ(contentsView(window())->contentsSeries(), chosen);
}

TEST_F(KeyboardTest, AltArrowsAndBackspaceWalkTheHistoryButNotInATextBox) {
    writeOnlineSettings();
    start();
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    const ArtListPtr march = window().navigator().crntArchive();
    window().navigator().archiveMenuSelect(*archiveEntry("2008/02"));
    ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
    const ArtListPtr february = window().navigator().crntArchive();
    ASSERT_NE(february, march);
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));

    const auto press = [this](Qt::Key key, Qt::KeyboardModifiers modifiers, const ArtListPtr& to) {
        QTest::keyClick(&window(), key, modifiers);
        ASSERT_TRUE(waitFor([this] { return tilesComplete(); }));
        EXPECT_EQ(window().navigator().crntArchive(), to)
            << QKeySequence(key | modifiers).toString().toStdString();
    };
    press(Qt::Key_Left, Qt::AltModifier, march);
    press(Qt::Key_Left, Qt::AltModifier, march); // nothing further back
    press(Qt::Key_Right, Qt::AltModifier, february);
    press(Qt::Key_Backspace, Qt::NoModifier, march);
    press(Qt::Key_Right, Qt::AltModifier, february);

    // Backspace belongs to a text box that has the keyboard, read-only or not.
    auto* log = part<QPlainTextEdit>(window(), "dbgMemo");
    log->show();
    log->setFocus();
    press(Qt::Key_Backspace, Qt::NoModifier, february);
    press(Qt::Key_Left, Qt::AltModifier, march);
}

} // namespace
} // namespace zob::testing
