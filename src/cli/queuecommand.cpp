#include "cli/queuecommand.h"

#include "app/appcontext.h"
#include "app/archivechoice.h"
#include "app/archivelists.h"
#include "app/archiveloader.h"
#include "app/queuerun.h"
#include "catalogue/artlistlist.h"
#include "cli/clisession.h"
#include "cli/downloadcommand.h"
#include "cli/interrupts.h"
#include "cli/searchcommand.h"
#include "cli/seriescommands.h"
#include "download/queuedmessenger.h"
#include "download/threadmanager.h"
#include "download/windowmessages.h"
#include "platform/textencoding.h"

#include <iostream>
#include <map>
#include <optional>
#include <unistd.h>

namespace zob {

namespace {

struct ListRequest {
    std::string kind;
    std::string argument;
    std::optional<Resolution> resolution;
};

std::optional<ListRequest> parseListRequest(std::vector<std::string> words) {
    ListRequest request;
    if (words.size() >= 2) {
        request.resolution = resolutionNamed(words.back());
        if (request.resolution) {
            words.pop_back();
        }
    }
    if (words.empty()) {
        return std::nullopt;
    }
    request.kind = words[0];
    const bool alone = request.kind == "favorites" || request.kind == "bestof";
    const bool withArgument = request.kind == "month" || request.kind == "search-model" ||
                              request.kind == "search-photographer";
    if ((alone && words.size() == 1) || (withArgument && words.size() == 2)) {
        request.argument = withArgument ? words[1] : std::string();
        return request;
    }
    return std::nullopt;
}

// The list the request names, registered; null when it could not be had.
ArtListPtr requestedList(const ListRequest& request, CliSession& session, bool offline,
                         int& status) {
    if (request.kind.starts_with("search-")) {
        return searchList(session, request.argument, request.kind == "search-model", 1, offline,
                          status);
    }
    const std::string caption = request.kind == "favorites" ? "My favorites"
                                : request.kind == "bestof"  ? "Best of ZEL"
                                                            : request.argument;
    const std::optional<ArchiveChoice> choice = chooseArchiveEntry(caption);
    if (!choice) {
        status = usageStatus;
        std::cerr << "zob download: no list " << terminalSafe(caption) << '\n';
        return nullptr;
    }
    AppContext& context = session.context();
    ArchiveLists lists(context, nullptr, currentYearMonth);
    const ArtListPtr list = lists.listFor(*choice);
    const ArtListPtr shown = list ? addLoadedArchive(context, list, session) : nullptr;
    if (!shown) {
        status = session.closeRequested() ? closedStatus : notFoundStatus;
    }
    return shown;
}

// The overall bar on stderr, rewritten in place on a terminal only.
class QueueBar {
public:
    explicit QueueBar(const DownloadQueue& queue)
        : queue_(queue), live_(isatty(STDERR_FILENO) == 1) {}

    void draw(int pictures) {
        if (!live_) {
            return;
        }
        const std::size_t done = queue_.count(QueueState::done) + queue_.count(QueueState::failed);
        std::cerr << "\rqueue: " << done << "/" << queue_.entries().size() << " series ended, "
                  << queue_.count(QueueState::running) << " running, " << pictures
                  << " pictures fetched   " << std::flush;
        drawn_ = true;
    }
    // Before a line of its own on stdout or stderr.
    void lift() {
        if (drawn_) {
            std::cerr << "\r\033[K" << std::flush;
            drawn_ = false;
        }
    }

private:
    const DownloadQueue& queue_;
    const bool live_;
    bool drawn_ = false;
};

// Runs the queue until nothing waits, or Ctrl-C. True when interrupted.
bool runQueue(QueueRun& runner, AppContext& context, QueueBar& bar, std::ostream& out,
              bool& incomplete) {
    int pictures = 0;
    QueuedMessenger window([&](const WindowMessage& message) {
        runner.handle(message);
        if (message.id == WM_loadedThumb || message.id == WM_loadedLarge) {
            bar.draw(++pictures);
        }
    });
    const auto startWaiting = [&] {
        const InterruptBlockedForNewThreads blocked;
        runner.startWaiting(window);
    };
    startWaiting();
    StopOnInterrupt interrupt(context.managerRegistry, [&runner] { runner.stop(); });
    while (!runner.idle()) {
        window.processUntil([&] { return !interrupt.stopping() && InterruptCatcher::requested(); },
                            std::chrono::milliseconds(100));
        for (const auto& ended : runner.collectEnded()) {
            bar.lift();
            const std::int32_t missing = ended->missing();
            incomplete = incomplete || missing > 0;
            printOutcome(*ended->series(), out, missing);
            out.flush();
        }
        if (!interrupt.poll()) {
            startWaiting();
        }
        bar.draw(pictures);
    }
    bar.lift();
    return interrupt.stopping();
}

} // namespace

int runListDownload(const CommandRun& run) {
    const std::optional<ListRequest> request = parseListRequest(run.line.operands);
    if (!request) {
        return run.usageError("--list favorites | bestof | month YYYY/MM | search-model NAME | "
                              "search-photographer NAME [high|mid|low|thumb]");
    }
    CliSession session(run);
    AppContext& context = session.context();
    const InterruptCatcher interrupt(context.managerRegistry);
    InterruptCatcher::abortOnFirst(true);
    int status = 0;
    const ArtListPtr list = session.startWithMemberLists(status)
                                ? requestedList(*request, session, run.line.options.offline, status)
                                : nullptr;
    if (!list) {
        return interrupt.requested() ? interruptedStatus : status;
    }
    const Resolution resolution = request->resolution.value_or(
        resolutionNumbered(context.configInfo.resolution).value_or(resLow));
    DownloadQueue queue(DownloadQueue::fileIn(context.configInfo.local));
    queue.load();
    const std::size_t added = queue.add(list->records(), resolution);
    std::cerr << "zob download: " << added << " series of " << terminalSafe(list->caption())
              << " queued; " << queue.count(QueueState::waiting) << " waiting in all\n";

    std::map<std::string, SeriesPtr> inList;
    for (const SeriesPtr& series : list->records()) {
        inList.emplace(series->name, series);
    }
    QueueRun runner(
        context, queue,
        [&](const QueuedDownload& entry) {
            const auto found = inList.find(entry.name);
            int ignored = 0;
            return found != inList.end() ? found->second : session.seriesNamed(entry.name, ignored);
        },
        static_cast<std::size_t>(context.configInfo.parallelSeries));
    InterruptCatcher::abortOnFirst(false);
    QueueBar bar(queue);
    bool incomplete = false;
    const bool interrupted =
        interrupt.requested() || runQueue(runner, context, bar, run.out, incomplete);
    context.loadedArchives.saveAll();
    if (interrupted) {
        std::cerr << "zob download: " << queue.count(QueueState::waiting)
                  << " series left in the queue\n";
        return interruptedStatus;
    }
    return incomplete || queue.count(QueueState::failed) > 0 ? incompleteStatus : 0;
}

int runQueueCommand(const CommandRun& run) {
    const std::vector<std::string>& words = run.line.operands;
    if (words.size() > 1 || (words.size() == 1 && words[0] != "clear")) {
        return run.usageError("[clear]");
    }
    CliSession session(run);
    DownloadQueue queue(DownloadQueue::fileIn(session.context().configInfo.local));
    try {
        queue.load();
    } catch (const std::exception& error) {
        std::cerr << "zob queue: " << error.what() << '\n';
        return notFoundStatus;
    }
    if (!words.empty()) {
        queue.clear();
        return 0;
    }
    constexpr std::array<std::string_view, resolutionCount> names{"high", "mid", "low", "thumb"};
    if (queue.paused()) {
        run.out << "# paused\n";
    }
    for (const QueuedDownload& entry : queue.entries()) {
        run.out << terminalSafe(entry.name) << '\t' << names[indexOf(entry.resolution)] << '\t'
                << queueStateName(entry.state) << '\n';
    }
    return 0;
}

} // namespace zob
