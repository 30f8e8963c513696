#pragma once

#include "cli/commandline.h"

#include <filesystem>
#include <ostream>
#include <string>

namespace zob {

class TerminalPrompt;

// What every command gets: its line, the settings file, the terminal and
// the stream its results go to (stdout; everything else goes to stderr).
struct CommandRun {
    const CommandLine& line;
    std::filesystem::path iniPath;
    TerminalPrompt& prompt;
    std::ostream& out;

    // Says what is wrong with the arguments, then the command's usage, on
    // stderr; returns the exit status for bad arguments.
    int usageError(const std::string& message) const;
};

// Exit statuses shared by the commands.
inline constexpr int notFoundStatus = 2;
inline constexpr int closedStatus = 3;
inline constexpr int incompleteStatus = 4;
inline constexpr int usageStatus = 64;
inline constexpr int interruptedStatus = 130;

} // namespace zob
