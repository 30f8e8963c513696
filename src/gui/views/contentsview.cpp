#include "gui/views/contentsview.h"

#include "catalogue/resolution.h"
#include "download/downloadfile.h"
#include "gui/displaytext.h"
#include "gui/views/jpegimage.h"
#include "gui/views/logotile.h"
#include "gui/views/tilegeometry.h"
#include "gui/views/wallkeys.h"
#include "platform/jpegdecode.h"
#include "platform/userprompt.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

namespace zob {

namespace {

QFont pixelFont(int pixels) {
    QFont font;
    font.setPixelSize(pixels);
    return font;
}

// A menu entry shows "&" as a mnemonic mark unless it is doubled.
QString menuText(const QString& text) {
    QString escaped = text;
    return escaped.replace('&', "&&");
}

// The folder of a file path, with its trailing delimiter.
std::string folderOf(const std::string& file) {
    const std::size_t slash = file.find_last_of('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

} // namespace

// --- ThumbTile

ThumbTile::ThumbTile(SeriesContentsView& view, int pictureNumber, QWidget* parent)
    : ImageTile(Fit::centred, parent), view_(view), pictureNumber_(pictureNumber) {
    setObjectName(QString("thumb%1").arg(pictureNumber));
    resize(side, side);
}

void ThumbTile::clicked(QPoint position) {
    // The cell is the one under the pointer, as the selection frame follows
    // the grid.
    const QPoint contentsPoint = mapTo(view_.thumbContents(), position);
    view_.SeriesImgClick(tileIndexAt(SeriesContentsView::cellWidth, SeriesContentsView::cellHeight,
                                     *view_.seriesBox, contentsPoint));
}

void ThumbTile::mouseMoveEvent(QMouseEvent* /*event*/) {
    view_.SeriesThumbMouseMove(pictureNumber_);
}

void ThumbTile::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        view_.openThumb(pictureNumber_);
    }
}

void ThumbTile::contextMenuEvent(QContextMenuEvent* event) {
    view_.ppSeriesPopup(event->globalPos());
}

// --- SeriesContentsView

SeriesContentsView::SeriesContentsView(ContentsViewHost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
    setObjectName("contentsSheet");
    // The page takes the keys itself; a focused box would scroll on arrows.
    setFocusPolicy(Qt::StrongFocus);

    ImageTitleLabel = new QLabel("Not Loaded", this);
    ImageTitleLabel->setObjectName("ImageTitleLabel");
    ImageTitleLabel->setFont(pixelFont(19));
    ImageTitleLabel->move(8, 0);
    ImageTitleLabel->adjustSize();

    imageTitleDetail = new QLabel("*", this);
    imageTitleDetail->setObjectName("imageTitleDetail");
    imageTitleDetail->setFont(pixelFont(13));
    imageTitleDetail->adjustSize();
    imageTitleDetail->move(ImageTitleLabel->geometry().right() + 1 + 10, 7);

    OpenDirBtn = new QPushButton("OpenDir", this);
    OpenDirBtn->setObjectName("OpenDirBtn");
    OpenDirBtn->resize(81, 17);
    connect(OpenDirBtn, &QPushButton::clicked, this, [this] { OpenDirBtnClick(); });

    seriesBox = new QScrollArea(this);
    seriesBox->setObjectName("seriesBox");
    seriesBox->setFocusPolicy(Qt::NoFocus);
    seriesBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    seriesBox->setWidgetResizable(false);
    contents_ = new QWidget;
    contents_->setObjectName("seriesContents");
    contents_->resize(571, 649);
    seriesBox->setWidget(contents_);
    seriesBox->setGeometry(0, 31, 571, 649);
    connect(seriesBox->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { syncThumbsToView(); });

    // Made before any thumbnail, so every thumbnail lies in front of it.
    thumbBackdrop = new QLabel(contents_);
    thumbBackdrop->setObjectName("thumbBackdrop");
    thumbBackdrop->resize(cellWidth, cellHeight);
    thumbBackdrop->setAutoFillBackground(true);
    QPalette backdropPalette = thumbBackdrop->palette();
    backdropPalette.setColor(QPalette::Window, palette().color(QPalette::Highlight));
    thumbBackdrop->setPalette(backdropPalette);
    thumbBackdrop->hide();

    seriesPopup = new QMenu(this);
    seriesPopup->setObjectName("seriesPopup");
    spOpenUrl = seriesPopup->addAction("Open URL:");
    seriesPopup->addSeparator();
    spOpenURLPict = seriesPopup->addAction("Open URL:Pict #");
    connect(spOpenUrl, &QAction::triggered, this, [this] { spOpenUrlClick(); });
    connect(spOpenURLPict, &QAction::triggered, this, [this] { spOpenURLPictClick(); });

    resize(571, 680);
    layoutForResize();
}

void SeriesContentsView::setContentsSeries(SeriesPtr series) {
    contentsSeries_ = std::move(series);
}

void SeriesContentsView::setTitleDetail(const SeriesRec& series) {
    ImageTitleLabel->setText(toDisplay(series.title));
    ImageTitleLabel->adjustSize();
    imageTitleDetail->setText(toDisplay("(" + series.model + "/" + series.photographer + "  " +
                                        series.photoText() + ")"));
    imageTitleDetail->adjustSize();
    imageTitleDetail->move(ImageTitleLabel->x() + ImageTitleLabel->width() + 10,
                           imageTitleDetail->y());
}

// --- thumbnails

ThumbTile* SeriesContentsView::thumbnail(std::size_t i) const {
    return i < arrivals_.size() ? thumbnailOf(arrivals_[i]) : nullptr;
}

ThumbTile* SeriesContentsView::thumbnailOf(int pictureNumber) const {
    return pictureNumber < 1 ? nullptr : thumbs_.at(static_cast<std::size_t>(pictureNumber) - 1);
}

int SeriesContentsView::columns() const {
    return tileColumns(cellWidth, *seriesBox);
}

void SeriesContentsView::initThumbnails() {
    thumbs_.clear();
    reported_.clear();
    arrivals_.clear();
    growContents();
}

QImage SeriesContentsView::thumbImage(const SeriesRec& series, int pictureNumber) const {
    const std::string file = series.localPictureFile(resThumb, pictureNumber);
    if (hasContent(file)) {
        try {
            return loadJpegImage(file);
        } catch (const JpegError&) {
            // A damaged thumbnail reads as a missing one.
        }
    }
    return noSeriesImage(toDisplay(series.title));
}

void SeriesContentsView::showThumbnail(const SeriesPtr& series, int pictureNumber) {
    if (!series || series != contentsSeries_ || pictureNumber < 1) {
        return;
    }
    const auto slot = static_cast<std::size_t>(pictureNumber) - 1;
    if (slot >= reported_.size()) {
        reported_.resize(slot + 1, false);
    }
    if (!reported_[slot]) {
        reported_[slot] = true;
        arrivals_.push_back(pictureNumber);
    }
    thumbs_.grow(slot + 1);
    growContents();
    if (thumbs_.at(slot) != nullptr) {
        // A report can come twice for one picture (a job announcing the files
        // on disk again); the newer thumbnail takes the older one's place.
        thumbs_.replace(slot, makeThumb(slot));
    } else {
        syncThumbsToView();
    }
}

ThumbTile* SeriesContentsView::makeThumb(std::size_t slot) {
    if (slot >= reported_.size() || !reported_[slot] || !contentsSeries_) {
        return nullptr;
    }
    const int pictureNumber = static_cast<int>(slot) + 1;
    auto* thumb = new ThumbTile(*this, pictureNumber, contents_);
    placeThumb(*thumb);
    thumb->setImage(thumbImage(*contentsSeries_, pictureNumber));
    thumb->show();
    return thumb;
}

void SeriesContentsView::syncThumbsToView() {
    const auto [begin, end] =
        cellsAroundView(thumbs_.size(), columns(), cellHeight,
                        seriesBox->verticalScrollBar()->value(), seriesBox->viewport()->height());
    thumbs_.keepOnly(begin, end, [this](std::size_t slot) { return makeThumb(slot); });
}

void SeriesContentsView::placeThumb(ThumbTile& thumb) {
    // Thumbnails are children of the scrolled contents, so the cell needs no
    // scroll offset.
    const QRect cell =
        tileRect(thumb.pictureNumber() - 1, cellWidth, cellHeight, *seriesBox, margin);
    thumb.move(cell.topLeft());
}

int SeriesContentsView::lastPictureNumber() const {
    return static_cast<int>(thumbs_.size());
}

void SeriesContentsView::growContents() {
    const int cols = std::max(1, columns());
    const int rows = (lastPictureNumber() + cols - 1) / cols;
    const int width = seriesBox->viewport()->width();
    const int height = rows * cellHeight + margin;
    if (contents_->width() != width || contents_->height() != height) {
        contents_->resize(width, height);
    }
}

// --- selection

void SeriesContentsView::selectThumb(int position) {
    const QRect cell = tileRect(position, cellWidth, cellHeight, *seriesBox, margin);
    thumbBackdrop->move(cell.left() - margin, cell.top() - margin);
    thumbBackdrop->show();
    host_.thumbSelected();
}

void SeriesContentsView::hideThumbSelection() {
    thumbBackdrop->hide();
}

void SeriesContentsView::clearThumbSelection() {
    thumbSelected_ = false;
    hideThumbSelection();
}

int SeriesContentsView::pictureNumberUnderCursor() const {
    return tileIndexAtCursor(cellWidth, cellHeight, *seriesBox) + 1;
}

// --- handlers

void SeriesContentsView::openThumb(int pictureNumber) {
    if (!contentsSeries_) {
        return;
    }
    const std::string picture =
        contentsSeries_->localPictureFile(host_.crntResolution(), pictureNumber);
    if (hasContent(picture)) {
        host_.viewPictures(contentsSeries_, pictureNumber);
    } else {
        host_.openPicture(picture);
    }
}

void SeriesContentsView::SeriesImgClick(int position) {
    if (!contentsSeries_) {
        return;
    }
    if (thumbSelected_ && selectedPosition_ == position) {
        clearThumbSelection();
        return;
    }
    chooseThumb(position);
}

void SeriesContentsView::chooseThumb(int position) {
    host_.showInSideViewer(contentsSeries_->localPictureFile(host_.crntResolution(), position + 1));
    thumbSelected_ = true;
    selectedPosition_ = position;
    selectThumb(position);
}

void SeriesContentsView::SeriesThumbMouseMove(int pictureNumber) {
    if (thumbSelected_ || !host_.sideViewerVisible() || !contentsSeries_) {
        return;
    }
    host_.showInSideViewer(
        contentsSeries_->localPictureFile(host_.crntResolution(), pictureNumber));
}

void SeriesContentsView::OpenDirBtnClick() {
    if (!contentsSeries_) {
        return;
    }
    const std::string folder =
        folderOf(contentsSeries_->localPictureFile(host_.crntResolution(), 1));
    std::error_code error;
    if (!folder.empty() && std::filesystem::is_directory(folder, error)) {
        host_.openFolder(folder);
    } else {
        host_.prompt().showMessage("warning", "Directory is not found");
    }
}

void SeriesContentsView::ppSeriesPopup(QPoint globalPos) {
    popupMenuFor(pictureNumberUnderCursor(), globalPos);
}

void SeriesContentsView::popupMenuFor(int pictureNumber, QPoint globalPos) {
    popupPictureNumber_ = pictureNumber;
    const QString title = contentsSeries_ ? toDisplay(contentsSeries_->title) : QString();
    spOpenUrl->setText("Open URL:" + menuText(title));
    spOpenURLPict->setText(QString("Open URL:pict #%1").arg(popupPictureNumber_));
    seriesPopup->popup(globalPos);
}

void SeriesContentsView::spOpenUrlClick() {
    if (contentsSeries_) {
        host_.openUrl(contentsSeries_->resolutionUrl(host_.crntResolution()));
    }
}

void SeriesContentsView::spOpenURLPictClick() {
    if (contentsSeries_) {
        host_.openUrl(contentsSeries_->pictureHtmlUrl(host_.crntResolution(), popupPictureNumber_));
    }
}

void SeriesContentsView::wheelScroll(int delta) {
    QScrollBar* bar = seriesBox->verticalScrollBar();
    bar->setValue(bar->value() - delta);
}

void SeriesContentsView::layoutForResize() {
    seriesBox->setGeometry(0, 31, width(), std::max(0, height() - 31));
    for (std::size_t slot = thumbs_.liveBegin(); slot < thumbs_.liveEnd(); ++slot) {
        if (ThumbTile* thumb = thumbs_.at(slot)) {
            placeThumb(*thumb);
        }
    }
    growContents();
    syncThumbsToView();
    if (thumbSelected_) {
        selectThumb(selectedPosition_);
    }
    OpenDirBtn->move(width() - OpenDirBtn->width() - 5, 4);
}

// The main window lays the tab out as its own size changes; the tab follows
// its size too, as the tab widget resizes it after the window's handler ran.
void SeriesContentsView::resizeEvent(QResizeEvent* /*event*/) {
    layoutForResize();
}

// --- the keyboard

void SeriesContentsView::keyPressEvent(QKeyEvent* event) {
    if (keyFromChild(*this) || !contentsSeries_) {
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
        if (thumbSelected_) {
            openThumb(selectedPosition_ + 1);
        } else {
            event->ignore();
        }
        return;
    }
    const int cols = std::max(1, columns());
    WallCells cells;
    cells.count = lastPictureNumber();
    cells.columns = cols;
    cells.visibleRows = seriesBox->viewport()->height() / cellHeight;
    cells.current = thumbSelected_ ? selectedPosition_ : -1;
    cells.firstVisible =
        (seriesBox->verticalScrollBar()->value() + cellHeight / 2) / cellHeight * cols;
    if (const std::optional<int> target = cellAfterKey(*event, cells)) {
        moveSelectionTo(*target);
        return;
    }
    QWidget::keyPressEvent(event);
}

void SeriesContentsView::moveSelectionTo(int position) {
    chooseThumb(position);
    scrollToThumb(position);
}

void SeriesContentsView::scrollToThumb(int position) {
    const QRect cell = tileRect(position, cellWidth, cellHeight, *seriesBox, margin);
    // The selection frame spans the whole cell, margins included.
    scrollIntoView(*seriesBox, cell.translated(-margin, -margin));
}

bool SeriesContentsView::popupMenuAtSelection() {
    if (!thumbSelected_) {
        return false;
    }
    scrollToThumb(selectedPosition_);
    const QRect cell = tileRect(selectedPosition_, cellWidth, cellHeight, *seriesBox, margin);
    popupMenuFor(selectedPosition_ + 1, contents_->mapToGlobal(cell.center()));
    return true;
}

void SeriesContentsView::contextMenuEvent(QContextMenuEvent* event) {
    // The platform turns the menu key into this event for the focused page;
    // the mouse's menus belong to the thumbnails.
    if (event->reason() != QContextMenuEvent::Keyboard || !popupMenuAtSelection()) {
        event->ignore();
    }
}

void SeriesContentsView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update(0, 0, width(), seriesBox->y());
}

void SeriesContentsView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update(0, 0, width(), seriesBox->y());
}

void SeriesContentsView::paintEvent(QPaintEvent* /*event*/) {
    paintFocusLine(*this, seriesBox->y());
}

} // namespace zob
