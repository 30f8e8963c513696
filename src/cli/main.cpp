// zob: the command-line front end over the browser's core.

#include "cli/checkcommand.h"
#include "cli/downloadcommand.h"
#include "cli/listcommand.h"
#include "cli/searchcommand.h"
#include "cli/seriescommands.h"
#include "cli/terminalprompt.h"
#include "config/configinfo.h"

#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

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
           "  list month YYYY/MM | archive N | favorites | bad | bestof\n"
           "           load a list as the browser does (site and local catalogue)\n"
           "           and print it: '# caption', then one line per series with\n"
           "           name, date, title, model, photographer, specs and status,\n"
           "           separated by tabs\n"
           "  list downloaded | stopped | notloaded\n"
           "           gather the series of every month's local catalogue (this\n"
           "           month back to January 2004) whose pictures on disk are\n"
           "           complete, half-done or absent, and print them likewise;\n"
           "           each catalogue read is reported on stderr\n"
           "  download NAME [high|mid|low|thumb]\n"
           "           open a series as the browser does: fetch its covers, then\n"
           "           its thumbnails and the pictures of the resolution (default:\n"
           "           the resolution setting); progress on stderr, Ctrl-C stops\n"
           "           after the pictures in hand; a movie prints its address.\n"
           "           NAME is KEY_YYYYMM or KEY_archive. Last line:\n"
           "           NAME<TAB>STATUS<TAB>PHOTOS; exit 4 when the resolution is\n"
           "           still incomplete, 130 when interrupted\n"
           "  search [--offline] model NAME [K]\n"
           "  search [--offline] photographer NAME\n"
           "           find every series of the K-th model (from 1, default 1)\n"
           "           or of the photographer of the series NAME (found as for\n"
           "           download) and print them like list; with --offline, or in\n"
           "           offline mode, the local catalogues are scanned instead of\n"
           "           asking the site. Exit 2 when none were found\n"
           "  fav add|remove NAME\n"
           "           add the series to or remove it from the favorites (on the\n"
           "           site too when online); prints NAME<TAB>STATUS\n"
           "  bad add|remove NAME\n"
           "           the same for the bad list, which is kept on disk only\n"
           "  delete NAME high|mid|low|thumb|all\n"
           "           delete the series' pictures of one resolution, or of all\n"
           "           four; prints NAME<TAB>STATUS\n"
           "  help     this text\n"
           "\n"
           "exit status: 0 done, 2 the list or series could not be found, 3\n"
           "start-up aborted or the program had to close, 4 download incomplete,\n"
           "1 an error, 64 bad arguments, 130 interrupted\n";
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
        const std::vector<std::string> arguments(argv + 2, argv + argc);
        if (command == "list") {
            zob::TerminalPrompt prompt;
            return zob::runListCommand(arguments, zob::iniFileName, prompt, std::cout);
        }
        if (command == "download") {
            zob::TerminalPrompt prompt;
            return zob::runDownloadCommand(arguments, zob::iniFileName, prompt, std::cout);
        }
        if (command == "search") {
            zob::TerminalPrompt prompt;
            return zob::runSearchCommand(arguments, zob::iniFileName, prompt, std::cout);
        }
        if (command == "fav") {
            zob::TerminalPrompt prompt;
            return zob::runFavCommand(arguments, zob::iniFileName, prompt, std::cout);
        }
        if (command == "bad") {
            zob::TerminalPrompt prompt;
            return zob::runBadCommand(arguments, zob::iniFileName, prompt, std::cout);
        }
        if (command == "delete") {
            zob::TerminalPrompt prompt;
            return zob::runDeleteCommand(arguments, zob::iniFileName, prompt, std::cout);
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
