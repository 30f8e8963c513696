#include "cli/checkcommand.h"

#include "cli/clisession.h"

#include <ostream>

namespace zob {

int runCheckCommand(const CommandRun& run) {
    if (!run.line.operands.empty()) {
        return run.usageError("takes no arguments");
    }
    CliSession session(run);
    const StartupOutcome outcome = session.start();
    run.out << startModeName(outcome.mode) << '\t'
            << (outcome.signInResult ? fetchResultName(*outcome.signInResult) : "-") << '\n';
    return outcome.mode == StartMode::aborted ? closedStatus : 0;
}

} // namespace zob
