#include "gui/views/imagetile.h"

#include <QMouseEvent>
#include <QPainter>

namespace zob {

ImageTile::ImageTile(Fit fit, QWidget* parent) : QWidget(parent), fit_(fit) {
    setMouseTracking(true);
}

void ImageTile::setImage(QImage image) {
    image_ = std::move(image);
    if (fit_ == Fit::toImage) {
        resize(image_.size());
    }
    update();
}

void ImageTile::setImageSource(std::function<QImage()> source) {
    image_ = QImage();
    source_ = std::move(source);
    update();
}

QImage ImageTile::image() const {
    return source_ ? source_() : image_;
}

void ImageTile::paintEvent(QPaintEvent* /*event*/) {
    const QImage picture = image();
    if (fit_ == Fit::toImage && picture.size() != size() && !picture.isNull()) {
        // A picture composed only now brings its size.
        resize(picture.size());
    }
    QPainter painter(this);
    if (fit_ == Fit::toImage) {
        painter.drawImage(0, 0, picture);
    } else {
        painter.drawImage((width() - picture.width()) / 2, (height() - picture.height()) / 2,
                          picture);
    }
}

void ImageTile::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void ImageTile::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->pos());
    pressed_ = false;
    if (click) {
        clicked(event->pos());
    }
}

} // namespace zob
