#include "app/searchcommands.h"

#include "app/appcontext.h"
#include "app/archiveloader.h"
#include "catalogue/artlistlist.h"
#include "catalogue/monthlyartlist.h"
#include "search/searchlists.h"

#include <charconv>
#include <memory>

namespace zob {

namespace {

constexpr std::string_view notFoundText = "Sorry. I cannot found any series for ";

// The months of series with pictures half-downloaded are loaded so that a
// download resumed from the search list lands in the month's catalogue.
void loadMonthsOfPartialSeries(AppContext& context, const ArtList& list) {
    ArtListList& registry = context.loadedArchives;
    for (const SeriesPtr& series : list.records()) {
        if (series->partialRes.load() == 0) {
            continue;
        }
        auto month = std::make_shared<monthlyArtList>(registry, series->year, series->month);
        if (registry.indexOfSame(*month) < 0) {
            month->load();
            registry.registerList(month);
        }
    }
}

} // namespace

std::int32_t searchEntryModelIndex(std::string_view entryName) {
    if (entryName.size() <= 4) {
        return 0;
    }
    const std::string_view digits = entryName.substr(4, 2);
    std::int32_t index = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), index);
    return index;
}

SearchResult ppSearchModelClick(SearchEnv& env, const SeriesPtr& series, std::int32_t modelIndex) {
    env.window.clearSelection();
    ArtListPtr list = env.history.findByCaption(searchModelCaption(*series, modelIndex));
    if (!list) {
        list = std::make_shared<searchModelArtList>(env.context.loadedArchives, env.offlineSearch,
                                                    series, modelIndex, env.scanSettings);
    }
    return ppSearchMenuClick(env, list);
}

SearchResult ppSearchPhotoClick(SearchEnv& env, const SeriesPtr& series) {
    env.window.setBusyCursor(true);
    env.window.clearSelection();
    ArtListPtr list = env.history.findByCaption(searchPhotoCaption(*series));
    if (!list) {
        list = std::make_shared<searchPhotoArtList>(env.context.loadedArchives, env.offlineSearch,
                                                    series, env.keys, env.context.fetchEnv(),
                                                    env.scanSettings);
    }
    return ppSearchMenuClick(env, list);
}

SearchResult ppSearchMenuClick(SearchEnv& env, const ArtListPtr& list) {
    AppContext& context = env.context;
    SearchWindow& window = env.window;
    window.setBusyCursor(true);
    window.clearSelection();
    const std::int32_t scroll = window.tileScrollPosition();

    const auto* search = dynamic_cast<const searchBaseArtList*>(list.get());
    if (!context.offlineMode && !context.configInfo.noSplash) {
        window.showSplash("searching (" + (search ? search->searchName() : std::string()) + ")");
    }

    const ArtListPtr loaded = addLoadedArchive(context, list, env.loaderHost);
    if (!loaded) {
        // The loader has said why, or the window is going away: leave the
        // view as it is.
        window.setBusyCursor(false);
        return {SearchOutcome::abandoned, list};
    }
    if (loaded->empty()) {
        window.showNotFoundLabel();
        context.prompt.showMessage("", std::string(notFoundText) + loaded->caption());
        window.setBusyCursor(false);
        window.setCrntArchive(window.crntArchive(), 0);
        return {SearchOutcome::notFound, loaded};
    }

    loadMonthsOfPartialSeries(context, *loaded);
    env.history.addEntry(loaded, scroll, true);
    window.setCrntArchive(loaded, 0);
    window.setListMenusEnabled(false);
    window.setBusyCursor(false);
    window.showImagePage();
    return {SearchOutcome::found, loaded};
}

} // namespace zob
