#include "catalogue/listtesting.h"
#include "demosite/demosite.h"
#include "gui/views/listview.h"
#include "platform/debuglog.h"
#include "testsupport/screenshots.h"
#include "testsupport/sitesession.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace zob {
namespace {

using cataloguetest::CatalogueWorld;

// Records what the view asked of the main window.
class FakeHost : public ListViewHost {
public:
    ArtListPtr crntArchive() const override { return list; }
    bool offlineMode() const override { return offline; }
    FetchEnv fetchEnv() override {
        ++fetches;
        if (!envSource) {
            throw std::logic_error("the view fetched while offline");
        }
        return envSource();
    }
    bool sideViewerVisible() const override { return sideVisible; }
    void showInSideViewer(const std::string& file) override { sideFiles.push_back(file); }
    void selectTileFromGrid(std::size_t index) override { selectedTiles.push_back(index); }
    void openSeriesAtCurrentResolution(const SeriesPtr& series) override {
        opened.push_back(series);
    }
    void showContentsPage() override { ++contentsPages; }
    void popupSeriesMenu(const SeriesPtr& series, QPoint globalPos) override {
        menus.emplace_back(series, globalPos);
    }

    ArtListPtr list;
    bool offline = true;
    bool sideVisible = false;
    std::function<FetchEnv()> envSource;
    int fetches = 0;
    std::vector<std::string> sideFiles;
    std::vector<std::size_t> selectedTiles;
    std::vector<SeriesPtr> opened;
    int contentsPages = 0;
    std::vector<std::pair<SeriesPtr, QPoint>> menus;
};

// Pointer moves go straight to the grid: the offscreen platform turns a cursor
// move without a button into no event at all.
void sendMove(QWidget* target, QPoint point) {
    QMouseEvent move(QEvent::MouseMove, point, target->mapToGlobal(point), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

QImage solidJpeg(const std::filesystem::path& file, QColor colour) {
    QImage image(113, 170, QImage::Format_RGB32);
    image.fill(colour);
    std::filesystem::create_directories(file.parent_path());
    EXPECT_TRUE(image.save(QString::fromStdString(file.string()), "JPG"));
    return image;
}

class ListViewTest : public ::testing::Test {
protected:
    ListViewTest() {
        host.list = list;
        view.show();
        QApplication::processEvents();
    }

    SeriesPtr add(const std::string& name, std::string date, std::string title, std::string model,
                  std::string photographer, std::int32_t count) {
        list->addParsed(std::move(title), "/members/gallery/2008/" + name + "/", std::move(date),
                        std::move(model), std::move(photographer),
                        "/members/gallery/2008/" + name + "/cover.jpg", count, -1, -1);
        return list->item(list->size() - 1);
    }
    // Series "s_NN_200803" with titles, dates and counts taken from the number.
    void addNumbered(int count) {
        for (int i = 1; i <= count; ++i) {
            const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
            add("s_" + number + "_200803", "2008/03/" + number, "Title " + number, "Model", "Photo",
                i);
        }
    }

    QTableView& grid() { return *view.ArchiveGrid; }
    QWidget* cells() { return view.ArchiveGrid->viewport(); }
    QFont headingFont(int column) {
        return grid().model()->headerData(column, Qt::Horizontal, Qt::FontRole).value<QFont>();
    }

    // The middle of a row as the user sees it (1 is the first series).
    QPoint rowPoint(int row, int x = 30) {
        const int logical = grid().verticalHeader()->logicalIndex(row - 1);
        return {x, grid().rowViewportPosition(logical) + grid().rowHeight(logical) / 2};
    }
    // A column's texts in the order the user sees the rows.
    std::vector<std::string> shownColumn(int column) {
        std::vector<std::string> texts;
        for (int row = 0; row < grid().model()->rowCount(); ++row) {
            const int logical = grid().verticalHeader()->logicalIndex(row);
            texts.push_back(grid().model()->index(logical, column).data().toString().toStdString());
        }
        return texts;
    }
    void clickHeading(int column) {
        QHeaderView* headings = grid().horizontalHeader();
        const QPoint point(headings->sectionViewportPosition(column) + 10, headings->height() / 2);
        QTest::mouseClick(headings->viewport(), Qt::LeftButton, {}, point);
    }
    int listPosition(const SeriesPtr& series) const {
        const auto& records = list->records();
        return static_cast<int>(std::find(records.begin(), records.end(), series) -
                                records.begin());
    }

    CatalogueWorld world;
    std::shared_ptr<cataloguetest::NamedList> list = world.named("list.csv");
    FakeHost host;
    DebugLog log;
    ArchiveListView view{host, log};
};

TEST_F(ListViewTest, FillShowsEverySeriesInListOrderUnderFixedHeadings) {
    add("ab_cd_200803", "2008/03/01", "Sunny", "Ann & Bea", "Carl", 24);
    add("ef_gh_200803", "2008/03/02", "Caf\xe9", "Dora", "Emil", 0);
    add("ij_kl_200803", "2008/03/03", "Unread", "Fay", "Gus", 999);
    view.fillArchiveGrid();

    ASSERT_EQ(grid().model()->rowCount(), 3);
    EXPECT_TRUE(grid().isEnabled());
    EXPECT_EQ(shownColumn(0), (std::vector<std::string>{"2008/03/01", "2008/03/02", "2008/03/03"}));
    EXPECT_EQ(shownColumn(1), (std::vector<std::string>{"Sunny", "Café", "Unread"}));
    EXPECT_EQ(shownColumn(2)[0], "Ann & Bea");
    EXPECT_EQ(shownColumn(3)[0], "Carl");
    EXPECT_EQ(shownColumn(4), (std::vector<std::string>{"24", "movie", "???"}));
    EXPECT_EQ(shownColumn(5)[0], "----");
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(view.seriesAtGridRow(row), list->item(std::size_t(row - 1)));
        EXPECT_EQ(view.findGridRow(*list->item(std::size_t(row - 1))), row);
    }
    EXPECT_EQ(view.seriesAtGridRow(0), nullptr);
    EXPECT_EQ(view.seriesAtGridRow(4), nullptr);

    const std::vector<std::string> headings{"Date", "Title", "Model", "Photo", "Specs", "Imgs"};
    const std::vector<int> widths{64, 122, 64, 64, 44, 36};
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(grid().model()->headerData(column, Qt::Horizontal).toString().toStdString(),
                  headings[std::size_t(column)]);
        EXPECT_EQ(grid().columnWidth(column), widths[std::size_t(column)]);
        // List order is no column's order: no heading is marked.
        EXPECT_FALSE(headingFont(column).bold()) << column;
        EXPECT_FALSE(headingFont(column).underline()) << column;
    }
    EXPECT_EQ(grid().rowHeight(0), 20);
}

TEST_F(ListViewTest, EmptyListLeavesOnlyTheHeadingAndDisablesTheGrid) {
    EXPECT_FALSE(grid().isEnabled()) << "nothing loaded yet";
    addNumbered(3);
    view.fillArchiveGrid();
    EXPECT_TRUE(grid().isEnabled());

    host.list = world.named("empty.csv");
    view.fillArchiveGrid();
    EXPECT_EQ(grid().model()->rowCount(), 0);
    EXPECT_FALSE(grid().isEnabled());
    EXPECT_EQ(grid().model()->headerData(4, Qt::Horizontal).toString(), "Specs");
    EXPECT_EQ(view.findGridRow(*list->item(0)), 0);

    log.switchOn();
    view.addGridRow(nullptr);
    EXPECT_EQ(grid().model()->rowCount(), 0);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_THAT(log.lines()[0], ::testing::EndsWith("series is null"));
}

TEST_F(ListViewTest, SortingReversesOnTheSameColumnAndKeepsDirectionOnANewOne) {
    add("aa_aa_200803", "2008/03/02", "b", "M", "P", 10);
    add("bb_bb_200803", "2008/03/04", "a", "M", "P", 10);
    add("cc_cc_200803", "2008/03/01", "C", "M", "P", 10);
    add("dd_dd_200803", "2008/03/03", "c", "M", "P", 10);
    view.fillArchiveGrid();

    // Another column keeps the (ascending) direction; bytes order capitals first.
    clickHeading(1);
    EXPECT_EQ(view.sortColumn(), 1);
    EXPECT_FALSE(view.sortDescending());
    EXPECT_EQ(shownColumn(1), (std::vector<std::string>{"C", "a", "b", "c"}));
    EXPECT_TRUE(headingFont(1).bold());
    EXPECT_TRUE(headingFont(1).underline());
    EXPECT_FALSE(headingFont(0).bold());

    clickHeading(1);
    EXPECT_TRUE(view.sortDescending());
    EXPECT_EQ(shownColumn(1), (std::vector<std::string>{"c", "b", "a", "C"}));

    clickHeading(0);
    EXPECT_TRUE(view.sortDescending()) << "a new column keeps the direction";
    EXPECT_EQ(shownColumn(0),
              (std::vector<std::string>{"2008/03/04", "2008/03/03", "2008/03/02", "2008/03/01"}));

    // Heading clicks sort only: no row and no tile gets selected.
    EXPECT_TRUE(grid().selectionModel()->selectedRows().isEmpty());
    EXPECT_TRUE(host.selectedTiles.empty());
    EXPECT_EQ(list->item(0)->title, "b") << "the list keeps its own order";

    // Filled again (the next list shown), the rows follow the marked heading.
    view.fillArchiveGrid();
    EXPECT_EQ(shownColumn(0),
              (std::vector<std::string>{"2008/03/04", "2008/03/03", "2008/03/02", "2008/03/01"}));
    EXPECT_TRUE(headingFont(0).bold());
}

TEST_F(ListViewTest, SpecsSortsMoviesAfterCountsAndUnreadCountsLast) {
    add("aa_aa_200803", "d", "t", "m", "p", 80);
    add("bb_bb_200803", "d", "t", "m", "p", 999);
    add("cc_cc_200803", "d", "t", "m", "p", 0);
    add("dd_dd_200803", "d", "t", "m", "p", 12);
    add("ee_ee_200803", "d", "t", "m", "p", 100);
    view.fillArchiveGrid();

    view.sortArchiveGrid(4);
    EXPECT_EQ(shownColumn(4), (std::vector<std::string>{"12", "80", "100", "movie", "???"}));
    view.sortArchiveGrid(4);
    EXPECT_EQ(shownColumn(4), (std::vector<std::string>{"???", "movie", "100", "80", "12"}));
}

TEST_F(ListViewTest, RowsFollowTheirSeriesAfterSortingAndDragging) {
    addNumbered(5);
    view.fillArchiveGrid();
    view.sortArchiveGrid(0);
    view.sortArchiveGrid(0);
    ASSERT_TRUE(view.sortDescending());
    const SeriesPtr first = list->item(0);
    EXPECT_EQ(view.findGridRow(*first), 5);

    // The user drags the top row (series 5) to the third place.
    grid().verticalHeader()->moveSection(0, 2);
    EXPECT_EQ(shownColumn(1), (std::vector<std::string>{"Title 04", "Title 03", "Title 05",
                                                        "Title 02", "Title 01"}));
    const SeriesPtr fifth = list->item(4);
    EXPECT_EQ(view.findGridRow(*fifth), 3);
    EXPECT_EQ(view.seriesAtGridRow(3), fifth);
    EXPECT_EQ(view.seriesAtGridRow(1), list->item(3));

    fifth->loadedRes = withResolution(0, resThumb);
    view.updateImgsCell(*fifth);
    EXPECT_EQ(shownColumn(5), (std::vector<std::string>{"----", "----", "T---", "----", "----"}));

    QTest::mouseClick(cells(), Qt::LeftButton, {}, rowPoint(3));
    EXPECT_EQ(host.selectedTiles, std::vector<std::size_t>{4});

    // Sorting starts from the order on screen and then shows a plain order again.
    view.sortArchiveGrid(1);
    EXPECT_EQ(shownColumn(1), (std::vector<std::string>{"Title 05", "Title 04", "Title 03",
                                                        "Title 02", "Title 01"}));
    EXPECT_EQ(view.findGridRow(*fifth), 1);
    EXPECT_EQ(view.seriesAtGridRow(1), fifth);
    EXPECT_EQ(list->item(0), first) << "the list keeps its own order";
}

TEST_F(ListViewTest, ClicksReportTheRowsSeriesWhateverTheGridOrder) {
    addNumbered(4);
    view.fillArchiveGrid();
    view.sortArchiveGrid(0);
    view.sortArchiveGrid(0); // descending: row 1 shows list position 3

    QTest::mouseClick(cells(), Qt::LeftButton, {}, rowPoint(1));
    QTest::mouseClick(cells(), Qt::RightButton, {}, rowPoint(4));
    EXPECT_EQ(host.selectedTiles, (std::vector<std::size_t>{3, 0}));
    host.selectedTiles.clear();

    // A real double click: press and release, then the double click itself.
    QTest::mouseClick(cells(), Qt::LeftButton, {}, rowPoint(2));
    QTest::mouseDClick(cells(), Qt::LeftButton, {}, rowPoint(2));
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0], list->item(2));

    // Below the last row there is no series to select, open or act on.
    EXPECT_EQ(host.selectedTiles, std::vector<std::size_t>{2});
    const QPoint below(30, rowPoint(4).y() + 40);
    host.selectedTiles.clear();
    QTest::mouseDClick(cells(), Qt::LeftButton, {}, below);
    EXPECT_EQ(host.opened.size(), 1u);
    QTest::mouseClick(cells(), Qt::LeftButton, {}, below);
    EXPECT_TRUE(host.selectedTiles.empty());

    QContextMenuEvent outside(QContextMenuEvent::Mouse, below, cells()->mapToGlobal(below));
    QApplication::sendEvent(cells(), &outside);
    EXPECT_TRUE(host.menus.empty());

    grid().clearSelection();
    const QPoint onRow = rowPoint(3, 80);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, onRow, cells()->mapToGlobal(onRow));
    QApplication::sendEvent(cells(), &menu);
    ASSERT_EQ(host.menus.size(), 1u);
    EXPECT_EQ(host.menus[0].first, list->item(1));
    EXPECT_EQ(host.menus[0].second, cells()->mapToGlobal(onRow));
    const auto selected = grid().selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(view.seriesAtGridRow(grid().verticalHeader()->visualIndex(selected[0].row()) + 1),
              list->item(1));
    EXPECT_EQ(grid().selectionModel()->selectedIndexes().size(), 6) << "the whole row";
}

TEST_F(ListViewTest, HoverShowsTheCoverOncePerSeriesOffline) {
    addNumbered(3);
    const QImage red = solidJpeg(list->item(1)->localLogoFile(true), Qt::red);
    view.fillArchiveGrid();
    host.sideVisible = true;

    for (int x = 10; x < 200; x += 20) {
        sendMove(cells(), rowPoint(1, x));
    }
    EXPECT_EQ(host.fetches, 0) << "offline nothing is fetched";
    EXPECT_EQ(host.sideFiles, std::vector<std::string>{list->item(0)->localLogoFile(false)});
    const QImage placeholder = view.smallLogoImg->pixmap().toImage();
    ASSERT_FALSE(placeholder.isNull());

    sendMove(cells(), rowPoint(2));
    sendMove(cells(), rowPoint(2, 90));
    EXPECT_EQ(host.sideFiles.size(), 2u);
    const QImage cover = view.smallLogoImg->pixmap().toImage();
    ASSERT_EQ(cover.size(), red.size());
    const QColor middle = cover.pixelColor(56, 85);
    EXPECT_GT(middle.red(), 200);
    EXPECT_LT(middle.green(), 60);

    // With the side window closed only the small cover changes.
    host.sideVisible = false;
    sendMove(cells(), rowPoint(3));
    EXPECT_EQ(host.sideFiles.size(), 2u);
    EXPECT_NE(view.smallLogoImg->pixmap().toImage().pixelColor(56, 85), middle);
}

TEST_F(ListViewTest, WheelMovesAThirdOfTheVisibleRowsWithinTheRows) {
    addNumbered(40);
    view.fillArchiveGrid();
    const int visible = view.visibleRowCount();
    ASSERT_GE(visible, 6);
    const int step = visible / 3;
    const int lastTop = 41 - visible;

    EXPECT_EQ(view.topRow(), 1);
    view.wheelScroll(120);
    EXPECT_EQ(view.topRow(), 1) << "already at the top";
    view.wheelScroll(-120);
    EXPECT_EQ(view.topRow(), 1 + step);
    for (int notch = 0; notch < 20; ++notch) {
        view.wheelScroll(-120);
    }
    EXPECT_EQ(view.topRow(), lastTop);
    view.wheelScroll(120);
    EXPECT_EQ(view.topRow(), lastTop - step);

    // The grid's own wheel turns follow the same rule, a notch at a time.
    const QPoint point = rowPoint(lastTop - step + 1);
    QWheelEvent turn(point, cells()->mapToGlobal(point), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(cells(), &turn);
    EXPECT_EQ(view.topRow(), lastTop - 2 * step);
}

TEST_F(ListViewTest, SelectingASeriesRowCentresItWithinTheRows) {
    addNumbered(40);
    view.fillArchiveGrid();
    view.sortArchiveGrid(0);
    view.sortArchiveGrid(0); // descending: list position i shows in row 40 - i
    const int visible = view.visibleRowCount();
    ASSERT_GE(visible, 6);

    view.selectSeriesRow(*list->item(19)); // row 21
    EXPECT_EQ(view.topRow(), 21 - 1 - visible / 2);
    const auto selected = grid().selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(view.seriesAtGridRow(grid().verticalHeader()->visualIndex(selected[0].row()) + 1),
              list->item(19));

    view.selectSeriesRow(*list->item(38)); // row 2
    EXPECT_EQ(view.topRow(), 1);
    view.selectSeriesRow(*list->item(0)); // row 40
    EXPECT_EQ(view.topRow(), 41 - visible);
}

// Records the status-bar hints the view sends up to its window.
class HintCatcher : public QObject {
public:
    std::vector<QString> hints;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::StatusTip) {
            hints.push_back(static_cast<QStatusTipEvent*>(event)->tip());
        }
        return false;
    }
};

TEST_F(ListViewTest, KeysChooseRowsAsClicksDoEnterOpensAndTheMenuKeyGivesTheMenu) {
    addNumbered(4);
    view.fillArchiveGrid();
    view.sortArchiveGrid(0);
    view.sortArchiveGrid(0); // descending: row 1 shows list position 3
    HintCatcher catcher;
    view.installEventFilter(&catcher);
    grid().setFocus();
    // The wall's selection shows in the grid without coming back to the wall.
    view.selectSeriesRow(*list->item(3));
    EXPECT_TRUE(host.selectedTiles.empty());

    QTest::keyClick(&grid(), Qt::Key_Down);
    QTest::keyClick(&grid(), Qt::Key_Down);
    QTest::keyClick(&grid(), Qt::Key_Up);
    EXPECT_EQ(host.selectedTiles, (std::vector<std::size_t>{2, 1, 2}));
    EXPECT_EQ(host.sideFiles.back(), list->item(2)->localLogoFile(false));
    EXPECT_FALSE(view.smallLogoImg->pixmap().isNull());
    EXPECT_EQ(catcher.hints,
              (std::vector<QString>{QString::fromStdString(list->item(2)->summary()),
                                    QString::fromStdString(list->item(1)->summary()),
                                    QString::fromStdString(list->item(2)->summary())}));

    QTest::keyClick(&grid(), Qt::Key_Return);
    EXPECT_EQ(host.opened, std::vector<SeriesPtr>{list->item(2)});
    QTest::keyClick(&grid(), Qt::Key_Menu);
    QTest::keyClick(&grid(), Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(host.menus.size(), 2u);
    for (const auto& [series, where] : host.menus) {
        EXPECT_EQ(series, list->item(2));
        EXPECT_EQ(grid().rowAt(cells()->mapFromGlobal(where).y()),
                  grid().verticalHeader()->logicalIndex(1));
    }
}

TEST_F(ListViewTest, PageLayoutFollowsItsSize) {
    EXPECT_EQ(view.ListViewLabel->text(), "Not Loaded");
    EXPECT_EQ(view.ListViewLabel->font().pixelSize(), 19);
    EXPECT_FALSE(view.searchBtn->isEnabled());
    EXPECT_EQ(view.searchBtn->text(), "search...");

    view.resize(800, 600);
    EXPECT_EQ(grid().geometry(), QRect(5, 24, 800 - 129 - 15, 600 - 29));
    EXPECT_EQ(view.smallLogoImg->geometry(), QRect(800 - 129 - 5, 27, 129, 190));
    EXPECT_EQ(view.searchBtn->geometry().right() + 1, 800 - 5);
    view.layoutForMainResize();
    EXPECT_EQ(grid().height(), 600 - 24);

    QTest::mouseClick(view.smallLogoImg, Qt::LeftButton);
    EXPECT_EQ(host.contentsPages, 1);
}

// Covers come from the site the first time a series is hovered, and never twice.
class ListViewSiteTest : public testing::DemoSiteSuite {
protected:
    ListViewSiteTest() {
        host.offline = false;
        host.envSource = [this] { return session.context->fetchEnv(); };
        int taken = 0;
        for (const demosite::Series& series : site().content().allSeries()) {
            if (series.archiveOnly || series.onArchivePage || taken == 8) {
                continue;
            }
            list->addParsed(series.title, series.folderPath, series.date, series.modelText,
                            series.photographer, series.coverPath,
                            series.isMovie ? 0 : series.announcedPhotos, -1, -1);
            ++taken;
        }
        host.list = list;
        view.show();
        QApplication::processEvents();
        view.fillArchiveGrid();
    }

    QPoint rowPoint(int row, int x = 30) {
        QTableView& grid = *view.ArchiveGrid;
        const int logical = grid.verticalHeader()->logicalIndex(row - 1);
        return {x, grid.rowViewportPosition(logical) + 10};
    }

    testing::SiteSession session{site().baseUrl()};
    std::shared_ptr<cataloguetest::NamedList> list = std::make_shared<cataloguetest::NamedList>(
        session.registry(), cataloguetest::NamedList::Names{"list.csv", {}, {}, {}, {}});
    FakeHost host;
    ArchiveListView view{host, session.context->debugLog};
};

TEST_F(ListViewSiteTest, HoverFetchesAMissingCoverOnce) {
    ASSERT_EQ(view.ArchiveGrid->model()->rowCount(), 8);
    QWidget* cells = view.ArchiveGrid->viewport();
    const SeriesPtr first = view.seriesAtGridRow(1);
    ASSERT_FALSE(std::filesystem::exists(first->localLogoFile(true)));

    for (int x = 10; x < 300; x += 15) {
        sendMove(cells, rowPoint(1, x));
    }
    EXPECT_EQ(host.fetches, 1);
    EXPECT_GT(std::filesystem::file_size(first->localLogoFile(true)), 0u);

    sendMove(cells, rowPoint(2));
    sendMove(cells, rowPoint(1));
    EXPECT_EQ(host.fetches, 2) << "the first cover is on disk now";
    EXPECT_TRUE(session.prompt.shown().empty());
}

TEST_F(ListViewSiteTest, Screenshot) {
    view.setCaption("March 2008");
    view.sortArchiveGrid(4);
    view.sortArchiveGrid(4);
    view.sortArchiveGrid(4);
    ASSERT_EQ(view.sortColumn(), 4);
    sendMove(view.ArchiveGrid->viewport(), rowPoint(3));
    view.selectSeriesRow(*view.seriesAtGridRow(3));
    EXPECT_FALSE(view.smallLogoImg->pixmap().isNull());
    testing::saveScreenshot(view, "list_view");
}

} // namespace
} // namespace zob
