#include "gui/views/archiveimageview.h"

#include "catalogue/seriesrec.h"
#include "config/configinfo.h"
#include "download/downloadfile.h"
#include "download/seriesdownload.h"
#include "gui/displaytext.h"
#include "gui/views/logotile.h"
#include "gui/views/tilegeometry.h"
#include "platform/userprompt.h"
#include "site/fetch.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <optional>

namespace zob {

namespace {

QFont captionFont() {
    QFont font;
    font.setPixelSize(19);
    return font;
}

} // namespace

// --- LogoTile

LogoTile::LogoTile(ArchiveImageView& view, std::size_t index, QWidget* parent)
    : ImageTile(Fit::toImage, parent), view_(view), index_(index) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LogoTile::clicked(QPoint /*position*/) {
    view_.monthSmallLogoImgClick(index_);
}

void LogoTile::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        view_.monthSmallLogoImgDblClick(index_);
    }
}

void LogoTile::mouseMoveEvent(QMouseEvent* /*event*/) {
    view_.monthThumbMouseMove(index_);
}

void LogoTile::contextMenuEvent(QContextMenuEvent* event) {
    view_.tileContextMenu(event->globalPos());
}

// --- ArchiveImageView

ArchiveImageView::ArchiveImageView(ArchiveImageViewHost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
    setObjectName("ImageSheet");
    // The wall takes the keys itself; a focused box would scroll on arrows.
    setFocusPolicy(Qt::StrongFocus);
    ImageViewLabel = new QLabel("Not Loaded", this);
    ImageViewLabel->setObjectName("ImageViewLabel");
    ImageViewLabel->setFont(captionFont());
    ImageViewLabel->move(8, 0);
    ImageViewLabel->resize(560, 24);

    archiveBox = new QScrollArea(this);
    archiveBox->setObjectName("archiveBox");
    archiveBox->setFocusPolicy(Qt::NoFocus);
    archiveBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    archiveBox->setWidgetResizable(false);
    contents_ = new QWidget;
    contents_->setObjectName("archiveContents");
    contents_->resize(571, 649);
    archiveBox->setWidget(contents_);
    archiveBox->setGeometry(0, 31, 571, 649);
    connect(archiveBox->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { syncTilesToView(); });

    // Made before any tile, so every tile lies in front of it.
    selectionBackdrop = new QLabel(contents_);
    selectionBackdrop->setObjectName("selectionBackdrop");
    selectionBackdrop->resize(cellWidth, cellHeight);
    selectionBackdrop->setAutoFillBackground(true);
    QPalette backdropPalette = selectionBackdrop->palette();
    backdropPalette.setColor(QPalette::Window, palette().color(QPalette::Highlight));
    selectionBackdrop->setPalette(backdropPalette);
    selectionBackdrop->hide();

    LogoWarning = new QLabel(contents_);
    LogoWarning->setObjectName("LogoWarning");
    LogoWarning->setFont(captionFont());
    LogoWarning->move(72, 40);
}

LogoTile* ArchiveImageView::tile(std::size_t index) const {
    return tiles_.at(index);
}

int ArchiveImageView::columns() const {
    return tileColumns(cellWidth, *archiveBox);
}

SeriesPtr ArchiveImageView::seriesAt(std::size_t index) const {
    const ArtListPtr list = host_.crntArchive();
    if (!list || index >= list->size()) {
        return nullptr;
    }
    return list->item(index);
}

void ArchiveImageView::initcrntArchiveLogos() {
    tiles_.clear();
    tileImages_.clear();
    lastColumns_ = columns();
}

QImage ArchiveImageView::tileImage(const SeriesRec& series) const {
    const std::string cover = series.localLogoFile(true);
    if (!host_.config().dbgNoImg && hasContent(cover)) {
        return buildLogoTile(cover, series.statusText());
    }
    return noLogoImage(toDisplay(series.title));
}

void ArchiveImageView::showSmallLogo(std::size_t index) {
    const SeriesPtr series = seriesAt(index);
    if (!series) {
        return;
    }
    tiles_.grow(index + 1);
    if (!host_.offlineMode() && !hasContent(series->localLogoFile(true))) {
        fetchLogos(*series, true, false, host_.fetchEnv());
    }
    tileImages_.forget(index);
    growContents();
    if (LogoTile* shown = tiles_.at(index)) {
        shown->update();
        shown->setStatusTip(toDisplay(series->summary()));
    } else {
        syncTilesToView();
    }
}

LogoTile* ArchiveImageView::makeTile(std::size_t index) {
    const SeriesPtr series = seriesAt(index);
    if (!series) {
        return nullptr;
    }
    auto* made = new LogoTile(*this, index, contents_);
    made->setObjectName(QString("tile%1").arg(index));
    made->resize(113, 170);
    // Composed when first painted, that is when it comes into view.
    made->setImageSource([this, index] { return cachedTileImage(index); });
    made->setStatusTip(toDisplay(series->summary()));
    const QRect cell =
        tileRect(static_cast<int>(index), cellWidth, cellHeight, *archiveBox, margin);
    made->move(cell.topLeft());
    made->show();
    return made;
}

void ArchiveImageView::syncTilesToView() {
    const auto [begin, end] = cellsAroundView(tiles_.size(), columns(), cellHeight,
                                              scrollPosition(), archiveBox->viewport()->height());
    tiles_.keepOnly(begin, end, [this](std::size_t index) { return makeTile(index); });
}

void ArchiveImageView::placeLogoTile(std::size_t index) {
    LogoTile* target = tile(index);
    if (target == nullptr) {
        return;
    }
    const QRect cell =
        tileRect(static_cast<int>(index), cellWidth, cellHeight, *archiveBox, margin);
    target->move(cell.left(), cell.top());
    growContents();
}

void ArchiveImageView::growContents() {
    const int cols = std::max(1, columns());
    const int rows = static_cast<int>((tiles_.size() + static_cast<std::size_t>(cols) - 1) /
                                      static_cast<std::size_t>(cols));
    const int width = archiveBox->viewport()->width();
    const int height = std::max(rows * cellHeight + margin, LogoWarning->geometry().bottom() + 1);
    if (contents_->width() != width || contents_->height() != height) {
        contents_->resize(width, height);
    }
}

void ArchiveImageView::refreshLogoTile(const SeriesRec& series) {
    const ArtListPtr list = host_.crntArchive();
    if (!list) {
        return;
    }
    const int index = list->indexOfName(series);
    if (index < 0) {
        return;
    }
    // A tile out of view is composed anew when it comes back.
    tileImages_.forget(static_cast<std::size_t>(index));
    if (LogoTile* target = tile(static_cast<std::size_t>(index))) {
        target->update();
    }
}

QImage ArchiveImageView::cachedTileImage(std::size_t index) {
    return tileImages_.imageOf(index, [this, index] {
        const SeriesPtr series = seriesAt(index);
        return series ? tileImage(*series) : QImage();
    });
}

void ArchiveImageView::updateLogoHint(const SeriesRec& series) {
    const ArtListPtr list = host_.crntArchive();
    const int index = list ? list->indexOfName(series) : -1;
    if (LogoTile* target = index < 0 ? nullptr : tile(static_cast<std::size_t>(index))) {
        target->setStatusTip(toDisplay(series.summary()));
    }
}

void ArchiveImageView::selectLogoTile(std::size_t index) {
    const QRect cell =
        tileRect(static_cast<int>(index), cellWidth, cellHeight, *archiveBox, margin);
    selectionBackdrop->move(cell.left() - margin, cell.top() - margin);
    selectionBackdrop->show();
}

void ArchiveImageView::hideLogoSelection() {
    selectionBackdrop->hide();
}

void ArchiveImageView::clearTileSelection() {
    tileSelected_ = false;
    selectionPending_ = false;
    hideLogoSelection();
}

void ArchiveImageView::setWarning(const QString& text) {
    LogoWarning->setText(text);
    LogoWarning->adjustSize();
    if (!text.isEmpty()) {
        LogoWarning->move((archiveBox->viewport()->width() - LogoWarning->width()) / 2,
                          LogoWarning->y());
    }
    LogoWarning->setVisible(!text.isEmpty());
}

int ArchiveImageView::scrollPosition() const {
    return archiveBox->verticalScrollBar()->value();
}

void ArchiveImageView::setScrollPosition(int position) {
    archiveBox->verticalScrollBar()->setValue(position);
}

void ArchiveImageView::wheelScroll(int delta) {
    setScrollPosition(scrollPosition() - delta);
}

void ArchiveImageView::layoutForResize() {
    archiveBox->setGeometry(0, 31, width(), std::max(0, height() - 31));
    const int cols = columns();
    if (cols != lastColumns_) {
        lastColumns_ = cols;
        for (std::size_t i = tiles_.liveBegin(); i < tiles_.liveEnd(); ++i) {
            placeLogoTile(i);
        }
    }
    growContents();
    syncTilesToView();
    if (tileSelected_) {
        selectLogoTile(selectedIndex_);
    }
    if (afterLayout) {
        afterLayout();
    }
}

void ArchiveImageView::resizeEvent(QResizeEvent* /*event*/) {
    layoutForResize();
}

void ArchiveImageView::selectFromGrid(std::size_t index) {
    tileSelected_ = true;
    selectedIndex_ = index;
    selectionPending_ = true;
    const int cols = std::max(1, columns());
    const int row = static_cast<int>(index) / cols;
    setScrollPosition(row * cellHeight + cellHeight / 2 - archiveBox->height() / 2);
}

void ArchiveImageView::tabShown() {
    if (selectionPending_ && tileSelected_) {
        selectLogoTile(selectedIndex_);
    }
    selectionPending_ = false;
}

SeriesPtr ArchiveImageView::seriesAtCursor() const {
    const int index = tileIndexAtCursor(cellWidth, cellHeight, *archiveBox);
    return index < 0 ? nullptr : seriesAt(static_cast<std::size_t>(index));
}

void ArchiveImageView::monthSmallLogoImgClick(std::size_t index) {
    const SeriesPtr series = seriesAt(index);
    if (!series) {
        return;
    }
    if (tileSelected_ && selectedIndex_ == index) {
        tileSelected_ = false;
        hideLogoSelection();
        host_.tileDeselected();
        return;
    }
    chooseTile(index, series);
}

void ArchiveImageView::chooseTile(std::size_t index, const SeriesPtr& series) {
    host_.showInSideViewer(series->localLogoFile(false));
    tileSelected_ = true;
    selectedIndex_ = index;
    selectionPending_ = false;
    selectLogoTile(index);
    host_.tileSelected(series);
}

void ArchiveImageView::monthSmallLogoImgDblClick(std::size_t index) {
    const SeriesPtr series = seriesAt(index);
    if (!series) {
        return;
    }
    if (host_.offlineMode()) {
        if (series->photoCount.load() == photoCountUnknown &&
            !hasContent(series->localPictureFile(resThumb, 0)) &&
            !hasContent(series->localPictureFile(resThumb, 1))) {
            host_.prompt().showMessage("information",
                                       "In offline-mode, you cannot download anymore.");
            return;
        }
        if (series->isMovie) {
            host_.prompt().showMessage("information",
                                       "In offline-mode, you cannot open movie URL.");
            return;
        }
    }
    host_.openSeriesAtCurrentResolution(series);
}

void ArchiveImageView::monthThumbMouseMove(std::size_t index) {
    if (tileSelected_ || !host_.sideViewerVisible()) {
        return;
    }
    if (const SeriesPtr series = seriesAt(index)) {
        host_.showInSideViewer(series->localLogoFile(false));
    }
}

void ArchiveImageView::tileContextMenu(QPoint globalPos) {
    if (const SeriesPtr series = seriesAtCursor()) {
        host_.popupSeriesMenu(series, globalPos);
    }
}

// --- the keyboard

void ArchiveImageView::keyPressEvent(QKeyEvent* event) {
    if (keyFromChild(*this)) {
        event->ignore();
        return;
    }
    if (isMenuKey(*event)) {
        if (!popupMenuAtSelection()) {
            event->ignore();
        }
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (tileSelected_) {
            monthSmallLogoImgDblClick(selectedIndex_);
        } else {
            event->ignore();
        }
        return;
    }
    if (const std::optional<int> target = cellAfterKey(*event, wallCells())) {
        moveSelectionTo(static_cast<std::size_t>(*target));
        return;
    }
    if (const int found = jumpTarget(jumpLetter(*event)); found >= 0) {
        moveSelectionTo(static_cast<std::size_t>(found));
        return;
    }
    QWidget::keyPressEvent(event);
}

WallCells ArchiveImageView::wallCells() const {
    const ArtListPtr list = host_.crntArchive();
    const int cols = std::max(1, columns());
    WallCells cells;
    cells.count = list ? static_cast<int>(list->size()) : 0;
    cells.columns = cols;
    cells.visibleRows = archiveBox->viewport()->height() / cellHeight;
    cells.current = tileSelected_ ? static_cast<int>(selectedIndex_) : -1;
    // The first row that shows at least half of itself.
    cells.firstVisible = (scrollPosition() + cellHeight / 2) / cellHeight * cols;
    return cells;
}

int ArchiveImageView::jumpTarget(const QString& letter) const {
    const ArtListPtr list = host_.crntArchive();
    if (!list || letter.isEmpty()) {
        return -1;
    }
    return nextTitleStarting(letter, tileSelected_ ? static_cast<int>(selectedIndex_) : -1,
                             static_cast<int>(list->size()), [&list](int index) {
                                 return toDisplay(
                                     list->item(static_cast<std::size_t>(index))->title);
                             });
}

void ArchiveImageView::moveSelectionTo(std::size_t index) {
    const SeriesPtr series = seriesAt(index);
    if (!series) {
        return;
    }
    chooseTile(index, series);
    scrollToTile(index);
    // The hint the status bar shows while the pointer is on the tile.
    QStatusTipEvent hint(toDisplay(series->summary()));
    QCoreApplication::sendEvent(this, &hint);
}

void ArchiveImageView::scrollToTile(std::size_t index) {
    const QRect cell =
        tileRect(static_cast<int>(index), cellWidth, cellHeight, *archiveBox, margin);
    // The selection frame spans the whole cell, margins included.
    scrollIntoView(*archiveBox, cell.translated(-margin, -margin));
}

bool ArchiveImageView::popupMenuAtSelection() {
    const SeriesPtr series = tileSelected_ ? seriesAt(selectedIndex_) : nullptr;
    if (!series) {
        return false;
    }
    scrollToTile(selectedIndex_);
    const QRect cell =
        tileRect(static_cast<int>(selectedIndex_), cellWidth, cellHeight, *archiveBox, margin);
    host_.popupSeriesMenu(series, contents_->mapToGlobal(cell.center()));
    return true;
}

void ArchiveImageView::contextMenuEvent(QContextMenuEvent* event) {
    // The platform turns the menu key into this event for the focused wall;
    // the mouse's menus belong to the tiles.
    if (event->reason() != QContextMenuEvent::Keyboard || !popupMenuAtSelection()) {
        event->ignore();
    }
}

void ArchiveImageView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update(0, 0, width(), archiveBox->y());
}

void ArchiveImageView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update(0, 0, width(), archiveBox->y());
}

void ArchiveImageView::paintEvent(QPaintEvent* /*event*/) {
    paintFocusLine(*this, archiveBox->y());
}

} // namespace zob
