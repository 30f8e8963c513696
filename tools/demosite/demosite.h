#pragma once

#include "demosite/content.h"
#include "demosite/siteoptions.h"

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace demosite {

// One request as the site saw it, recorded before the answer is written so a
// client that has its answer always finds the entry.
struct LoggedRequest {
    std::string method;            // "GET" / "POST"
    std::string target;            // path with query, exactly as requested
    bool authorized = false;       // basic auth matched
    bool cookieReturned = false;   // the session cookie came back with this request
    std::string userAgent, accept; // request headers as received
    std::string body;              // body of posts
    int status = 0;                // status answered
};

// Misbehaviour switched on at run time. Order of checks per request: latency,
// authentication, fixed answers, every-Nth 500, then the normal answer (cut in
// half when its path starts with closeMidBodyPrefix).
struct Faults {
    std::chrono::milliseconds latency{0}; // added before every answer
    // Every Nth request (N > 0) that passed authentication and found no fixed
    // answer is answered 500; counting restarts whenever faults are set.
    int serverErrorEvery = 0;
    std::string closeMidBodyPrefix; // full Content-Length announced, half a body sent, then closed
    std::map<std::string, std::pair<int, std::string>>
        fixedAnswers; // path (no query) -> status, body
};

// A members site on 127.0.0.1. Everything under /members/ needs basic
// authentication; the first authorized answer to a client without the
// session cookie sets it. Addresses served (B = baseUrl()):
//   B/members/home.html, B/members/search.html (GET form or ?model=N,
//     ?photographer=N, ?country=N; POST search=NAME),
//   B/members/gallery/YYYY/YYYYMM.html, B/members/gallery/archive/index.html,
//   B/members/favorites/[index.html[/]]?add=ID|?remove=ID, B/members/bestofzel/index.html,
//   series folders (Series::filesPath) with their cover, large logo, hires/,
//     midres/, lores/ pictures, hires/ thumbnails and picture pages.
// A folder asked for without its trailing slash answers 302; anything else 404.
class DemoSite {
public:
    explicit DemoSite(SiteOptions options = {});
    ~DemoSite(); // stops and joins
    DemoSite(const DemoSite&) = delete;
    DemoSite& operator=(const DemoSite&) = delete;

    // Binds 127.0.0.1 (0 = ephemeral), serves on a background thread and
    // returns the port once connections are accepted; throws on failure.
    int start(int port = 0);
    void stop();
    int port() const;
    std::string baseUrl() const; // "http://127.0.0.1:PORT", no trailing slash

    const SiteContent& content() const;
    std::vector<LoggedRequest> requests() const;
    void clearRequests();
    void setFaults(Faults faults);

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace demosite
