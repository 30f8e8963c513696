#pragma once

#include "download/seriesdownload.h"

#include <array>
#include <string>
#include <vector>

namespace zob {

class SeriesRec;

// What a download entry of the series menu does when chosen.
enum class LoadCommand {
    load,         // start the download (and show the series)
    stopOrDelete, // ask: stop, stop and delete, or go on
    resume,       // continue a stopped download
    none,         // stopping: nothing to do
    remove,       // ask, then delete the pictures
};

struct LoadMenuEntry {
    std::string caption;
    LoadCommand command = LoadCommand::load;
    bool isDefault = false;
    bool enabled = true;
    // Which resolution the entry stands for, read back with tagToResolution.
    int tag = 0;
};

struct ModelSearchEntry {
    std::string name; // "srch1", "srch2", ...
    std::string caption;
};

// The series menu of one series, entry by entry, as it is to be shown.
struct SeriesMenu {
    std::string openCaption;
    bool openDefault = false;
    bool openEnabled = true;
    // Menu positions 2 to 5: low, mid, high, thumbnails only.
    std::array<LoadMenuEntry, 4> loads;
    // The "Show &pics" entry: the current resolution is all on disk.
    bool showPics = false;
    // Entries 7 and 8 remove rather than add.
    bool inFavorites = false;
    bool inBadList = false;
    // One entry, or a "search same model" submenu when the series has
    // several models.
    std::vector<ModelSearchEntry> models;
    bool modelSubmenu = false;
    bool modelEnabled = true;
    std::string photoCaption;
    bool photoEnabled = true;
};

// Everything the menu depends on, so it can be worked out without a window.
struct SeriesMenuInput {
    std::string title;
    std::string model;
    std::vector<std::string> modelNames; // trimmed, one per model
    std::string photographer;
    std::string statusText;
    bool isMovie = false;
    // Load state per resolution (0 high .. 3 thumbnails).
    std::array<JobState, 4> states{};
    Resolution crntResolution = resLow;
    bool offline = false;
    bool offlineSearch = false;
};

SeriesMenuInput seriesMenuInput(const SeriesRec& series, Resolution crntResolution, bool offline,
                                bool offlineSearch);

SeriesMenu buildSeriesMenu(const SeriesMenuInput& input);

// The resolution a menu entry's tag stands for: 0 low, 1 mid, 2 high, any
// other thumbnails only.
Resolution tagToResolution(int tag);

// The menu position (2..5) of a resolution's download entry.
int loadEntryPosition(Resolution resolution);

// "Search model:NAME" / "Search photographer:NAME".
std::string modelSearchCaption(const std::string& model);
std::string photoSearchCaption(const std::string& photographer);

} // namespace zob
