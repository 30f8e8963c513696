#pragma once

// The "List View" tab page: the current list as a sortable grid, one row per
// series, with the small cover of the series under the pointer beside it.

#include "catalogue/artlist.h"
#include "catalogue/seriesrec.h"
#include "site/fetch.h"

#include <QPoint>
#include <QString>
#include <QWidget>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class QKeyEvent;
class QLabel;
class QPushButton;
class QTableView;

namespace zob {

class DebugLog;
class SeriesTableModel;

// What the list view asks of the main window.
class ListViewHost {
public:
    virtual ~ListViewHost() = default;
    virtual ArtListPtr crntArchive() const = 0;
    virtual bool offlineMode() const = 0;
    virtual FetchEnv fetchEnv() = 0;
    virtual bool sideViewerVisible() const = 0;
    virtual void showInSideViewer(const std::string& file) = 0;
    // A row click: the tile of list position `index` becomes the selection,
    // shown when the Image View is next shown, and the tile box scrolls to centre it.
    virtual void selectTileFromGrid(std::size_t index) = 0;
    virtual void openSeriesAtCurrentResolution(const SeriesPtr& series) = 0;
    virtual void showContentsPage() = 0;
    // The series menu for `series`, opened at `globalPos`.
    virtual void popupSeriesMenu(const SeriesPtr& series, QPoint globalPos) = 0;
};

// Row numbers in this interface count the heading as row 0, so the first
// series is row 1 whatever order the user sorted or dragged the rows into.
class ArchiveListView : public QWidget {
    Q_OBJECT
public:
    ArchiveListView(ListViewHost& host, DebugLog& log, QWidget* parent = nullptr);
    ~ArchiveListView() override;

    QLabel* ListViewLabel;
    QTableView* ArchiveGrid;
    QLabel* smallLogoImg;
    QPushButton* searchBtn;

    void setCaption(const QString& caption);

    // --- contents
    // Rebuilds every row from the host's current list, in the order of the
    // marked heading, in list order while none is marked.
    void fillArchiveGrid();
    void addGridRow(const SeriesPtr& series);
    // A click on a heading: the same column again reverses the order, another
    // column keeps the direction (ascending at first).
    void sortArchiveGrid(int column);
    // -1 until the user sorts: the rows show in list order.
    int sortColumn() const { return sortColumn_; }
    bool sortDescending() const { return sortDescending_; }

    // --- rows, looked up by series
    // 1 .. data rows, or 0 when no row shows the series.
    int findGridRow(const SeriesRec& series) const;
    // Null outside 1 .. data rows.
    SeriesPtr seriesAtGridRow(int row) const;
    // Rewrites the "Imgs" cell after the series' files changed on disk.
    void updateImgsCell(const SeriesRec& series);
    // Selects the series' row and scrolls it to about the middle of the grid.
    void selectSeriesRow(const SeriesRec& series);
    // The series' small cover beside the grid, or the placeholder with its title.
    void showSmallCover(const SeriesRec& series);

    // --- scrolling and layout
    // One wheel notch: a third of the visible rows, up for a positive delta.
    void wheelScroll(int delta);
    int topRow() const;
    int visibleRowCount() const;
    // The main window's share of the layout when it is resized.
    void layoutForMainResize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setupGrid();
    // Rebuilds the grid from `rows`, sorted by the marked heading if any.
    void showRows(std::vector<SeriesPtr> rows);
    void markSortHeading();
    int dataRowCount() const;
    void setTopRow(int row);
    // The series of the table row under a viewport point; null when none.
    SeriesPtr seriesAtViewportPoint(QPoint point) const;
    SeriesPtr seriesAtTableRow(int logicalRow) const;
    void hoverRow(QPoint point);
    // The small cover (fetched when missing) and, when asked, the side viewer.
    void showCovers(SeriesRec& series, bool sideViewer);
    void clickRow(QPoint point);
    void selectTileOf(const SeriesPtr& series);
    // The user moved to another row: the covers, the status bar and the tile
    // wall follow, as they do for a click.
    void rowChosen(int logicalRow);
    // Enter opens the current row's series; the menu keys give its menu.
    bool gridKey(const QKeyEvent& key);
    void doubleClickRow(QPoint point);
    void openRowMenu(QPoint point);
    void wheelTurned(int angleDelta);

    ListViewHost& host_;
    DebugLog& log_;
    int sortColumn_ = -1;
    bool sortDescending_ = false;
    // Only there to skip repeated hover work while the pointer stays on one row.
    std::weak_ptr<SeriesRec> lastHovered_;
    // Indexed by the table's logical row, which dragging a row does not change.
    SeriesTableModel* rows_;
    // Wheel turns smaller than a notch (touchpads) add up to one.
    int pendingWheel_ = 0;
    // The row was selected for the tile wall: nothing to tell it back.
    bool selectingForWall_ = false;
};

} // namespace zob
