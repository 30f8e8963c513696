#include "catalogue/memberlists.h"

#include "catalogue/artlistlist.h"
#include "catalogue/monthlyartlist.h"
#include "site/fetchsink.h"
#include "site/joining.h"
#include "site/sitenames.h"

#include <charconv>
#include <optional>

namespace zob {

namespace {

constexpr const char* favoriteAddFailed = "Cannot send \"add to favorite\" to zel-ora";
constexpr const char* favoriteRemoveFailed = "Cannot delete favorite on zel-ora site";

// The id behind the add link of a series' high-resolution folder page: the
// digits from the end of `marker` up to the next double quote.
std::optional<std::int32_t> favoriteIdIn(const std::string& page, const std::string& marker,
                                         bool& linkFound) {
    const std::size_t at = page.find(marker);
    linkFound = at != std::string::npos;
    if (!linkFound) {
        return std::nullopt;
    }
    const std::size_t start = at + marker.size();
    const std::size_t quote = page.find('"', start);
    const std::string_view digits = std::string_view(page).substr(
        start, quote == std::string::npos ? page.npos : quote - start);
    std::int32_t id = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
        return std::nullopt;
    }
    return id;
}

} // namespace

FavoriteArtList::FavoriteArtList(ArtListList& registry) : ArtList(registry) {
    siteSection = "favorites";
}

std::string FavoriteArtList::csvFileName() const {
    return std::string(favoritesCsvName);
}

std::string FavoriteArtList::pageFileName() const {
    return addedId == -1 ? "index.html" : "";
}

std::shared_ptr<ArtList> FavoriteArtList::cloneEmpty() const {
    return std::make_shared<FavoriteArtList>(registry());
}

bool FavoriteArtList::isSame(const ArtList& other) const {
    return dynamic_cast<const FavoriteArtList*>(&other) != nullptr;
}

std::string FavoriteArtList::caption() const {
    return "My Favorites";
}

std::string FavoriteArtList::query() const {
    return addedId == -1 ? "add=" : "add=" + std::to_string(addedId);
}

bool FavoriteArtList::load() {
    const bool result = ArtList::load();
    loadedFlag = true;
    // Copy first: registering months shares records into this list.
    const std::vector<SeriesPtr> favorites = records();
    for (const SeriesPtr& favorite : favorites) {
        if (favorite->partialRes == 0) {
            continue;
        }
        auto month = std::make_shared<monthlyArtList>(registry(), favorite->year, favorite->month);
        if (registry().indexOfSame(*month) == -1) {
            month->load();
            registry().registerList(month);
        }
    }
    return result;
}

void FavoriteArtList::addFavorite(const SeriesPtr& record, bool localOnly, const FetchEnv& env) {
    if (indexOfName(*record) >= 0) {
        return; // already a favorite: the site knows it too
    }
    insert(0, record);
    saved = false;
    save();
    if (localOnly) {
        return;
    }

    std::string page;
    MemorySink pageSink(page);
    const fetchResult pageResult =
        getHtml(env, record->resolutionUrl(resHigh) + "/", pageSink, true);
    bool linkFound = false;
    const std::optional<std::int32_t> id =
        favoriteIdIn(page, joinUrl(membersPath, siteSection, "?add="), linkFound);
    if (pageResult == fetchOk && !linkFound) {
        // The site offers no add link for this series: it stays a local favorite.
        return;
    }
    if (pageResult != fetchOk || !id) {
        env.prompt.showMessage("", favoriteAddFailed);
        return;
    }
    record->favoriteId = *id;
    addedId = *id;
    std::string answer;
    MemorySink answerSink(answer);
    if (getHtml(env, requestUrl(), answerSink, true) != fetchOk) {
        env.prompt.showMessage("", favoriteAddFailed);
    }
    saved = false;
    save();
}

void FavoriteArtList::removeFavorite(const SeriesPtr& record, bool localOnly, const FetchEnv& env) {
    const int position = indexOfName(*record);
    if (position < 0) {
        return;
    }
    std::int32_t id = -1;
    // Every copy goes: the list holds whatever its file says, and a file (one
    // edited by hand, say) may name a series twice.
    for (int at = position; at >= 0; at = indexOfName(*record)) {
        if (id == -1) {
            id = item(static_cast<std::size_t>(at))->favoriteId;
        }
        erase(static_cast<std::size_t>(at));
    }
    saved = false;
    save();
    if (id == -1 || localOnly) {
        return;
    }
    std::string answer;
    MemorySink answerSink(answer);
    const std::string address = joinUrl(pageUrl(), "?remove=" + std::to_string(id));
    if (getHtml(env, address, answerSink, true) != fetchOk) {
        env.prompt.showMessage("", favoriteRemoveFailed);
    }
}

std::string BadArtList::csvFileName() const {
    return std::string(badListCsvName);
}

std::shared_ptr<ArtList> BadArtList::cloneEmpty() const {
    return std::make_shared<BadArtList>(registry());
}

bool BadArtList::isSame(const ArtList& other) const {
    return dynamic_cast<const BadArtList*>(&other) != nullptr;
}

std::string BadArtList::caption() const {
    return "Bad List";
}

void BadArtList::addBad(const SeriesPtr& record) {
    if (indexOfName(*record) >= 0) {
        return;
    }
    insert(0, record);
    saved = false;
    save();
}

void BadArtList::removeBad(const SeriesPtr& record) {
    for (int position = indexOfName(*record); position >= 0; position = indexOfName(*record)) {
        erase(static_cast<std::size_t>(position));
        saved = false;
    }
    save();
}

bestOfZelOraArtList::bestOfZelOraArtList(ArtListList& registry) : ArtList(registry) {
    siteSection = "bestofzel";
}

std::shared_ptr<ArtList> bestOfZelOraArtList::cloneEmpty() const {
    return std::make_shared<bestOfZelOraArtList>(registry());
}

bool bestOfZelOraArtList::isSame(const ArtList& other) const {
    return dynamic_cast<const bestOfZelOraArtList*>(&other) != nullptr;
}

std::string bestOfZelOraArtList::caption() const {
    return "Best of Zel";
}

} // namespace zob
