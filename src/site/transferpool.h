#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

namespace zob {

// Every transfer of the process runs on one thread that drives one libcurl
// multi handle. That is what makes the connection limit hold for all clients
// together (page loads, the sign-in, every job's pictures and logos) and lets
// a connection one client opened carry the next request of another. Clients
// keep their own easy handles, with their cookies and settings; the calling
// thread waits while its transfer runs here, so the transfer's callbacks may
// touch what the caller owns.
class TransferPool {
public:
    static TransferPool& process();

    ~TransferPool();
    TransferPool(const TransferPool&) = delete;
    TransferPool& operator=(const TransferPool&) = delete;

    // At most `limit` connections to the site open at once (further
    // transfers queue for one), and no more kept open for reuse. Transfers
    // that start afterwards see the new limit.
    void setConnectionLimit(int limit);
    int connectionLimit() const;

    // Politeness towards the site: the least time between the starts of two
    // requests (0 = none), and the most bytes a second all transfers together
    // receive (0 = no limit).
    void setRequestInterval(std::chrono::milliseconds interval);
    void setBandwidthLimit(std::uint64_t bytesPerSecond);
    // What one transfer may receive a second for the limit to hold; 0 = no limit.
    std::uint64_t bandwidthShare() const;

    // Closes the connections kept open for reuse, when no transfer runs: the
    // program (or a test) is done with its site.
    void closeIdleConnections();

    // Runs the easy handle to its end; the library's result code.
    int run(void* easyHandle);

    // Connections opened so far, and body bytes received so far: what the
    // status panel and the benchmarks show.
    std::uint64_t connectionsOpened() const;
    std::uint64_t bytesReceived() const;
    void countReceived(std::uint64_t bytes);

private:
    TransferPool();

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace zob
