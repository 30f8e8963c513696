#pragma once

// The grid of equal cells that the cover wall, the series contents and the
// load-status strips share: cell k lies in row k div columns, column k mod
// columns of a vertically scrolling box.

#include <QPoint>
#include <QRect>
#include <cstddef>
#include <utility>

class QScrollArea;

namespace zob {

// Columns that fit: the client width, less room for a vertical scroll bar when
// none is showing (client width + scroll bar width > outer width), divided by
// the cell width. At least 1.
int tileColumnsFor(int cellWidth, int clientWidth, int outerWidth, int scrollBarWidth);
int tileColumns(int cellWidth, const QScrollArea& box);

// Where the picture of cell `index` goes, in the box's contents coordinates
// (the coordinates of box.widget(), so a child of it needs no scroll offset):
// the cell's origin moved by margin, cellWidth x cellHeight large.
QRect tileRectFor(int index, int columns, int cellWidth, int cellHeight, int margin);
QRect tileRect(int index, int cellWidth, int cellHeight, const QScrollArea& box, int margin);

// The index of the cell holding a point in contents coordinates.
int tileIndexAtFor(int columns, int cellWidth, int cellHeight, QPoint contentsPoint);
int tileIndexAt(int cellWidth, int cellHeight, const QScrollArea& box, QPoint contentsPoint);
// The index of the cell under the mouse pointer.
int tileIndexAtCursor(int cellWidth, int cellHeight, const QScrollArea& box);

// The cells worth a widget: those of the rows in view and of a screen of rows
// above and below, as [begin, end) clamped to `count`.
std::pair<std::size_t, std::size_t> cellsAroundView(std::size_t count, int columns, int cellHeight,
                                                    int scrollTop, int viewHeight);

} // namespace zob
