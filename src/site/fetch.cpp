#include "site/fetch.h"

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
                               const std::string& formData, FetchSink& destination) {
    try {
        return client.perform(method, address, formData, destination);
    } catch (...) {
        return {TransferFailure::Unexplained, 0, {}, {}, 0};
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

} // namespace

fetchResult httpRequest(const FetchEnv& env, const std::string& address, FetchSink& destination,
                        bool quiet, HttpMethod method, const std::string& formData,
                        HttpClient* client, TransferOutcome* outcomeOut) {
    HttpClient& http = client != nullptr ? *client : env.defaultHttp;
    const FetchSink::Mark start = destination.mark();
    TransferOutcome ignored;
    TransferOutcome& outcome = outcomeOut != nullptr ? *outcomeOut : ignored;

    for (bool firstAttempt = true;; firstAttempt = false) {
        if (!firstAttempt && !destination.truncateTo(start)) {
            outcome = {TransferFailure::WriteError, 0, destination.failure().text, {}, 0};
            env.prompt.showMessage("", failureMessage(outcome, address));
            return fetchFailed;
        }
        outcome = performGuarded(http, method, address, formData, destination);
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
            continue;
        }
        case TransferFailure::Unexplained:
            return fetchProtocolError;
        case TransferFailure::Aborted:
            return fetchFailed; // the program is quitting: nobody to tell
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
