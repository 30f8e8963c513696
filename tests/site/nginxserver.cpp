#include "nginxserver.h"

#include "testsupport/loopback.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr auto startDeadline = std::chrono::seconds(10);
constexpr auto stopDeadline = std::chrono::seconds(5);
constexpr auto pollStep = std::chrono::milliseconds(25);

fs::path findProgram(const std::string& name, const std::vector<fs::path>& usualPlaces) {
    for (const auto& place : usualPlaces) {
        if (::access(place.c_str(), X_OK) == 0) {
            return place;
        }
    }
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const fs::path candidate = fs::path(folder) / name;
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

// Starts `arguments` with its output going to `logFile`; the child dies with
// us, so a crashed test run leaves no server behind.
pid_t spawn(const std::vector<std::string>& arguments, const fs::path& logFile) {
    std::vector<char*> argv;
    for (const auto& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const std::string logName = logFile.string();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int log = ::open(logName.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (log >= 0) {
            ::dup2(log, STDOUT_FILENO);
            ::dup2(log, STDERR_FILENO);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

// Waits for `pid` to end, up to `deadline`; true when it did (and was reaped).
bool reapWithin(pid_t pid, std::chrono::steady_clock::duration deadline, int* status = nullptr) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    int exitStatus = 0;
    while (true) {
        if (::waitpid(pid, &exitStatus, WNOHANG) == pid) {
            if (status != nullptr) {
                *status = exitStatus;
            }
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(pollStep);
    }
}

void stopProcess(pid_t pid) {
    ::kill(pid, SIGTERM);
    if (!reapWithin(pid, stopDeadline)) {
        ::kill(pid, SIGKILL);
        reapWithin(pid, stopDeadline);
    }
}

void writeText(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string makeBigBody() {
    std::string body(1 << 20, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) {
        body[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    }
    return body;
}

std::string configuration(const fs::path& folder, int port) {
    const std::string root = folder.string();
    std::ostringstream conf;
    conf << "daemon off;\n"
         << "master_process off;\n"
         << "worker_processes 1;\n"
         << "pid " << root << "/nginx.pid;\n"
         << "error_log " << root << "/error.log warn;\n"
         << "events { worker_connections 64; }\n"
         << "http {\n"
         << "  access_log off;\n"
         << "  default_type text/html;\n"
         << "  client_body_temp_path " << root << "/tmp/body;\n"
         << "  proxy_temp_path " << root << "/tmp/proxy;\n"
         << "  fastcgi_temp_path " << root << "/tmp/fastcgi;\n"
         << "  uwsgi_temp_path " << root << "/tmp/uwsgi;\n"
         << "  scgi_temp_path " << root << "/tmp/scgi;\n"
         << "  server {\n"
         << "    listen 127.0.0.1:" << port << ";\n"
         << "    root " << root << "/www;\n"
         << "    location /members/ {\n"
         << "      auth_basic \"members\";\n"
         << "      auth_basic_user_file " << root << "/htpasswd;\n"
         << "    }\n"
         << "    location = /moved { return 302 /elsewhere; }\n"
         << "    location = /broken { return 500; }\n"
         << "    location = /post { return 200 \"posted\"; }\n"
         << "    location = /setcookie {\n"
         << "      add_header Set-Cookie \"zobtest=yes; Path=/\";\n"
         << "      return 200 \"cookie set\";\n"
         << "    }\n"
         << "    location = /needcookie {\n"
         << "      if ($cookie_zobtest != \"yes\") { return 403; }\n"
         << "      return 200 \"welcome back\";\n"
         << "    }\n"
         << "  }\n"
         << "}\n";
    return conf.str();
}

} // namespace

std::unique_ptr<NginxServer> NginxServer::start(std::string& whyNot) {
    try {
        return startIn(whyNot);
    } catch (const std::exception& error) {
        whyNot = std::string("nginx fixture could not be set up: ") + error.what();
        return nullptr;
    }
}

std::unique_ptr<NginxServer> NginxServer::startIn(std::string& whyNot) {
    const fs::path nginx = findProgram("nginx", {"/usr/sbin/nginx"});
    if (nginx.empty()) {
        whyNot = "nginx not found (install the nginx package)";
        return nullptr;
    }
    const fs::path htpasswd = findProgram("htpasswd", {"/usr/bin/htpasswd"});
    if (htpasswd.empty()) {
        whyNot = "htpasswd not found (install apache2-utils)";
        return nullptr;
    }

    static int instance = 0;
    const fs::path folder = fs::temp_directory_path() / ("zob-nginx-" + std::to_string(::getpid()) +
                                                         "-" + std::to_string(instance++));
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder / "tmp");
    fs::create_directories(folder / "www" / "members");
    writeText(folder / "www" / "page.html", "<html>nginx page</html>");
    writeText(folder / "www" / "empty.html", "");
    writeText(folder / "www" / "elsewhere", "redirect target");
    writeText(folder / "www" / "big.bin", makeBigBody());
    writeText(folder / "www" / "members" / "home.html", "<html>members home</html>");

    const fs::path log = folder / "output.log";
    const pid_t htpasswdPid =
        spawn({htpasswd.string(), "-bc", (folder / "htpasswd").string(), "demo", "demo"}, log);
    int htpasswdStatus = 0;
    if (htpasswdPid < 0 || !reapWithin(htpasswdPid, startDeadline, &htpasswdStatus) ||
        !WIFEXITED(htpasswdStatus) || WEXITSTATUS(htpasswdStatus) != 0) {
        if (htpasswdPid > 0) {
            stopProcess(htpasswdPid);
        }
        whyNot = "htpasswd failed: " + readText(log);
        fs::remove_all(folder, ignored);
        return nullptr;
    }

    // The free port may be taken by someone else before nginx binds it: try a few.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int port = unusedLoopbackPort();
        writeText(folder / "nginx.conf", configuration(folder, port));
        const pid_t pid =
            spawn({nginx.string(), "-p", folder.string(), "-c", (folder / "nginx.conf").string(),
                   "-e", (folder / "error.log").string()},
                  log);
        if (pid < 0) {
            whyNot = "fork failed";
            break;
        }
        const auto end = std::chrono::steady_clock::now() + startDeadline;
        bool exited = false;
        while (std::chrono::steady_clock::now() < end) {
            if (loopbackPortAccepts(port)) {
                return std::unique_ptr<NginxServer>(new NginxServer(folder, pid, port));
            }
            if (::waitpid(pid, nullptr, WNOHANG) == pid) {
                exited = true;
                break;
            }
            std::this_thread::sleep_for(pollStep);
        }
        if (!exited) {
            stopProcess(pid);
        }
        whyNot = "nginx did not start: " + readText(log) + readText(folder / "error.log");
    }
    fs::remove_all(folder, ignored);
    return nullptr;
}

NginxServer::~NginxServer() {
    stopProcess(pid_);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

std::string NginxServer::bigBody() const {
    return makeBigBody();
}
