#pragma once

#include "catalogue/artlist.h"
#include "search/offlinescan.h"
#include "site/fetch.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zob {

class searchKeyInfoClass;

// The answer of a search: every series of one model or one photographer.
// Online it is filled from the site's search page, with the offline flag
// from the local monthly catalogues. It is never stored.
class searchBaseArtList : public ArtList {
public:
    std::string siteFolder() const override { return {}; }
    std::string csvFileName() const override { return {}; }
    std::string pageFileName() const override;
    // Always asked again when online, unless scanning offline or there is
    // nothing to ask (a photographer the key index has no number for).
    bool isIncomplete() const override;
    bool load() override;
    void save(const std::string& fileName = {}) override;
    std::string caption() const override { return menuCaption(); }
    std::string query() const override { return queryText; }

    // The number query used when the name to search for is empty; empty
    // when no number is known.
    virtual std::string idQuery() const = 0;
    virtual std::string searchName() const = 0;

    // False when the site cannot be asked anything for this list.
    bool hasQuery() const { return !queryText.empty(); }

    std::string queryText;
    bool scanOffline = false;

protected:
    searchBaseArtList(ArtListList& registry, bool scanOfflineValue, OfflineScanSettings settings);
    // Kinds call it once their fields are set: it asks them for the name.
    void setQuery();
    const OfflineScanSettings& scanSettings() const { return scanSettings_; }

private:
    OfflineScanSettings scanSettings_;
};

// The series of one model of `series` (modelIndex from 1).
class searchModelArtList final : public searchBaseArtList {
public:
    searchModelArtList(ArtListList& registry, bool scanOfflineValue, SeriesPtr seriesValue,
                       std::int32_t modelIndexValue, OfflineScanSettings settings);

    std::shared_ptr<ArtList> cloneEmpty() const override;
    // Never handed back by the registry: the history reuses search lists.
    bool isSame(const ArtList& /*other*/) const override { return false; }
    std::string menuCaption() const override;
    std::string idQuery() const override;
    std::string searchName() const override;

    const SeriesPtr series;
    const std::int32_t modelIndex;
};

// The series of the photographer of `series`.
class searchPhotoArtList final : public searchBaseArtList {
public:
    // `keys` gives the photographer's number when the name is empty; it
    // must outlive the list.
    searchPhotoArtList(ArtListList& registry, bool scanOfflineValue, SeriesPtr seriesValue,
                       searchKeyInfoClass& keys, FetchEnv fetchEnv, OfflineScanSettings settings);

    std::shared_ptr<ArtList> cloneEmpty() const override;
    bool isSame(const ArtList& /*other*/) const override { return false; }
    std::string menuCaption() const override;
    std::string idQuery() const override;
    std::string searchName() const override;

    const SeriesPtr series;

private:
    searchKeyInfoClass& keys_;
    FetchEnv fetchEnv_;
};

inline constexpr std::string_view searchModelCaptionText = "Search model:";
inline constexpr std::string_view searchPhotoCaptionText = "Search photographer:";

// The captions the lists of a series would have: the history finds a
// search list again by them before one is made.
std::string searchModelCaption(const SeriesRec& series, std::int32_t modelIndex);
std::string searchPhotoCaption(const SeriesRec& series);

// The site's number for a photographer as the search query wants it: only
// the low 16 bits, read as a signed number.
std::int32_t photographerQueryNumber(std::int32_t id);

} // namespace zob
