#include "cli/seriescommands.h"

#include "app/seriesactions.h"
#include "catalogue/artlistlist.h"
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

std::optional<Resolution> resolutionNamed(std::string_view word) {
    constexpr std::array<std::string_view, resolutionCount> names{"high", "mid", "low", "thumb"};
    for (const Resolution r : allResolutions) {
        if (word == names[indexOf(r)]) {
            return r;
        }
    }
    return std::nullopt;
}

int runFavCommand(const CommandRun& run) {
    return runAddRemove(run, [](AppContext& context, const SeriesPtr& series, bool add) {
        add ? addToFavorites(context, series) : removeFromFavorites(context, series);
    });
}

int runBadCommand(const CommandRun& run) {
    return runAddRemove(run, [](AppContext& context, const SeriesPtr& series, bool add) {
        add ? addToBadList(context, series) : removeFromBadList(context, series);
    });
}

int runDeleteCommand(const CommandRun& run) {
    const std::vector<std::string>& arguments = run.line.operands;
    const bool all = arguments.size() == 2 && arguments[1] == "all";
    const std::optional<Resolution> resolution =
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
    deleteSeriesPictures(*series, resolution);
    session.context().loadedArchives.saveAll();
    run.out << terminalSafe(series->name) << '\t' << series->statusText() << '\n';
    return 0;
}

} // namespace zob
