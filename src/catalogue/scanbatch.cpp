#include "catalogue/scanbatch.h"

#include <algorithm>

namespace zob {

namespace {
thread_local LocalScanBatch* innermost = nullptr;
}

LocalScanBatch::LocalScanBatch() : outer_(innermost) {
    innermost = this;
}

LocalScanBatch::~LocalScanBatch() {
    innermost = outer_;
}

LocalScanBatch* LocalScanBatch::active() {
    return innermost;
}

bool LocalScanBatch::isKnownMissing(const ArtListList& registry,
                                    std::string_view yearFolder) const {
    // A load touches a year or two: a short list beats a hash.
    return std::any_of(missing_.begin(), missing_.end(), [&](const auto& entry) {
        return entry.first == &registry && entry.second == yearFolder;
    });
}

void LocalScanBatch::rememberMissing(const ArtListList& registry, std::string yearFolder) {
    missing_.emplace_back(&registry, std::move(yearFolder));
}

} // namespace zob
