#pragma once

#include "platform/userprompt.h"
#include "site/fetchresult.h"
#include "site/fetchsink.h"
#include "site/httpclient.h"

#include <string>

namespace zob {

// What a fetch needs from the program: the client used when the caller
// passes none, and someone to ask when the network is gone.
struct FetchEnv {
    HttpClient& defaultHttp;
    UserPrompt& prompt;
};

// The one road every request to the site takes. Every failure becomes a
// fetchResult; nothing is thrown.
//
// A failure that may pass (a busy site's 408, 429 or 5xx, a reset, a cut
// body, a timeout) is first asked again as RetryRules say, each time after a
// longer wait that the client's stop or abort flag cuts short; a destination
// that keeps broken transfers (see FetchSink::resumeOrigin) is continued
// with a range request rather than filled again. "Not found" is never asked
// again. What follows applies once the retries are spent.
//
// When the connection cannot be opened or breaks, a caller that is not quiet
// lets the user retry (as often as they like), go offline or terminate; a
// quiet caller just gets fetchFailed. Before a retried attempt the
// destination is cut back to where it stood when the call began, and a post
// sends its form data again.
//
// Error answers (other than 302, 401, 404 and 410, which say "not found") and
// the client's own errors are shown to the user even when quiet, as the only
// trace they leave. A client error is shown by its kind's name (see
// TransferFailure: "ConnectTimeout", "ReadTimeout", "ConnectionClosed",
// "WriteError", "TooLarge", "InvalidAddress", "MalformedAnswer", "TlsError",
// "OutOfMemory" or "TransferError") on the first line, then the address and
// what happened ("No space left on device"). A transfer the program itself
// aborted (quitting) is not shown.

// GETs `address` into `destination`, at its current position. `outcome`,
// when given, receives how the last attempt ended, for callers that must tell
// a full disk from a busy site.
fetchResult getHtml(const FetchEnv& env, const std::string& address, FetchSink& destination,
                    bool quiet, HttpClient* client = nullptr, TransferOutcome* outcome = nullptr);

// POSTs `formData` (one form field, already URL-encoded: "search=NAME") to
// `address`; the answer goes into `destination`.
fetchResult postHtml(const FetchEnv& env, const std::string& address, const std::string& formData,
                     FetchSink& destination, bool quiet, HttpClient* client = nullptr);

// The shared body of getHtml and postHtml; `formData` is ignored for a GET.
fetchResult httpRequest(const FetchEnv& env, const std::string& address, FetchSink& destination,
                        bool quiet, HttpMethod method, const std::string& formData,
                        HttpClient* client, TransferOutcome* outcome = nullptr);

} // namespace zob
