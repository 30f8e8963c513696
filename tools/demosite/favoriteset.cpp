#include "demosite/favoriteset.h"

#include <algorithm>

namespace demosite {

FavoriteSet::FavoriteSet(std::vector<int> initialIds) : ordered(std::move(initialIds)) {}

bool FavoriteSet::add(int id) {
    const std::lock_guard guard(lock);
    if (std::find(ordered.begin(), ordered.end(), id) != ordered.end()) {
        return false;
    }
    ordered.insert(ordered.begin(), id);
    return true;
}

bool FavoriteSet::remove(int id) {
    const std::lock_guard guard(lock);
    const auto found = std::find(ordered.begin(), ordered.end(), id);
    if (found == ordered.end()) {
        return false;
    }
    ordered.erase(found);
    return true;
}

bool FavoriteSet::contains(int id) const {
    const std::lock_guard guard(lock);
    return std::find(ordered.begin(), ordered.end(), id) != ordered.end();
}

void FavoriteSet::reset(std::vector<int> ids) {
    const std::lock_guard guard(lock);
    ordered = std::move(ids);
}

std::vector<int> FavoriteSet::ids() const {
    const std::lock_guard guard(lock);
    return ordered;
}

} // namespace demosite
