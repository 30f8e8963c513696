#pragma once

// Ctrl-C while downloading: the first lets the pictures in hand finish (for a
// while), the second ends every transfer at once.

#include <chrono>
#include <functional>
#include <signal.h>

namespace zob {

class ManagerRegistry;

// How long the pictures in hand may take after the first Ctrl-C.
inline constexpr auto interruptGrace = std::chrono::seconds(5);

// Catches Ctrl-C for the life of a download and restores the previous
// handling afterwards. The handler only counts and, when told to, pulls the
// registry's abort flag: both are lock-free atomic stores.
class InterruptCatcher {
public:
    explicit InterruptCatcher(ManagerRegistry& registry);
    ~InterruptCatcher();
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

    static int count();
    static bool requested() { return count() > 0; }
    // While only pages and covers are fetched, nothing in hand is worth
    // waiting for: the first Ctrl-C already ends the transfer.
    static void abortOnFirst(bool on);

private:
    struct sigaction previous_ {};
};

// Keeps SIGINT from the threads started meanwhile, so that it always reaches
// the message loop's thread and never interrupts a worker's transfer.
class InterruptBlockedForNewThreads {
public:
    InterruptBlockedForNewThreads();
    ~InterruptBlockedForNewThreads();
    InterruptBlockedForNewThreads(const InterruptBlockedForNewThreads&) = delete;
    InterruptBlockedForNewThreads& operator=(const InterruptBlockedForNewThreads&) = delete;

private:
    sigset_t previous_{};
};

// A message loop's answer to Ctrl-C: at the first, `stop` is called once (the
// jobs finish the pictures in hand); after interruptGrace every transfer is
// given up (their temporary files go with them).
class StopOnInterrupt {
public:
    StopOnInterrupt(ManagerRegistry& registry, std::function<void()> stop);
    // Called at every turn of the loop; true from the first Ctrl-C on.
    bool poll();
    bool stopping() const { return stopping_; }

private:
    ManagerRegistry& registry_;
    std::function<void()> stop_;
    bool stopping_ = false;
    std::chrono::steady_clock::time_point abortAt_ = std::chrono::steady_clock::time_point::max();
};

} // namespace zob
