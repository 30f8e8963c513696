#include "cli/interrupts.h"

#include "download/threadmanager.h"

#include <atomic>
#include <pthread.h>

namespace zob {

namespace {

std::atomic<int> interruptCount{0};
std::atomic<ManagerRegistry*> abortTarget{nullptr};
std::atomic<int> abortAfterInterrupts{2};
static_assert(std::atomic<int>::is_always_lock_free);
static_assert(std::atomic<ManagerRegistry*>::is_always_lock_free);

extern "C" void onInterrupt(int /*signal*/) {
    const int count = interruptCount.fetch_add(1) + 1;
    if (ManagerRegistry* registry = abortTarget.load();
        registry != nullptr && count >= abortAfterInterrupts.load()) {
        registry->abortTransfers();
    }
}

} // namespace

InterruptCatcher::InterruptCatcher(ManagerRegistry& registry) {
    interruptCount.store(0);
    abortTarget.store(&registry);
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previous_);
}

InterruptCatcher::~InterruptCatcher() {
    sigaction(SIGINT, &previous_, nullptr);
    abortTarget.store(nullptr);
}

int InterruptCatcher::count() {
    return interruptCount.load();
}

void InterruptCatcher::abortOnFirst(bool on) {
    abortAfterInterrupts.store(on ? 1 : 2);
}

InterruptBlockedForNewThreads::InterruptBlockedForNewThreads() {
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(SIG_BLOCK, &interrupt, &previous_);
}

InterruptBlockedForNewThreads::~InterruptBlockedForNewThreads() {
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

StopOnInterrupt::StopOnInterrupt(ManagerRegistry& registry, std::function<void()> stop)
    : registry_(registry), stop_(std::move(stop)) {}

bool StopOnInterrupt::poll() {
    if (!stopping_ && InterruptCatcher::requested()) {
        stopping_ = true;
        abortAt_ = std::chrono::steady_clock::now() + interruptGrace;
        stop_();
    }
    if (stopping_ && std::chrono::steady_clock::now() >= abortAt_) {
        registry_.abortTransfers();
    }
    return stopping_;
}

} // namespace zob
