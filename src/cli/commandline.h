#pragma once

#include "catalogue/loadstatuslists.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zob {

// The options a command may take, wherever they stand on its line.
struct CommandOptions {
    bool offline = false;           // --offline: work from the local catalogue alone
    bool wait = false;              // --wait: wait for a local folder another program holds
    std::optional<YearMonth> month; // --month YYYY/MM: where to look for a series online
    bool list = false;              // --list: download: the series of a list, queued
};

// A `zob` command line, read the getopt way: options anywhere after the
// command word, "--" ends them, "zob help COMMAND" and "zob COMMAND --help"
// both ask for the command's usage.
struct CommandLine {
    std::string command; // empty: no command named (help or version alone)
    std::vector<std::string> operands;
    CommandOptions options;
    bool help = false;
    bool version = false;
};

// Bad arguments: the message, and the command whose usage the user needs
// (empty for the program's).
class UsageError : public std::runtime_error {
public:
    UsageError(const std::string& message, std::string command)
        : std::runtime_error(message), command_(std::move(command)) {}
    const std::string& command() const { return command_; }

private:
    std::string command_;
};

// Reads the words after the program's name. Throws UsageError for an
// unknown command, an option the command does not take or a bad value.
CommandLine parseCommandLine(const std::vector<std::string>& words);

// The program's usage, and one command's.
std::string programUsage();
std::string commandUsage(const std::string& command);

} // namespace zob
