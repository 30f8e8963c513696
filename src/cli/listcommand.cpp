#include "cli/listcommand.h"

#include "catalogue/loadstatuslists.h"
#include "catalogue/memberlists.h"
#include "catalogue/monthlyartlist.h"
#include "cli/clisession.h"
#include "platform/textencoding.h"
#include "shell/archivechoice.h"

#include <algorithm>
#include <iostream>
#include <optional>

namespace zob {

namespace {

// The Archive menu caption a command line names.
std::optional<std::string> captionFor(const std::vector<std::string>& arguments) {
    if (arguments.size() == 2 && arguments[0] == "month") {
        return arguments[1];
    }
    if (arguments.size() == 2 && arguments[0] == "archive") {
        return "archive " + arguments[1];
    }
    if (arguments.size() == 1 && arguments[0] == "favorites") {
        return "My favorites";
    }
    if (arguments.size() == 1 && arguments[0] == "bad") {
        return "Bad list";
    }
    if (arguments.size() == 1 && arguments[0] == "bestof") {
        return "Best of ZEL";
    }
    if (arguments.size() == 1 && arguments[0] == "downloaded") {
        return "Downloaded";
    }
    if (arguments.size() == 1 && arguments[0] == "stopped") {
        return "Stopping or loading";
    }
    if (arguments.size() == 1 && arguments[0] == "notloaded") {
        return "Not downloaded";
    }
    return std::nullopt;
}

// One field of a line: as the window shows it, with nothing that could split
// the line or upset the terminal.
std::string field(const std::string& text) {
    std::string shown = terminalSafe(text);
    std::replace(shown.begin(), shown.end(), '\t', ' ');
    return shown;
}

// The splash window's progress line, on stderr: stdout carries only the list.
class StderrProgress : public ProgressDisplay {
public:
    void showProgressText(const std::string& text) override { std::cerr << text << '\n'; }
};

} // namespace

void printList(const ArtList& list, std::ostream& out) {
    out << "# " << field(list.caption()) << '\n';
    for (const SeriesPtr& series : list.records()) {
        out << field(series->name) << '\t' << field(series->date) << '\t' << field(series->title)
            << '\t' << field(series->model) << '\t' << field(series->photographer) << '\t'
            << specsText(series->photoCount) << '\t' << series->statusText() << '\n';
    }
}

int runListCommand(const CommandRun& run) {
    const std::optional<std::string> caption = captionFor(run.line.operands);
    const std::optional<ArchiveChoice> choice =
        caption ? chooseArchiveEntry(*caption) : std::nullopt;
    if (!choice) {
        return run.usageError(
            "name a list: month YYYY/MM, archive N (from 1), favorites, bad, bestof, "
            "downloaded, stopped or notloaded");
    }
    if (choice->entry == ArchiveEntry::month) {
        const YearMonth now = currentYearMonth();
        if (choice->year < firstSiteYear ||
            choice->year * 12 + choice->month > now.year * 12 + now.month) {
            return run.usageError("the site has months from " + std::to_string(firstSiteYear) +
                                  "/01 to this month only");
        }
    }

    CliSession session(run);
    int status = 0;
    if (!session.startWithMemberLists(status)) {
        return status;
    }
    AppContext& context = session.context();
    ArtListList& registry = context.loadedArchives;

    StderrProgress progress;
    ArtListPtr list;
    switch (choice->entry) {
    case ArchiveEntry::favorites:
        list = registry.favoriteList;
        break;
    case ArchiveEntry::badList:
        list = registry.badList;
        break;
    case ArchiveEntry::bestOf:
        list = std::make_shared<bestOfZelOraArtList>(registry);
        break;
    case ArchiveEntry::downloaded:
        list = loadedArtList::create(registry, context.debugLog, &progress);
        break;
    case ArchiveEntry::stopped:
        list = stoppedArtList::create(registry, context.debugLog, &progress);
        break;
    case ArchiveEntry::notDownloaded:
        list = notLoadArtList::create(registry, context.debugLog, &progress);
        break;
    case ArchiveEntry::archivePage:
    case ArchiveEntry::month:
        list = std::make_shared<monthlyArtList>(registry, choice->year, choice->month);
        break;
    default:
        return run.usageError("that list is not available on the command line");
    }
    const ArtListPtr shown = list ? addLoadedArchive(context, list, session) : nullptr;
    registry.saveAll();
    if (!shown) {
        return session.closeRequested() ? closedStatus : notFoundStatus;
    }
    if (const auto* monthly = dynamic_cast<const monthlyArtList*>(shown.get());
        monthly != nullptr && choice->entry == ArchiveEntry::month &&
        (monthly->year != choice->year || monthly->month != choice->month)) {
        const char* where = context.offlineMode ? " in the local catalogue" : " on the site";
        if (shown->empty()) {
            std::cerr << "zob list: no month from " << field(*caption) << " back to "
                      << firstSiteYear << "/01 has series" << where << '\n';
        } else {
            std::cerr << "zob list: " << field(*caption) << " has no series" << where
                      << "; the latest earlier month that has some is shown: "
                      << field(shown->caption()) << '\n';
        }
    }
    printList(*shown, run.out);
    return 0;
}

} // namespace zob
