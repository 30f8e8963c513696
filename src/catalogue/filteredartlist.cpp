#include "catalogue/filteredartlist.h"

namespace zob {

FilteredArtList::FilteredArtList(ArtListPtr base, Keep keep)
    : ArtList(base->registry()), base_(std::move(base)), keep_(std::move(keep)) {
    rebuild();
}

std::shared_ptr<ArtList> FilteredArtList::cloneEmpty() const {
    return std::make_shared<FilteredArtList>(base_, [](const SeriesRec&) { return false; });
}

void FilteredArtList::rebuild() {
    clear();
    for (SeriesPtr series : base_->records()) {
        if (keep_(*series)) {
            append(series);
        }
    }
    // Nothing here is ever written.
    saved = true;
}

bool FilteredArtList::load() {
    rebuild();
    return !empty();
}

} // namespace zob
