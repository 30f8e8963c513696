#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace demosite {

// Least-recently-used store of generated files, bounded by count and bytes,
// so a long download run neither regenerates every hit nor grows unbounded.
class PictureCache {
public:
    PictureCache(std::size_t maxEntries, std::size_t maxBytes);
    // The bytes stored under key; on a miss make() runs outside the lock and
    // its result is kept. Two threads missing at once may both make it.
    std::shared_ptr<const std::string> get(const std::string& key,
                                           const std::function<std::string()>& make);
    std::size_t entries() const;
    std::size_t bytes() const;

private:
    using Entry = std::pair<std::string, std::shared_ptr<const std::string>>;
    void evictOverflow();

    const std::size_t maxEntries;
    const std::size_t maxBytes;
    mutable std::mutex lock;
    std::list<Entry> recentFirst;
    std::unordered_map<std::string, std::list<Entry>::iterator> index;
    std::size_t totalBytes = 0;
};

} // namespace demosite
