#include "app/startupsignin.h"

#include "app/appcontext.h"
#include "site/fetch.h"
#include "site/fetchsink.h"

namespace zob {

const char* startModeName(StartMode mode) {
    switch (mode) {
    case StartMode::online:
        return "online";
    case StartMode::offline:
        return "offline";
    case StartMode::aborted:
        return "aborted";
    }
    return "?";
}

namespace {

StartupOutcome abortStart(std::optional<fetchResult> result = std::nullopt) {
    return StartupOutcome{StartMode::aborted, result};
}

} // namespace

StartupOutcome decideModeAndSignIn(AppContext& context, const StartupDialogs& dialogs) {
    const configInfoClass& config = context.configInfo;
    UserPrompt& prompt = context.prompt;
    context.offlineMode = false;

    if (config.offline) {
        context.offlineMode = true;
    } else if (config.login.empty()) {
        if (config.iniFileMissing()) {
            prompt.showMessage("authentication",
                               "Enter your zel-ora ID/Password\n then restart this program again");
            if (dialogs.showConfigDialog) {
                dialogs.showConfigDialog();
            }
            return abortStart();
        }
        prompt.showMessage("information",
                           "account/password is not defined.\n Turn into offline mode");
        context.offlineMode = true;
    }

    if (!context.offlineMode) {
        HttpRequestSettings request = context.defaultHttp.requestSettings();
        request.basicAuth = true;
        request.userName = config.login;
        request.password = config.password;
        if (!config.login.empty() && config.password.empty()) {
            std::optional<std::string> typed;
            if (dialogs.askPassword) {
                typed = dialogs.askPassword();
            }
            if (typed && !typed->empty()) {
                // Used for this run only; the setting stays empty.
                request.password = *typed;
            } else {
                prompt.showMessage("information",
                                   "password is not defined.\n Turn into offline mode");
                context.offlineMode = true;
            }
        }
        context.defaultHttp.setRequestSettings(request);
    }

    if (context.offlineMode) {
        return StartupOutcome{StartMode::offline, std::nullopt};
    }

    std::string page;
    MemorySink sink(page);
    const fetchResult result = getHtml(
        context.fetchEnv(), context.loadedArchives.siteUrl("/members/home.html"), sink, false);
    switch (result) {
    case fetchUnauthorized:
        prompt.showMessage("", "Your ID/Pasword pair will not correct.\nplease check config");
        if (dialogs.showConfigDialog) {
            dialogs.showConfigDialog();
        }
        return abortStart(result);
    case fetchTerminate:
        return abortStart(result);
    case fetchGoOffline:
        context.offlineMode = true;
        return StartupOutcome{StartMode::offline, result};
    default:
        return StartupOutcome{StartMode::online, result};
    }
}

} // namespace zob
