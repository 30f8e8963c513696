#pragma once

#include "testsupport/filetesting.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace zob {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs `commandLine` in `folder` with no terminal (stdin from /dev/null),
// bounded by `seconds`, and collects its exit status and both outputs.
inline ProgramRun runInFolder(const std::filesystem::path& folder, const std::string& commandLine,
                              int seconds = 60) {
    const auto outFile = folder / ".run.out";
    const auto errFile = folder / ".run.err";
    const std::string shell = "cd '" + folder.string() + "' && timeout " + std::to_string(seconds) +
                              " " + commandLine + " </dev/null >'" + outFile.string() + "' 2>'" +
                              errFile.string() + "'";
    const int raw = std::system(shell.c_str());
    ProgramRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readBytes(outFile);
    run.err = readBytes(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return run;
}

inline std::string zobProgram() {
    return std::string(ZOB_BINARY_DIR) + "/src/zob";
}

} // namespace zob
