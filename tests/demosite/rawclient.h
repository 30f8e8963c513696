#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace demosite::testing {

// One authorized GET on its own connection, read in steps the test controls,
// so a test sees exactly what the site sent and when it closed.
class RawConnection {
public:
    RawConnection(int port, const std::string& target);
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    enum class Ended { enough, closed, timedOut };
    // Reads until the body holds at least `wanted` bytes, the site closes the
    // connection, or `within` has passed.
    Ended read(std::size_t wanted, std::chrono::milliseconds within);

    std::string head; // status line and headers, without the blank line
    std::string body; // as received: chunked bodies keep their framing

private:
    int fd = -1;
    std::string received;
};

// The Content-Length the head announces, 0 without one.
std::size_t contentLength(const std::string& head);

} // namespace demosite::testing
