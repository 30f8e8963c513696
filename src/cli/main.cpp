// zob: the command-line front end over the browser's core.

#include "cli/checkcommand.h"
#include "cli/commandline.h"
#include "cli/commandrun.h"
#include "cli/downloadcommand.h"
#include "cli/listcommand.h"
#include "cli/queuecommand.h"
#include "cli/searchcommand.h"
#include "cli/seriescommands.h"
#include "cli/terminalprompt.h"
#include "config/configinfo.h"
#include "platform/folderlock.h"
#include "platform/textencoding.h"
#include "site/sitenames.h"
#include "version.h"

#include <csignal>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// The local folder of the settings, owned by this run until it ends.
std::unique_ptr<zob::FolderLock> lockLocalFolder(const std::filesystem::path& iniPath, bool wait) {
    const zob::configInfoClass settings{iniPath};
    const std::filesystem::path index =
        std::filesystem::path(settings.local) / std::string(zob::indexFolderName);
    if (wait) {
        try {
            return std::make_unique<zob::FolderLock>(index, false);
        } catch (const zob::FolderLock::Busy& busy) {
            std::cerr << "zob: " << zob::terminalSafe(busy.what()) << "; waiting for it\n";
        }
    }
    return std::make_unique<zob::FolderLock>(index, wait);
}

int runCommand(const zob::CommandRun& run) {
    const std::string& command = run.line.command;
    if (command == "check") {
        return zob::runCheckCommand(run);
    }
    if (command == "list") {
        return zob::runListCommand(run);
    }
    if (command == "download") {
        return zob::runDownloadCommand(run);
    }
    if (command == "search") {
        return zob::runSearchCommand(run);
    }
    if (command == "fav") {
        return zob::runFavCommand(run);
    }
    if (command == "bad") {
        return zob::runBadCommand(run);
    }
    if (command == "queue") {
        return zob::runQueueCommand(run);
    }
    return zob::runDeleteCommand(run);
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit must show up as a write error with its reason, not
    // kill the program in the middle of a picture.
    std::signal(SIGXFSZ, SIG_IGN);

    zob::CommandLine line;
    try {
        line = zob::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const zob::UsageError& error) {
        const std::string who = error.command().empty() ? "zob" : "zob " + error.command();
        std::cerr << who << ": " << zob::terminalSafe(error.what()) << "\n\n"
                  << zob::commandUsage(error.command());
        return zob::usageStatus;
    }
    if (line.version) {
        std::cout << "zob " << zob::versionMajor << '.' << zob::versionMinor << '.'
                  << zob::versionRelease << '\n';
        return 0;
    }
    if (line.help) {
        std::cout << zob::commandUsage(line.command);
        return 0;
    }
    if (line.command.empty()) {
        std::cerr << zob::programUsage();
        return zob::usageStatus;
    }

    const std::filesystem::path iniPath(zob::iniFileName);
    try {
        const std::unique_ptr<zob::FolderLock> lock = lockLocalFolder(iniPath, line.options.wait);
        zob::TerminalPrompt prompt;
        return runCommand(zob::CommandRun{line, iniPath, prompt, std::cout});
    } catch (const zob::FolderLock::Busy& busy) {
        std::cerr << "zob: " << zob::terminalSafe(busy.what()) << '\n';
        return zob::folderBusyStatus;
    } catch (const std::exception& error) {
        std::cerr << "zob: " << zob::terminalSafe(error.what()) << '\n';
        return 1;
    }
}
