#include "gui/views/tileimagecache.h"

namespace zob {

QImage TileImageCache::imageOf(std::size_t key, const std::function<QImage()>& compose) {
    if (const auto found = held_.find(key); found != held_.end()) {
        uses_.splice(uses_.begin(), uses_, found->second.use);
        return found->second.image;
    }
    QImage image = compose();
    uses_.push_front(key);
    bytes_ += static_cast<std::size_t>(image.sizeInBytes());
    held_.emplace(key, Held{image, uses_.begin()});
    // The picture just made stays, whatever its size.
    while (bytes_ > budget_ && uses_.size() > 1) {
        forget(uses_.back());
    }
    return image;
}

void TileImageCache::forget(std::size_t key) {
    const auto found = held_.find(key);
    if (found == held_.end()) {
        return;
    }
    bytes_ -= static_cast<std::size_t>(found->second.image.sizeInBytes());
    uses_.erase(found->second.use);
    held_.erase(found);
}

void TileImageCache::clear() {
    held_.clear();
    uses_.clear();
    bytes_ = 0;
}

} // namespace zob
