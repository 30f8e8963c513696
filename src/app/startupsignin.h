#pragma once

#include "site/fetchresult.h"

#include <functional>
#include <optional>
#include <string>

namespace zob {

class AppContext;

enum class StartMode { online, offline, aborted };

const char* startModeName(StartMode mode);

// What the start-up needs from whoever shows windows.
struct StartupDialogs {
    // The configuration dialog, shown modally; settings typed there are
    // written at the end of the program, not here.
    std::function<void()> showConfigDialog;
    // The password dialog: the typed text, or nothing when cancelled.
    std::function<std::optional<std::string>()> askPassword;
};

struct StartupOutcome {
    StartMode mode = StartMode::online;
    // The sign-in test's result, when it ran.
    std::optional<fetchResult> signInResult;
};

// Decides between online and offline, sets up the default client's
// credentials and checks them against the members home page. Leaves
// `offlineMode` of the context set as decided.
StartupOutcome decideModeAndSignIn(AppContext& context, const StartupDialogs& dialogs);

} // namespace zob
