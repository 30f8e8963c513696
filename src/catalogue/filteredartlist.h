#pragma once

#include "catalogue/artlist.h"

#include <functional>

namespace zob {

// The series of another list that a filter keeps, in that list's order. It
// shares their records, is never stored and never fetched: it is computed
// again from its base each time it is rebuilt.
class FilteredArtList final : public ArtList {
public:
    using Keep = std::function<bool(const SeriesRec&)>;

    FilteredArtList(ArtListPtr base, Keep keep);

    const ArtListPtr& base() const { return base_; }

    std::string siteFolder() const override { return {}; }
    std::string csvFileName() const override { return {}; }
    std::string pageFileName() const override { return {}; }
    std::shared_ptr<ArtList> cloneEmpty() const override;
    void rebuild() override;
    // Only itself: choosing its base again shows the whole base.
    bool isSame(const ArtList& other) const override { return &other == this; }
    bool load() override;
    bool hasPrevious() const override { return false; }
    std::string caption() const override { return base_->caption(); }
    std::string menuCaption() const override { return base_->menuCaption(); }

private:
    ArtListPtr base_;
    Keep keep_;
};

} // namespace zob
