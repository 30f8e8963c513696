#include "cli/listcommand.h"

#include "app/archivechoice.h"
#include "app/archivelists.h"
#include "catalogue/loadstatuslists.h"
#include "catalogue/memberlists.h"
#include "catalogue/monthlyartlist.h"
#include "cli/clisession.h"
#include "platform/textencoding.h"

#include <algorithm>
#include <cstdio>
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

namespace {

// The list the command line names, or the reason it names none.
std::optional<ArchiveChoice> listChoice(const CommandRun& run, std::string& problem) {
    const std::optional<std::string> caption = captionFor(run.line.operands);
    std::optional<ArchiveChoice> choice = caption ? chooseArchiveEntry(*caption) : std::nullopt;
    if (!choice) {
        problem = "name a list: month YYYY/MM, archive N (from 1), favorites, bad, bestof, "
                  "downloaded, stopped or notloaded";
        return std::nullopt;
    }
    const YearMonth now = currentYearMonth();
    if (choice->entry == ArchiveEntry::month &&
        (choice->year < firstSiteYear ||
         choice->year * 12 + choice->month > now.year * 12 + now.month)) {
        problem =
            "the site has months from " + std::to_string(firstSiteYear) + "/01 to this month only";
        return std::nullopt;
    }
    return choice;
}

// A month shown in place of the one asked for is said so.
void noteWalkBack(const ArchiveChoice& choice, const ArtList& shown, bool offline) {
    const auto* monthly = dynamic_cast<const monthlyArtList*>(&shown);
    if (monthly == nullptr || choice.entry != ArchiveEntry::month ||
        (monthly->year == choice.year && monthly->month == choice.month)) {
        return;
    }
    char asked[16];
    std::snprintf(asked, sizeof asked, "%04d/%02d", choice.year, choice.month);
    const char* where = offline ? " in the local catalogue" : " on the site";
    if (shown.empty()) {
        std::cerr << "zob list: no month from " << asked << " back to " << firstSiteYear
                  << "/01 has series" << where << '\n';
    } else {
        std::cerr << "zob list: " << asked << " has no series" << where
                  << "; the latest earlier month that has some is shown: " << field(shown.caption())
                  << '\n';
    }
}

} // namespace

int runListCommand(const CommandRun& run) {
    std::string problem;
    const std::optional<ArchiveChoice> choice = listChoice(run, problem);
    if (!choice) {
        return run.usageError(problem);
    }
    if (choice->entry == ArchiveEntry::downloading) {
        return run.usageError("that list is not available on the command line");
    }
    CliSession session(run);
    int status = 0;
    if (!session.startWithMemberLists(status)) {
        return status;
    }
    AppContext& context = session.context();
    StderrProgress progress;
    ArchiveLists lists(context, &progress, currentYearMonth);
    const ArtListPtr list = lists.listFor(*choice);
    const ArtListPtr shown = list ? addLoadedArchive(context, list, session) : nullptr;
    context.loadedArchives.saveAll();
    if (!shown) {
        return session.closeRequested() ? closedStatus : notFoundStatus;
    }
    noteWalkBack(*choice, *shown, context.offlineMode);
    printList(*shown, run.out);
    return 0;
}

} // namespace zob
