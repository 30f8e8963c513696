#pragma once

#include "app/appcontext.h"
#include "app/archiveloader.h"
#include "app/startupsignin.h"
#include "cli/commandrun.h"

#include <filesystem>

namespace zob {

class TerminalPrompt;

// One run of a `zob` command: the program's context, its start-up (mode
// decision and sign-in test) and the loader's host, which on the command
// line has no window to clear and only records a close request.
class CliSession : public ArchiveLoaderHost {
public:
    // `--offline` among the run's options starts offline whatever the
    // settings say (they are not changed).
    explicit CliSession(const CommandRun& run);

    // The start-up's mode decision and sign-in test.
    StartupOutcome start();
    // Start-up and the member lists; false (and the exit status in `status`)
    // when either gave up.
    bool startWithMemberLists(int& status);
    // The series `name` as findSeriesNamed finds it, with the run's --month;
    // none after telling the user on stderr, with the exit status in `status`.
    SeriesPtr seriesNamed(const std::string& name, int& status);
    // Loads the favorites and the bad list as the browser does at start,
    // so status codes carry their marks. False when the loader asked to close.
    bool loadMemberLists();

    AppContext& context() { return context_; }
    bool closeRequested() const { return closeRequested_; }

    void closeMainWindow() override { closeRequested_ = true; }
    void setOfflineSearch(bool on) override { offlineSearch_ = on; }

private:
    const CommandRun& run_;
    TerminalPrompt& prompt_;
    AppContext context_;
    bool closeRequested_ = false;
    bool offlineSearch_ = false;
};

} // namespace zob
