#pragma once

#include "catalogue/artlist.h"
#include "search/history.h"
#include "search/offlinescan.h"

#include <cstdint>
#include <string_view>

namespace zob {

class AppContext;
class ArchiveLoaderHost;
class searchKeyInfoClass;

// What a search asks of the main window beyond the history's needs.
class SearchWindow : public HistoryWindow {
public:
    // The label above the view says the search found nothing.
    virtual void showNotFoundLabel() = 0;
    // The list shown before the search, shown again when it found nothing.
    virtual ArtListPtr crntArchive() const = 0;
};

// Everything the search commands work with; the main window owns all of it.
struct SearchEnv {
    AppContext& context;
    ArchiveLoaderHost& loaderHost;
    historyList& history;
    searchKeyInfoClass& keys;
    SearchWindow& window;
    // The main window's offline-search flag, copied into every new list.
    bool offlineSearch = false;
    OfflineScanSettings scanSettings;
};

enum class SearchOutcome {
    found,
    // Told to the user; the previous list is shown again.
    notFound,
    // The loader gave up on the list (and said why) or the window is closing.
    abandoned,
};

struct SearchResult {
    SearchOutcome outcome = SearchOutcome::abandoned;
    // The list searched with, registered, whatever the outcome.
    ArtListPtr list;
};

// Which model a "search same model" menu entry stands for: the number in
// its name from the fifth character on ("srch2" is 2); 0 when none.
std::int32_t searchEntryModelIndex(std::string_view entryName);

// "Search same model" for model `modelIndex` (from 1) of `series`: the list
// of the same caption in the history is searched again, else a new one.
SearchResult ppSearchModelClick(SearchEnv& env, const SeriesPtr& series, std::int32_t modelIndex);
// "Search same photographer" for `series`, likewise.
SearchResult ppSearchPhotoClick(SearchEnv& env, const SeriesPtr& series);
// Fills `list` (site or local catalogues) and shows it; a list that found
// something enters the history.
SearchResult ppSearchMenuClick(SearchEnv& env, const ArtListPtr& list);

} // namespace zob
