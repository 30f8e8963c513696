#include "cli/downloadcommand.h"

#include "app/seriesdownloadrun.h"
#include "catalogue/artlistlist.h"
#include "cli/clisession.h"
#include "cli/interrupts.h"
#include "cli/queuecommand.h"
#include "cli/seriescommands.h"
#include "cli/terminalprompt.h"
#include "download/queuedmessenger.h"
#include "download/threadmanager.h"
#include "download/windowmessages.h"
#include "platform/textencoding.h"

#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <unistd.h>

namespace zob {

namespace {

char resolutionLetter(Resolution r) {
    constexpr std::string_view letters = "HMLT";
    return letters[indexOf(r)];
}

// The stderr side: a bar rewritten in place on a terminal, one line per
// finished job otherwise (logs and pipes want no carriage returns). The bar
// stays on one line of an 80-column terminal: a long name gives way.
class Progress {
public:
    Progress(const SeriesRec& series, Resolution resolution)
        : series_(series), resolution_(resolution), live_(isatty(STDERR_FILENO) == 1) {}

    void pictureArrived() {
        if (live_) {
            std::string line = barText();
            const std::size_t width = line.size();
            // Blanks over what a longer bar left behind.
            line.append(drawnWidth_ > width ? drawnWidth_ - width : 0, ' ');
            std::cerr << '\r' << line << std::flush;
            drawnWidth_ = width;
        }
    }
    void jobEnded(const char* what) {
        if (live_) {
            pictureArrived();
        } else {
            std::cerr << terminalSafe(series_.name) << counts() << "  (" << what << " ended)\n";
        }
    }
    void finish() {
        if (drawnWidth_ > 0) {
            std::cerr << '\n';
        }
    }

private:
    static constexpr std::size_t barWidth = 79;

    std::string counts() const {
        const std::string count = std::to_string(series_.photoCount.load());
        std::string text = "  T " + std::to_string(series_.loadedCountOf(resThumb)) + "/" + count;
        if (resolution_ != resThumb) {
            text += std::string("  ") + resolutionLetter(resolution_) + " " +
                    std::to_string(series_.loadedCountOf(resolution_)) + "/" + count;
        }
        return text;
    }
    // Counted in bytes: the escaped name is plain ASCII but for the letters
    // of a UTF-8 name, which only make the bar narrower than it counts.
    std::string barText() const {
        const std::string tail = counts();
        std::string name = terminalSafe(series_.name);
        const std::size_t room = barWidth > tail.size() ? barWidth - tail.size() : 0;
        if (name.size() > room) {
            name = name.substr(0, room > 3 ? room - 3 : 0) + "...";
        }
        return name + tail;
    }

    const SeriesRec& series_;
    const Resolution resolution_;
    const bool live_;
    std::size_t drawnWidth_ = 0;
};

} // namespace

void printOutcome(const SeriesRec& series, std::ostream& out, std::int32_t missing) {
    out << terminalSafe(series.name) << '\t' << series.statusText() << '\t' << series.photoText();
    if (series.photoCount == photoCountUnknown) {
        out << " (count unknown)";
    } else if (missing > 0) {
        out << " (" << missing << " missing)";
    }
    out << '\n';
}

namespace {

// The jobs of `download` until both ended: the first Ctrl-C stops them after
// the pictures in hand, which after a grace are given up (their temporary
// files go with them); a second Ctrl-C ends every transfer at once (the
// signal handler pulls the abort flag itself). True when interrupted.
bool runJobs(SeriesDownloadRun& download, AppContext& context) {
    Progress progress(*download.series(), download.resolution());
    QueuedMessenger window([&](const WindowMessage& message) {
        download.handle(message);
        if (message.id == WM_loadedThumb || message.id == WM_loadedLarge) {
            progress.pictureArrived();
        } else if (message.id == WM_loadedThumbAll || message.id == WM_loadedLargeAll) {
            progress.jobEnded(message.id == WM_loadedThumbAll ? "thumbnails" : "pictures");
        }
    });
    {
        const InterruptBlockedForNewThreads blocked;
        download.startJobs(window);
    }
    StopOnInterrupt interrupt(context.managerRegistry, [&download] { download.stop(); });
    while (!download.ended()) {
        window.processUntil(
            [&] {
                return download.ended() || (!interrupt.stopping() && InterruptCatcher::requested());
            },
            std::chrono::milliseconds(100));
        download.joinEnded();
        interrupt.poll();
    }
    download.joinEnded();
    progress.finish();
    return interrupt.stopping();
}

} // namespace

int runDownloadCommand(const CommandRun& run) {
    if (run.line.options.list) {
        return runListDownload(run);
    }
    const std::vector<std::string>& arguments = run.line.operands;
    const std::optional<Resolution> named =
        arguments.size() == 2 ? resolutionNamed(arguments[1]) : std::nullopt;
    if (arguments.empty() || arguments.size() > 2 || (arguments.size() == 2 && !named)) {
        return run.usageError("NAME [high|mid|low|thumb]");
    }
    CliSession session(run);
    AppContext& context = session.context();
    const InterruptCatcher interrupt(context.managerRegistry);
    InterruptCatcher::abortOnFirst(true);
    int status = 0;
    const SeriesPtr series =
        session.startWithMemberLists(status) ? session.seriesNamed(arguments[0], status) : nullptr;
    if (!series) {
        return interrupt.requested() ? interruptedStatus : status;
    }
    ArtListList& registry = context.loadedArchives;
    if (series->isMovie) {
        // The browser hands a movie to the web browser; here its address is
        // the answer.
        run.out << series->seriesUrl() << '\n';
        registry.saveAll();
        printOutcome(*series, run.out);
        return 0;
    }
    const Resolution resolution =
        named ? *named : resolutionNumbered(context.configInfo.resolution).value_or(resLow);
    SeriesDownloadRun download(context, series, resolution);
    download.fetchCovers();
    InterruptCatcher::abortOnFirst(false);
    const bool interrupted = interrupt.requested() || runJobs(download, context);
    registry.saveAll();
    const std::int32_t missing = download.missing();
    printOutcome(*series, run.out, missing);
    if (interrupted) {
        return interruptedStatus;
    }
    return missing == 0 ? 0 : incompleteStatus;
}

} // namespace zob
