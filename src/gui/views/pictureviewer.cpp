#include "gui/views/pictureviewer.h"

#include "download/downloadfile.h"
#include "gui/displaytext.h"
#include "gui/views/viewerzoom.h"
#include "platform/exiforientation.h"
#include "platform/jpegdecode.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace zob {

namespace {

constexpr int wheelNotch = 120;

QSize viewedSize(const std::string& file) {
    const std::optional<JpegSize> stored = jpegNaturalSize(file);
    if (!stored) {
        return {};
    }
    QSize size(stored->width, stored->height);
    if (swapsSides(jpegOrientation(file))) {
        size.transpose();
    }
    return size;
}

} // namespace

PictureViewer::PictureViewer(QWidget* parent)
    : QWidget(parent, Qt::Window),
      decoder_(std::make_unique<PictureDecoder>(
          *this, [this](const PictureDecoder::Result& result) { received(result); },
          memoryBudget)) {
    setObjectName("pictureViewer");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    resize(1000, 750);
    slideshow_.setInterval(std::chrono::seconds(4));
    connect(&slideshow_, &QTimer::timeout, this, [this] {
        if (number_ < count_) {
            next();
        } else {
            toggleSlideshow();
        }
    });
}

PictureViewer::~PictureViewer() = default;

void PictureViewer::showPictures(SeriesPtr series, Resolution resolution, int pictureNumber) {
    series_ = std::move(series);
    resolution_ = resolution;
    count_ = countPictures();
    number_ = std::clamp(pictureNumber, 1, std::max(1, count_));
    fitted_ = true;
    offset_ = {};
    image_ = {};
    showCurrent();
}

void PictureViewer::pictureArrived(const SeriesRec& series, int pictureNumber) {
    if (!series_ || series.name != series_->name) {
        return;
    }
    decoder_->forget(fileOf(pictureNumber, resolution_));
    decoder_->forget(fileOf(pictureNumber, resThumb));
    count_ = countPictures();
    if (pictureNumber == number_) {
        showCurrent();
    } else {
        updateTitle();
    }
}

void PictureViewer::setSlideshowInterval(std::chrono::milliseconds interval) {
    slideshow_.setInterval(std::max(interval, std::chrono::milliseconds(100)));
}

std::string PictureViewer::fileOf(int pictureNumber, Resolution resolution) const {
    return series_ ? series_->localPictureFile(resolution, pictureNumber) : std::string();
}

int PictureViewer::countPictures() const {
    if (!series_) {
        return 0;
    }
    const int known = series_->photoCount.load();
    if (known > 0 && known != photoCountUnknown) {
        return known;
    }
    int last = 0;
    for (int n = 1; n < photoCountUnknown; ++n) {
        if (!hasContent(fileOf(n, resolution_)) && !hasContent(fileOf(n, resThumb))) {
            break;
        }
        last = n;
    }
    return last;
}

PictureDecoder::Request PictureViewer::fittedRequest(int pictureNumber) const {
    const std::string picture = fileOf(pictureNumber, resolution_);
    if (hasContent(picture)) {
        return {picture, size(), false};
    }
    return {fileOf(pictureNumber, resThumb), size(), true};
}

double PictureViewer::scale() const {
    return fitted_ ? viewerzoom::fitScale(natural_, size(), standIn_) : scale_;
}

void PictureViewer::showCurrent() {
    if (!series_) {
        return;
    }
    const PictureDecoder::Request fitted = fittedRequest(number_);
    standIn_ = fitted.enlarge;
    natural_ = viewedSize(fitted.file);
    asked_ = fitted_ ? fitted : PictureDecoder::Request{fitted.file, {}, false};
    pending_ = false;
    if (const std::optional<QImage> inHand = decoder_->cached(asked_)) {
        image_ = *inHand;
    } else if (natural_.isEmpty()) {
        image_ = {};
    } else {
        pending_ = true;
        // While the full picture is decoded, its fitted copy stands in, blurred.
        if (std::optional<QImage> fittedCopy = decoder_->cached(fitted); !fitted_ && fittedCopy) {
            image_ = *fittedCopy;
        }
    }
    wantNeighbours(asked_);
    setCursor(draggable() ? Qt::OpenHandCursor : Qt::ArrowCursor);
    updateTitle();
    update();
}

void PictureViewer::wantNeighbours(PictureDecoder::Request current) {
    std::vector<PictureDecoder::Request> wanted;
    if (pending_) {
        wanted.push_back(std::move(current));
    }
    // The next one first: that is the way people look through a series.
    for (const int step : {1, -1, 2}) {
        const int n = number_ + step;
        if (n >= 1 && n <= count_) {
            wanted.push_back(fittedRequest(n));
        }
    }
    decoder_->want(std::move(wanted));
}

void PictureViewer::received(const PictureDecoder::Result& result) {
    if (!pending_ || !(result.request == asked_)) {
        return;
    }
    pending_ = false;
    image_ = result.image;
    update();
}

void PictureViewer::updateTitle() {
    if (!series_) {
        return;
    }
    QString title = QString("%1/%2 - %3").arg(number_).arg(count_).arg(toDisplay(series_->title));
    if (slideshow_.isActive()) {
        title += " (slideshow)";
    }
    setWindowTitle(title);
}

void PictureViewer::goTo(int pictureNumber) {
    const int target = std::clamp(pictureNumber, 1, std::max(1, count_));
    if (target == number_ || !series_) {
        return;
    }
    number_ = target;
    fitted_ = true;
    offset_ = {};
    showCurrent();
    if (slideshow_.isActive()) {
        slideshow_.start();
    }
}

void PictureViewer::toggleSlideshow() {
    if (slideshow_.isActive()) {
        slideshow_.stop();
    } else {
        slideshow_.start();
    }
    updateTitle();
}

void PictureViewer::toggleFullScreen() {
    if (isFullScreen()) {
        showNormal();
    } else {
        showFullScreen();
    }
}

void PictureViewer::fitToWindow() {
    fitted_ = true;
    offset_ = {};
    showCurrent();
}

void PictureViewer::showActualSize(QPointF anchor) {
    zoomBy(0, anchor);
}

void PictureViewer::zoomBy(int steps, QPointF anchor) {
    if (natural_.isEmpty()) {
        return;
    }
    const double from = scale();
    const double to = steps == 0 ? 1.0 : viewerzoom::stepped(from, steps);
    offset_ = viewerzoom::offsetForZoom(natural_, size(), from, to, offset_, anchor);
    scale_ = to;
    fitted_ = false;
    showCurrent();
}

bool PictureViewer::draggable() const {
    const QRectF shown = viewerzoom::placed(natural_, size(), scale(), offset_);
    return !fitted_ && (shown.width() > width() || shown.height() > height());
}

// --- keys and mouse

void PictureViewer::keyPressEvent(QKeyEvent* event) {
    const QPointF centre(width() / 2.0, height() / 2.0);
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Space:
    case Qt::Key_PageDown:
        next();
        break;
    case Qt::Key_Left:
    case Qt::Key_Backspace:
    case Qt::Key_PageUp:
        previous();
        break;
    case Qt::Key_Home:
        goTo(1);
        break;
    case Qt::Key_End:
        goTo(count_);
        break;
    case Qt::Key_F11:
        toggleFullScreen();
        break;
    case Qt::Key_Escape:
        if (isFullScreen()) {
            showNormal();
        } else {
            close();
        }
        break;
    case Qt::Key_1:
        showActualSize(centre);
        break;
    case Qt::Key_0:
    case Qt::Key_F:
        fitToWindow();
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomBy(1, centre);
        break;
    case Qt::Key_Minus:
        zoomBy(-1, centre);
        break;
    case Qt::Key_S:
        toggleSlideshow();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PictureViewer::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (event->modifiers() & Qt::ControlModifier) {
        if (delta != 0) {
            zoomBy(delta > 0 ? 1 : -1, event->position());
        }
        return;
    }
    pendingWheel_ += delta;
    while (pendingWheel_ >= wheelNotch || pendingWheel_ <= -wheelNotch) {
        const bool back = pendingWheel_ > 0;
        pendingWheel_ -= back ? wheelNotch : -wheelNotch;
        back ? previous() : next();
    }
}

void PictureViewer::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    pressed_ = true;
    dragged_ = false;
    pressAt_ = event->position();
    pressOffset_ = offset_;
}

void PictureViewer::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_ || !draggable()) {
        return;
    }
    const QPointF moved = event->position() - pressAt_;
    dragged_ = dragged_ || moved.manhattanLength() > 3;
    offset_ = viewerzoom::heldOffset(natural_, size(), scale(), pressOffset_ + moved);
    update();
}

void PictureViewer::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        return;
    }
    pressed_ = false;
    if (!dragged_) {
        clickedAt(event->position());
    }
}

void PictureViewer::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const double x = event->position().x();
    // The outer thirds turn pages however fast they are clicked.
    if (x < width() / 3.0 || x > width() * 2 / 3.0) {
        clickedAt(event->position());
    } else if (fitted_) {
        showActualSize(event->position());
    } else {
        fitToWindow();
    }
}

void PictureViewer::clickedAt(QPointF position) {
    if (position.x() < width() / 3.0) {
        previous();
    } else if (position.x() > width() * 2 / 3.0) {
        next();
    }
}

// --- drawing

void PictureViewer::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!image_.isNull()) {
        // A picture from before (the one asked for is still being decoded)
        // shows fitted by its own size.
        const bool current = !natural_.isEmpty() && (!pending_ || !fitted_);
        const QSize natural = current ? natural_ : image_.size();
        const double shownScale = current ? scale() : viewerzoom::fitScale(natural, size(), false);
        const QRectF target =
            viewerzoom::placed(natural, size(), shownScale, current ? offset_ : QPointF());
        painter.setRenderHint(QPainter::SmoothPixmapTransform,
                              target.size().toSize() != image_.size());
        painter.drawImage(target, image_);
    }
    QString note;
    if (standIn_) {
        note = QString("Picture %1 is not downloaded").arg(number_);
    } else if (image_.isNull() && !pending_ && series_) {
        note = QString("Picture %1 cannot be shown").arg(number_);
    }
    if (!note.isEmpty()) {
        const QRect band(0, height() - 36, width(), 36);
        painter.fillRect(band, QColor(0, 0, 0, 160));
        painter.setPen(Qt::white);
        painter.drawText(band, Qt::AlignCenter, note);
    }
}

void PictureViewer::resizeEvent(QResizeEvent* /*event*/) {
    if (fitted_) {
        showCurrent();
    } else {
        offset_ = viewerzoom::heldOffset(natural_, size(), scale_, offset_);
    }
}

void PictureViewer::closeEvent(QCloseEvent* event) {
    slideshow_.stop();
    QWidget::closeEvent(event);
}

} // namespace zob
