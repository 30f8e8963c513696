#include "gui/views/loadstatstrip.h"

#include "catalogue/resolution.h"
#include "gui/views/archiveimageview.h"
#include "gui/views/namedbitmaps.h"
#include "gui/views/tilegeometry.h"

#include <QPainter>
#include <QScrollArea>
#include <array>
#include <utility>

namespace zob {

namespace {

// The strips lie over the tile wall's cells.
constexpr int cellWidth = ArchiveImageView::cellWidth;
constexpr int cellHeight = ArchiveImageView::cellHeight;
constexpr int cellMargin = ArchiveImageView::margin;
// The strip's top sits this far below the cover's top.
constexpr int stripOffset = 160;

constexpr int barLeft = 10;
constexpr int barHeight = 4;

struct Bar {
    Resolution resolution;
    int top;
    QRgb colour;
};

// Drawn in this order, so a later bar never hides an earlier one's pixels.
constexpr std::array<Bar, resolutionCount> bars{{
    {resThumb, 0, qRgb(255, 224, 224)},
    {resLow, 5, qRgb(255, 208, 128)},
    {resMid, 10, qRgb(255, 128, 0)},
    {resHigh, 15, qRgb(255, 0, 0)},
}};

bool sameSeries(const SeriesRec& a, const SeriesRec& b) {
    return &a == &b || a.name == b.name;
}

// Where the series stands in the list: its own record first, then any record
// of the same name.
int indexInList(const ArtList& list, const SeriesPtr& series) {
    const std::vector<SeriesPtr>& records = list.records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i] == series) {
            return static_cast<int>(i);
        }
    }
    return list.indexOfName(*series);
}

} // namespace

int statBarLength(const SeriesRec& series, std::int32_t count) {
    const std::int32_t photos = series.photoCount;
    if (photos == 0) {
        return 0;
    }
    if (photos == photoCountUnknown) {
        return count;
    }
    return static_cast<int>(static_cast<std::int64_t>(count) * cellWidth / photos);
}

TLoadStatImage::TLoadStatImage(SeriesPtr series, QWidget* parent)
    : QWidget(parent), series_(std::move(series)),
      image_(stripWidth, stripHeight, QImage::Format_RGB32) {
    hide();
    resize(stripWidth, stripHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    image_.fill(qRgb(192, 192, 192));
    paintLoadStat();
}

void TLoadStatImage::paintLoadStat() {
    QPainter painter(&image_);
    const QImage& edge = namedBitmap("STAT_IMG");
    const QRect edgeArea = QRect(0, 0, 8, 30).intersected(edge.rect());
    painter.drawImage(edgeArea.topLeft(), edge, edgeArea);
    for (const Bar& bar : bars) {
        const int length = statBarLength(*series_, series_->loadedCountOf(bar.resolution));
        if (length > 0) {
            painter.fillRect(barLeft, bar.top, length, barHeight, QColor(bar.colour));
        }
    }
    painter.end();
    update();
}

void TLoadStatImage::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

LoadStatStrips::LoadStatStrips(QScrollArea& tileBox) : tileBox_(tileBox) {}

LoadStatStrips::~LoadStatStrips() {
    for (const QPointer<TLoadStatImage>& strip : strips_) {
        delete strip.data();
    }
}

void LoadStatStrips::create(const SeriesPtr& series, int index) {
    series->recountFiles();
    auto* strip = new TLoadStatImage(series, tileBox_.widget());
    strips_.emplace_back(strip);
    series_.push_back(series);
    placeLoadStat(*strip, index);
}

void LoadStatStrips::placeLoadStat(TLoadStatImage& strip, int index) const {
    const QRect cell = tileRect(index, cellWidth, cellHeight, tileBox_, cellMargin);
    strip.setGeometry(cell.left() - cellMargin, cell.top() + stripOffset,
                      TLoadStatImage::stripWidth, TLoadStatImage::stripHeight);
    strip.show();
    strip.raise();
}

std::size_t LoadStatStrips::findStrip(const SeriesRec& series) const {
    for (std::size_t i = 0; i < series_.size(); ++i) {
        if (sameSeries(*series_[i], series)) {
            return i;
        }
    }
    return series_.size();
}

void LoadStatStrips::updateLoadStat(const SeriesRec& series) {
    const std::size_t i = findStrip(series);
    if (i < strips_.size() && strips_[i]) {
        strips_[i]->paintLoadStat();
    }
}

void LoadStatStrips::removeLoadStat(const SeriesRec& series) {
    const std::size_t i = findStrip(series);
    if (i == strips_.size()) {
        return;
    }
    delete strips_[i].data();
    const auto offset = static_cast<std::ptrdiff_t>(i);
    strips_.erase(strips_.begin() + offset);
    series_.erase(series_.begin() + offset);
}

void LoadStatStrips::placeLoadStats(const ArtList* current) {
    for (std::size_t i = 0; i < strips_.size(); ++i) {
        TLoadStatImage* strip = strips_[i];
        if (strip == nullptr) {
            continue;
        }
        const int index = current == nullptr ? -1 : indexInList(*current, series_[i]);
        if (index >= 0) {
            placeLoadStat(*strip, index);
        } else {
            strip->hide();
        }
    }
}

void LoadStatStrips::hideLoadStats() {
    for (const QPointer<TLoadStatImage>& strip : strips_) {
        if (strip) {
            strip->hide();
        }
    }
}

} // namespace zob
