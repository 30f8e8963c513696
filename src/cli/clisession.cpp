#include "cli/clisession.h"

#include "app/serieslookup.h"
#include "catalogue/memberlists.h"
#include "cli/terminalprompt.h"
#include "platform/textencoding.h"

#include <iostream>

namespace zob {

CliSession::CliSession(const CommandRun& run)
    : run_(run), prompt_(run.prompt), context_(run.iniPath, run.prompt) {
    if (run.line.options.offline) {
        context_.configInfo.offline = true;
    }
}

StartupOutcome CliSession::start() {
    StartupDialogs dialogs;
    dialogs.showConfigDialog = [] {
        std::cerr << "configuration: there is no configuration dialog on the command line; "
                     "set login and password in the [user] section of ZObrowser.ini\n";
    };
    dialogs.askPassword = [this]() -> std::optional<std::string> {
        return prompt_.askPassword("password: ");
    };
    const StartupOutcome outcome = decideModeAndSignIn(context_, dialogs);
    offlineSearch_ = context_.offlineMode;
    return outcome;
}

bool CliSession::startWithMemberLists(int& status) {
    if (start().mode == StartMode::aborted || !loadMemberLists()) {
        status = closedStatus;
        return false;
    }
    return true;
}

SeriesPtr CliSession::seriesNamed(const std::string& name, int& status) {
    SeriesLookup found = findSeriesNamed(context_, *this, name, run_.line.options.month);
    if (!found.series) {
        status = closeRequested_ ? closedStatus : notFoundStatus;
        if (!closeRequested_) {
            std::cerr << "zob " << run_.line.command << ": no series named " << terminalSafe(name)
                      << ": " << found.notFound << '\n';
        }
    }
    return std::move(found.series);
}

bool CliSession::loadMemberLists() {
    ArtListList& registry = context_.loadedArchives;
    // A member list the loader gave up on stays in use, empty: the status
    // codes and later commands refer to it.
    const auto loadKept = [this](ArtListPtr list) {
        ArtListPtr loaded = addLoadedArchive(context_, list, *this);
        return loaded ? loaded : list;
    };
    registry.favoriteList = loadKept(std::make_shared<FavoriteArtList>(registry));
    if (closeRequested_) {
        return false;
    }
    registry.badList = loadKept(std::make_shared<BadArtList>(registry));
    return !closeRequested_;
}

} // namespace zob
