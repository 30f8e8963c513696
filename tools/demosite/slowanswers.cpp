#include "demosite/slowanswers.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>

namespace demosite {
namespace {

constexpr std::chrono::milliseconds step{20};

int portOf(const sockaddr_storage& address) {
    if (address.ss_family == AF_INET) {
        return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
    }
    if (address.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    }
    return -1;
}

// The server never hands out its sockets, but the two ports name the
// connection uniquely among the process's descriptors.
int findConnection(int sitePort, int clientPort) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        const std::string name = entry.path().filename().string();
        int fd = -1;
        if (std::from_chars(name.data(), name.data() + name.size(), fd).ec != std::errc()) {
            continue;
        }
        sockaddr_storage local{}, peer{};
        socklen_t localSize = sizeof local, peerSize = sizeof peer;
        if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localSize) == 0 &&
            portOf(local) == sitePort &&
            ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerSize) == 0 &&
            portOf(peer) == clientPort) {
            return fd;
        }
    }
    return -1;
}

bool hungUp(int socket) {
    if (socket < 0) {
        return false;
    }
    pollfd watched{socket, POLLRDHUP, 0};
    return ::poll(&watched, 1, 0) > 0 && (watched.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
}

// Sleeps through span in short steps; false as soon as ended() holds.
template <typename Ended> bool waitUnless(std::chrono::milliseconds span, Ended ended) {
    const auto until = std::chrono::steady_clock::now() + span;
    while (!ended()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= until) {
            return true;
        }
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(step, until - now));
    }
    return false;
}

} // namespace

struct SlowAnswers::Shared {
    std::atomic<bool> stopping{false};
    std::mutex lock;
    std::multiset<int> sockets;
};

SlowAnswers::Watch::Watch(std::shared_ptr<Shared> shared_, int socket_)
    : shared(std::move(shared_)), socket(socket_) {
    if (socket >= 0) {
        const std::lock_guard guard(shared->lock);
        shared->sockets.insert(socket);
        // A stop that came first would have missed this connection.
        if (shared->stopping) {
            ::shutdown(socket, SHUT_RDWR);
        }
    }
}

SlowAnswers::Watch::~Watch() {
    if (socket >= 0) {
        const std::lock_guard guard(shared->lock);
        shared->sockets.erase(shared->sockets.find(socket));
    }
}

bool SlowAnswers::Watch::ended() const {
    return shared->stopping || hungUp(socket);
}

bool SlowAnswers::Watch::waitFor(std::chrono::milliseconds span) const {
    return waitUnless(span, [this] { return ended(); });
}

void SlowAnswers::Watch::waitForEnd() const {
    while (!ended()) {
        std::this_thread::sleep_for(step);
    }
}

SlowAnswers::SlowAnswers() : shared(std::make_shared<Shared>()) {}

std::shared_ptr<SlowAnswers::Watch> SlowAnswers::watch(int sitePort, int clientPort) {
    return std::make_shared<Watch>(shared, findConnection(sitePort, clientPort));
}

bool SlowAnswers::pause(std::chrono::milliseconds span) const {
    return waitUnless(span, [this] { return shared->stopping.load(); });
}

void SlowAnswers::open() {
    shared->stopping = false;
}

void SlowAnswers::stopAll() {
    const std::lock_guard guard(shared->lock);
    shared->stopping = true;
    for (const int socket : shared->sockets) {
        ::shutdown(socket, SHUT_RDWR);
    }
}

} // namespace demosite
