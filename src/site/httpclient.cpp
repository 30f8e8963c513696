#include "site/httpclient.h"

#include "site/contentrange.h"
#include "site/transferpool.h"

#include <array>
#include <curl/curl.h>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace zob {

namespace {

// libcurl wants its global set-up done once, before the first handle and not
// concurrently with anything else. It is never torn down: clients may live
// until the very end of the process.
void initialiseLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
            throw std::runtime_error("the HTTP library could not be initialised");
        }
    });
}

struct HeaderListFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListFree>;

bool appendHeader(HeaderList& list, const std::string& line) {
    curl_slist* extended = curl_slist_append(list.get(), line.c_str());
    if (extended == nullptr) {
        return false;
    }
    static_cast<void>(list.release());
    list.reset(extended);
    return true;
}

// What the callbacks of one transfer share.
struct Transfer {
    CURL* handle;
    FetchSink& destination;
    const std::atomic<bool>* abortFlag;
    const ResumeRequest* resume;
    bool connected = false;
    bool bodyStarted = false;
    bool wrongRange = false;      // a 206 that does not continue the bytes held
    std::uint64_t rangeTotal = 0; // the whole file's size a 206 announced
    std::uint64_t bodyBytes = 0;
};

std::string headerValue(CURL* handle, const char* name) {
    curl_header* header = nullptr;
    if (curl_easy_header(handle, name, 0, CURLH_HEADER, -1, &header) == CURLHE_OK &&
        header != nullptr && header->value != nullptr) {
        return header->value;
    }
    return {};
}

// A resumed answer decides, at its first byte, where that byte belongs.
bool startBody(Transfer& transfer, long status) {
    const ResumeRequest* resume = transfer.resume;
    if (resume == nullptr) {
        return true;
    }
    if (status != 206) {
        return transfer.destination.truncateTo(resume->origin);
    }
    const std::optional<ContentRange> range =
        parseContentRange(headerValue(transfer.handle, "Content-Range"));
    if (!range || range->first != resume->offset) {
        // Not the rest of what we hold: start over on the next attempt.
        transfer.wrongRange = true;
        transfer.destination.truncateTo(resume->origin);
        return false;
    }
    transfer.rangeTotal = range->total;
    return true;
}

bool isSuccessStatus(long status) {
    return status >= 200 && status <= 299;
}

std::size_t receiveBody(char* data, std::size_t size, std::size_t count, void* context) {
    auto& transfer = *static_cast<Transfer*>(context);
    const std::size_t length = size * count;
    long status = 0;
    curl_easy_getinfo(transfer.handle, CURLINFO_RESPONSE_CODE, &status);
    if (!isSuccessStatus(status)) {
        return length; // an error answer's body is no page; read on so the connection stays usable
    }
    try {
        if (!transfer.bodyStarted) {
            transfer.bodyStarted = true;
            if (!startBody(transfer, status)) {
                return 0;
            }
        }
        if (transfer.destination.append(std::string_view(data, length))) {
            transfer.bodyBytes += length;
            TransferPool::process().countReceived(length);
            return length;
        }
    } catch (...) {
        // An exception must not unwind through the library; a short count aborts the transfer.
    }
    return 0;
}

// Called about once a second even while nothing arrives, so a stalled
// transfer notices the program quitting.
int checkAbort(void* context, curl_off_t /*downloadTotal*/, curl_off_t /*downloaded*/,
               curl_off_t /*uploadTotal*/, curl_off_t /*uploaded*/) {
    const auto& transfer = *static_cast<const Transfer*>(context);
    return transfer.abortFlag != nullptr && transfer.abortFlag->load() ? 1 : 0;
}

// Called once the connection is ready, fresh or reused: tells a timeout while
// connecting from a peer that went silent afterwards.
int connectionReady(void* context, char* /*remoteAddress*/, char* /*localAddress*/,
                    int /*remotePort*/, int /*localPort*/) {
    static_cast<Transfer*>(context)->connected = true;
    return CURL_PREREQFUNC_OK;
}

TransferFailure writeFailure(const FetchSink& destination) {
    switch (destination.failure().kind) {
    case SinkFailure::Kind::tooLarge:
        return TransferFailure::TooLarge;
    case SinkFailure::Kind::outOfMemory:
        return TransferFailure::OutOfMemory;
    default:
        return TransferFailure::WriteError;
    }
}

TransferFailure classify(CURLcode code, bool connected) {
    switch (code) {
    case CURLE_OK:
        return TransferFailure::None;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return TransferFailure::SocketError;
    case CURLE_OPERATION_TIMEDOUT:
        return connected ? TransferFailure::ReadTimeout : TransferFailure::ConnectTimeout;
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
        return TransferFailure::ConnectionClosed;
    case CURLE_WRITE_ERROR:
        return TransferFailure::WriteError;
    case CURLE_FILESIZE_EXCEEDED:
        return TransferFailure::TooLarge;
    case CURLE_ABORTED_BY_CALLBACK:
        return TransferFailure::Aborted;
    case CURLE_URL_MALFORMAT:
        return TransferFailure::InvalidAddress;
    case CURLE_UNSUPPORTED_PROTOCOL:
        // Also what the library says of an answer without a status line.
        return connected ? TransferFailure::MalformedAnswer : TransferFailure::InvalidAddress;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_HTTP3:
        return TransferFailure::MalformedAnswer;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_CLIENTCERT:
    case CURLE_USE_SSL_FAILED:
        return TransferFailure::TlsError;
    case CURLE_OUT_OF_MEMORY:
        return TransferFailure::OutOfMemory;
    default:
        return TransferFailure::TransferError;
    }
}

// Collects the first failing option instead of checking each call.
class OptionSetter {
public:
    explicit OptionSetter(CURL* handle) : handle_(handle) {}

    template <typename Value> void operator()(CURLoption option, Value value) {
        if (result_ == CURLE_OK) {
            result_ = curl_easy_setopt(handle_, option, value);
        }
    }
    CURLcode result() const { return result_; }

private:
    CURL* handle_;
    CURLcode result_ = CURLE_OK;
};

struct DetachOnExit {
    CURL* handle;
    explicit DetachOnExit(CURL* easyHandle) : handle(easyHandle) {}
    DetachOnExit(const DetachOnExit&) = delete;
    DetachOnExit& operator=(const DetachOnExit&) = delete;
    ~DetachOnExit() {
        curl_easy_setopt(handle, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(nullptr));
        curl_easy_setopt(handle, CURLOPT_WRITEDATA, static_cast<void*>(nullptr));
        curl_easy_setopt(handle, CURLOPT_PREREQDATA, static_cast<void*>(nullptr));
        curl_easy_setopt(handle, CURLOPT_XFERINFODATA, static_cast<void*>(nullptr));
        curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, static_cast<char*>(nullptr));
    }
};

// The words the user reads about a failure: the destination's own reason
// when it refused the bytes, else the library's message for this transfer.
std::string failureDetail(TransferFailure failure, CURLcode code, const char* errorText,
                          const FetchSink& destination) {
    switch (failure) {
    case TransferFailure::None:
        return {};
    case TransferFailure::WriteError:
    case TransferFailure::OutOfMemory:
        if (!destination.failure().text.empty()) {
            return destination.failure().text;
        }
        break;
    case TransferFailure::TooLarge:
        return destination.tooLargeText();
    case TransferFailure::Aborted:
        return "stopped by the program";
    default:
        break;
    }
    return errorText[0] != '\0' ? std::string(errorText) : std::string(curl_easy_strerror(code));
}

// The request's own header lines; false when memory ran out building them.
bool buildHeaders(HeaderList& headers, HttpMethod method, const HttpRequestSettings& settings,
                  const ResumeRequest* resume) {
    // A bare "Accept:" line removes the library's default instead of sending an empty header.
    const std::string acceptLine =
        settings.accept.empty() ? std::string("Accept:") : "Accept: " + settings.accept;
    bool headersBuilt = appendHeader(headers, acceptLine) &&
                        appendHeader(headers, "Expect:"); // no waiting for 100-continue
    if (method == HttpMethod::Post) {
        headersBuilt = headersBuilt &&
                       appendHeader(headers, "Content-Type: application/x-www-form-urlencoded");
    }
    if (resume != nullptr && !resume->validator.empty()) {
        headersBuilt = headersBuilt && appendHeader(headers, "If-Range: " + resume->validator);
    }
    return headersBuilt;
}

// What is asked: the address, the headers, the credentials and the body. The
// handle keeps options between requests, so each one sets or clears them all.
void setRequestOptions(OptionSetter& set, HttpMethod method, const std::string& address,
                       const std::string& formData, const HeaderList& headers,
                       const HttpRequestSettings& settings, const std::string& range) {
    set(CURLOPT_URL, address.c_str());
    // The library copies it; an empty range asks for the whole answer.
    set(CURLOPT_RANGE, range.empty() ? static_cast<const char*>(nullptr) : range.c_str());
    set(CURLOPT_HTTPHEADER, headers.get());
    set(CURLOPT_USERAGENT, settings.userAgent.c_str());
    if (settings.basicAuth) {
        set(CURLOPT_HTTPAUTH, static_cast<unsigned long>(CURLAUTH_BASIC));
        set(CURLOPT_USERNAME, settings.userName.c_str());
        set(CURLOPT_PASSWORD, settings.password.c_str());
    } else {
        set(CURLOPT_USERNAME, static_cast<const char*>(nullptr));
        set(CURLOPT_PASSWORD, static_cast<const char*>(nullptr));
    }
    if (method == HttpMethod::Post) {
        set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(formData.size()));
        set(CURLOPT_COPYPOSTFIELDS, formData.c_str());
    } else {
        set(CURLOPT_HTTPGET, 1L);
    }
}

void setTimeLimitOptions(OptionSetter& set, const HttpTimeLimits& limits) {
    set(CURLOPT_MAX_RECV_SPEED_LARGE,
        static_cast<curl_off_t>(TransferPool::process().bandwidthShare()));
    set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
    set(CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytesPerSecond);
    set(CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.lowSpeedTime.count()));
    set(CURLOPT_TIMEOUT_MS, 0L);
}

// The callbacks that fill `transfer` and the destination's size limit.
void setTransferOptions(OptionSetter& set, Transfer& transfer) {
    set(CURLOPT_WRITEFUNCTION, &receiveBody);
    set(CURLOPT_WRITEDATA, static_cast<void*>(&transfer));
    set(CURLOPT_PREREQFUNCTION, &connectionReady);
    set(CURLOPT_PREREQDATA, static_cast<void*>(&transfer));
    set(CURLOPT_NOPROGRESS, 0L);
    set(CURLOPT_XFERINFOFUNCTION, &checkAbort);
    set(CURLOPT_XFERINFODATA, static_cast<void*>(&transfer));
    set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(transfer.destination.sizeLimit()));
}

bool isBrokenLink(CURLcode code) {
    switch (code) {
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
    case CURLE_OPERATION_TIMEDOUT:
        return true;
    default:
        return false;
    }
}

void readRestartHeaders(CURL* handle, TransferOutcome& outcome) {
    curl_off_t retryAfter = 0;
    if (curl_easy_getinfo(handle, CURLINFO_RETRY_AFTER, &retryAfter) == CURLE_OK &&
        retryAfter > 0) {
        outcome.retryAfterSeconds = static_cast<long>(retryAfter);
    } else if (!headerValue(handle, "Retry-After").empty()) {
        outcome.retryAfterSeconds = 0;
    }
    outcome.validator = headerValue(handle, "ETag");
    if (outcome.validator.empty()) {
        outcome.validator = headerValue(handle, "Last-Modified");
    }
}

// The outcome of a transfer the library ran, flushing the destination when
// the answer's body went to it.
TransferOutcome outcomeOf(const Transfer& transfer, CURLcode code, const char* errorText) {
    TransferOutcome outcome;
    curl_easy_getinfo(transfer.handle, CURLINFO_RESPONSE_CODE, &outcome.status);
    const char* contentType = nullptr;
    if (curl_easy_getinfo(transfer.handle, CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK &&
        contentType != nullptr) {
        outcome.contentType = contentType;
    }
    FetchSink& destination = transfer.destination;
    outcome.bodyBytes = transfer.bodyBytes;
    outcome.failure = classify(code, transfer.connected);
    outcome.brokenLink = isBrokenLink(code);
    if (outcome.failure == TransferFailure::WriteError && transfer.wrongRange) {
        outcome.failure = TransferFailure::ConnectionClosed;
        outcome.brokenLink = true;
    } else if (outcome.failure == TransferFailure::WriteError) {
        outcome.failure = writeFailure(destination);
    }
    readRestartHeaders(transfer.handle, outcome);
    if (outcome.failure == TransferFailure::None && outcome.status == 206 &&
        transfer.resume != nullptr &&
        destination.mark() - transfer.resume->origin != transfer.rangeTotal) {
        // The rest arrived whole, yet the file is not: never let it pass as complete.
        outcome.failure = TransferFailure::ConnectionClosed;
        outcome.brokenLink = true;
    }
    if (outcome.failure == TransferFailure::None && outcome.status == 0) {
        outcome.failure = TransferFailure::Unexplained;
    }
    if (outcome.failure == TransferFailure::None && isSuccessStatus(outcome.status) &&
        !destination.flush()) {
        outcome.failure = writeFailure(destination);
    }
    outcome.detail = failureDetail(outcome.failure, code, errorText, destination);
    return outcome;
}

} // namespace

void HttpClient::EasyHandleCleanup::operator()(void* handle) const {
    curl_easy_cleanup(handle);
}

HttpClient::HttpClient() {
    initialiseLibraryOnce();
    handle_.reset(curl_easy_init());
    if (!handle_) {
        throw std::runtime_error("no HTTP client handle could be created");
    }
    CURL* handle = handle_.get();
    OptionSetter set(handle);
    set(CURLOPT_COOKIEFILE, ""); // an empty name switches the cookie engine on without a file
    set(CURLOPT_NOSIGNAL, 1L);   // signals would cross threads; workers have their own clients
    set(CURLOPT_FOLLOWLOCATION, 0L);
    set(CURLOPT_PROXY, ""); // an explicit empty proxy also ignores the proxy environment
    set(CURLOPT_PROTOCOLS_STR, "http,https");
    if (set.result() != CURLE_OK) {
        throw std::runtime_error(std::string("HTTP client set-up failed: ") +
                                 curl_easy_strerror(set.result()));
    }
}

HttpClient::~HttpClient() = default;

bool HttpClient::stopRequested() const {
    return (abortFlag_ != nullptr && abortFlag_->load()) ||
           (stopFlag_ != nullptr && stopFlag_->load());
}

HttpRequestSettings HttpClient::requestSettings() const {
    const std::lock_guard lock(settingsMutex_);
    return settings_;
}

void HttpClient::setRequestSettings(const HttpRequestSettings& settings) {
    const std::lock_guard lock(settingsMutex_);
    settings_ = settings;
}

void HttpClient::copyRequestSettingsFrom(const HttpClient& other) {
    if (&other != this) {
        setRequestSettings(other.requestSettings());
    }
}

TransferOutcome HttpClient::perform(HttpMethod method, const std::string& address,
                                    const std::string& formData, FetchSink& destination,
                                    const ResumeRequest* resume) {
    CURL* handle = handle_.get();
    const HttpRequestSettings settings = requestSettings();
    Transfer transfer{handle, destination, abortFlag_, resume};
    if (abortFlag_ != nullptr && abortFlag_->load()) {
        return outcomeWithoutAnswer(TransferFailure::Aborted, "stopped by the program");
    }

    HeaderList headers;
    if (!buildHeaders(headers, method, settings, resume)) {
        return outcomeWithoutAnswer(TransferFailure::OutOfMemory, "out of memory");
    }

    // The handle outlives this call; however it ends, leave it no pointers into this frame.
    const DetachOnExit detach{handle};
    OptionSetter set(handle);
    const std::string range = resume != nullptr ? std::to_string(resume->offset) + "-" : "";
    setRequestOptions(set, method, address, formData, headers, settings, range);
    setTimeLimitOptions(set, timeLimits_);
    setTransferOptions(set, transfer);
    std::array<char, CURL_ERROR_SIZE> errorText{};
    set(CURLOPT_ERRORBUFFER, errorText.data());
    if (set.result() != CURLE_OK) {
        return outcomeWithoutAnswer(classify(set.result(), false),
                                    curl_easy_strerror(set.result()));
    }

    const auto code = static_cast<CURLcode>(TransferPool::process().run(handle));
    return outcomeOf(transfer, code, errorText.data());
}

} // namespace zob
