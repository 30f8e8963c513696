#include "platform/folderlock.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace zob {

namespace {

constexpr const char* lockFileName = ".lock";

// The owner writes its pid into the lock file, so the one that finds it
// taken can say who holds it. 0 when it cannot be read.
pid_t ownerOf(int fd) {
    char text[32] = {};
    const ssize_t read = ::pread(fd, text, sizeof text - 1, 0);
    if (read <= 0) {
        return 0;
    }
    try {
        return static_cast<pid_t>(std::stol(text));
    } catch (const std::exception&) {
        return 0;
    }
}

void writeOwner(int fd) {
    const std::string pid = std::to_string(::getpid()) + "\n";
    // Only informative: the lock itself is the flock.
    if (::ftruncate(fd, 0) == 0) {
        static_cast<void>(::pwrite(fd, pid.data(), pid.size(), 0));
    }
}

} // namespace

FolderLock::Busy::Busy(const std::filesystem::path& folder, pid_t owner)
    : std::runtime_error(folderInUseText(folder, owner)), owner_(owner) {}

std::string folderInUseText(const std::filesystem::path& localFolder, pid_t owner) {
    std::string text = localFolder.string() + " is in use by another Zel-Ora program";
    if (owner > 0) {
        text += " (pid " + std::to_string(owner) + ")";
    }
    return text;
}

FolderLock::FolderLock(const std::filesystem::path& indexFolder, bool wait) {
    std::error_code error;
    std::filesystem::create_directories(indexFolder, error);
    const std::filesystem::path file = indexFolder / lockFileName;
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        throw std::system_error(errno, std::generic_category(),
                                "cannot open the lock file \"" + file.string() + "\"");
    }
    int locked = 0;
    while ((locked = ::flock(fd_, LOCK_EX | (wait ? 0 : LOCK_NB))) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
        const int lockError = errno;
        const pid_t owner = ownerOf(fd_);
        ::close(fd_);
        fd_ = -1;
        if (lockError == EWOULDBLOCK) {
            throw Busy(indexFolder.parent_path(), owner);
        }
        throw std::system_error(lockError, std::generic_category(),
                                "cannot lock \"" + file.string() + "\"");
    }
    writeOwner(fd_);
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) {
        ::close(fd_); // closing the last descriptor releases the lock
    }
}

} // namespace zob
