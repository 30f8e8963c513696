#pragma once

#include "cli/commandrun.h"

namespace zob {

// `zob check`: the start-up's mode decision and sign-in test with the
// settings file, which is only read. Prints "MODE<TAB>RESULT" and returns
// the exit status: 0 online or offline, 3 aborted.
int runCheckCommand(const CommandRun& run);

} // namespace zob
