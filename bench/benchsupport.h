#pragma once

// What the benchmarks that run programs share: a demo site in a process of
// its own, measured child processes, scratch folders.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zob::bench {

namespace fs = std::filesystem;

struct Measured {
    double milliseconds = 0;
    long peakKilobytes = 0; // of the shell and what it ran
};

// Milliseconds from `begin` to now.
inline double msSince(std::chrono::steady_clock::time_point begin) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
        .count();
}

// Runs a shell command line, which must exit 0, and measures it.
inline Measured measure(const std::string& commandLine) {
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
    return {msSince(start), usage.ru_maxrss};
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class Workspace {
public:
    explicit Workspace(const std::string& name)
        : root_(fs::temp_directory_path() /
                ("zob-bench-" + name + "-" + std::to_string(::getpid()))) {
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

} // namespace zob::bench
