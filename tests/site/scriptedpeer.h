#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A loopback peer that answers each accepted connection with the next canned
// reply, byte for byte, and then closes it gracefully or with a reset. It
// produces the broken transfers a well-behaved server never would.
class ScriptedPeer {
public:
    struct Reply {
        std::string bytes;
        bool reset = false; // close with RST instead of FIN
        std::chrono::milliseconds pauseBeforeClose{0};
    };

    explicit ScriptedPeer(std::vector<Reply> replies);
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    int port() const { return port_; }
    std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // Each request as received: head and body.
    std::vector<std::string> requests() const;

private:
    void serve();
    void answer(int connection, const Reply& reply);

    std::vector<Reply> replies_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};
