#include "download/downloadfile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace zob {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view partSuffix = ".part";

// ".NAME.PID-N.part": the pid tells a leftover of another run from a file a
// worker of this one is filling.
std::string partPrefix(const fs::path& finalPath) {
    return "." + finalPath.filename().string() + ".";
}

bool isPartOfOtherProcess(std::string_view name) {
    if (name.size() <= partSuffix.size() || name.front() != '.' ||
        name.substr(name.size() - partSuffix.size()) != partSuffix) {
        return false;
    }
    name.remove_suffix(partSuffix.size());
    const std::size_t dash = name.rfind('-');
    const std::size_t dot = name.rfind('.', dash);
    if (dash == std::string_view::npos || dot == std::string_view::npos || dot + 1 >= dash) {
        return false;
    }
    const std::string_view pid = name.substr(dot + 1, dash - dot - 1);
    if (pid.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    return pid != std::to_string(::getpid());
}

// ".NAME.part": the one partial file of NAME that a later run may continue.
std::string keptName(const fs::path& finalPath) {
    return (finalPath.parent_path() / (partPrefix(finalPath) + std::string("part"))).string();
}

// A kept partial file of a picture that is complete by now is of no use.
bool isKeptPartOfCompleteFile(const fs::path& path) {
    const std::string name = path.filename().string();
    if (name.size() <= 1 + partSuffix.size() || name.front() != '.' ||
        !name.ends_with(partSuffix)) {
        return false;
    }
    const std::string finalName = name.substr(1, name.size() - 1 - partSuffix.size());
    return hasContent((path.parent_path() / finalName).string());
}

} // namespace

bool hasContent(const std::string& path) {
    struct stat status {};
    return !path.empty() && ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           status.st_size > 0;
}

int makeParentFolder(const std::string& filePath) {
    const fs::path folder = fs::path(filePath).parent_path();
    std::error_code error;
    if (!folder.empty()) {
        fs::create_directories(folder, error);
    }
    return error.value();
}

void removeStaleParts(const std::string& folder) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (isPartOfOtherProcess(it->path().filename().string()) ||
            isKeptPartOfCompleteFile(it->path())) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

DownloadFile::DownloadFile(std::string finalPath, bool resumable)
    : FetchSink(fileSizeLimit, "file"), finalPath_(std::move(finalPath)), resumable_(resumable) {
    if (resumable_) {
        adoptKeptFile();
    }
}

void DownloadFile::adoptKeptFile() {
    std::string name = keptName(finalPath_);
    const int fd = ::open(name.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    // Locked: another worker is filling it right now.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return;
    }
    if (take(fd, std::move(name)) == 0) {
        holdsSharedName_ = true;
        if (::fseeko(file_.get(), 0, SEEK_END) != 0) {
            discard();
        }
    }
}

int DownloadFile::take(int fd, std::string path) {
    file_.reset(::fdopen(fd, "r+b"));
    if (!file_) {
        const int error = errno;
        ::close(fd);
        ::unlink(path.c_str());
        return error;
    }
    path_ = std::move(path);
    sink_ = std::make_unique<FileSink>(file_.get(), sizeLimit());
    return 0;
}

int DownloadFile::openShared(const fs::path& target) {
    std::string name = keptName(target);
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return errno;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd); // someone adopted it between the create and the lock: theirs now
        return EEXIST;
    }
    const int error = take(fd, std::move(name));
    holdsSharedName_ = error == 0;
    return error;
}

int DownloadFile::openUnique(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    std::string candidate = (target.parent_path() / partPrefix(target)).string() +
                            std::to_string(::getpid()) + "-" +
                            std::to_string(counter.fetch_add(1)) + std::string(partSuffix);
    // O_EXCL: a name some other writer holds makes us take the next one
    // rather than share the file.
    const int fd = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return fd < 0 ? errno : take(fd, std::move(candidate));
}

int DownloadFile::open() {
    const fs::path target(finalPath_);
    int error = EEXIST;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // ENOENT, here or from the open: the series' other job removed a
        // folder it had made for a transfer that broke, just as we found it.
        error = makeFolders(target.parent_path());
        if (error == ENOENT) {
            continue;
        }
        if (error != 0) {
            return error;
        }
        error = resumable_ ? openShared(target) : EEXIST;
        if (error == EEXIST) {
            error = openUnique(target);
        }
        if (error != EEXIST && error != ENOENT) {
            return error;
        }
    }
    return error;
}

std::optional<FetchSink::Mark> DownloadFile::resumeOrigin() const {
    return resumable_ ? std::optional<Mark>(0) : std::nullopt;
}

void DownloadFile::keep() {
    if (!holdsSharedName_ || !file_ || mark() == 0) {
        discard();
        return;
    }
    sink_.reset();
    std::fclose(file_.release()); // also drops the lock
    path_.clear();
    madeFolders_.clear();
    holdsSharedName_ = false;
}

bool DownloadFile::append(std::string_view bytes) {
    if (!sink_) {
        if (const int error = open(); error != 0) {
            return refuseLocal(error);
        }
    }
    if (sink_->append(bytes)) {
        return true;
    }
    const SinkFailure& failure = sink_->failure();
    if (failure.kind == SinkFailure::Kind::tooLarge) {
        return refuseTooLarge();
    }
    return refuseLocal(failure.systemError != 0 ? failure.systemError : EIO);
}

FetchSink::Mark DownloadFile::mark() const {
    return sink_ ? sink_->mark() : 0;
}

bool DownloadFile::truncateTo(Mark position) {
    if (!sink_) {
        return position == 0;
    }
    return sink_->truncateTo(position) ||
           refuseLocal(sink_->failure().systemError != 0 ? sink_->failure().systemError : EIO);
}

bool DownloadFile::flush() {
    return !sink_ || sink_->flush() ||
           refuseLocal(sink_->failure().systemError != 0 ? sink_->failure().systemError : EIO);
}

DownloadFile::~DownloadFile() {
    discard();
}

bool DownloadFile::startsLikeJpeg() const {
    if (!file_ || std::fflush(file_.get()) != 0) {
        return false;
    }
    unsigned char head[3] = {};
    const ssize_t read = ::pread(::fileno(file_.get()), head, sizeof head, 0);
    return read == 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
}

int DownloadFile::commit() {
    if (!file_) {
        return ENODATA;
    }
    sink_.reset();
    // No fsync: a picture can always be fetched again, and a sync per
    // picture would cost more than the transfer on a fast link. A full disk
    // still shows here, in the flush and the close.
    errno = 0;
    int error = std::fflush(file_.get()) == 0 ? 0 : (errno != 0 ? errno : EIO);
    errno = 0;
    if (std::fclose(file_.release()) != 0 && error == 0) {
        error = errno != 0 ? errno : EIO;
    }
    if (error == 0 && ::rename(path_.c_str(), finalPath_.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        discard();
        return error;
    }
    sink_.reset();
    path_.clear();
    madeFolders_.clear();
    holdsSharedName_ = false;
    return 0;
}

void DownloadFile::discard() {
    sink_.reset();
    holdsSharedName_ = false;
    if (file_) {
        std::fclose(file_.release());
    }
    if (!path_.empty()) {
        ::unlink(path_.c_str());
        path_.clear();
        for (const std::string& folder : madeFolders_) {
            if (::rmdir(folder.c_str()) != 0) {
                break; // something else lives there now
            }
        }
    }
    madeFolders_.clear();
}

int DownloadFile::makeFolders(const fs::path& folder) {
    std::vector<std::string> missing;
    std::error_code error;
    for (fs::path at = folder; !at.empty() && !fs::exists(at, error); at = at.parent_path()) {
        missing.push_back(at.string());
        if (at == at.parent_path()) {
            break;
        }
    }
    if (missing.empty()) {
        return 0;
    }
    fs::create_directories(folder, error);
    if (error) {
        return error.value();
    }
    madeFolders_.insert(madeFolders_.end(), missing.begin(), missing.end());
    return 0;
}

} // namespace zob
