#include "demosite/faultanswer.h"

#include "demosite/sitepages.h"

namespace demosite {
namespace {

bool pictureHit(const FaultDecision& decision, const Answer& answer) {
    return answer.pictureNumber > 0 &&
           (decision.pictureNumber == 0 || decision.pictureNumber == answer.pictureNumber);
}

} // namespace

Delivery reshapeAnswer(const FaultDecision& decision, Answer& answer) {
    Delivery delivery = decision.closeMidBody ? Delivery::half : Delivery::whole;
    if (pictureHit(decision, answer)) {
        if (decision.pictureStatus != 0) {
            answer = {decision.pictureStatus, "text/html", statusPage(decision.pictureStatus), {}};
            if (decision.pictureStatus == 503) {
                answer.headers.emplace_back("Retry-After", "1");
            }
        } else if (decision.pictureAsHtml) {
            answer.contentType = "text/html";
            answer.body = pictureErrorPage();
        }
        if (decision.pictureBody == BodyFault::cut) {
            delivery = Delivery::half;
        } else if (decision.pictureBody == BodyFault::stall) {
            delivery = Delivery::stall;
        }
    }
    if (answer.pictureNumber > 0 && answer.status == 200) {
        if (decision.rateFail) {
            answer = {503, "text/html", statusPage(503), {{"Retry-After", "1"}}};
        } else if (decision.rateCut) {
            delivery = Delivery::half;
        }
    }
    if (answer.updatesList && answer.status == 200) {
        if (decision.pageBody == PageBody::trickle) {
            delivery = Delivery::trickle;
        } else if (decision.pageBody == PageBody::endless) {
            delivery = Delivery::endless;
        }
    }
    return delivery;
}

} // namespace demosite
