#pragma once

#include <QWidget>
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace zob {

// The tile widgets of a scrolling wall, one slot per cell. Only the slots
// around the view hold a widget, so a wall of any length costs a few screens
// of widgets; the rest are made again when they come back into view.
template <class Tile> class LiveTiles {
public:
    LiveTiles() = default;
    LiveTiles(const LiveTiles&) = delete;
    LiveTiles& operator=(const LiveTiles&) = delete;
    ~LiveTiles() = default; // the widgets belong to their parent

    std::size_t size() const { return slots_.size(); }
    Tile* at(std::size_t index) const { return index < slots_.size() ? slots_[index] : nullptr; }
    void grow(std::size_t count) {
        if (count > slots_.size()) {
            slots_.resize(count, nullptr);
        }
    }
    // Deletes every tile now and forgets the slots.
    void clear() {
        for (Tile* made : slots_) {
            delete made;
        }
        slots_.clear();
        liveBegin_ = liveEnd_ = 0;
    }
    // Puts `made` in the slot, deleting the tile it replaces now.
    void replace(std::size_t index, Tile* made) {
        grow(index + 1);
        delete std::exchange(slots_[index], made);
    }

    // The slots that may hold a tile: those kept by the last keepOnly.
    std::size_t liveBegin() const { return liveBegin_; }
    std::size_t liveEnd() const { return std::min(liveEnd_, slots_.size()); }

    // Lets the tiles outside [begin, end) go and asks `make(index)` for every
    // empty slot inside; `make` may return null for a cell with nothing in it.
    template <class Make> void keepOnly(std::size_t begin, std::size_t end, Make make) {
        end = std::min(end, slots_.size());
        begin = std::min(begin, end);
        drop(liveBegin_, std::min(liveEnd_, begin));
        drop(std::max(liveBegin_, end), liveEnd_);
        liveBegin_ = begin;
        liveEnd_ = end;
        for (std::size_t i = begin; i < end; ++i) {
            if (slots_[i] == nullptr) {
                slots_[i] = make(i);
            }
        }
    }

private:
    void drop(std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < std::min(end, slots_.size()); ++i) {
            if (Tile* gone = std::exchange(slots_[i], nullptr)) {
                // Later: a scroll may come from inside one of the tile's own events.
                gone->hide();
                gone->deleteLater();
            }
        }
    }

    std::vector<Tile*> slots_;
    std::size_t liveBegin_ = 0;
    std::size_t liveEnd_ = 0;
};

} // namespace zob
