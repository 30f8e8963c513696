#include "demosite/demosite.h"

#include "demosite/bodydelivery.h"
#include "demosite/faultanswer.h"
#include "demosite/faultswitch.h"
#include "demosite/picturecache.h"
#include "demosite/pictureranges.h"
#include "demosite/random.h"
#include "demosite/requestlog.h"
#include "demosite/router.h"
#include "demosite/sitepages.h"
#include "demosite/slowanswers.h"
#include "demosite/urlcodec.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <httplib.h>
#include <mutex>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>

namespace demosite {
namespace {

// Enough threads that every download worker of the client can hold a
// keep-alive connection without starving the others.
constexpr std::size_t serverThreads = 48;
// Short, so stop() never waits long for an idle kept-alive connection.
constexpr time_t keepAliveSeconds = 2;
constexpr std::size_t cachedPictures = 300;
constexpr std::size_t cachedBytes = 64u << 20;

// A long gallery is there to be downloaded again and again: its pictures
// (every resolution a benchmark may ask for) all stay in the cache.
std::size_t longGallery(const demosite::SiteOptions& options) {
    return static_cast<std::size_t>(std::max(options.longGalleryPictures, 0));
}

std::string sessionValue(unsigned seed) {
    char text[32];
    std::snprintf(text, sizeof text, "%016llx",
                  static_cast<unsigned long long>(mixHash({seed, 0x5E55})));
    return text;
}

bool cookieCarries(const std::string& cookieHeader, const std::string& cookie) {
    std::size_t at = cookieHeader.find(cookie);
    while (at != std::string::npos) {
        const bool startsCookie =
            at == 0 || cookieHeader[at - 1] == ' ' || cookieHeader[at - 1] == ';';
        const std::size_t end = at + cookie.size();
        if (startsCookie && (end == cookieHeader.size() || cookieHeader[end] == ';')) {
            return true;
        }
        at = cookieHeader.find(cookie, at + 1);
    }
    return false;
}

// What the answer's body will put on the wire: the asked range of a 206 (the
// server library cuts it), half of that for a cut body.
std::uint64_t bodyBytesSent(const httplib::Request& request, const Answer& answer,
                            Delivery delivery) {
    std::uint64_t bytes = answer.body.size();
    if (answer.status == 206 && request.ranges.size() == 1 && request.ranges.front().first >= 0) {
        bytes -= std::min<std::uint64_t>(bytes,
                                         static_cast<std::uint64_t>(request.ranges.front().first));
    }
    return delivery == Delivery::half ? bytes / 2 : bytes;
}

} // namespace

struct DemoSite::Impl {
    explicit Impl(SiteOptions siteOptions)
        : options(std::move(siteOptions)), content(options),
          pictures(cachedPictures + 3 * longGallery(options),
                   cachedBytes + (512u << 10) * longGallery(options)),
          router(content, pictures), log(options.logFile),
          expectedAuthorization("Basic " + encodeBase64(options.user + ":" + options.password)),
          sessionCookie("ZSESSION=" + sessionValue(options.seed)) {}

    void handle(const httplib::Request& request, httplib::Response& response);
    Answer answerFor(const httplib::Request& request, const LoggedRequest& entry,
                     std::string_view path, Delivery& delivery, int& bandwidthKBps);

    const SiteOptions options;
    SiteContent content;
    PictureCache pictures;
    Router router;
    RequestLog log;
    FaultSwitch faults;
    SlowAnswers slowAnswers;
    const std::string expectedAuthorization;
    const std::string sessionCookie;

    std::mutex lifecycle; // start and stop
    std::unique_ptr<httplib::Server> server;
    std::thread serving;
    std::atomic<int> boundPort{0};
};

Answer DemoSite::Impl::answerFor(const httplib::Request& request, const LoggedRequest& entry,
                                 std::string_view path, Delivery& delivery, int& bandwidthKBps) {
    if (isMembersPath(path) && !entry.authorized) {
        return {401,
                "text/html",
                unauthorizedPage(),
                {{"WWW-Authenticate", "Basic realm=\"Zel-Ora Members\""}}};
    }
    const FaultDecision decision = faults.decide(path);
    if (decision.fixedAnswer) {
        return {decision.fixedAnswer->first, "text/html", decision.fixedAnswer->second, {}};
    }
    if (decision.serverError) {
        return {500, "text/html", serverErrorPage(), {}};
    }
    if (decision.hideMidRes) {
        return {404, "text/html", notFoundPage(path), {}};
    }
    Answer answer;
    try {
        answer = router.answer({request.method, request.target, request.body},
                               "http://127.0.0.1:" + std::to_string(boundPort.load()));
    } catch (const std::exception&) {
        return {500, "text/html", serverErrorPage(), {}};
    }
    delivery = reshapeAnswer(decision, answer);
    bandwidthKBps = decision.bandwidthKBps;
    applyPictureRange(request.get_header_value("Range"), request.get_header_value("If-Range"),
                      answer);
    return answer;
}

void DemoSite::Impl::handle(const httplib::Request& request, httplib::Response& response) {
    if (const auto latency = faults.latency(); latency.count() > 0) {
        slowAnswers.pause(latency);
    }
    LoggedRequest entry;
    entry.method = request.method;
    entry.target = request.target;
    entry.authorized = request.get_header_value("Authorization") == expectedAuthorization;
    entry.cookieReturned = cookieCarries(request.get_header_value("Cookie"), sessionCookie);
    entry.userAgent = request.get_header_value("User-Agent");
    entry.accept = request.get_header_value("Accept");
    entry.body = request.body;
    entry.clientPort = request.remote_port;

    const std::string_view path = targetPath(request.target);
    Delivery delivery = Delivery::whole;
    int bandwidthKBps = 0;
    Answer answer = answerFor(request, entry, path, delivery, bandwidthKBps);
    if (entry.authorized && isMembersPath(path) && !entry.cookieReturned) {
        answer.headers.emplace_back("Set-Cookie", sessionCookie + "; Path=/");
    }
    entry.status = answer.status;
    entry.bodyBytesSent = bodyBytesSent(request, answer, delivery);
    log.add(std::move(entry));

    response.status = answer.status;
    for (const auto& [name, value] : answer.headers) {
        response.set_header(name.c_str(), value);
    }
    std::shared_ptr<const SlowAnswers::Watch> watch;
    if (delivery == Delivery::stall || delivery == Delivery::trickle ||
        delivery == Delivery::endless || bandwidthKBps > 0) {
        watch = slowAnswers.watch(boundPort, request.remote_port);
    }
    deliverBody(response, std::move(answer), {delivery, bandwidthKBps}, std::move(watch));
}

DemoSite::DemoSite(SiteOptions options) : impl(std::make_unique<Impl>(std::move(options))) {}

DemoSite::~DemoSite() {
    stop();
}

int DemoSite::start(int port) {
    const std::lock_guard guard(impl->lifecycle);
    if (impl->server) {
        throw std::logic_error("the demo site is already running");
    }
    auto server = std::make_unique<httplib::Server>();
    // httplib owns and deletes the queue it gets from this factory.
    server->new_task_queue = [] { return new httplib::ThreadPool(serverThreads); };
    server->set_keep_alive_timeout(keepAliveSeconds);
    server->set_keep_alive_max_count(100);
    // Headers and body leave in separate writes; without this every answer on
    // a kept-alive connection would wait for the peer's delayed ACK.
    server->set_tcp_nodelay(true);
    // httplib's default also sets SO_REUSEPORT, which would let a second site
    // share a taken port silently; address reuse alone still allows restarts.
    auto listener = std::make_shared<std::atomic<socket_t>>(-1);
    server->set_socket_options([listener](socket_t socket) {
        int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        *listener = socket;
    });
    Impl* site = impl.get();
    const auto handler = [site](const httplib::Request& request, httplib::Response& response) {
        site->handle(request, response);
    };
    server->Get(".*", handler);
    server->Post(".*", handler);

    const int bound = port == 0 ? server->bind_to_any_port("127.0.0.1")
                                : (server->bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0) {
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
    }
    // The library listens with a backlog of 5, so a burst of connecting
    // download workers would see dropped SYNs and second-long retries.
    // Listening again on the bound socket only raises the backlog.
    ::listen(*listener, SOMAXCONN);
    impl->boundPort = bound;
    httplib::Server* listening = server.get();
    impl->slowAnswers.open();
    impl->serving = std::thread([listening] { listening->listen_after_bind(); });
    // The socket already queues connections; waiting for the accept loop
    // keeps stop() right after start() from racing it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!listening->is_running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    impl->server = std::move(server);
    if (!impl->server->is_running()) {
        impl->server->stop();
        impl->serving.join();
        impl->server.reset();
        throw std::runtime_error("the demo site did not start serving");
    }
    return bound;
}

void DemoSite::stop() {
    const std::lock_guard guard(impl->lifecycle);
    if (!impl->server) {
        return;
    }
    // Answers that wait on the client would otherwise hold the join below.
    impl->slowAnswers.stopAll();
    impl->server->stop();
    if (impl->serving.joinable()) {
        impl->serving.join();
    }
    impl->server.reset();
}

int DemoSite::port() const {
    return impl->boundPort;
}

std::string DemoSite::baseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port());
}

const SiteContent& DemoSite::content() const {
    return impl->content;
}

std::vector<LoggedRequest> DemoSite::requests() const {
    return impl->log.entries();
}

void DemoSite::clearRequests() {
    impl->log.clear();
}

void DemoSite::setFaults(Faults faults) {
    impl->faults.set(std::move(faults));
}

} // namespace demosite
