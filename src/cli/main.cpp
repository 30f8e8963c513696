// zob: the command-line front end over the browser's core.

#include "cli/checkcommand.h"
#include "cli/terminalprompt.h"
#include "config/configinfo.h"

#include <exception>
#include <iostream>
#include <string_view>

namespace {

constexpr int usageStatus = 64;

void printUsage(std::ostream& out) {
    out << "usage: zob COMMAND\n"
           "\n"
           "Works in the current folder: settings come from ./ZObrowser.ini.\n"
           "\n"
           "commands:\n"
           "  check    decide online or offline and test the sign-in; prints\n"
           "           MODE<TAB>RESULT (MODE: online, offline or aborted)\n"
           "  help     this text\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(std::cerr);
        return usageStatus;
    }
    const std::string_view command = argv[1];
    try {
        if (command == "check" && argc == 2) {
            zob::TerminalPrompt prompt;
            return zob::runCheckCommand(zob::iniFileName, prompt, std::cout);
        }
        if (command == "help" || command == "--help" || command == "-h") {
            printUsage(std::cout);
            return 0;
        }
        std::cerr << "zob: unknown command or arguments: " << command << '\n';
        printUsage(std::cerr);
        return usageStatus;
    } catch (const std::exception& error) {
        std::cerr << "zob: " << error.what() << '\n';
        return 1;
    }
}
