#include "cli/listcommand.h"

#include "catalogue/loadstatuslists.h"
#include "catalogue/memberlists.h"
#include "catalogue/monthlyartlist.h"
#include "cli/clisession.h"
#include "shell/archivechoice.h"

#include <iostream>
#include <optional>

namespace zob {

namespace {

constexpr int usageStatus = 64;

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

// One line per series: keep tabs and line breaks inside texts from
// splitting it.
std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

// The splash window's progress line, on stderr: stdout carries only the list.
class StderrProgress : public ProgressDisplay {
public:
    void showProgressText(const std::string& text) override { std::cerr << text << '\n'; }
};

} // namespace

void printList(const ArtList& list, std::ostream& out) {
    out << "# " << list.caption() << '\n';
    for (const SeriesPtr& series : list.records()) {
        out << series->name << '\t' << oneLine(series->date) << '\t' << oneLine(series->title)
            << '\t' << oneLine(series->model) << '\t' << oneLine(series->photographer) << '\t'
            << specsText(series->photoCount) << '\t' << series->statusText() << '\n';
    }
}

int runListCommand(const std::vector<std::string>& arguments, const std::filesystem::path& iniPath,
                   TerminalPrompt& prompt, std::ostream& out) {
    const std::optional<std::string> caption = captionFor(arguments);
    const std::optional<ArchiveChoice> choice =
        caption ? chooseArchiveEntry(*caption) : std::nullopt;
    if (!choice) {
        std::cerr << "zob list: name a list: month YYYY/MM, archive N, favorites, bad, bestof, "
                     "downloaded, stopped or notloaded\n";
        return usageStatus;
    }

    if (choice->entry == ArchiveEntry::month) {
        const YearMonth now = currentYearMonth();
        if (choice->year < firstSiteYear || choice->month < 1 || choice->month > 12 ||
            choice->year * 12 + choice->month > now.year * 12 + now.month) {
            std::cerr << "zob list: the site has months from " << firstSiteYear
                      << "/01 to this month only\n";
            return usageStatus;
        }
    }

    CliSession session(iniPath, prompt);
    if (session.start().mode == StartMode::aborted || !session.loadMemberLists()) {
        return 3;
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
        std::cerr << "zob list: that list is not available on the command line\n";
        return usageStatus;
    }
    const ArtListPtr shown = list ? addLoadedArchive(context, list, session) : nullptr;
    registry.saveAll();
    if (!shown) {
        return session.closeRequested() ? 3 : 2;
    }
    printList(*shown, out);
    return 0;
}

} // namespace zob
