#pragma once

#include "demosite/faultswitch.h"
#include "demosite/router.h"

namespace demosite {

// How an answer's body leaves the server.
enum class Delivery {
    whole,
    half,    // full length announced, half sent, connection closed
    stall,   // full length announced, half sent, then nothing until the site stops
    trickle, // 2 GB announced, 4 bytes a second
    endless, // chunked, never ends
};

// Reshapes the router's answer by the picture and page faults in force and
// says how its body is to be sent.
Delivery reshapeAnswer(const FaultDecision& decision, Answer& answer);

} // namespace demosite
