#include "site/fetchresult.h"

namespace zob {

const char* fetchResultName(fetchResult result) {
    switch (result) {
    case fetchOk:
        return "fetchOk";
    case fetchUnauthorized:
        return "fetchUnauthorized";
    case fetchNotFound:
        return "fetchNotFound";
    case fetchFailed:
        return "fetchFailed";
    case fetchGoOffline:
        return "fetchGoOffline";
    case fetchTerminate:
        return "fetchTerminate";
    case fetchProtocolError:
        return "fetchProtocolError";
    }
    return "fetchUnknown";
}

} // namespace zob
