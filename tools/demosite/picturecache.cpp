#include "demosite/picturecache.h"

namespace demosite {

PictureCache::PictureCache(std::size_t maxEntries_, std::size_t maxBytes_)
    : maxEntries(maxEntries_), maxBytes(maxBytes_) {}

std::shared_ptr<const std::string> PictureCache::get(const std::string& key,
                                                     const std::function<std::string()>& make) {
    {
        const std::lock_guard guard(lock);
        const auto found = index.find(key);
        if (found != index.end()) {
            recentFirst.splice(recentFirst.begin(), recentFirst, found->second);
            return found->second->second;
        }
    }
    auto made = std::make_shared<const std::string>(make());
    const std::lock_guard guard(lock);
    const auto found = index.find(key);
    if (found != index.end()) {
        return found->second->second; // another thread was quicker
    }
    recentFirst.emplace_front(key, made);
    index.emplace(key, recentFirst.begin());
    totalBytes += made->size();
    evictOverflow();
    return made;
}

void PictureCache::evictOverflow() {
    // The newest entry always stays, even when it alone is over the byte limit.
    while (recentFirst.size() > 1 && (recentFirst.size() > maxEntries || totalBytes > maxBytes)) {
        totalBytes -= recentFirst.back().second->size();
        index.erase(recentFirst.back().first);
        recentFirst.pop_back();
    }
}

std::size_t PictureCache::entries() const {
    const std::lock_guard guard(lock);
    return recentFirst.size();
}

std::size_t PictureCache::bytes() const {
    const std::lock_guard guard(lock);
    return totalBytes;
}

} // namespace demosite
