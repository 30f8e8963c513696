#pragma once

#include <mutex>
#include <vector>

namespace demosite {

// The member's favorites as favorite ids, latest addition first; shared by the
// server's threads and the tests that look at it.
class FavoriteSet {
public:
    explicit FavoriteSet(std::vector<int> initialIds = {});
    // Puts the id in front; an id already present keeps its place. False when present.
    bool add(int id);
    bool remove(int id); // false when absent
    bool contains(int id) const;
    void reset(std::vector<int> ids);
    std::vector<int> ids() const;

private:
    mutable std::mutex lock;
    std::vector<int> ordered;
};

} // namespace demosite
