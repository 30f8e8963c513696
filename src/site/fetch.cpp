#include "site/fetch.h"

#include "site/retryrules.h"

#include <chrono>
#include <optional>
#include <string>

namespace zob {

namespace {

constexpr const char* cannotConnectTitle = "cannot connect";
constexpr const char* cannotConnectText = "Cannot connect to TCP/IP network. Retry ?\r"
                                          "  Yes : retry connect\r"
                                          "  No  : Turn in offline mode\r"
                                          " cancel: termination";

TransferOutcome performGuarded(HttpClient& client, HttpMethod method, const std::string& address,
                               const std::string& formData, FetchSink& destination,
                               const ResumeRequest* resume) {
    try {
        return client.perform(method, address, formData, destination, resume);
    } catch (...) {
        return outcomeWithoutAnswer(TransferFailure::Unexplained, {});
    }
}

// The error's kind on a line of its own, a short fixed name the user can tell
// at a glance and quote, then what happened and where, so "WriteError" says
// which disk is full.
std::string failureMessage(const TransferOutcome& outcome, const std::string& address) {
    std::string text = transferFailureName(outcome.failure);
    if (!outcome.detail.empty()) {
        text += "\r\n" + address + ": " + outcome.detail;
    }
    return text;
}

// The user's choice in the connection box; no result means "try again".
std::optional<fetchResult> askAboutLostConnection(UserPrompt& prompt) {
    switch (prompt.askYesNoCancel(cannotConnectTitle, cannotConnectText)) {
    case PromptAnswer::Yes:
        return std::nullopt;
    case PromptAnswer::No:
        prompt.showMessage("", "Turn into Offline-mode");
        return fetchGoOffline;
    case PromptAnswer::Cancel:
        return fetchTerminate;
    default:
        return fetchFailed;
    }
}

fetchResult resultForStatus(UserPrompt& prompt, long status) {
    if (status >= 200 && status <= 299) {
        return fetchOk;
    }
    // 410 is the site saying the same as 404, for good.
    if (status == 302 || status == 404 || status == 410) {
        return fetchNotFound;
    }
    if (status == 401) {
        return fetchUnauthorized;
    }
    prompt.showMessage("", "HTTPProtocolException #" + std::to_string(status));
    return fetchProtocolError;
}

// "status 503" or the failure's name: why a retry was needed, for the log.
std::string retryCause(const TransferOutcome& outcome) {
    return outcome.failure == TransferFailure::None ? "status " + std::to_string(outcome.status)
                                                    : transferFailureName(outcome.failure);
}

// One request and its retries. The destination either starts again from
// where it stood when the request began or, when it keeps broken transfers,
// continues from the bytes it holds.
class RequestRun {
public:
    RequestRun(HttpClient& http, FetchSink& destination, TransferOutcome& outcome)
        : http_(http), destination_(destination), outcome_(outcome),
          resumable_(destination.resumeOrigin().has_value()),
          start_(resumable_ ? *destination.resumeOrigin() : destination.mark()),
          rules_(retryRules()) {}

    // Makes one attempt; false when the destination could not be made ready.
    bool attempt(HttpMethod method, const std::string& address, const std::string& formData) {
        const FetchSink::Mark held = destination_.mark();
        std::optional<ResumeRequest> resume;
        if (resumable_ && method == HttpMethod::Get && held > start_ && !restartWhole_) {
            resume = ResumeRequest{held - start_, start_, validator_};
        } else if ((attempted_ || held != start_) && !destination_.truncateTo(start_)) {
            outcome_ =
                outcomeWithoutAnswer(TransferFailure::WriteError, destination_.failure().text);
            return false;
        }
        restartWhole_ = false;
        attempted_ = true;
        outcome_ = performGuarded(http_, method, address, formData, destination_,
                                  resume ? &*resume : nullptr);
        if (!outcome_.validator.empty()) {
            validator_ = outcome_.validator;
        }
        if (resume && outcome_.failure == TransferFailure::None && outcome_.status == 416) {
            // What we hold is no beginning of the file the site has now.
            restartWhole_ = true;
        }
        return true;
    }

    // After a failed attempt: waits for the next one when another is due;
    // false when the failure stands (or a stop cut the wait short: then the
    // outcome says Aborted).
    bool waitForRetry(const std::string& address) {
        if (restartWhole_ && !restarted_) {
            restarted_ = true;
            return true;
        }
        if (!isTransient(outcome_) || retries_ >= rules_.retries) {
            return false;
        }
        const auto stopped = [this] { return http_.stopRequested(); };
        if (stopped()) {
            // The retry the failure was due is given up: the stop, not the site, ended it.
            outcome_ = outcomeWithoutAnswer(TransferFailure::Aborted, "stopped by the program");
            return false;
        }
        const std::chrono::milliseconds delay = retryDelay(rules_, retries_, outcome_);
        ++retries_;
        if (rules_.log) {
            rules_.log("retry " + std::to_string(retries_) + "/" + std::to_string(rules_.retries) +
                       " in " + std::to_string(delay.count()) + " ms (" + retryCause(outcome_) +
                       "): " + address);
        }
        if (!(rules_.wait ? rules_.wait(delay, stopped) : waitUnlessStopped(delay, stopped))) {
            outcome_ = outcomeWithoutAnswer(TransferFailure::Aborted, "stopped by the program");
            return false;
        }
        return true;
    }

    // The user asked to try again after the retries were spent.
    void startOver() { retries_ = 0; }

private:
    HttpClient& http_;
    FetchSink& destination_;
    TransferOutcome& outcome_;
    const bool resumable_;
    const FetchSink::Mark start_;
    const RetryRules rules_;
    std::string validator_;
    int retries_ = 0;
    bool restartWhole_ = false;
    bool restarted_ = false;
    bool attempted_ = false;
};

} // namespace

fetchResult httpRequest(const FetchEnv& env, const std::string& address, FetchSink& destination,
                        bool quiet, HttpMethod method, const std::string& formData,
                        HttpClient* client, TransferOutcome* outcomeOut) {
    HttpClient& http = client != nullptr ? *client : env.defaultHttp;
    TransferOutcome ignored;
    TransferOutcome& outcome = outcomeOut != nullptr ? *outcomeOut : ignored;
    RequestRun run(http, destination, outcome);

    for (;;) {
        if (!run.attempt(method, address, formData)) {
            env.prompt.showMessage("", failureMessage(outcome, address));
            return fetchFailed;
        }
        if (run.waitForRetry(address)) {
            continue;
        }
        switch (outcome.failure) {
        case TransferFailure::None:
            return resultForStatus(env.prompt, outcome.status);
        case TransferFailure::SocketError: {
            if (quiet) {
                return fetchFailed;
            }
            if (const auto chosen = askAboutLostConnection(env.prompt)) {
                return *chosen;
            }
            run.startOver();
            continue;
        }
        case TransferFailure::Unexplained:
            return fetchProtocolError;
        case TransferFailure::Aborted:
            return fetchFailed; // the program is quitting or the job stopping: nobody to tell
        default:
            env.prompt.showMessage("", failureMessage(outcome, address));
            return fetchFailed;
        }
    }
}

fetchResult getHtml(const FetchEnv& env, const std::string& address, FetchSink& destination,
                    bool quiet, HttpClient* client, TransferOutcome* outcome) {
    return httpRequest(env, address, destination, quiet, HttpMethod::Get, std::string(), client,
                       outcome);
}

fetchResult postHtml(const FetchEnv& env, const std::string& address, const std::string& formData,
                     FetchSink& destination, bool quiet, HttpClient* client) {
    return httpRequest(env, address, destination, quiet, HttpMethod::Post, formData, client,
                       nullptr);
}

} // namespace zob
