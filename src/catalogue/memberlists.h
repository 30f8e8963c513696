#pragma once

#include "catalogue/artlist.h"
#include "site/fetch.h"

#include <cstdint>

namespace zob {

// The member's favorites, mirrored on the site: additions and removals made
// here are sent at once; the site's page is read only while the local list
// is empty.
class FavoriteArtList : public ArtList {
public:
    explicit FavoriteArtList(ArtListList& registry);

    std::string siteFolder() const override { return {}; }
    std::string csvFileName() const override;
    std::string pageFileName() const override;
    std::shared_ptr<ArtList> cloneEmpty() const override;
    bool isIncomplete() const override { return loadedFlag && empty(); }
    bool isSame(const ArtList& other) const override;
    // Reads the file, then the months of partly downloaded favorites, so
    // their records are shared from the start.
    bool load() override;
    std::string caption() const override;
    std::string menuCaption() const override { return caption(); }
    std::string query() const override;

    // localOnly: offline, nothing is sent to the site.
    void addFavorite(const SeriesPtr& record, bool localOnly, const FetchEnv& env);
    void removeFavorite(const SeriesPtr& record, bool localOnly, const FetchEnv& env);

    // Favorite id of the last series added in this run, -1 none.
    std::int32_t addedId = -1;
    bool loadedFlag = false;
};

// The member's private bad list, kept on disk only.
class BadArtList : public ArtList {
public:
    explicit BadArtList(ArtListList& registry) : ArtList(registry) {}

    std::string siteFolder() const override { return {}; }
    std::string csvFileName() const override;
    std::string pageFileName() const override { return {}; }
    std::shared_ptr<ArtList> cloneEmpty() const override;
    bool isSame(const ArtList& other) const override;
    std::string caption() const override;
    std::string menuCaption() const override { return caption(); }

    void addBad(const SeriesPtr& record);
    // Removes every entry of the series.
    void removeBad(const SeriesPtr& record);
};

// The site's best-of page: fetched each time it is shown, never stored.
class bestOfZelOraArtList : public ArtList {
public:
    explicit bestOfZelOraArtList(ArtListList& registry);

    std::string siteFolder() const override { return {}; }
    std::string csvFileName() const override { return {}; }
    std::string pageFileName() const override { return "index.html"; }
    std::shared_ptr<ArtList> cloneEmpty() const override;
    bool isIncomplete() const override { return true; }
    bool isSame(const ArtList& other) const override;
    std::string caption() const override;
    std::string menuCaption() const override { return caption(); }
};

} // namespace zob
