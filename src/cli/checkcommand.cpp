#include "cli/checkcommand.h"

#include "cli/clisession.h"

#include <ostream>

namespace zob {

int runCheckCommand(const std::filesystem::path& iniPath, TerminalPrompt& prompt,
                    std::ostream& out) {
    CliSession session(iniPath, prompt);
    const StartupOutcome outcome = session.start();
    out << startModeName(outcome.mode) << '\t'
        << (outcome.signInResult ? fetchResultName(*outcome.signInResult) : "-") << '\n';
    return outcome.mode == StartMode::aborted ? 3 : 0;
}

} // namespace zob
