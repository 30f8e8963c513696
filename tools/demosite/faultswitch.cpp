#include "demosite/faultswitch.h"

namespace demosite {

void FaultSwitch::set(Faults faults) {
    const std::lock_guard guard(lock);
    current = std::move(faults);
    counted = 0;
}

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
    return decision;
}

} // namespace demosite
