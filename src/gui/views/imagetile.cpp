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

void ImageTile::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (fit_ == Fit::toImage) {
        painter.drawImage(0, 0, image_);
    } else {
        painter.drawImage((width() - image_.width()) / 2, (height() - image_.height()) / 2, image_);
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
