#pragma once

#include "demosite/faultanswer.h"
#include "demosite/slowanswers.h"

#include <httplib.h>
#include <memory>

namespace demosite {

// Hands the answer's body to the server the way the delivery says. The slow
// ones (stall, trickle, endless) end when their watch does.
void deliverBody(httplib::Response& response, Answer answer, Delivery delivery,
                 std::shared_ptr<const SlowAnswers::Watch> watch);

} // namespace demosite
