#pragma once

#include "platform/scriptedprompt.h"
#include "site/fetch.h"
#include "site/retryrules.h"
#include "site/transferpool.h"

#include <ostream>
#include <string>
#include <utility>
#include <vector>

// Fetch tests see one attempt per request unless they set retry rules of their own.
inline const bool fetchTestsRetryNothing = [] {
    zob::RetryRules rules;
    rules.retries = 0;
    zob::setRetryRules(rules);
    return true;
}();

// Puts retry rules in force for one test.
class ScopedRetryRules {
public:
    explicit ScopedRetryRules(zob::RetryRules rules) : saved_(zob::retryRules()) {
        zob::setRetryRules(std::move(rules));
    }
    ~ScopedRetryRules() { zob::setRetryRules(saved_); }
    ScopedRetryRules(const ScopedRetryRules&) = delete;
    ScopedRetryRules& operator=(const ScopedRetryRules&) = delete;

private:
    zob::RetryRules saved_;
};

namespace zob {
// Readable failure output for recorded boxes.
inline void PrintTo(const ScriptedPrompt::Shown& shown, std::ostream* out) {
    static const char* const kinds[] = {"Message", "YesNo", "YesNoCancel"};
    static const char* const answers[] = {"Ok", "Yes", "No", "Cancel"};
    *out << kinds[static_cast<int>(shown.kind)] << "(title \"" << shown.title << "\", text \""
         << shown.text << "\", answer " << answers[static_cast<int>(shown.answer)] << ")";
}
} // namespace zob

// The message boxes a fetch may show, as the scripted prompt records them.
inline zob::ScriptedPrompt::Shown messageBox(const std::string& text) {
    return {zob::ScriptedPrompt::Kind::Message, "", text, zob::PromptAnswer::Ok};
}

inline zob::ScriptedPrompt::Shown connectionBox(zob::PromptAnswer answer) {
    return {zob::ScriptedPrompt::Kind::YesNoCancel, "cannot connect",
            "Cannot connect to TCP/IP network. Retry ?\r  Yes : retry connect\r"
            "  No  : Turn in offline mode\r cancel: termination",
            answer};
}

using ShownBoxes = std::vector<zob::ScriptedPrompt::Shown>;

// The boxes with their texts cut to the first line: a failure's kind, which
// the lines after it explain.
inline ShownBoxes firstLines(ShownBoxes boxes) {
    for (auto& box : boxes) {
        box.text = box.text.substr(0, box.text.find("\r\n"));
    }
    return boxes;
}

// A default client, a scripted prompt and a page buffer: what every fetch test starts from.
struct FetchBench {
    FetchBench() = default;
    FetchBench(const FetchBench&) = delete;
    FetchBench& operator=(const FetchBench&) = delete;
    // The site a test stops next need not wait for our idle connections.
    ~FetchBench() { zob::TransferPool::process().closeIdleConnections(); }

    zob::HttpClient defaultHttp;
    zob::ScriptedPrompt prompt;
    zob::FetchEnv env{defaultHttp, prompt};
    std::string page;
    zob::MemorySink sink{page};

    zob::fetchResult get(const std::string& address, bool quiet = true,
                         zob::HttpClient* client = nullptr) {
        return zob::getHtml(env, address, sink, quiet, client);
    }
    zob::fetchResult post(const std::string& address, const std::string& formData,
                          bool quiet = true, zob::HttpClient* client = nullptr) {
        return zob::postHtml(env, address, formData, sink, quiet, client);
    }
    void signIn(const std::string& user, const std::string& password) {
        zob::HttpRequestSettings settings = defaultHttp.requestSettings();
        settings.basicAuth = true;
        settings.userName = user;
        settings.password = password;
        defaultHttp.setRequestSettings(settings);
    }
};
