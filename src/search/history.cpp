#include "search/history.h"

#include <algorithm>
#include <iterator>

namespace zob {

historyList::historyList(std::int32_t capacity, HistoryView& view)
    : capacity_(std::max<std::int32_t>(capacity, 1)), view_(view) {
    updateHistoryButtons();
}

int historyList::indexOfEntry(const ArtListPtr& list) const {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const HistoryEntry& entry) { return entry.list == list; });
    return found == entries_.end() ? -1 : static_cast<int>(found - entries_.begin());
}

void historyList::storeScrollOfCurrent(std::int32_t scroll) {
    if (!entries_.empty()) {
        entries_.at(static_cast<std::size_t>(current_)).scroll = scroll;
    }
}

void historyList::addEntry(const ArtListPtr& list, std::int32_t scroll, bool move) {
    if (!list) {
        return;
    }
    const int index = indexOfEntry(list);
    storeScrollOfCurrent(scroll);
    if (index < 0) {
        // Showing something new after going back forgets the entries newer
        // than the one being left, as a browser does.
        const auto leaving = entries_.begin() + current_;
        entries_.erase(entries_.begin(), entries_.insert(leaving, HistoryEntry{list, 0}));
        if (entries_.size() > static_cast<std::size_t>(capacity_)) {
            entries_.resize(static_cast<std::size_t>(capacity_));
        }
        current_ = 0;
    } else if (!move) {
        current_ = index;
    } else {
        const auto chosen = entries_.begin() + index;
        std::rotate(entries_.begin(), chosen, std::next(chosen));
        current_ = 0;
    }
    hasCurrent_ = true;
    updateHistoryButtons();
}

void historyList::goForward() {
    if (canGoForward()) {
        --current_;
        hasCurrent_ = true;
    }
    updateHistoryButtons();
}

void historyList::goBackward() {
    if (canGoBackward()) {
        ++current_;
        hasCurrent_ = true;
    }
    updateHistoryButtons();
}

ArtListPtr historyList::currentEntry() const {
    return entries_.empty() ? nullptr : entries_.at(static_cast<std::size_t>(current_)).list;
}

std::int32_t historyList::currentScroll() const {
    return entries_.empty() ? 0 : entries_.at(static_cast<std::size_t>(current_)).scroll;
}

ArtListPtr historyList::findByCaption(const std::string& caption) const {
    for (const auto& entry : entries_) {
        if (entry.list->menuCaption() == caption) {
            return entry.list;
        }
    }
    return nullptr;
}

void historyList::refreshHistoryMenu() {
    std::vector<HistoryMenuEntry> menu;
    menu.reserve(entries_.size());
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        menu.push_back({entries_[k].list->menuCaption(),
                        hasCurrent_ && k == static_cast<std::size_t>(current_)});
    }
    view_.setMenuEntries(menu);
}

void historyList::updateHistoryButtons() {
    view_.setButtons(canGoBackward(), canGoForward());
}

void histBackwardClick(historyList& history, HistoryWindow& window) {
    if (history.canGoBackward()) {
        history.goBackward();
        window.setCrntArchive(history.currentEntry(), history.currentScroll());
    }
}

void histForwardClick(historyList& history, HistoryWindow& window) {
    if (history.canGoForward()) {
        history.goForward();
        window.setCrntArchive(history.currentEntry(), history.currentScroll());
    }
}

bool historyMenuClick(historyList& history, std::size_t menuPosition, HistoryWindow& window,
                      bool online, bool noSplash) {
    if (menuPosition >= history.entries().size()) {
        return false;
    }
    window.setBusyCursor(true);
    window.clearSelection();
    // Copied: addEntry may reorder the entries.
    const ArtListPtr list = history.entries()[menuPosition].list;
    // Another choice while this list's covers still come in would start a
    // second cover job beside it.
    window.setListMenusEnabled(false);
    history.addEntry(list, window.tileScrollPosition(), false);
    window.setCrntArchive(list, 0);
    if (online && !noSplash) {
        window.showSplash(list->caption());
    }
    window.setBusyCursor(false);
    window.showImagePage();
    return true;
}

} // namespace zob
