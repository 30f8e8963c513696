#include "shell/seriesmenu.h"

#include "catalogue/resolution.h"
#include "catalogue/seriesrec.h"

#include <algorithm>

namespace zob {

namespace {

constexpr int stateLoading = 1;
constexpr int stateStopping = 3;
constexpr int stateComplete = 4;

struct StateText {
    const char* action;
    LoadCommand command;
};

constexpr std::array<StateText, 5> stateTexts = {{
    {"Download", LoadCommand::load},
    {"Stop or Delete", LoadCommand::stopOrDelete},
    {"Continue to download", LoadCommand::resume},
    {"stopping", LoadCommand::none},
    {"**DELETE**", LoadCommand::remove},
}};

std::string resolutionText(int resolution, int state) {
    switch (resolution) {
    case 0:
        return "&high-res pics";
    case 1:
        return "&mid-res pics";
    case 2:
        return "&low-res pics";
    default:
        return state == stateComplete ? "ALL PICS" : "&only thumbnails";
    }
}

// setLoadMenuItem: one download entry from its resolution and load state.
LoadMenuEntry loadEntry(int resolution, int state, int crntResolution) {
    const StateText& text = stateTexts.at(static_cast<std::size_t>(std::clamp(state, 0, 4)));
    LoadMenuEntry entry;
    entry.caption = std::string(text.action) + " " + resolutionText(resolution, state);
    entry.command = text.command;
    entry.isDefault = resolution == crntResolution && state != stateComplete;
    entry.tag = loadEntryPosition(resolution) - 2;
    return entry;
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

} // namespace

int tagToResolution(int tag) {
    switch (tag) {
    case 0:
        return 2;
    case 1:
        return 1;
    case 2:
        return 0;
    default:
        return 3;
    }
}

int loadEntryPosition(int resolution) {
    switch (resolution) {
    case 0:
        return 4;
    case 1:
        return 3;
    case 2:
        return 2;
    default:
        return 5;
    }
}

std::string modelSearchCaption(const std::string& model) {
    return "Search model:" + model;
}

std::string photoSearchCaption(const std::string& photographer) {
    return "Search photographer:" + photographer;
}

SeriesMenuInput seriesMenuInput(const SeriesRec& series, int crntResolution, bool offline,
                                bool offlineSearch) {
    SeriesMenuInput input;
    input.title = series.title;
    input.model = series.model;
    for (int k = 1; k <= series.modelCount(); ++k) {
        input.modelNames.push_back(series.modelName(k));
    }
    input.photographer = series.photographer;
    input.statusText = series.statusText();
    input.isMovie = series.isMovie;
    for (int r = 0; r < 4; ++r) {
        input.states[static_cast<std::size_t>(r)] = series.resState(r);
    }
    input.crntResolution = crntResolution;
    input.offline = offline;
    input.offlineSearch = offlineSearch;
    return input;
}

SeriesMenu buildSeriesMenu(const SeriesMenuInput& input) {
    SeriesMenu menu;
    menu.openCaption = "open URL: " + input.title;
    bool anyLoading = false;
    bool anyStopping = false;
    for (int r = 0; r < 4; ++r) {
        const int state = input.states[static_cast<std::size_t>(r)];
        anyLoading = anyLoading || state == stateLoading;
        anyStopping = anyStopping || state == stateStopping;
        menu.loads[static_cast<std::size_t>(loadEntryPosition(r) - 2)] =
            loadEntry(r, state, input.crntResolution);
    }

    // The number of models counts the "&" of the model text, as the site
    // writes several models.
    const auto models = 1 + std::count(input.model.begin(), input.model.end(), '&');
    if (models < 2) {
        const std::string name = input.modelNames.empty() ? input.model : input.modelNames[0];
        menu.models.push_back({"srch1", modelSearchCaption(name)});
    } else {
        menu.modelSubmenu = true;
        for (long k = 1; k <= models; ++k) {
            const auto index = static_cast<std::size_t>(k - 1);
            const std::string name =
                index < input.modelNames.size() ? input.modelNames[index] : std::string();
            menu.models.push_back({"srch" + std::to_string(k), modelSearchCaption(name)});
        }
    }
    menu.photoCaption = photoSearchCaption(input.photographer);

    const int current = std::clamp(input.crntResolution, 0, 3);
    menu.showPics = input.states[static_cast<std::size_t>(current)] == stateComplete;

    if (input.isMovie) {
        menu.openDefault = !input.offline;
        for (LoadMenuEntry& entry : menu.loads) {
            entry.isDefault = false;
            entry.enabled = false;
        }
    } else if (anyLoading) {
        for (LoadMenuEntry& entry : menu.loads) {
            entry.enabled = startsWith(entry.caption, "Stop");
        }
    } else if (anyStopping) {
        for (LoadMenuEntry& entry : menu.loads) {
            entry.enabled = false;
        }
    } else if (input.offline) {
        for (LoadMenuEntry& entry : menu.loads) {
            entry.enabled =
                startsWith(entry.caption, "**DELE") || startsWith(entry.caption, "Stop");
        }
        menu.modelEnabled = input.offlineSearch;
    }
    menu.inFavorites = input.statusText.find('F') != std::string::npos;
    menu.inBadList = input.statusText.find('B') != std::string::npos;
    return menu;
}

} // namespace zob
