// Downloading one big series (thumbnails and high-resolution pictures, with
// its covers) from the demo site on loopback: `zob download` as a user runs
// it, beside one curl process fetching the same files over a reused
// connection, in the same run. Also the peak memory of `zob download`.

#include "demosite/content.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int pictures = 200;
constexpr int rounds = 9;

struct Measured {
    double milliseconds = 0;
    long peakKilobytes = 0; // of the shell and what it ran
};

// Runs a shell command line, which must exit 0, and measures it.
Measured measure(const std::string& commandLine) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl("/bin/sh", "sh", "-c", commandLine.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int raw = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &raw, 0, &usage) != child || !WIFEXITED(raw) ||
        WEXITSTATUS(raw) != 0) {
        std::cerr << "failed: " << commandLine << '\n';
        std::exit(1);
    }
    return {
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
        usage.ru_maxrss};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class Workspace {
public:
    Workspace()
        : root_(fs::temp_directory_path() / ("zob-bench-download-" + std::to_string(::getpid()))) {
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    ~Workspace() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // A fresh, empty folder for one round.
    fs::path fresh(const std::string& name) const {
        const fs::path folder = root_ / name;
        fs::remove_all(folder);
        fs::create_directories(folder);
        return folder;
    }
    const fs::path& root() const { return root_; }

private:
    fs::path root_;
};

// zob-demo-site in a process of its own, for the life of the benchmark.
class SiteProcess {
public:
    SiteProcess(const std::string& program, const std::vector<std::string>& arguments) {
        int output[2];
        if (::pipe(output) != 0) {
            throw std::runtime_error("no pipe");
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(output[1], STDOUT_FILENO);
            ::close(output[0]);
            ::close(output[1]);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& argument : arguments) {
                argv.push_back(const_cast<char*>(argument.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(output[1]);
        // The first line is the site's address, with a trailing slash.
        std::string line;
        char c = 0;
        while (::read(output[0], &c, 1) == 1 && c != '\n') {
            line += c;
        }
        ::close(output[0]);
        if (pid_ < 0 || line.empty()) {
            throw std::runtime_error("zob-demo-site did not start");
        }
        baseUrl = line.back() == '/' ? line.substr(0, line.size() - 1) : line;
    }
    ~SiteProcess() {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    SiteProcess(const SiteProcess&) = delete;
    SiteProcess& operator=(const SiteProcess&) = delete;

    std::string baseUrl;

private:
    pid_t pid_ = -1;
};

} // namespace

int main() {
    demosite::SiteOptions options;
    options.todayYear = 2008;
    options.todayMonth = 3;
    options.todayDay = 15;
    options.longGalleryPictures = pictures;
    // The site runs as its own process, so that this one stays small: the
    // memory a child reports includes what it had before it started the
    // measured program.
    const SiteProcess site(std::string(ZOB_BINARY_DIR) + "/tools/demosite/zob-demo-site",
                           {"--today", "2008-03-15", "--long-gallery", std::to_string(pictures)});
    const demosite::SiteContent content(options);
    const auto longest = content.select(
        [](const demosite::Series& series) { return series.announcedPhotos == pictures; });
    if (longest.size() != 1) {
        std::cerr << "the demo site has no gallery of " << pictures << " pictures\n";
        return 1;
    }
    const demosite::Series& series = *longest.front();
    const std::string zob = std::string(ZOB_BINARY_DIR) + "/src/zob";
    Workspace workspace;

    // What curl fetches: every file `zob download NAME high` stores.
    const fs::path curlConfig = workspace.root() / "curl.conf";
    {
        std::ofstream config(curlConfig);
        config << "user = \"demo:demo\"\n";
        const auto fetch = [&](const std::string& path, const std::string& file) {
            config << "url = \"" << site.baseUrl << path << "\"\noutput = \"" << file << "\"\n";
        };
        fetch(series.coverPath, "cover.jpg");
        fetch(series.logoPath, "logo.jpg");
        for (int n = 1; n <= pictures; ++n) {
            fetch(series.picturePath(demosite::resThumbnail, n), "tn" + std::to_string(n) + ".jpg");
            fetch(series.picturePath(demosite::resHigh, n), "hi" + std::to_string(n) + ".jpg");
        }
    }
    const auto curlRound = [&] {
        const fs::path folder = workspace.fresh("curl");
        return measure("cd '" + folder.string() + "' && curl -s -S -f -K '" + curlConfig.string() +
                       "'");
    };
    const auto zobRound = [&] {
        const fs::path folder = workspace.fresh("zob");
        std::ofstream(folder / "ZObrowser.ini")
            << "[user]\nlogin=demo\npassword=demo\n[env]\nlocal=" << (folder / "Zel-Ora").string()
            << "\n[debug]\ndbgHost=" << site.baseUrl << "\n";
        return measure("cd '" + folder.string() + "' && '" + zob + "' download " + series.name +
                       " high </dev/null >/dev/null 2>&1");
    };

    // The first rounds fill the site's picture cache, so that what follows
    // measures the clients, not the making of the pictures.
    curlRound();
    zobRound();

    std::vector<double> zobTimes, curlTimes;
    long zobPeak = 0;
    for (int round = 0; round < rounds; ++round) {
        const Measured zobRun = zobRound();
        zobTimes.push_back(zobRun.milliseconds);
        zobPeak = std::max(zobPeak, zobRun.peakKilobytes);
        curlTimes.push_back(curlRound().milliseconds);
    }

    const double zobMs = median(zobTimes);
    const double curlMs = median(curlTimes);
    std::printf("series %s: %d thumbnails + %d high-resolution pictures + 2 covers\n",
                series.name.c_str(), pictures, pictures);
    std::printf("zob download %.1f ms, curl %.1f ms (medians of %d): %.2fx curl (goal: at most "
                "1.1x)\n",
                zobMs, curlMs, rounds, zobMs / curlMs);
    std::printf("peak memory of zob download: %.1f MB\n", static_cast<double>(zobPeak) / 1024);
    return 0;
}
