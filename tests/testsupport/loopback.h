#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

// A 127.0.0.1 port nothing listens on: bound once to learn a free number,
// then closed again. Connecting to it is refused until someone takes it.
inline int unusedLoopbackPort() {
    const int socketFd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socketFd < 0) {
        throw std::runtime_error("no socket");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    const bool bound =
        ::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(socketFd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    ::close(socketFd);
    if (!bound) {
        throw std::runtime_error("cannot bind 127.0.0.1");
    }
    return ntohs(address.sin_port);
}

// True once something accepts connections on 127.0.0.1:port.
inline bool loopbackPortAccepts(int port) {
    const int socketFd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socketFd < 0) {
        return false;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<in_port_t>(port));
    const bool connected =
        ::connect(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(socketFd);
    return connected;
}
