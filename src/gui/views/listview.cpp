#include "gui/views/listview.h"

#include "download/seriesdownload.h"
#include "gui/displaytext.h"
#include "gui/views/jpegimage.h"
#include "gui/views/listviewsort.h"
#include "gui/views/logotile.h"
#include "gui/views/seriestablemodel.h"
#include "gui/views/wallkeys.h"
#include "platform/debuglog.h"

#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QTableView>
#include <QWheelEvent>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace zob {

namespace {

constexpr int rowHeight = 20;
constexpr int wheelNotch = 120;

bool hasContent(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return !error && size > 0;
}

QImage coverImage(const SeriesRec& series) {
    const std::string file = series.localLogoFile(true);
    if (hasContent(file)) {
        try {
            return loadJpegImage(file);
        } catch (const std::exception&) {
            // A damaged cover shows like a missing one.
        }
    }
    return noLogoImage(toDisplay(series.title));
}

} // namespace

ArchiveListView::ArchiveListView(ListViewHost& host, DebugLog& log, QWidget* parent)
    : QWidget(parent), ListViewLabel(new QLabel(QStringLiteral("Not Loaded"), this)),
      ArchiveGrid(new QTableView(this)), smallLogoImg(new QLabel(this)),
      searchBtn(new QPushButton(QStringLiteral("search..."), this)), host_(host), log_(log),
      rows_(new SeriesTableModel(this)) {
    QFont captionFont(QStringLiteral("Tahoma"));
    captionFont.setPixelSize(19);
    ListViewLabel->setFont(captionFont);
    ListViewLabel->move(8, 0);
    ListViewLabel->resize(420, 24);

    smallLogoImg->setGeometry(432, 27, 129, 190);
    smallLogoImg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    smallLogoImg->setCursor(Qt::PointingHandCursor);
    smallLogoImg->installEventFilter(this);

    searchBtn->resize(113, 25);
    searchBtn->setEnabled(false);

    setupGrid();
    resize(566, 424);
}

ArchiveListView::~ArchiveListView() = default;

void ArchiveListView::setupGrid() {
    ArchiveGrid->setGeometry(1, 29, 425, 395);
    ArchiveGrid->setModel(rows_);
    for (int column = 0; column < listColumnCount; ++column) {
        ArchiveGrid->setColumnWidth(column, listColumns[std::size_t(column)].width);
    }
    ArchiveGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ArchiveGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ArchiveGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    ArchiveGrid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    ArchiveGrid->setShowGrid(true);
    ArchiveGrid->setWordWrap(false);
    // The design widths were made for a small dialog font: a full date must fit 64 pixels.
    QFont cellFont = ArchiveGrid->font();
    cellFont.setPixelSize(10);
    ArchiveGrid->setFont(cellFont);
    ArchiveGrid->setTextElideMode(Qt::ElideNone);
    ArchiveGrid->setSortingEnabled(false);

    QHeaderView* headings = ArchiveGrid->horizontalHeader();
    headings->setSectionsClickable(true);
    headings->setHighlightSections(false);
    headings->setSectionResizeMode(QHeaderView::Interactive);
    headings->setStretchLastSection(false);
    headings->setFixedHeight(rowHeight + 1);
    connect(headings, &QHeaderView::sectionClicked, this,
            [this](int column) { sortArchiveGrid(column); });

    // A narrow grip at the left is where the user drags rows to reorder them.
    QHeaderView* grips = ArchiveGrid->verticalHeader();
    grips->setSectionsMovable(true);
    grips->setSectionResizeMode(QHeaderView::Fixed);
    grips->setMinimumSectionSize(rowHeight);
    grips->setDefaultSectionSize(rowHeight);
    grips->setFixedWidth(10);

    ArchiveGrid->setMouseTracking(true);
    ArchiveGrid->viewport()->setMouseTracking(true);
    ArchiveGrid->viewport()->installEventFilter(this);
    ArchiveGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ArchiveGrid, &QWidget::customContextMenuRequested, this,
            [this](QPoint point) { openRowMenu(point); });
    ArchiveGrid->installEventFilter(this);
    // The selection, not the current cell: a grid taking the keyboard makes
    // its first row current without choosing it.
    connect(ArchiveGrid->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList rows = ArchiveGrid->selectionModel()->selectedRows();
        if (rows.size() == 1) {
            rowChosen(rows.front().row());
        }
    });

    markSortHeading();
    ArchiveGrid->setEnabled(false);
}

void ArchiveListView::setCaption(const QString& caption) {
    ListViewLabel->setText(caption);
}

void ArchiveListView::fillArchiveGrid() {
    lastHovered_.reset();
    const ArtListPtr list = host_.crntArchive();
    // A marked heading promises an order: a new list shows in it too.
    showRows(list ? list->records() : std::vector<SeriesPtr>{});
    ArchiveGrid->setEnabled(dataRowCount() > 0);
}

void ArchiveListView::showRows(std::vector<SeriesPtr> rows) {
    if (sortColumn_ >= 0) {
        sortByHeading(rows, listColumns.at(static_cast<std::size_t>(sortColumn_)).heading,
                      sortDescending_);
    }
    rows_->setRows(std::move(rows));
}

void ArchiveListView::addGridRow(const SeriesPtr& series) {
    if (!series) {
        log_.dbgLog("series is null", true);
        return;
    }
    if (ArchiveGrid == nullptr) {
        log_.dbgLog("archiveGrid is null", true);
        return;
    }
    rows_->appendRow(series);
}

void ArchiveListView::sortArchiveGrid(int column) {
    if (column < 0 || column >= listColumnCount) {
        return;
    }
    if (column == sortColumn_) {
        sortDescending_ = !sortDescending_;
    }
    std::vector<SeriesPtr> shown;
    shown.reserve(rows_->rows().size());
    for (int row = 1; row <= dataRowCount(); ++row) {
        shown.push_back(seriesAtGridRow(row));
    }
    sortColumn_ = column;
    showRows(std::move(shown));
    markSortHeading();
}

void ArchiveListView::markSortHeading() {
    rows_->markHeading(sortColumn_, ArchiveGrid->horizontalHeader()->font());
}

int ArchiveListView::dataRowCount() const {
    return rows_->rowCount();
}

SeriesPtr ArchiveListView::seriesAtTableRow(int logicalRow) const {
    return rows_->series(logicalRow);
}

int ArchiveListView::findGridRow(const SeriesRec& series) const {
    const int logical = rows_->rowOf(series);
    return logical < 0 ? 0 : ArchiveGrid->verticalHeader()->visualIndex(logical) + 1;
}

SeriesPtr ArchiveListView::seriesAtGridRow(int row) const {
    if (row < 1 || row > dataRowCount()) {
        return nullptr;
    }
    return seriesAtTableRow(ArchiveGrid->verticalHeader()->logicalIndex(row - 1));
}

SeriesPtr ArchiveListView::seriesAtViewportPoint(QPoint point) const {
    const int logical = ArchiveGrid->rowAt(point.y());
    return logical < 0 ? nullptr : seriesAtTableRow(logical);
}

void ArchiveListView::updateImgsCell(const SeriesRec& series) {
    rows_->rowChanged(rows_->rowOf(series));
}

void ArchiveListView::selectSeriesRow(const SeriesRec& series) {
    const int row = findGridRow(series);
    if (row == 0) {
        return;
    }
    {
        const QScopedValueRollback forWall(selectingForWall_, true);
        ArchiveGrid->selectRow(ArchiveGrid->verticalHeader()->logicalIndex(row - 1));
    }
    const int visible = visibleRowCount();
    const int headingAndRows = dataRowCount() + 1;
    setTopRow(std::max(std::min(row - 1 - visible / 2, headingAndRows - visible), 1));
}

void ArchiveListView::showSmallCover(const SeriesRec& series) {
    smallLogoImg->setPixmap(QPixmap::fromImage(coverImage(series)));
}

int ArchiveListView::topRow() const {
    return ArchiveGrid->verticalScrollBar()->value() + 1;
}

void ArchiveListView::setTopRow(int row) {
    // Row insertions lay the grid out later; the scroll range must be current now.
    ArchiveGrid->doItemsLayout();
    ArchiveGrid->verticalScrollBar()->setValue(row - 1);
}

int ArchiveListView::visibleRowCount() const {
    // Whole rows only, and none past the last one.
    const int fitting = ArchiveGrid->viewport()->height() / rowHeight;
    const int below = dataRowCount() - (topRow() - 1);
    return std::max(0, std::min(fitting, below));
}

void ArchiveListView::wheelScroll(int delta) {
    const int step = visibleRowCount() / 3;
    const int headingAndRows = dataRowCount() + 1;
    int top = topRow() + (delta > 0 ? -step : step);
    top = std::max(top, 1);
    top = std::min(top, headingAndRows - visibleRowCount());
    setTopRow(top);
}

void ArchiveListView::layoutForMainResize() {
    ArchiveGrid->resize(ArchiveGrid->width(), height() - 24);
    QWidget* buttonParent = searchBtn->parentWidget();
    searchBtn->move(buttonParent->width() - searchBtn->width() - 5, searchBtn->y());
}

void ArchiveListView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int pageWidth = width();
    ArchiveGrid->setGeometry(5, 24, pageWidth - smallLogoImg->width() - 15, height() - 29);
    smallLogoImg->move(pageWidth - smallLogoImg->width() - 5, 27);
    searchBtn->move(pageWidth - searchBtn->width() - 5, 0);
}

bool ArchiveListView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == smallLogoImg && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && smallLogoImg->rect().contains(mouse->pos())) {
            host_.showContentsPage();
        }
        return false;
    }
    if (watched == ArchiveGrid && event->type() == QEvent::KeyPress) {
        return gridKey(*static_cast<QKeyEvent*>(event));
    }
    if (watched != ArchiveGrid->viewport()) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseMove:
        hoverRow(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::MouseButtonRelease:
        clickRow(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::MouseButtonDblClick:
        doubleClickRow(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::Wheel:
        wheelTurned(static_cast<QWheelEvent*>(event)->angleDelta().y());
        return true;
    default:
        break;
    }
    return false;
}

void ArchiveListView::hoverRow(QPoint point) {
    const SeriesPtr series = seriesAtViewportPoint(point);
    if (!series || lastHovered_.lock() == series) {
        return;
    }
    lastHovered_ = series;
    showCovers(*series, host_.sideViewerVisible());
}

void ArchiveListView::showCovers(SeriesRec& series, bool sideViewer) {
    if (!host_.offlineMode() && !hasContent(series.localLogoFile(true))) {
        fetchLogos(series, true, false, host_.fetchEnv());
    }
    showSmallCover(series);
    if (sideViewer) {
        host_.showInSideViewer(series.localLogoFile(false));
    }
}

void ArchiveListView::clickRow(QPoint point) {
    selectTileOf(seriesAtViewportPoint(point));
}

void ArchiveListView::selectTileOf(const SeriesPtr& series) {
    const ArtListPtr list = host_.crntArchive();
    if (!series || !list) {
        return;
    }
    const auto& records = list->records();
    const auto found = std::find(records.begin(), records.end(), series);
    if (found != records.end()) {
        host_.selectTileFromGrid(static_cast<std::size_t>(found - records.begin()));
    }
}

void ArchiveListView::rowChosen(int logicalRow) {
    const SeriesPtr series = seriesAtTableRow(logicalRow);
    if (!series || selectingForWall_) {
        return;
    }
    lastHovered_ = series;
    // Loaded whether the side viewer shows or not, as a tile's click does.
    showCovers(*series, true);
    QStatusTipEvent hint(toDisplay(series->summary()));
    QCoreApplication::sendEvent(this, &hint);
    // A click tells the wall when its button comes up.
    if (QGuiApplication::mouseButtons() == Qt::NoButton) {
        selectTileOf(series);
    }
}

bool ArchiveListView::gridKey(const QKeyEvent& key) {
    const int logical = ArchiveGrid->currentIndex().row();
    const SeriesPtr series = logical < 0 ? nullptr : seriesAtTableRow(logical);
    if (!series) {
        return false;
    }
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        host_.openSeriesAtCurrentResolution(series);
        return true;
    }
    if (isMenuKey(key)) {
        const QModelIndex current = ArchiveGrid->currentIndex();
        ArchiveGrid->scrollTo(current);
        openRowMenu(ArchiveGrid->visualRect(current).center());
        return true;
    }
    return false;
}

void ArchiveListView::doubleClickRow(QPoint point) {
    // The first click of a double click has selected this very row; going by the
    // pointer also holds when a ctrl-click has just cleared the selection.
    if (const SeriesPtr series = seriesAtViewportPoint(point)) {
        host_.openSeriesAtCurrentResolution(series);
    }
}

void ArchiveListView::openRowMenu(QPoint point) {
    const int logical = ArchiveGrid->rowAt(point.y());
    const SeriesPtr series = logical < 0 ? nullptr : seriesAtTableRow(logical);
    if (!series) {
        return;
    }
    // Selected before the menu opens, so the user sees which series it acts on.
    ArchiveGrid->selectRow(logical);
    host_.popupSeriesMenu(series, ArchiveGrid->viewport()->mapToGlobal(point));
}

void ArchiveListView::wheelTurned(int angleDelta) {
    pendingWheel_ += angleDelta;
    while (pendingWheel_ >= wheelNotch || pendingWheel_ <= -wheelNotch) {
        const int notch = pendingWheel_ > 0 ? wheelNotch : -wheelNotch;
        wheelScroll(notch);
        pendingWheel_ -= notch;
    }
}

} // namespace zob
