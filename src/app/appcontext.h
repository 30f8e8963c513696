#pragma once

#include "catalogue/artlistlist.h"
#include "config/configinfo.h"
#include "download/downloadenv.h"
#include "download/threadmanager.h"
#include "platform/debuglog.h"
#include "platform/userprompt.h"
#include "search/searchkeyinfo.h"
#include "site/fetch.h"
#include "site/httpclient.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace zob {

// The members host used when the settings do not name another one.
inline constexpr std::string_view defaultMembersBaseUrl = "https://www.zel-ora.example";

// The process-wide objects of one run of the program. Programs make one;
// tests make as many independent ones as they like.
class AppContext {
public:
    // Process start: reads the settings, makes the registry of loaded lists
    // with the members base URL and makes sure the local folder exists. The debug log stays off
    // until start-up switches it on.
    AppContext(const std::filesystem::path& iniPath, UserPrompt& userPrompt);

    // The end of the run: what the search index learned from the site is kept.
    ~AppContext();

    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    configInfoClass configInfo;
    UserPrompt& prompt;
    HttpClient defaultHttp;
    DebugLog debugLog;
    bool offlineMode = false;
    // Runs the waiting part of a list page's load (the fetch and the scan of
    // the page) to its end. The window runs it on a worker and keeps its own
    // events flowing meanwhile; unset, it runs in place.
    std::function<void(const std::function<void()>&)> runPageWork;
    // Stops the page load under way (only loads given to runPageWork can be
    // stopped); each load clears it as it starts.
    std::atomic<bool> pageLoadCancel{false};
    // Every live download manager, with the lock and the shutdown flag. It
    // outlives the lists, whose records may still hold finished managers.
    ManagerRegistry managerRegistry{debugLog};
    // Every list loaded in this run; holds the members base URL in use.
    ArtListList loadedArchives;
    // The site's numbers for model and photographer names, read from the
    // index folder that the registry above names.
    searchKeyInfoClass searchKeyInfo{loadedArchives, debugLog};

    FetchEnv fetchEnv() { return FetchEnv{defaultHttp, prompt}; }
    DownloadEnv downloadEnv() {
        return DownloadEnv{managerRegistry, defaultHttp, prompt, debugLog, configInfo};
    }

    void dbgLog(const std::string& text, bool append) { debugLog.dbgLog(text, append); }
};

// The base URL a settings object asks for: `dbgHost` when set, else the
// members host, without trailing slashes (they would double the separator).
std::string membersBaseUrl(const configInfoClass& config);

} // namespace zob
