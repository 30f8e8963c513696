#include "gui/views/imagefit.h"

#include <algorithm>
#include <cstdlib>

namespace zob::imagefit {

QSize initialClientSize(int workHeight, int border) {
    if (workHeight <= designPictureTop + designPictureHeight + border) {
        const int height = workHeight - border;
        return {(height - designPictureTop) * designClientWidth / designPictureHeight, height};
    }
    return {designClientWidth, designPictureTop + designPictureHeight};
}

QRect fitToArea(QSize natural, QSize client) {
    const int areaWidth = client.width();
    // A window squeezed to the panel still must not divide by zero.
    const int areaHeight = std::max(1, client.height() - pictureTop);
    const int naturalHeight = std::max(1, natural.height());
    if (areaWidth * 100 / areaHeight <= natural.width() * 100 / naturalHeight) {
        return {0, pictureTop, areaWidth, areaWidth * naturalHeight / std::max(1, natural.width())};
    }
    return {0, pictureTop, areaHeight * natural.width() / naturalHeight, areaHeight};
}

std::optional<QSize> windowFitSize(QSize natural, int maxWidth, int maxHeight) {
    int width = natural.width();
    int height = natural.height();
    if (width <= 0 || height <= 0) {
        return std::nullopt;
    }
    // A main window as wide as the screen leaves no room; keep a sliver
    // rather than a negative size.
    maxWidth = std::max(1, maxWidth);
    maxHeight = std::max(1, maxHeight);
    if (width > maxWidth) {
        height = height * maxWidth / width;
        width = maxWidth;
    }
    if (height > maxHeight) {
        width = width * maxHeight / height;
        height = maxHeight;
    }
    return QSize(width, height);
}

QPoint centredOrigin(QSize picture, QSize client) {
    return {-((picture.width() - client.width()) / 2), -((picture.height() - client.height()) / 2)};
}

bool dragStarted(QPoint press, QPoint pointer) {
    const QPoint moved = pointer - press;
    return std::abs(moved.x()) >= dragThreshold || std::abs(moved.y()) >= dragThreshold;
}

QPoint dragTarget(QPoint origin, QSize picture, QSize client, QPoint delta) {
    int left = origin.x() + delta.x();
    int top = origin.y() + delta.y();
    if (client.width() > picture.width() + left) {
        left = client.width() - picture.width();
    }
    left = std::min(left, 0);
    if (client.height() > picture.height() + top) {
        top = client.height() - picture.height();
    }
    top = std::min(top, pictureTop);
    return {left, top};
}

} // namespace zob::imagefit
