// zob-demo-site: serves the demo members site on 127.0.0.1 until SIGINT or SIGTERM.
#include "demosite/calendar.h"
#include "demosite/demosite.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>
#include <pthread.h>
#include <string>
#include <vector>

namespace {

constexpr const char* usage =
    "Usage: zob-demo-site [options]\n"
    "Serves a self-contained Zel-Ora members site on 127.0.0.1 and prints its\n"
    "base address as the first line. Runs until interrupted (SIGINT or SIGTERM).\n"
    "\n"
    "Options:\n"
    "  --port N             port to listen on (default 0: any free port)\n"
    "  --user U             login ID of the member (default demo)\n"
    "  --password P         password of the member (default demo)\n"
    "  --seed S             content seed; equal seeds give equal sites (default 1)\n"
    "  --log FILE           append one line per request to FILE\n"
    "  --today YYYY-MM-DD   the site's idea of today (default: the system date)\n"
    "  --long-gallery N     the newest plain gallery gets N pictures (for benchmarks)\n"
    "  --latency MS         wait MS milliseconds before every answer\n"
    "  --bandwidth KBPS     send each answer's body at most KBPS KiB a second\n"
    "  --fail-rate P        answer this share (0 to 1) of picture requests 503 with\n"
    "                       Retry-After: 1; which ones follows from the seed\n"
    "  --cut-rate P         close this share (0 to 1) of picture answers after half\n"
    "                       their body; which ones follows from the seed\n"
    "    Pictures answer \"Range: bytes=N-\" (and If-Range on their ETag).\n"
    "  --fault NAME[=N]     misbehave as NAME says; may be given several times:\n"
    "      picture-503      picture files answer 503 with Retry-After: 1\n"
    "      picture-500      picture files answer 500\n"
    "      picture-html     picture files answer 200 with an HTML error page\n"
    "      picture-cut      picture files send half their announced length, then close\n"
    "      picture-stall    picture files send half their announced length, then\n"
    "                       nothing more until the site stops\n"
    "      no-midres        every gallery answers 404 for everything under midres/\n"
    "      page-trickle     month pages and the archive index announce 2 GB and send\n"
    "                       4 bytes a second\n"
    "      page-endless     month pages and the archive index never end (chunked)\n"
    "    Picture files are the pictures and thumbnails under hires/, midres/ and\n"
    "    lores/, not covers or logos. =N limits the picture faults to picture N of\n"
    "    every series (every resolution and its thumbnail); all of them share N.\n"
    "    Pictures the site does not have still answer 404.\n"
    "  --help               show this text\n";

struct CommandLine {
    demosite::SiteOptions options;
    demosite::Faults faults;
    int port = 0;
    bool help = false;
};

std::optional<double> parseShare(const std::string& text) {
    try {
        std::size_t used = 0;
        const double value = std::stod(text, &used);
        if (used == text.size() && value >= 0 && value <= 1) {
            return value;
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

std::optional<unsigned long> parseUnsigned(const std::string& text, unsigned long limit) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 10) {
        return std::nullopt;
    }
    const unsigned long value = std::stoul(text);
    return value <= limit ? std::optional(value) : std::nullopt;
}

// Throws std::invalid_argument with a message for the user.
CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help" || option == "-h") {
            result.help = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            throw std::invalid_argument("unknown option or missing value: " + option);
        }
        const std::string& value = arguments[++i];
        if (option == "--port") {
            const auto port = parseUnsigned(value, 65535);
            if (!port) {
                throw std::invalid_argument("--port needs a number from 0 to 65535");
            }
            result.port = static_cast<int>(*port);
        } else if (option == "--user") {
            result.options.user = value;
        } else if (option == "--password") {
            result.options.password = value;
        } else if (option == "--seed") {
            const auto seed = parseUnsigned(value, 0xFFFFFFFFul);
            if (!seed) {
                throw std::invalid_argument("--seed needs a non-negative number");
            }
            result.options.seed = static_cast<unsigned>(*seed);
        } else if (option == "--long-gallery") {
            const auto count = parseUnsigned(value, 9999);
            if (!count || *count == 0) {
                throw std::invalid_argument("--long-gallery needs a number from 1 to 9999");
            }
            result.options.longGalleryPictures = static_cast<int>(*count);
        } else if (option == "--latency") {
            const auto latency = parseUnsigned(value, 600000);
            if (!latency) {
                throw std::invalid_argument("--latency needs milliseconds from 0 to 600000");
            }
            result.faults.latency = std::chrono::milliseconds(*latency);
        } else if (option == "--bandwidth") {
            const auto rate = parseUnsigned(value, 10'000'000);
            if (!rate || *rate == 0) {
                throw std::invalid_argument("--bandwidth needs KiB a second from 1 to 10000000");
            }
            result.faults.bandwidthKBps = static_cast<int>(*rate);
        } else if (option == "--fail-rate" || option == "--cut-rate") {
            const auto share = parseShare(value);
            if (!share) {
                throw std::invalid_argument(option + " needs a share from 0 to 1");
            }
            (option == "--fail-rate" ? result.faults.failRate : result.faults.cutRate) = *share;
        } else if (option == "--fault") {
            demosite::parseFault(value, result.faults); // its message names the fault
        } else if (option == "--log") {
            result.options.logFile = value;
        } else if (option == "--today") {
            demosite::CalendarDate today;
            if (!demosite::parseIsoDate(value, today)) {
                throw std::invalid_argument("--today needs a date as YYYY-MM-DD");
            }
            result.options.todayYear = today.year;
            result.options.todayMonth = today.month;
            result.options.todayDay = today.day;
        } else {
            throw std::invalid_argument("unknown option: " + option);
        }
    }
    return result;
}

} // namespace

int main(int argc, char** argv) {
    CommandLine commandLine;
    try {
        commandLine = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& error) {
        std::cerr << "zob-demo-site: " << error.what() << "\n\n" << usage;
        return 2;
    }
    if (commandLine.help) {
        std::cout << usage;
        return 0;
    }

    // Block the stop signals before any server thread exists, so that only
    // sigwait below ever sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        demosite::DemoSite site(commandLine.options);
        commandLine.faults.rateSeed = commandLine.options.seed;
        site.setFaults(commandLine.faults);
        const int port = site.start(commandLine.port);
        std::printf("http://127.0.0.1:%d/\n", port);
        std::fflush(stdout);
        int received = 0;
        sigwait(&stopSignals, &received);
        site.stop();
    } catch (const std::exception& error) {
        std::cerr << "zob-demo-site: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
