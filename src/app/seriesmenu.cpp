#include "app/seriesmenu.h"

#include "catalogue/resolution.h"
#include "catalogue/seriesrec.h"
#include "download/seriesdownload.h"

#include <algorithm>

namespace zob {

namespace {

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

std::string resolutionText(Resolution resolution, JobState state) {
    switch (resolution) {
    case Resolution::high:
        return "&high-res pics";
    case Resolution::mid:
        return "&mid-res pics";
    case Resolution::low:
        return "&low-res pics";
    case Resolution::thumb:
        break;
    }
    return state == JobState::complete ? "ALL PICS" : "&only thumbnails";
}

// setLoadMenuItem: one download entry from its resolution and load state.
LoadMenuEntry loadEntry(Resolution resolution, JobState state, Resolution crntResolution) {
    const StateText& text = stateTexts.at(static_cast<std::size_t>(state));
    LoadMenuEntry entry;
    entry.caption = std::string(text.action) + " " + resolutionText(resolution, state);
    entry.command = text.command;
    entry.isDefault = resolution == crntResolution && state != JobState::complete;
    entry.tag = loadEntryPosition(resolution) - 2;
    return entry;
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

} // namespace

Resolution tagToResolution(int tag) {
    switch (tag) {
    case 0:
        return resLow;
    case 1:
        return resMid;
    case 2:
        return resHigh;
    default:
        return resThumb;
    }
}

int loadEntryPosition(Resolution resolution) {
    switch (resolution) {
    case Resolution::high:
        return 4;
    case Resolution::mid:
        return 3;
    case Resolution::low:
        return 2;
    case Resolution::thumb:
        break;
    }
    return 5;
}

std::string modelSearchCaption(const std::string& model) {
    return "Search model:" + model;
}

std::string photoSearchCaption(const std::string& photographer) {
    return "Search photographer:" + photographer;
}

SeriesMenuInput seriesMenuInput(const SeriesRec& series, Resolution crntResolution, bool offline,
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
    for (const Resolution r : allResolutions) {
        input.states[indexOf(r)] = resState(series, r);
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
    for (const Resolution r : allResolutions) {
        const JobState state = input.states[indexOf(r)];
        anyLoading = anyLoading || state == JobState::downloading;
        anyStopping = anyStopping || state == JobState::stopping;
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

    menu.showPics = input.states[indexOf(input.crntResolution)] == JobState::complete;

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
