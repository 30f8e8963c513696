#pragma once

#include "catalogue/artlist.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zob {

struct HistoryEntry {
    ArtListPtr list;
    // Vertical scroll position of the tile box when this list was last left.
    std::int32_t scroll = 0;
};

struct HistoryMenuEntry {
    std::string caption;
    bool checked = false;

    bool operator==(const HistoryMenuEntry&) const = default;
};

// The History menu and the back and forward buttons, as the window draws them.
class HistoryView {
public:
    virtual ~HistoryView() = default;
    // One entry per history entry, newest first; the menu runs the history
    // menu handler with the chosen entry's position.
    virtual void setMenuEntries(const std::vector<HistoryMenuEntry>& entries) = 0;
    virtual void setButtons(bool backEnabled, bool forwardEnabled) = 0;
};

// The lists the user has looked at, newest first, each with the scroll
// position to come back to. Entries are shared with the registry of loaded
// lists; dropping one here does not unload it.
class historyList {
public:
    // A capacity below 1 would drop even the entry just added, so it counts as 1.
    historyList(std::int32_t capacity, HistoryView& view);
    historyList(const historyList&) = delete;
    historyList& operator=(const historyList&) = delete;

    // Position of this very list object (not an equal one), or -1.
    int indexOfEntry(const ArtListPtr& list) const;
    // Records that `list` is now shown and `scroll` was the position of the
    // view being left. A list already present becomes current in place, or
    // moves to the front when `move` is set; a new one goes to the front and
    // cuts off the entries newer than the one being left.
    void addEntry(const ArtListPtr& list, std::int32_t scroll, bool move);

    bool canGoForward() const { return current_ != 0; }
    bool canGoBackward() const { return static_cast<int>(entries_.size()) - 1 > current_; }
    void goForward();
    void goBackward();

    // Null while the history is empty.
    ArtListPtr currentEntry() const;
    // 0 while the history is empty.
    std::int32_t currentScroll() const;
    // The first entry whose menu caption is exactly `caption`, or null.
    ArtListPtr findByCaption(const std::string& caption) const;

    void refreshHistoryMenu();
    void updateHistoryButtons();

    std::int32_t capacity() const { return capacity_; }
    std::int32_t current() const { return current_; }
    bool hasCurrent() const { return hasCurrent_; }
    const std::vector<HistoryEntry>& entries() const { return entries_; }

private:
    void storeScrollOfCurrent(std::int32_t scroll);

    std::int32_t capacity_;
    std::int32_t current_ = 0;
    bool hasCurrent_ = false;
    std::vector<HistoryEntry> entries_;
    HistoryView& view_;
};

// What the history commands ask of the main window.
class HistoryWindow {
public:
    virtual ~HistoryWindow() = default;
    // Shows `list` with the tile box at `scroll` (and refreshes the History menu).
    virtual void setCrntArchive(const ArtListPtr& list, std::int32_t scroll) = 0;
    virtual std::int32_t tileScrollPosition() const = 0;
    virtual void setBusyCursor(bool busy) = 0;
    virtual void clearSelection() = 0;
    // The Archive and History menus; they come back once the list's last
    // small logo has been reported or the list turned out empty.
    virtual void setListMenusEnabled(bool enabled) = 0;
    // Creates the splash window when there is none.
    virtual void showSplash(const std::string& message) = 0;
    // Focus to the active tab, the image tab made active, the series pop-up
    // menu on the tiles.
    virtual void showImagePage() = 0;
};

// The back and forward buttons. They do not store the scroll position of the
// view they leave: only choosing a list does.
void histBackwardClick(historyList& history, HistoryWindow& window);
void histForwardClick(historyList& history, HistoryWindow& window);

// A History menu entry chosen. `online` and `noSplash` decide whether the
// splash window announces the list. False when the position is not in the
// history (the menu was out of step): nothing happens then.
bool historyMenuClick(historyList& history, std::size_t menuPosition, HistoryWindow& window,
                      bool online, bool noSplash);

} // namespace zob
