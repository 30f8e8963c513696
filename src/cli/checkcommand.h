#pragma once

#include <filesystem>
#include <iosfwd>

namespace zob {

class TerminalPrompt;

// `zob check`: the start-up's mode decision and sign-in test with the
// settings file at `iniPath`, which is only read. Prints "MODE<TAB>RESULT"
// and returns the exit status: 0 online or offline, 3 aborted.
int runCheckCommand(const std::filesystem::path& iniPath, TerminalPrompt& prompt,
                    std::ostream& out);

} // namespace zob
