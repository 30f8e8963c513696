#pragma once

// The side viewer's placement arithmetic, apart from any window so it can be
// checked by itself. Divisions truncate, so a fitted picture never spills
// past its area; it may come out one pixel short of it.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace zob::imagefit {

// The file-name panel covers the top of the client area; pictures start here.
constexpr int pictureTop = 20;

// The window's height at creation: the picture's design top and height, and
// the width that goes with them.
constexpr int designPictureTop = 52;
constexpr int designPictureHeight = 790;
constexpr int designClientWidth = 525;

// A drag begins once the pointer is this far from where the button went down.
constexpr int dragThreshold = 4;

// Client size at creation for a work area `workHeight` high and a frame that
// adds `border` to the client height: full design height when it fits,
// otherwise as tall as the work area with the width in the design ratio.
QSize initialClientSize(int workHeight, int border);

// The picture fitted whole and undistorted into `client` below the panel,
// placed at the left edge. The narrower side of the area (compared in whole
// percent of width over height) decides.
QRect fitToArea(QSize natural, QSize client);

// The picture size for fitting the window to the picture: natural, shrunk
// to at most maxWidth wide and then at most maxHeight high. Nothing for a
// picture without pixels.
std::optional<QSize> windowFitSize(QSize natural, int maxWidth, int maxHeight);

// Top left of a picture of `picture` size centred on the client area; a
// larger picture gets negative coordinates.
QPoint centredOrigin(QSize picture, QSize client);

// True once the pointer has left the 3-pixel square around the press point.
bool dragStarted(QPoint press, QPoint pointer);

// Where a dragged picture goes when its top left is `origin` and the pointer
// moved by `delta`: never leaving empty space right of or below it (as far as
// it is large enough), its left never above 0 and its top never below the panel.
QPoint dragTarget(QPoint origin, QSize picture, QSize client, QPoint delta);

} // namespace zob::imagefit
