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
        return {TransferFailure::Unexplained, 0};
    }
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
    if (status == 302 || status == 404) {
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
                        HttpClient* client) {
    HttpClient& http = client != nullptr ? *client : env.defaultHttp;
    const FetchSink::Mark start = destination.mark();

    for (bool firstAttempt = true;; firstAttempt = false) {
        if (!firstAttempt && !destination.truncateTo(start)) {
            env.prompt.showMessage("", transferFailureName(TransferFailure::WriteError));
            return fetchFailed;
        }
        const TransferOutcome outcome =
            performGuarded(http, method, address, formData, destination);
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
        default:
            env.prompt.showMessage("", transferFailureName(outcome.failure));
            return fetchFailed;
        }
    }
}

fetchResult getHtml(const FetchEnv& env, const std::string& address, FetchSink& destination,
                    bool quiet, HttpClient* client) {
    return httpRequest(env, address, destination, quiet, HttpMethod::Get, std::string(), client);
}

fetchResult postHtml(const FetchEnv& env, const std::string& address, const std::string& formData,
                     FetchSink& destination, bool quiet, HttpClient* client) {
    return httpRequest(env, address, destination, quiet, HttpMethod::Post, formData, client);
}

} // namespace zob
