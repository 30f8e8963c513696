#include "gui/views/pictureview.h"

#include <QPaintEvent>
#include <QPainter>
#include <utility>

namespace zob {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    // Every pixel is the picture's; nothing behind it needs drawing.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::setImage(QImage image) {
    image_ = std::move(image);
    scaled_ = QImage();
    update();
}

void PictureView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (image_.isNull()) {
        painter.fillRect(event->rect(), palette().window());
        return;
    }
    if (image_.size() == size()) {
        // Natural size: only the visible part, which matters for a large
        // picture dragged around behind a small window.
        painter.drawImage(event->rect(), image_, event->rect());
        return;
    }
    if (scaled_.size() != size()) {
        scaled_ = image_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    painter.drawImage(event->rect(), scaled_, event->rect());
}

} // namespace zob
