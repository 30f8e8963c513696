// Downloading from a site 50 ms away, as a real one is: `zob download` of a
// 100-picture series (thumbnails and high-resolution pictures) beside
// `aria2c -j4` fetching the same files and beside the least time four
// connections could take; then the same download from a busy site (10 % of
// picture requests answered 503) and from one that cuts 20 % of its picture
// bodies half-way. Every figure is a ratio within this run.

#include "benchsupport.h"
#include "demosite/content.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

using namespace zob::bench;

namespace {

constexpr int pictures = 100;
constexpr int rounds = 3;
constexpr int latencyMs = 50;
constexpr int connections = 4;

struct SiteLog {
    std::size_t requests = 0;
    std::size_t connections = 0;
    std::uint64_t bytesSent = 0;
};

// The site log's lines from `first` on: requests, distinct client
// connections and body bytes sent.
SiteLog readLog(const fs::path& file, std::size_t first) {
    std::ifstream in(file);
    SiteLog log;
    std::set<std::string> ports;
    std::string line;
    for (std::size_t n = 0; std::getline(in, line); ++n) {
        if (n < first) {
            continue;
        }
        ++log.requests;
        const std::size_t port = line.rfind(" port=");
        const std::size_t sent = line.rfind(" sent=");
        ports.insert(line.substr(port + 6, sent - port - 6));
        log.bytesSent += std::stoull(line.substr(sent + 6));
    }
    log.connections = ports.size();
    return log;
}

std::size_t lineCount(const fs::path& file) {
    std::ifstream in(file);
    std::size_t count = 0;
    for (std::string line; std::getline(in, line);) {
        ++count;
    }
    return count;
}

struct Stored {
    int files = 0;
    std::uint64_t bytes = 0;
};

Stored storedPictures(const fs::path& folder) {
    Stored stored;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name.front() != '.' && name.ends_with(".jpg")) {
            ++stored.files;
            stored.bytes += entry.file_size();
        }
    }
    return stored;
}

struct Run {
    double milliseconds;
    SiteLog log;
    Stored stored;
};

class DistantSite {
public:
    DistantSite(Workspace& workspace, const std::string& name,
                const std::vector<std::string>& faults)
        : workspace_(workspace), name_(name), logFile_(workspace.root() / (name + ".log")),
          site_(std::string(ZOB_BINARY_DIR) + "/tools/demosite/zob-demo-site", arguments(faults)) {}

    const std::string& baseUrl() const { return site_.baseUrl; }

    Run zob(const std::string& series) {
        const fs::path folder = workspace_.fresh(name_ + "-zob");
        std::ofstream(folder / "ZObrowser.ini")
            << "[user]\nlogin=demo\npassword=demo\n[env]\nlocal=" << (folder / "Zel-Ora").string()
            << "\n[debug]\ndbgHost=" << site_.baseUrl << "\n";
        return measured("cd '" + folder.string() + "' && '" + ZOB_BINARY_DIR +
                            "/src/zob' download " + series + " high </dev/null >/dev/null 2>&1",
                        folder);
    }

    Run aria2(const fs::path& input) {
        const fs::path folder = workspace_.fresh(name_ + "-aria2");
        return measured("cd '" + folder.string() + "' && aria2c -q -j" +
                            std::to_string(connections) +
                            " --http-user=demo --http-passwd=demo --allow-overwrite=true "
                            "--auto-file-renaming=false -i '" +
                            input.string() + "'",
                        folder);
    }

private:
    std::vector<std::string> arguments(const std::vector<std::string>& faults) const {
        std::vector<std::string> all{"--today",        "2008-03-15",
                                     "--long-gallery", std::to_string(pictures),
                                     "--latency",      std::to_string(latencyMs),
                                     "--log",          logFile_.string()};
        all.insert(all.end(), faults.begin(), faults.end());
        return all;
    }

    Run measured(const std::string& command, const fs::path& folder) {
        const std::size_t before = lineCount(logFile_);
        const double ms = measure(command).milliseconds;
        return {ms, readLog(logFile_, before), storedPictures(folder)};
    }

    Workspace& workspace_;
    std::string name_;
    fs::path logFile_;
    SiteProcess site_;
};

double medianOf(const std::vector<Run>& runs) {
    std::vector<double> times;
    for (const Run& run : runs) {
        times.push_back(run.milliseconds);
    }
    return median(times);
}

} // namespace

int main() {
    demosite::SiteOptions options;
    options.todayYear = 2008;
    options.todayMonth = 3;
    options.todayDay = 15;
    options.longGalleryPictures = pictures;
    const demosite::SiteContent content(options);
    const auto longest = content.select(
        [](const demosite::Series& series) { return series.announcedPhotos == pictures; });
    if (longest.size() != 1) {
        std::cerr << "the demo site has no gallery of " << pictures << " pictures\n";
        return 1;
    }
    const demosite::Series& series = *longest.front();
    Workspace workspace("distantsite");

    DistantSite plain(workspace, "plain", {});
    // What aria2 fetches: every file `zob download NAME high` stores.
    const fs::path input = workspace.root() / "aria2.txt";
    {
        std::ofstream list(input);
        const auto fetch = [&](const std::string& path, const std::string& file) {
            list << plain.baseUrl() << path << "\n  out=" << file << "\n";
        };
        fetch(series.coverPath, "cover.jpg");
        fetch(series.logoPath, "logo.jpg");
        for (int n = 1; n <= pictures; ++n) {
            fetch(series.picturePath(demosite::resThumbnail, n), "tn" + std::to_string(n) + ".jpg");
            fetch(series.picturePath(demosite::resHigh, n), "hi" + std::to_string(n) + ".jpg");
        }
    }
    plain.zob(series.name); // fills the site's picture cache
    std::vector<Run> zobRuns, ariaRuns;
    for (int round = 0; round < rounds; ++round) {
        zobRuns.push_back(plain.zob(series.name));
        ariaRuns.push_back(plain.aria2(input));
    }
    const double zobMs = medianOf(zobRuns);
    const double ariaMs = medianOf(ariaRuns);
    const SiteLog& seen = zobRuns.back().log;
    const double bound = latencyMs * std::ceil(static_cast<double>(seen.requests) / connections);
    std::printf("series %s: %d thumbnails + %d high-resolution pictures, site %d ms away\n",
                series.name.c_str(), pictures, pictures, latencyMs);
    std::printf("zob download %.0f ms, aria2c -j%d %.0f ms (medians of %d): %.2fx aria2c "
                "(goal: at most 1.0x)\n",
                zobMs, connections, ariaMs, rounds, zobMs / ariaMs);
    std::printf("%zu requests over %d connections take at least %.0f ms: %.2fx that bound "
                "(goal: at most 1.3x)\n",
                seen.requests, connections, bound, zobMs / bound);
    std::printf("connections opened by zob download: %zu (goal: at most %d)\n", seen.connections,
                connections);

    DistantSite busy(workspace, "busy", {"--fail-rate", "0.1"});
    busy.zob(series.name);
    const Run busyRun = busy.zob(series.name);
    std::printf("with 10%% of picture requests answered 503 (Retry-After: 1): %d of %d files "
                "stored, %.0f ms: %.2fx the fault-free run (goal: all stored, at most 1.5x)\n",
                busyRun.stored.files, zobRuns.back().stored.files, busyRun.milliseconds,
                busyRun.milliseconds / zobMs);

    DistantSite cutting(workspace, "cutting", {"--cut-rate", "0.2"});
    cutting.zob(series.name);
    const Run cutRun = cutting.zob(series.name);
    std::printf("with 20%% of picture bodies cut half-way: %d of %d files stored, %.0f bytes "
                "sent for %.0f stored: %.3fx (goal: at most 1.15x)\n",
                cutRun.stored.files, zobRuns.back().stored.files,
                static_cast<double>(cutRun.log.bytesSent), static_cast<double>(cutRun.stored.bytes),
                static_cast<double>(cutRun.log.bytesSent) /
                    static_cast<double>(cutRun.stored.bytes));
    return 0;
}
