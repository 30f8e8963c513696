#include "site/retryrules.h"

#include <algorithm>
#include <mutex>
#include <random>
#include <thread>

namespace zob {

namespace {

std::mutex rulesLock;

RetryRules& currentRules() {
    static RetryRules rules;
    return rules;
}

double jitterFactor() {
    thread_local std::minstd_rand generator{std::random_device{}()};
    return std::uniform_real_distribution<double>(0.75, 1.25)(generator);
}

// The stop and abort flags are plain atomics nobody signals, so they are looked at
// often enough that a stop feels immediate.
constexpr std::chrono::milliseconds abortPollStep{20};

} // namespace

RetryRules retryRules() {
    const std::lock_guard lock(rulesLock);
    return currentRules();
}

void setRetryRules(RetryRules rules) {
    const std::lock_guard lock(rulesLock);
    currentRules() = std::move(rules);
}

bool isTransient(const TransferOutcome& outcome) {
    if (outcome.failure != TransferFailure::None) {
        return outcome.brokenLink || outcome.failure == TransferFailure::ConnectTimeout ||
               outcome.failure == TransferFailure::ReadTimeout ||
               outcome.failure == TransferFailure::ConnectionClosed;
    }
    switch (outcome.status) {
    case 408:
    case 429:
    case 500:
    case 502:
    case 503:
    case 504:
        return true;
    default:
        return false;
    }
}

std::chrono::milliseconds retryDelay(const RetryRules& rules, int retry,
                                     const TransferOutcome& outcome) {
    using std::chrono::milliseconds;
    const milliseconds cap = std::max(rules.longestDelay, milliseconds(0));
    if ((outcome.status == 429 || outcome.status == 503) && outcome.retryAfterSeconds >= 0) {
        return std::min(milliseconds(std::chrono::seconds(outcome.retryAfterSeconds)), cap);
    }
    const double doubled = static_cast<double>(rules.firstDelay.count()) *
                           static_cast<double>(std::uint64_t{1} << std::clamp(retry, 0, 30));
    const double varied = std::min(doubled, static_cast<double>(cap.count())) * jitterFactor();
    return std::min(milliseconds(static_cast<milliseconds::rep>(varied)), cap);
}

bool waitUnlessStopped(std::chrono::milliseconds span, const std::function<bool()>& stopped) {
    const auto deadline = std::chrono::steady_clock::now() + span;
    for (;;) {
        if (stopped()) {
            return false;
        }
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) {
            return true;
        }
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(left, abortPollStep));
    }
}

} // namespace zob
