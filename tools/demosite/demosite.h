#pragma once

#include "demosite/content.h"
#include "demosite/faults.h"
#include "demosite/siteoptions.h"

#include <cstdint>
#include <memory>
#include <string>
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
    int clientPort = 0;            // tells the client's connections apart
    // Body bytes the answer sends (a range's part, half of a cut body);
    // recorded before they are sent, so a client that hangs up gets less.
    std::uint64_t bodyBytesSent = 0;
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
