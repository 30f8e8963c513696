// zob: the command-line front end over the browser's core.

#include "cli/checkcommand.h"
#include "cli/downloadcommand.h"
#include "cli/listcommand.h"
#include "cli/searchcommand.h"
#include "cli/seriescommands.h"
#include "cli/terminalprompt.h"
#include "config/configinfo.h"
#include "platform/folderlock.h"
#include "site/sitenames.h"

#include <algorithm>
#include <csignal>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
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
           "One program at a time works in a local folder: when another holds\n"
           "it, zob says so and exits 75; with --wait after the command word\n"
           "(zob download --wait NAME) it waits for the folder instead.\n"
           "\n"
           "exit status: 0 done, 2 the list or series could not be found, 3\n"
           "start-up aborted or the program had to close, 4 download incomplete,\n"
           "1 an error, 64 bad arguments, 75 the local folder is in use, 130\n"
           "interrupted\n";
}

// Takes "--wait" out of the arguments; true when it was there.
bool takeWaitOption(std::vector<std::string>& arguments) {
    const auto end = std::remove(arguments.begin(), arguments.end(), "--wait");
    const bool found = end != arguments.end();
    arguments.erase(end, arguments.end());
    return found;
}

// The local folder of the settings, owned by this run until it ends.
std::unique_ptr<zob::FolderLock> lockLocalFolder(bool wait) {
    const zob::configInfoClass settings{std::filesystem::path(zob::iniFileName)};
    const std::filesystem::path index =
        std::filesystem::path(settings.local) / std::string(zob::indexFolderName);
    if (wait) {
        try {
            return std::make_unique<zob::FolderLock>(index, false);
        } catch (const zob::FolderLock::Busy& busy) {
            std::cerr << "zob: " << busy.what() << "; waiting for it\n";
        }
    }
    return std::make_unique<zob::FolderLock>(index, wait);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(std::cerr);
        return usageStatus;
    }
    // A file-size limit must show up as a write error with its reason, not
    // kill the program in the middle of a picture.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::string_view command = argv[1];
    std::vector<std::string> arguments(argv + 2, argv + argc);
    const bool wait = takeWaitOption(arguments);
    try {
        if (command == "help" || command == "--help" || command == "-h") {
            printUsage(std::cout);
            return 0;
        }
        const std::unique_ptr<zob::FolderLock> lock = lockLocalFolder(wait);
        if (command == "check" && arguments.empty()) {
            zob::TerminalPrompt prompt;
            return zob::runCheckCommand(zob::iniFileName, prompt, std::cout);
        }
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
        std::cerr << "zob: unknown command or arguments: " << command << '\n';
        printUsage(std::cerr);
        return usageStatus;
    } catch (const zob::FolderLock::Busy& busy) {
        std::cerr << "zob: " << busy.what() << '\n';
        return zob::folderBusyStatus;
    } catch (const std::exception& error) {
        std::cerr << "zob: " << error.what() << '\n';
        return 1;
    }
}
