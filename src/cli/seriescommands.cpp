#include "cli/seriescommands.h"

#include "catalogue/artlistlist.h"
#include "catalogue/memberlists.h"
#include "catalogue/monthlyartlist.h"
#include "cli/clisession.h"
#include "shell/startupsignin.h"

#include <array>
#include <charconv>
#include <functional>
#include <iostream>

namespace zob {

namespace {

constexpr int usageStatus = 64;
constexpr int notFoundStatus = 2;
constexpr int closedStatus = 3;

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Start-up, member lists and the series; the status to exit with when any
// of them is missing.
struct FoundSeries {
    SeriesPtr series;
    int failure = 0;
};

FoundSeries startAndFind(CliSession& session, const std::string& name, const char* command) {
    if (session.start().mode == StartMode::aborted || !session.loadMemberLists()) {
        return {nullptr, closedStatus};
    }
    SeriesPtr series = loadSeries(session, name);
    if (!series) {
        if (session.closeRequested()) {
            return {nullptr, closedStatus};
        }
        std::cerr << "zob " << command << ": no series named " << name << '\n';
        return {nullptr, notFoundStatus};
    }
    return {std::move(series), 0};
}

// The shared run of the member-list commands: ACTION add|remove NAME.
int runAddRemove(const std::vector<std::string>& arguments, const std::filesystem::path& iniPath,
                 TerminalPrompt& prompt, std::ostream& out, const char* command,
                 const std::function<void(AppContext&, const SeriesPtr&, bool add)>& change) {
    if (arguments.size() != 2 || (arguments[0] != "add" && arguments[0] != "remove")) {
        std::cerr << "zob " << command << ": add|remove NAME\n";
        return usageStatus;
    }
    CliSession session(iniPath, prompt);
    const FoundSeries found = startAndFind(session, arguments[1], command);
    if (!found.series) {
        return found.failure;
    }
    change(session.context(), found.series, arguments[0] == "add");
    session.context().loadedArchives.saveAll();
    out << found.series->name << '\t' << found.series->statusText() << '\n';
    return 0;
}

} // namespace

std::optional<int> resolutionNamed(std::string_view word) {
    constexpr std::array<std::string_view, resolutionCount> names{"high", "mid", "low", "thumb"};
    for (int r = 0; r < resolutionCount; ++r) {
        if (word == names[static_cast<std::size_t>(r)]) {
            return r;
        }
    }
    return std::nullopt;
}

ArtListPtr homeListOf(ArtListList& registry, std::string_view name) {
    const std::size_t cut = name.rfind('_');
    if (cut == std::string_view::npos || cut == 0) {
        return nullptr;
    }
    const std::string_view suffix = name.substr(cut + 1);
    if (suffix == "archive") {
        return std::make_shared<monthlyArtList>(registry, 1, 1);
    }
    if (suffix.size() != 6 || !allDigits(suffix)) {
        return nullptr;
    }
    int year = 0;
    int month = 0;
    std::from_chars(suffix.data(), suffix.data() + 4, year);
    std::from_chars(suffix.data() + 4, suffix.data() + 6, month);
    if (year < firstSiteYear || month < 1 || month > 12) {
        return nullptr;
    }
    return std::make_shared<monthlyArtList>(registry, year, month);
}

SeriesPtr loadSeries(CliSession& session, const std::string& name) {
    AppContext& context = session.context();
    ArtListPtr home = homeListOf(context.loadedArchives, name);
    if (!home) {
        return nullptr;
    }
    // A month the site lacks comes back as an earlier one, which cannot
    // hold the series: the search below then finds nothing.
    const ArtListPtr shown = addLoadedArchive(context, std::move(home), session);
    if (!shown) {
        return nullptr;
    }
    for (const SeriesPtr& series : shown->records()) {
        if (series->name == name) {
            return series;
        }
    }
    return nullptr;
}

int runFavCommand(const std::vector<std::string>& arguments, const std::filesystem::path& iniPath,
                  TerminalPrompt& prompt, std::ostream& out) {
    return runAddRemove(
        arguments, iniPath, prompt, out, "fav",
        [](AppContext& context, const SeriesPtr& series, bool add) {
            auto& favorites = dynamic_cast<FavoriteArtList&>(*context.loadedArchives.favoriteList);
            if (add) {
                favorites.addFavorite(series, context.offlineMode, context.fetchEnv());
            } else {
                favorites.removeFavorite(series, context.offlineMode, context.fetchEnv());
            }
        });
}

int runBadCommand(const std::vector<std::string>& arguments, const std::filesystem::path& iniPath,
                  TerminalPrompt& prompt, std::ostream& out) {
    return runAddRemove(arguments, iniPath, prompt, out, "bad",
                        [](AppContext& context, const SeriesPtr& series, bool add) {
                            auto& bad = dynamic_cast<BadArtList&>(*context.loadedArchives.badList);
                            if (add) {
                                bad.addBad(series);
                            } else {
                                bad.removeBad(series);
                            }
                        });
}

int runDeleteCommand(const std::vector<std::string>& arguments,
                     const std::filesystem::path& iniPath, TerminalPrompt& prompt,
                     std::ostream& out) {
    const bool all = arguments.size() == 2 && arguments[1] == "all";
    const std::optional<int> resolution =
        arguments.size() == 2 ? resolutionNamed(arguments[1]) : std::nullopt;
    if (!all && !resolution) {
        std::cerr << "zob delete: NAME high|mid|low|thumb|all\n";
        return usageStatus;
    }
    CliSession session(iniPath, prompt);
    const FoundSeries found = startAndFind(session, arguments[0], "delete");
    if (!found.series) {
        return found.failure;
    }
    if (all) {
        // High first, thumbnails last, as the menu's "ALL PICS" does.
        for (int r = resHigh; r <= resThumb; ++r) {
            found.series->deletePictures(r);
        }
    } else {
        found.series->deletePictures(*resolution);
    }
    found.series->scanLocalFiles();
    session.context().loadedArchives.saveAll();
    out << found.series->name << '\t' << found.series->statusText() << '\n';
    return 0;
}

} // namespace zob
