#include "sitefixture.h"

#include <chrono>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace demosite::testing {
namespace {

using namespace std::chrono_literals;

// The program under test as a child process whose stdout we read. Killed on
// destruction if a test left it running.
class SiteProcess {
public:
    explicit SiteProcess(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(),
                         std::string(ZOB_BINARY_DIR) + "/tools/demosite/zob-demo-site");
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) {
            throw std::runtime_error("pipe failed");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeEnds[1]);
        output = pipeEnds[0];
        if (failed != 0) {
            pid = -1;
            throw std::runtime_error("cannot start " + arguments[0]);
        }
    }
    ~SiteProcess() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        ::close(output);
    }
    SiteProcess(const SiteProcess&) = delete;
    SiteProcess& operator=(const SiteProcess&) = delete;

    // One line of output, waiting at most ten seconds for it.
    std::string readLine() {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        char c = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd ready{output, POLLIN, 0};
            if (::poll(&ready, 1, 100) <= 0) {
                continue;
            }
            if (::read(output, &c, 1) != 1 || c == '\n') {
                break;
            }
            line += c;
        }
        return line;
    }

    // Everything until the process closes its output, at most ten seconds.
    std::string readAll() {
        std::string text;
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        char buffer[4096];
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd ready{output, POLLIN, 0};
            if (::poll(&ready, 1, 100) <= 0) {
                continue;
            }
            const ssize_t count = ::read(output, buffer, sizeof buffer);
            if (count <= 0) {
                break;
            }
            text.append(buffer, static_cast<std::size_t>(count));
        }
        return text;
    }

    // The exit code, or -1 when the process did not end within ten seconds.
    int waitForExit() {
        for (int i = 0; i < 1000; ++i) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(10ms);
        }
        return -1;
    }

    void signal(int number) const { ::kill(pid, number); }

private:
    pid_t pid = -1;
    int output = -1;
};

TEST(Executable, PrintsItsAddressServesAndStopsOnSignals) {
    for (const int stopSignal : {SIGTERM, SIGINT}) {
        SiteProcess process(
            {"--today", "2008-03-15", "--user", "ann", "--password", "pw", "--seed", "3"});
        const std::string first = process.readLine();
        ASSERT_TRUE(first.starts_with("http://127.0.0.1:")) << first;
        ASSERT_TRUE(first.ends_with("/")) << first;
        const int port = std::stoi(first.substr(17));

        auto client = boundedClient(port);
        client->set_basic_auth("ann", "pw");
        const auto month = client->Get("/members/gallery/2008/200803.html");
        ASSERT_TRUE(month);
        EXPECT_EQ(month->status, 200);
        EXPECT_EQ(client->Get("/members/gallery/2008/200804.html")->status, 404);
        // The seed decides the content: the same seed in-process serves the same page.
        SiteOptions same = fixedOptions(3);
        same.user = "ann";
        same.password = "pw";
        DemoSite twin(same);
        twin.start();
        auto twinClient = boundedClient(twin.port());
        twinClient->set_basic_auth("ann", "pw");
        EXPECT_EQ(twinClient->Get("/members/gallery/2008/200803.html")->body, month->body);

        process.signal(stopSignal);
        EXPECT_EQ(process.waitForExit(), 0);
    }
}

TEST(Executable, ListensOnTheRequestedPortAndLogsRequests) {
    const auto logFile = std::filesystem::temp_directory_path() /
                         ("zob-demo-site-" + std::to_string(::getpid()) + ".log");
    std::filesystem::remove(logFile);
    // Find a free port by letting an in-process site pick one and release it.
    int port = 0;
    {
        DemoSite probe(fixedOptions());
        port = probe.start();
    }
    SiteProcess process({"--port", std::to_string(port), "--log", logFile.string()});
    EXPECT_EQ(process.readLine(), "http://127.0.0.1:" + std::to_string(port) + "/");
    auto client = boundedClient(port);
    EXPECT_EQ(client->Get("/members/home.html")->status, 401);
    process.signal(SIGTERM);
    EXPECT_EQ(process.waitForExit(), 0);
    EXPECT_GT(std::filesystem::file_size(logFile), 20u);
    std::filesystem::remove(logFile);
}

TEST(Executable, HelpAndBadOptions) {
    SiteProcess help({"--help"});
    const std::string text = help.readAll();
    EXPECT_EQ(help.waitForExit(), 0);
    for (const char* option : {"--port", "--user", "--password", "--seed", "--log", "--today",
                               "--latency", "--fault", "picture-stall", "page-endless"}) {
        EXPECT_NE(text.find(option), std::string::npos) << option;
    }
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--today", "2008-02-30"},
                                                {"--port", "70000"},
                                                {"--seed", "-1"},
                                                {"--frobnicate", "1"},
                                                {"--port"}}) {
        SiteProcess process(bad);
        EXPECT_NE(process.readAll().find("zob-demo-site: "), std::string::npos) << bad.front();
        EXPECT_EQ(process.waitForExit(), 2) << bad.front();
    }
}

TEST(Executable, TakesFaultsAndRefusesUnknownOnes) {
    SiteProcess process({"--today", "2008-03-15", "--fault", "picture-503=2", "--latency", "10",
                         "--fault", "no-midres"});
    const std::string first = process.readLine();
    ASSERT_TRUE(first.starts_with("http://127.0.0.1:")) << first;
    auto client = boundedClient(std::stoi(first.substr(17)));
    client->set_basic_auth("demo", "demo");
    const SiteContent content(fixedOptions());
    const Series& series = *content
                                .select([](const Series& s) {
                                    return !s.isMovie && !s.archiveOnly && !s.onArchivePage &&
                                           !s.noMidRes && s.existingPictures[resLow] > 2;
                                })
                                .back();
    EXPECT_EQ(client->Get(series.picturePath(resLow, 2).c_str())->status, 503);
    EXPECT_EQ(client->Get(series.picturePath(resLow, 1).c_str())->status, 200);
    EXPECT_EQ(client->Get(series.resolutionFolderPath(resMid).c_str())->status, 404);
    process.signal(SIGTERM);
    EXPECT_EQ(process.waitForExit(), 0);

    SiteProcess unknown({"--fault", "picture-404"});
    EXPECT_NE(unknown.readAll().find("zob-demo-site: unknown fault: \"picture-404\""),
              std::string::npos);
    EXPECT_EQ(unknown.waitForExit(), 2);
}

} // namespace
} // namespace demosite::testing
