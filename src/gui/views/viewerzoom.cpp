#include "gui/views/viewerzoom.h"

#include <algorithm>
#include <cmath>

namespace zob::viewerzoom {

double fitScale(QSize picture, QSize window, bool enlarge) {
    if (picture.isEmpty() || window.isEmpty()) {
        return 1.0;
    }
    const double scale = std::min(static_cast<double>(window.width()) / picture.width(),
                                  static_cast<double>(window.height()) / picture.height());
    return enlarge ? scale : std::min(scale, 1.0);
}

namespace {

// How far the picture may move from the centred place along one side.
double held(double pictureSide, double windowSide, double offset) {
    const double room = (pictureSide - windowSide) / 2;
    return room <= 0 ? 0.0 : std::clamp(offset, -room, room);
}

} // namespace

QPointF heldOffset(QSize picture, QSize window, double scale, QPointF offset) {
    return {held(picture.width() * scale, window.width(), offset.x()),
            held(picture.height() * scale, window.height(), offset.y())};
}

QRectF placed(QSize picture, QSize window, double scale, QPointF offset) {
    const QPointF kept = heldOffset(picture, window, scale, offset);
    const QSizeF size(picture.width() * scale, picture.height() * scale);
    const QPointF topLeft((window.width() - size.width()) / 2 + kept.x(),
                          (window.height() - size.height()) / 2 + kept.y());
    return {topLeft, size};
}

QPointF offsetForZoom(QSize picture, QSize window, double from, double to, QPointF offset,
                      QPointF anchor) {
    const QRectF before = placed(picture, window, from, offset);
    // The picture point under the anchor, in picture pixels.
    const QPointF point = (anchor - before.topLeft()) / from;
    const QSizeF size(picture.width() * to, picture.height() * to);
    const QPointF centredTopLeft((window.width() - size.width()) / 2,
                                 (window.height() - size.height()) / 2);
    return heldOffset(picture, window, to, anchor - point * to - centredTopLeft);
}

double stepped(double scale, int steps) {
    return std::clamp(scale * std::pow(zoomStep, steps), minScale, maxScale);
}

} // namespace zob::viewerzoom
