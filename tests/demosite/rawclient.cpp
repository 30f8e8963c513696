#include "rawclient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace demosite::testing {

RawConnection::RawConnection(int port, const std::string& target) {
    fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return;
    }
    const std::string request = "GET " + target +
                                " HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                "Authorization: Basic ZGVtbzpkZW1v\r\nConnection: close\r\n\r\n";
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
}

RawConnection::~RawConnection() {
    if (fd >= 0) {
        ::close(fd);
    }
}

RawConnection::Ended RawConnection::read(std::size_t wanted, std::chrono::milliseconds within) {
    const auto until = std::chrono::steady_clock::now() + within;
    char buffer[65536];
    while (head.empty() || body.size() < wanted) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            return Ended::timedOut;
        }
        const ssize_t count = ::recv(fd, buffer, sizeof buffer, 0);
        if (count <= 0) {
            return Ended::closed;
        }
        if (head.empty()) {
            received.append(buffer, static_cast<std::size_t>(count));
            if (const std::size_t split = received.find("\r\n\r\n"); split != std::string::npos) {
                head = received.substr(0, split);
                body = received.substr(split + 4);
            }
        } else {
            body.append(buffer, static_cast<std::size_t>(count));
        }
    }
    return Ended::enough;
}

std::size_t contentLength(const std::string& head) {
    const std::size_t at = head.find("Content-Length: ");
    return at == std::string::npos ? 0 : std::stoul(head.substr(at + 16));
}

} // namespace demosite::testing
