#pragma once

#include "site/fetchsink.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace zob {

enum class HttpMethod { Get, Post };

// What every request of a client carries. Workers take these over from the
// window's client, so they must stay a plain copyable value.
struct HttpRequestSettings {
    bool basicAuth = false;
    std::string userName;
    std::string password;
    std::string accept = "text/html, */*";
    std::string userAgent = "Mozilla/3.0 (compatible; Indy Library)";

    bool operator==(const HttpRequestSettings&) const = default;
};

// A stalled peer must not hang a thread forever, yet a slow but moving
// download must finish, so there is no limit on the whole transfer. A
// trickle of a few bytes a second is as good as a stall: below 1 KiB/s for
// half a minute on end the transfer is abandoned as a read timeout. Any real
// link moves a picture far faster, and a site that has truly stopped is let
// go of within about a minute from the connect to the abort.
struct HttpTimeLimits {
    std::chrono::milliseconds connectTimeout{30'000};
    // The transfer is abandoned when it moves fewer than lowSpeedBytesPerSecond
    // bytes per second for lowSpeedTime on end.
    long lowSpeedBytesPerSecond = 1024;
    std::chrono::seconds lowSpeedTime{30};
};

// How a transfer ended when it did not end with an answer. The kinds the user
// is shown are named by transferFailureName.
//
//   SocketError       the connection could not be opened or broke: host not
//                     resolved, refused, reset, send or receive failure
//   ConnectTimeout    no connection within the connect time limit
//   ReadTimeout       connected, but the peer went silent (low-speed abort)
//   ConnectionClosed  the peer closed the connection before the answer ended
//   WriteError        the destination could not store the bytes (a full
//                     disk, a file-size limit, no permission): a local fault
//   TooLarge          the answer is larger than its destination takes
//   InvalidAddress    not an http or https address the client can parse
//   MalformedAnswer   the peer's answer was not valid HTTP
//   TlsError          the secure connection could not be set up
//   OutOfMemory       the client ran out of memory
//   Aborted           the program asked for the transfer to end (quitting)
//   TransferError     anything else the client reported
//   Unexplained       the transfer failed without telling why
enum class TransferFailure {
    None,
    SocketError,
    ConnectTimeout,
    ReadTimeout,
    ConnectionClosed,
    WriteError,
    TooLarge,
    InvalidAddress,
    MalformedAnswer,
    TlsError,
    OutOfMemory,
    Aborted,
    TransferError,
    Unexplained,
};

const char* transferFailureName(TransferFailure failure);

struct TransferOutcome {
    TransferFailure failure = TransferFailure::None;
    // The answer's status code, 0 when no answer arrived.
    long status = 0;
    // What went wrong, for the user: the system's text for a local fault
    // ("No space left on device"), the client's own words otherwise; empty
    // when the transfer succeeded.
    std::string detail;
    // The answer's Content-Type, as sent; empty when none came.
    std::string contentType;
    // Body bytes received (for a failed transfer: before it broke).
    std::uint64_t bodyBytes = 0;
    // The connection broke or went silent after it was open (a reset, a cut
    // body, a timeout): the same request may well succeed a moment later.
    // A refused connection or an unknown host is not such a failure.
    bool brokenLink = false;
    // Retry-After of the answer in seconds (a date made relative); -1 when none.
    long retryAfterSeconds = -1;
    // What If-Range can name to continue this answer's body: its ETag, else
    // its Last-Modified; empty when it sent neither.
    std::string validator;
};

// An outcome without an answer: the request failed before or outside the transfer.
TransferOutcome outcomeWithoutAnswer(TransferFailure failure, std::string detail);

// Continues an answer whose first `offset` bytes the destination already
// holds, from its mark `origin` on: asks "Range: bytes=offset-" (with If-Range
// when `validator` is known). A 206 appends; a 200 (the site ignored the range
// or the file changed) cuts the destination back to `origin` and starts over;
// a 416 leaves it untouched for the caller to start over.
struct ResumeRequest {
    std::uint64_t offset = 0;
    std::uint64_t origin = 0;
    std::string validator;
};

// One HTTP client per thread; never used by two threads at once. Its
// transfers run in the process's TransferPool, on connections shared with
// every other client, but it has its own cookie jar: cookies the site sets
// come back on this client's later requests only. Redirects are not
// followed and no proxy is used, whatever the environment says.
class HttpClient {
public:
    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    HttpRequestSettings requestSettings() const;
    void setRequestSettings(const HttpRequestSettings& settings);
    // Takes over the other client's request settings (not its cookies or
    // connection). Safe while the other client is busy on its own thread.
    void copyRequestSettingsFrom(const HttpClient& other);

    HttpTimeLimits timeLimits() const { return timeLimits_; }
    void setTimeLimits(const HttpTimeLimits& limits) { timeLimits_ = limits; }

    // While `*flag` is set, a transfer in progress ends within about a second
    // as Aborted, and a new one does not start. The flag must outlive the
    // client; null (the default) ties the client to no flag.
    void setAbortFlag(const std::atomic<bool>* flag) { abortFlag_ = flag; }
    const std::atomic<bool>* abortFlag() const { return abortFlag_; }
    // While `*flag` (or the abort flag) is set, a fetch waiting to ask again
    // after a transient failure gives up at once; a transfer under way goes
    // on. Null (the default) ties the client to no flag.
    void setStopFlag(const std::atomic<bool>* flag) { stopFlag_ = flag; }
    const std::atomic<bool>* stopFlag() const { return stopFlag_; }
    // True when the abort or the stop flag is set.
    bool stopRequested() const;

    // Sends one request. The answer's body reaches `destination` only when its
    // status is 2xx; the bodies of error answers are dropped. A post sends
    // `formData` as its body, exactly as given, as a URL-encoded form.
    TransferOutcome perform(HttpMethod method, const std::string& address,
                            const std::string& formData, FetchSink& destination,
                            const ResumeRequest* resume = nullptr);

private:
    struct EasyHandleCleanup {
        void operator()(void* handle) const;
    };

    std::unique_ptr<void, EasyHandleCleanup> handle_;
    // Settings are the one part another thread reads (copyRequestSettingsFrom).
    mutable std::mutex settingsMutex_;
    HttpRequestSettings settings_;
    HttpTimeLimits timeLimits_;
    const std::atomic<bool>* abortFlag_ = nullptr;
    const std::atomic<bool>* stopFlag_ = nullptr;
};

} // namespace zob
