#pragma once

#include <QImage>
#include <cstddef>
#include <functional>
#include <list>
#include <unordered_map>

namespace zob {

// The composed pictures of a wall's tiles, the ones used last first, within
// a budget of bytes: a tile out of the cache is composed again when it is
// next painted.
class TileImageCache {
public:
    explicit TileImageCache(std::size_t budgetBytes) : budget_(budgetBytes) {}

    // The picture of tile `key`, composed by `compose` when not held.
    QImage imageOf(std::size_t key, const std::function<QImage()>& compose);
    void forget(std::size_t key);
    void clear();
    std::size_t bytes() const { return bytes_; }
    std::size_t size() const { return held_.size(); }

private:
    struct Held {
        QImage image;
        std::list<std::size_t>::iterator use;
    };

    std::size_t budget_;
    std::size_t bytes_ = 0;
    // Most recently used first.
    std::list<std::size_t> uses_;
    std::unordered_map<std::size_t, Held> held_;
};

} // namespace zob
