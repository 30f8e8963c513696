#include "cli/seriescommands.h"

#include "catalogue/artlistlist.h"
#include "catalogue/memberlists.h"
#include "cli/clisession.h"
#include "platform/textencoding.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace zob {

namespace {

// The shared run of the member-list commands: ACTION add|remove NAME.
int runAddRemove(const CommandRun& run,
                 const std::function<void(AppContext&, const SeriesPtr&, bool add)>& change) {
    const std::vector<std::string>& arguments = run.line.operands;
    if (arguments.size() != 2 || (arguments[0] != "add" && arguments[0] != "remove")) {
        return run.usageError("add|remove NAME");
    }
    CliSession session(run);
    int status = 0;
    if (!session.startWithMemberLists(status)) {
        return status;
    }
    const SeriesPtr series = session.seriesNamed(arguments[1], status);
    if (!series) {
        return status;
    }
    change(session.context(), series, arguments[0] == "add");
    session.context().loadedArchives.saveAll();
    run.out << terminalSafe(series->name) << '\t' << series->statusText() << '\n';
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

int runFavCommand(const CommandRun& run) {
    return runAddRemove(run, [](AppContext& context, const SeriesPtr& series, bool add) {
        auto& favorites = dynamic_cast<FavoriteArtList&>(*context.loadedArchives.favoriteList);
        if (add) {
            favorites.addFavorite(series, context.offlineMode, context.fetchEnv());
        } else {
            favorites.removeFavorite(series, context.offlineMode, context.fetchEnv());
        }
    });
}

int runBadCommand(const CommandRun& run) {
    return runAddRemove(run, [](AppContext& context, const SeriesPtr& series, bool add) {
        auto& bad = dynamic_cast<BadArtList&>(*context.loadedArchives.badList);
        if (add) {
            bad.addBad(series);
        } else {
            bad.removeBad(series);
        }
    });
}

int runDeleteCommand(const CommandRun& run) {
    const std::vector<std::string>& arguments = run.line.operands;
    const bool all = arguments.size() == 2 && arguments[1] == "all";
    const std::optional<int> resolution =
        arguments.size() == 2 ? resolutionNamed(arguments[1]) : std::nullopt;
    if (!all && !resolution) {
        return run.usageError("NAME high|mid|low|thumb|all");
    }
    CliSession session(run);
    int status = 0;
    if (!session.startWithMemberLists(status)) {
        return status;
    }
    const SeriesPtr series = session.seriesNamed(arguments[0], status);
    if (!series) {
        return status;
    }
    if (all) {
        // High first, thumbnails last, as the menu's "ALL PICS" does.
        for (int r = resHigh; r <= resThumb; ++r) {
            series->deletePictures(r);
        }
    } else {
        series->deletePictures(*resolution);
    }
    series->scanLocalFiles();
    session.context().loadedArchives.saveAll();
    run.out << terminalSafe(series->name) << '\t' << series->statusText() << '\n';
    return 0;
}

} // namespace zob
