#pragma once

#include <cstdint>

namespace zob {

// The outcome of every request to the site. Callers branch on it; a failed
// request never reaches them as an exception.
enum fetchResult : std::uint8_t {
    fetchOk = 0,            // the answer's body was written to the destination
    fetchUnauthorized = 1,  // 401: login ID or password refused
    fetchNotFound = 2,      // 404, or a 302 (redirects are not followed)
    fetchFailed = 3,        // network unreachable while quiet, or another client error (shown)
    fetchGoOffline = 4,     // network unreachable and the user chose offline mode
    fetchTerminate = 5,     // network unreachable and the user chose to terminate
    fetchProtocolError = 6, // another error status (shown), or a failure without any detail
};

// The enumerator's own name ("fetchOk" ...), which the command line prints.
const char* fetchResultName(fetchResult result);

} // namespace zob
