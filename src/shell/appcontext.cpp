#include "shell/appcontext.h"

#include "site/joining.h"

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
    : configInfo(iniPath), prompt(userPrompt), baseUrl(membersBaseUrl(configInfo)) {
    // A folder we cannot create shows up later, when something is written into it.
    std::error_code ignored;
    std::filesystem::create_directories(configInfo.local, ignored);
}

std::string AppContext::membersUrl() const {
    return joinUrl(baseUrl, "members/");
}

std::string AppContext::siteUrl(std::string_view relative) const {
    if (!relative.empty() && relative.front() == '/') {
        return joinUrl(baseUrl, relative);
    }
    return joinUrl(membersUrl(), relative);
}

} // namespace zob
