#include "demosite/faultswitch.h"

#include "demosite/random.h"

namespace demosite {

void FaultSwitch::set(Faults faults) {
    const std::lock_guard guard(lock);
    current = std::move(faults);
    counted = 0;
    askedBefore.clear();
}

namespace {

// Uniform in [0, 1) from the hash.
double unitDraw(std::uint64_t hash) {
    return static_cast<double>(hash >> 11) / static_cast<double>(std::uint64_t{1} << 53);
}

} // namespace

std::chrono::milliseconds FaultSwitch::latency() const {
    const std::lock_guard guard(lock);
    return current.latency;
}

FaultDecision FaultSwitch::decide(std::string_view path) {
    const std::lock_guard guard(lock);
    FaultDecision decision;
    if (const auto fixed = current.fixedAnswers.find(std::string(path));
        fixed != current.fixedAnswers.end()) {
        decision.fixedAnswer = fixed->second;
        return decision;
    }
    ++counted;
    decision.serverError = current.serverErrorEvery > 0 && counted % current.serverErrorEvery == 0;
    decision.closeMidBody =
        !current.closeMidBodyPrefix.empty() &&
        path.substr(0, current.closeMidBodyPrefix.size()) == current.closeMidBodyPrefix;
    decision.hideMidRes = current.noMidRes && (path.find("/midres/") != std::string_view::npos ||
                                               path.ends_with("/midres"));
    decision.pictureStatus = current.pictureStatus;
    decision.pictureAsHtml = current.pictureAsHtml;
    decision.pictureBody = current.pictureBody;
    decision.pictureNumber = current.pictureNumber;
    decision.pageBody = current.pageBody;
    decision.bandwidthKBps = current.bandwidthKBps;
    if (current.failRate > 0 || current.cutRate > 0) {
        auto [at, fresh] = askedBefore.try_emplace(std::string(path), 0);
        const std::uint64_t asked = at->second++;
        const std::uint64_t place = hashText(path);
        decision.rateFail =
            unitDraw(mixHash({current.rateSeed, place, asked, 1})) < current.failRate;
        decision.rateCut = unitDraw(mixHash({current.rateSeed, place, asked, 2})) < current.cutRate;
    }
    return decision;
}

} // namespace demosite
