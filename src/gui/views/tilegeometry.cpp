#include "gui/views/tilegeometry.h"

#include <QCursor>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace zob {

int tileColumnsFor(int cellWidth, int clientWidth, int outerWidth, int scrollBarWidth) {
    int usable = clientWidth;
    // Without a scroll bar showing, keep room for one: the columns must not
    // change when enough tiles arrive to make it appear.
    if (clientWidth + scrollBarWidth > outerWidth) {
        usable -= scrollBarWidth;
    }
    return cellWidth > 0 ? std::max(usable / cellWidth, 1) : 1;
}

int tileColumns(int cellWidth, const QScrollArea& box) {
    return tileColumnsFor(cellWidth, box.viewport()->width(), box.width(),
                          box.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &box));
}

QRect tileRectFor(int index, int columns, int cellWidth, int cellHeight, int margin) {
    const int safeColumns = std::max(columns, 1);
    return {(index % safeColumns) * cellWidth + margin, (index / safeColumns) * cellHeight + margin,
            cellWidth, cellHeight};
}

QRect tileRect(int index, int cellWidth, int cellHeight, const QScrollArea& box, int margin) {
    return tileRectFor(index, tileColumns(cellWidth, box), cellWidth, cellHeight, margin);
}

int tileIndexAtFor(int columns, int cellWidth, int cellHeight, QPoint contentsPoint) {
    return (contentsPoint.y() / cellHeight) * columns + contentsPoint.x() / cellWidth;
}

int tileIndexAt(int cellWidth, int cellHeight, const QScrollArea& box, QPoint contentsPoint) {
    return tileIndexAtFor(tileColumns(cellWidth, box), cellWidth, cellHeight, contentsPoint);
}

int tileIndexAtCursor(int cellWidth, int cellHeight, const QScrollArea& box) {
    QPoint point = box.viewport()->mapFromGlobal(QCursor::pos());
    point.ry() += box.verticalScrollBar()->value();
    return tileIndexAt(cellWidth, cellHeight, box, point);
}

std::pair<std::size_t, std::size_t> cellsAroundView(std::size_t count, int columns, int cellHeight,
                                                    int scrollTop, int viewHeight) {
    const auto cols = static_cast<std::size_t>(std::max(1, columns));
    const int top = std::max(0, scrollTop);
    const int screen = std::max(cellHeight, viewHeight);
    const auto firstRow = static_cast<std::size_t>(std::max(0, top - screen) / cellHeight);
    const auto endRow = static_cast<std::size_t>((top + 2 * screen) / cellHeight + 1);
    return {std::min(firstRow * cols, count), std::min(endRow * cols, count)};
}

} // namespace zob
