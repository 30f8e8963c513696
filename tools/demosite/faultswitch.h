#pragma once

#include "demosite/faults.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace demosite {

// What the faults decide for one request that passed authentication.
struct FaultDecision {
    std::optional<std::pair<int, std::string>> fixedAnswer;
    bool serverError = false;
    bool closeMidBody = false;
    bool hideMidRes = false; // the path lies under a midres/ folder the site pretends not to have
    // The faults that reshape the normal answer once the router made it.
    int pictureStatus = 0;
    bool pictureAsHtml = false;
    BodyFault pictureBody = BodyFault::none;
    int pictureNumber = 0;
    PageBody pageBody = PageBody::normal;
    bool rateFail = false; // failRate drew this request (applies to pictures only)
    bool rateCut = false;  // cutRate drew this request (applies to pictures only)
    int bandwidthKBps = 0;
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
    std::map<std::string, std::uint64_t, std::less<>> askedBefore; // path -> requests so far
};

} // namespace demosite
