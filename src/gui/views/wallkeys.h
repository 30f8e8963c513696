#pragma once

// The keys the cover wall and the series contents share: where a movement key
// takes the selection on a grid of cells, the menu keys, and how the walls
// show that they have the keyboard.

#include <QString>
#include <functional>
#include <optional>

class QKeyEvent;
class QRect;
class QScrollArea;
class QWidget;

namespace zob {

struct WallCells {
    int count = 0;
    int columns = 1;
    // Whole rows in view, at least 1: Page Up and Page Down move by them.
    int visibleRows = 1;
    // The selected cell, or -1 when none is.
    int current = -1;
    // Where a movement starts when nothing is selected.
    int firstVisible = 0;
};

// The cell a movement key (arrows, Home, End, Page Up, Page Down, without
// Shift, Ctrl or Alt) selects; nothing for any other key or an empty wall. Up
// and down keep the column; a move down past the last cell of its column ends
// on the last cell when a lower row exists.
std::optional<int> cellAfterKey(const QKeyEvent& event, const WallCells& cells);

// A key that the focused child of `wall` (the debug box, a button) left alone
// reaches the wall too; it is not the wall's to act on.
bool keyFromChild(const QWidget& wall);

// The context-menu key or Shift+F10.
bool isMenuKey(const QKeyEvent& event);

// The typed character for a jump by title, or an empty text when the key is
// none (a modifier other than Shift, a control key, a blank).
QString jumpLetter(const QKeyEvent& event);

// The first cell after `current` (wrapping round, `current` itself last) whose
// title starts with `letter`, in any case; -1 when none does.
int nextTitleStarting(const QString& letter, int current, int count,
                      const std::function<QString(int)>& titleAt);

// Scrolls `box` the least that shows all of `frame` (contents coordinates),
// or its top when it is taller than the box.
void scrollIntoView(QScrollArea& box, const QRect& frame);

// A highlight line under the caption row of a wall that has the keyboard.
void paintFocusLine(QWidget& wall, int captionBottom);

} // namespace zob
