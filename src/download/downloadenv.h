#pragma once

#include "site/fetch.h"

namespace zob {

class ManagerRegistry;
class HttpClient;
class UserPrompt;
class DebugLog;
class configInfoClass;

// What a download needs of the run: the manager registry its jobs join, the
// window's client whose request settings every worker copies, someone to
// tell about failures, the trace and the settings read at each use (dbgWait,
// the local folder).
struct DownloadEnv {
    ManagerRegistry& managers;
    HttpClient& defaultHttp;
    UserPrompt& prompt;
    DebugLog& debugLog;
    const configInfoClass& config;

    FetchEnv fetchEnv() const { return FetchEnv{defaultHttp, prompt}; }
};

} // namespace zob
