#include "cli/checkcommand.h"

#include "cli/terminalprompt.h"
#include "shell/appcontext.h"
#include "shell/startupsignin.h"

#include <iostream>

namespace zob {

int runCheckCommand(const std::filesystem::path& iniPath, TerminalPrompt& prompt,
                    std::ostream& out) {
    AppContext context(iniPath, prompt);
    StartupDialogs dialogs;
    dialogs.showConfigDialog = [] {
        std::cerr << "configuration: there is no configuration dialog on the command line; "
                     "set login and password in the [user] section of ZObrowser.ini\n";
    };
    dialogs.askPassword = [&prompt]() -> std::optional<std::string> {
        return prompt.askPassword("password: ");
    };
    const StartupOutcome outcome = decideModeAndSignIn(context, dialogs);
    out << startModeName(outcome.mode) << '\t'
        << (outcome.signInResult ? fetchResultName(*outcome.signInResult) : "-") << '\n';
    return outcome.mode == StartMode::aborted ? 3 : 0;
}

} // namespace zob
