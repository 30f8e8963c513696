#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/types.h>

namespace zob {

// Two programs writing one local folder would store each other's pictures
// under the wrong names and overwrite each other's catalogue, so one program
// at a time owns it: an exclusive advisory lock (flock) on a file in its
// index folder, held for the program's lifetime. The kernel releases it when
// the process ends, however it ends, so a dead owner never blocks anyone.
class FolderLock {
public:
    // Another program holds the lock.
    class Busy : public std::runtime_error {
    public:
        Busy(const std::filesystem::path& folder, pid_t owner);
        pid_t owner() const { return owner_; }

    private:
        pid_t owner_;
    };

    // Locks `indexFolder` (made when missing). Without `wait` a lock held by
    // another program throws Busy; with it, the call waits for the lock.
    // Throws std::system_error when the lock file cannot be made.
    FolderLock(const std::filesystem::path& indexFolder, bool wait);
    ~FolderLock();

    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

// The words a user reads when the folder is taken: "LOCAL is in use by
// another Zel-Ora program (pid N)".
std::string folderInUseText(const std::filesystem::path& localFolder, pid_t owner);

// The exit status of a program that found its folder taken (EX_TEMPFAIL).
inline constexpr int folderBusyStatus = 75;

} // namespace zob
