#pragma once

#include "demosite/demosite.h"

#include <mutex>
#include <optional>
#include <string_view>

namespace demosite {

// What the faults decide for one request that passed authentication.
struct FaultDecision {
    std::optional<std::pair<int, std::string>> fixedAnswer;
    bool serverError = false;
    bool closeMidBody = false;
};

// The faults in force, shared by the server's threads.
class FaultSwitch {
public:
    void set(Faults faults); // also restarts the every-Nth count
    std::chrono::milliseconds latency() const;
    // Counts the request towards serverErrorEvery unless a fixed answer takes it.
    FaultDecision decide(std::string_view path);

private:
    mutable std::mutex lock;
    Faults current;
    long counted = 0;
};

} // namespace demosite
