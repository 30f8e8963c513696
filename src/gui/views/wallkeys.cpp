#include "gui/views/wallkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>

namespace zob {

namespace {

int cellAbove(int current, int rows, int columns) {
    const int target = current - rows * columns;
    return target >= 0 ? target : current % columns;
}

int cellBelow(int current, int rows, int columns, int last) {
    const int target = current + rows * columns;
    if (target <= last) {
        return target;
    }
    const int column = current % columns;
    const int lowest = column + ((last - column) / columns) * columns;
    // A shorter last row has no cell under this one: the last cell is the
    // nearest below.
    if (lowest == current && current / columns < last / columns) {
        return last;
    }
    return lowest;
}

} // namespace

std::optional<int> cellAfterKey(const QKeyEvent& event, const WallCells& cells) {
    const auto modifiers =
        Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (cells.count <= 0 || (event.modifiers() & modifiers) != 0) {
        return std::nullopt;
    }
    const int key = event.key();
    const int last = cells.count - 1;
    switch (key) {
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return last;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        break;
    default:
        return std::nullopt;
    }
    if (cells.current < 0 || cells.current > last) {
        // The first key only shows where the keys start: nothing jumps out of view.
        return std::clamp(cells.firstVisible, 0, last);
    }
    const int current = cells.current;
    const int columns = std::max(1, cells.columns);
    const int page = std::max(1, cells.visibleRows);
    switch (key) {
    case Qt::Key_Left:
        return std::max(current - 1, 0);
    case Qt::Key_Right:
        return std::min(current + 1, last);
    case Qt::Key_Up:
        return cellAbove(current, 1, columns);
    case Qt::Key_PageUp:
        return cellAbove(current, page, columns);
    case Qt::Key_Down:
        return cellBelow(current, 1, columns, last);
    default:
        return cellBelow(current, page, columns, last);
    }
}

bool keyFromChild(const QWidget& wall) {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && focus != &wall && wall.isAncestorOf(focus);
}

bool isMenuKey(const QKeyEvent& event) {
    return event.key() == Qt::Key_Menu ||
           (event.key() == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier);
}

QString jumpLetter(const QKeyEvent& event) {
    if ((event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
        return {};
    }
    const QString text = event.text();
    return text.size() == 1 && text.at(0).isLetterOrNumber() ? text : QString();
}

int nextTitleStarting(const QString& letter, int current, int count,
                      const std::function<QString(int)>& titleAt) {
    if (letter.isEmpty() || count <= 0) {
        return -1;
    }
    const int start = std::clamp(current, -1, count - 1);
    for (int step = 1; step <= count; ++step) {
        const int index = (start + step) % count;
        if (titleAt(index).trimmed().startsWith(letter, Qt::CaseInsensitive)) {
            return index;
        }
    }
    return -1;
}

void scrollIntoView(QScrollArea& box, const QRect& frame) {
    QScrollBar* bar = box.verticalScrollBar();
    const int height = box.viewport()->height();
    if (frame.bottom() + 1 > bar->value() + height) {
        bar->setValue(frame.bottom() + 1 - height);
    }
    if (frame.top() < bar->value()) {
        bar->setValue(frame.top());
    }
}

void paintFocusLine(QWidget& wall, int captionBottom) {
    if (!wall.hasFocus()) {
        return;
    }
    QPainter painter(&wall);
    painter.fillRect(0, captionBottom - 4, wall.width(), 3,
                     wall.palette().color(QPalette::Highlight));
}

} // namespace zob
