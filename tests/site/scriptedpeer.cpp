#include "scriptedpeer.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int pollSliceMs = 50;
constexpr auto requestDeadline = std::chrono::seconds(5);

// Reads one request (head plus a Content-Length body), giving up at the deadline.
std::string readRequest(int connection) {
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + requestDeadline;
    std::size_t wanted = std::string::npos;
    while (std::chrono::steady_clock::now() < deadline) {
        const auto headEnd = received.find("\r\n\r\n");
        if (headEnd != std::string::npos && wanted == std::string::npos) {
            std::size_t bodyLength = 0;
            const auto field = received.find("Content-Length:");
            if (field != std::string::npos && field < headEnd) {
                bodyLength = std::strtoul(received.c_str() + field + 15, nullptr, 10);
            }
            wanted = headEnd + 4 + bodyLength;
        }
        if (wanted != std::string::npos && received.size() >= wanted) {
            break;
        }
        pollfd waiting{connection, POLLIN, 0};
        if (::poll(&waiting, 1, pollSliceMs) <= 0) {
            continue;
        }
        char buffer[4096];
        const ssize_t count = ::recv(connection, buffer, sizeof buffer, 0);
        if (count <= 0) {
            break;
        }
        received.append(buffer, static_cast<std::size_t>(count));
    }
    return received;
}

} // namespace

ScriptedPeer::ScriptedPeer(std::vector<Reply> replies) : replies_(std::move(replies)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener_ >= 0) {
            ::close(listener_);
        }
        throw std::runtime_error("scripted peer cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

ScriptedPeer::~ScriptedPeer() {
    stopping_ = true;
    thread_.join();
    ::close(listener_);
}

std::vector<std::string> ScriptedPeer::requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

void ScriptedPeer::serve() {
    for (const Reply& reply : replies_) {
        int connection = -1;
        while (connection < 0 && !stopping_) {
            pollfd waiting{listener_, POLLIN, 0};
            if (::poll(&waiting, 1, pollSliceMs) > 0) {
                connection = ::accept(listener_, nullptr, nullptr);
            }
        }
        if (connection < 0) {
            return;
        }
        answer(connection, reply);
    }
}

void ScriptedPeer::answer(int connection, const Reply& reply) {
    std::string request = readRequest(connection);
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(std::move(request));
    }
    std::size_t sent = 0;
    while (sent < reply.bytes.size()) {
        const ssize_t count =
            ::send(connection, reply.bytes.data() + sent, reply.bytes.size() - sent, MSG_NOSIGNAL);
        if (count <= 0) {
            break;
        }
        sent += static_cast<std::size_t>(count);
    }
    std::this_thread::sleep_for(reply.pauseBeforeClose);
    if (reply.reset) {
        const linger abortive{1, 0};
        ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    }
    ::close(connection);
}
