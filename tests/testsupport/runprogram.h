#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace zob {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

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
    run.out = readWholeFile(outFile);
    run.err = readWholeFile(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return run;
}

inline std::string zobProgram() {
    return std::string(ZOB_BINARY_DIR) + "/src/zob";
}

} // namespace zob
