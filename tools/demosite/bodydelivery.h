#pragma once

#include "demosite/faultanswer.h"
#include "demosite/slowanswers.h"

#include <httplib.h>
#include <memory>

namespace demosite {

struct BodyPace {
    Delivery delivery = Delivery::whole;
    int bandwidthKBps = 0; // a whole body leaves at most this fast; 0 = as fast as it can
};

// Hands the answer's body to the server the way the pace says. The slow ones
// (stall, trickle, endless, paced) end when their watch does.
void deliverBody(httplib::Response& response, Answer answer, BodyPace pace,
                 std::shared_ptr<const SlowAnswers::Watch> watch);

} // namespace demosite
