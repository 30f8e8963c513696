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

// Whether the settings leave this run offline; nothing when the start ends
// so that the user can fill in the settings first.
std::optional<bool> offlineBySettings(const configInfoClass& config, UserPrompt& prompt,
                                      const StartupDialogs& dialogs) {
    if (config.offline) {
        return true;
    }
    if (!config.login.empty()) {
        return false;
    }
    if (config.iniFileMissing()) {
        prompt.showMessage("authentication",
                           "Enter your zel-ora ID/Password\n then restart this program again");
        if (dialogs.showConfigDialog) {
            dialogs.showConfigDialog();
        }
        return std::nullopt;
    }
    prompt.showMessage("information", "account/password is not defined.\n Turn into offline mode");
    return true;
}

// Gives the default client the account's credentials, asking for a password
// the settings lack. False when none was given: the run goes offline.
bool setUpCredentials(AppContext& context, const StartupDialogs& dialogs) {
    const configInfoClass& config = context.configInfo;
    HttpRequestSettings request = context.defaultHttp.requestSettings();
    request.basicAuth = true;
    request.userName = config.login;
    request.password = config.password;
    bool haveCredentials = true;
    if (!config.login.empty() && config.password.empty()) {
        std::optional<std::string> typed;
        if (dialogs.askPassword) {
            typed = dialogs.askPassword();
        }
        if (typed && !typed->empty()) {
            // Used for this run only; the setting stays empty.
            request.password = *typed;
        } else {
            context.prompt.showMessage("information",
                                       "password is not defined.\n Turn into offline mode");
            haveCredentials = false;
        }
    }
    context.defaultHttp.setRequestSettings(request);
    return haveCredentials;
}

// Tries the credentials on the members home page.
StartupOutcome signIn(AppContext& context, const StartupDialogs& dialogs) {
    std::string page;
    MemorySink sink(page);
    const FetchEnv env = context.fetchEnv();
    const std::string address = context.loadedArchives.siteUrl("/members/home.html");
    fetchResult result = fetchFailed;
    const auto fetchHome = [&] { result = getHtml(env, address, sink, false); };
    // Nothing else uses the default client during the start-up: the window
    // may wait beside it.
    if (context.runPageWork) {
        context.runPageWork(fetchHome);
    } else {
        fetchHome();
    }
    switch (result) {
    case fetchUnauthorized:
        context.prompt.showMessage("",
                                   "Your ID/Pasword pair will not correct.\nplease check config");
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

} // namespace

StartupOutcome decideModeAndSignIn(AppContext& context, const StartupDialogs& dialogs) {
    context.offlineMode = false;
    const std::optional<bool> offline =
        offlineBySettings(context.configInfo, context.prompt, dialogs);
    if (!offline) {
        return abortStart();
    }
    context.offlineMode = *offline || !setUpCredentials(context, dialogs);
    if (context.offlineMode) {
        return StartupOutcome{StartMode::offline, std::nullopt};
    }
    return signIn(context, dialogs);
}

} // namespace zob
