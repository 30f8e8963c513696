#include "search/searchlists.h"

#include "catalogue/seriesrec.h"
#include "search/searchkeyinfo.h"

#include <optional>
#include <utility>

namespace zob {

namespace {

constexpr std::string_view searchPageName = "search.html";

} // namespace

std::string searchModelCaption(const SeriesRec& series, std::int32_t modelIndex) {
    return std::string(searchModelCaptionText) + series.modelName(modelIndex);
}

std::string searchPhotoCaption(const SeriesRec& series) {
    return std::string(searchPhotoCaptionText) + series.photographer;
}

std::int32_t photographerQueryNumber(std::int32_t id) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(id)));
}

// --- searchBaseArtList

searchBaseArtList::searchBaseArtList(ArtListList& registry, bool scanOfflineValue,
                                     OfflineScanSettings settings)
    : ArtList(registry), scanOffline(scanOfflineValue), scanSettings_(std::move(settings)) {
    requestKind = 2;
}

std::string searchBaseArtList::pageFileName() const {
    return std::string(searchPageName);
}

bool searchBaseArtList::isIncomplete() const {
    return !scanOffline && hasQuery();
}

bool searchBaseArtList::load() {
    if (!scanOffline) {
        return true;
    }
    return offlineScan(*this, searchName(), scanSettings_);
}

void searchBaseArtList::save(const std::string& /*fileName*/) {}

void searchBaseArtList::setQuery() {
    const std::string name = searchName();
    if (!name.empty()) {
        queryText = "search=" + name;
        requestKind = 2;
    } else {
        queryText = idQuery();
        requestKind = 1;
    }
}

// --- searchModelArtList

searchModelArtList::searchModelArtList(ArtListList& registry, bool scanOfflineValue,
                                       SeriesPtr seriesValue, std::int32_t modelIndexValue,
                                       OfflineScanSettings settings)
    : searchBaseArtList(registry, scanOfflineValue, std::move(settings)),
      series(std::move(seriesValue)), modelIndex(modelIndexValue) {
    setQuery();
}

std::shared_ptr<ArtList> searchModelArtList::cloneEmpty() const {
    return std::make_shared<searchModelArtList>(registry(), scanOffline, series, modelIndex,
                                                scanSettings());
}

std::string searchModelArtList::menuCaption() const {
    return searchModelCaption(*series, modelIndex);
}

std::string searchModelArtList::idQuery() const {
    return "model=" + std::to_string(series->modelId);
}

std::string searchModelArtList::searchName() const {
    return series->modelName(modelIndex);
}

// --- searchPhotoArtList

searchPhotoArtList::searchPhotoArtList(ArtListList& registry, bool scanOfflineValue,
                                       SeriesPtr seriesValue, searchKeyInfoClass& keys,
                                       FetchEnv fetchEnv, OfflineScanSettings settings)
    : searchBaseArtList(registry, scanOfflineValue, std::move(settings)),
      series(std::move(seriesValue)), keys_(keys), fetchEnv_(fetchEnv) {
    setQuery();
}

std::shared_ptr<ArtList> searchPhotoArtList::cloneEmpty() const {
    return std::make_shared<searchPhotoArtList>(registry(), scanOffline, series, keys_, fetchEnv_,
                                                scanSettings());
}

std::string searchPhotoArtList::menuCaption() const {
    return searchPhotoCaption(*series);
}

std::string searchPhotoArtList::idQuery() const {
    // A photographer the index does not know gets no query at all: any
    // number made up here would ask the site for somebody else's series.
    const std::optional<std::int32_t> id = keys_.photographerId(series->photographer, fetchEnv_);
    if (!id) {
        return {};
    }
    return "photographer=" + std::to_string(photographerQueryNumber(*id));
}

std::string searchPhotoArtList::searchName() const {
    return series->photographer;
}

} // namespace zob
