#pragma once

#include "site/httpclient.h"

#include <chrono>
#include <functional>
#include <string>

namespace zob {

// How the process treats a request that failed in a way that may pass: the
// site was busy (408, 429, 500, 502, 503, 504) or the link broke after it
// was open (a reset, a cut body, a timeout). Such a request is asked again
// up to `retries` times, after firstDelay, twice that, four times that ...
// (each varied by up to a quarter so many clients do not return in step,
// never above longestDelay). A Retry-After the site sends on 429 or 503
// replaces the computed delay, within the same cap.
struct RetryRules {
    int retries = 4;
    std::chrono::milliseconds firstDelay{1000};
    std::chrono::milliseconds longestDelay{60'000};
    // Waits out a delay; false when `stopped` turned true meanwhile. Tests
    // put a clock of their own here; empty means waitUnlessStopped.
    std::function<bool(std::chrono::milliseconds, const std::function<bool()>& stopped)> wait;
    // Receives one line per retry, for the debug log; may be empty.
    std::function<void(const std::string&)> log;
};

// The rules every fetch of the process follows; the settings set them.
RetryRules retryRules();
void setRetryRules(RetryRules rules);

// Whether the outcome is a failure worth asking again.
bool isTransient(const TransferOutcome& outcome);

// The wait before retry number `retry` (0 for the first).
std::chrono::milliseconds retryDelay(const RetryRules& rules, int retry,
                                     const TransferOutcome& outcome);

// Sleeps for `span`, but returns false as soon as `stopped` says so.
bool waitUnlessStopped(std::chrono::milliseconds span, const std::function<bool()>& stopped);

} // namespace zob
