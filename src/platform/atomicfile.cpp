#include "platform/atomicfile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace zob {
namespace {

[[noreturn]] void throwForFile(int error, const std::string& what,
                               const std::filesystem::path& target) {
    throw std::system_error(error, std::generic_category(), what + " \"" + target.string() + "\"");
}

// Owns the temporary file until it has been renamed onto the target: whatever goes
// wrong before that, the descriptor is closed and the half-written file unlinked.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        closeQuietly();
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }

    // Tries a few names next to `target`; O_EXCL makes a clash with another writer (or a
    // leftover from a crash) pick the next name instead of sharing a file.
    int create(const std::filesystem::path& target, mode_t mode) {
        static std::atomic<unsigned> counter{0};
        int lastError = EEXIST;
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::filesystem::path candidate = target;
            candidate +=
                ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
            const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd >= 0) {
                fd_ = fd;
                path_ = candidate;
                return 0;
            }
            lastError = errno;
            if (lastError != EEXIST) {
                break;
            }
        }
        return lastError;
    }

    int fd() const { return fd_; }
    const std::filesystem::path& path() const { return path_; }

    // close() can report a delayed write error (e.g. on network file systems), so its
    // result matters and must be checked before the rename.
    int close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

    // After a successful rename the temporary name no longer exists: nothing to clean.
    void release() { path_.clear(); }

private:
    void closeQuietly() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

    int fd_ = -1;
    std::filesystem::path path_;
};

int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// Makes the rename itself durable. Not every file system supports syncing a folder, and
// the data is already safe at this point, so a failure here is not reported.
void syncFolderQuietly(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         std::optional<std::filesystem::perms> mode, ModeRule rule) {
    std::optional<mode_t> exactMode;
    struct stat existing {};
    if (mode && rule == ModeRule::always) {
        exactMode = static_cast<mode_t>(*mode & std::filesystem::perms::mask);
    } else if (::stat(target.c_str(), &existing) == 0) {
        exactMode = existing.st_mode & 07777;
    } else if (errno != ENOENT) {
        throwForFile(errno, "cannot examine", target);
    } else if (mode) {
        exactMode = static_cast<mode_t>(*mode & std::filesystem::perms::mask);
    }

    TemporaryFile temporary;
    // Created no wider than the final mode, so the contents are never exposed to others
    // even for the moment before fchmod.
    if (const int error = temporary.create(target, exactMode.value_or(0666)); error != 0) {
        throwForFile(error, "cannot create a temporary file for", target);
    }
    if (exactMode && ::fchmod(temporary.fd(), *exactMode) != 0) {
        throwForFile(errno, "cannot set the permissions of", target);
    }
    if (const int error = writeAll(temporary.fd(), bytes); error != 0) {
        throwForFile(error, "cannot write", target);
    }
    if (::fsync(temporary.fd()) != 0) {
        throwForFile(errno, "cannot flush", target);
    }
    if (const int error = temporary.close(); error != 0) {
        throwForFile(error, "cannot write", target);
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        throwForFile(errno, "cannot replace", target);
    }
    temporary.release();

    const std::filesystem::path folder = target.parent_path();
    syncFolderQuietly(folder.empty() ? std::filesystem::path(".") : folder);
}

} // namespace zob
