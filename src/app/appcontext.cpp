#include "app/appcontext.h"

#include "app/networksettings.h"
#include "site/transferpool.h"

#include <system_error>

namespace zob {

std::string membersBaseUrl(const configInfoClass& config) {
    std::string base = config.dbgHost.empty() ? std::string(defaultMembersBaseUrl) : config.dbgHost;
    while (base.size() > 1 && base.back() == '/') {
        base.pop_back();
    }
    return base;
}

AppContext::AppContext(const std::filesystem::path& iniPath, UserPrompt& userPrompt)
    : configInfo(iniPath), prompt(userPrompt),
      loadedArchives(membersBaseUrl(configInfo), configInfo) {
    // The window's fetches end with the workers' when the program cannot wait.
    defaultHttp.setAbortFlag(&managerRegistry.abortFlag());
    applyNetworkSettings(configInfo, debugLog);
    // A folder we cannot create shows up later, when something is written into it.
    std::error_code ignored;
    std::filesystem::create_directories(configInfo.local, ignored);
}

AppContext::~AppContext() {
    // Never throws: a failure is written to the debug log and the file stays as it was.
    searchKeyInfo.saveIfModified();
    detachNetworkLog();
    // The site need not keep our idle connections until they time out.
    TransferPool::process().closeIdleConnections();
}

} // namespace zob
