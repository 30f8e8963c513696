#pragma once

// Where the picture viewer draws its picture: fitted into the window, or at a
// chosen scale and moved by dragging. Plain geometry, so it is kept apart from
// the window's events.

#include <QPointF>
#include <QRectF>
#include <QSize>

namespace zob::viewerzoom {

inline constexpr double minScale = 1.0 / 16;
inline constexpr double maxScale = 16.0;
inline constexpr double zoomStep = 1.25;

// The scale that shows the whole picture in `window`: never above 1 for a
// picture (it is not blown up), any scale for a stand-in such as a thumbnail.
double fitScale(QSize picture, QSize window, bool enlarge);

// The picture at `scale`, centred where it is smaller than the window and
// moved by `offset` (from the centred place) where it is larger, the offset
// held so that no gap opens at an edge.
QRectF placed(QSize picture, QSize window, double scale, QPointF offset);
// The offset as placed() holds it.
QPointF heldOffset(QSize picture, QSize window, double scale, QPointF offset);

// The offset that keeps the picture point under `anchor` (a window point)
// where it is while the scale goes from `from` to `to`.
QPointF offsetForZoom(QSize picture, QSize window, double from, double to, QPointF offset,
                      QPointF anchor);

// One step in (steps > 0) or out, within minScale .. maxScale.
double stepped(double scale, int steps);

} // namespace zob::viewerzoom
