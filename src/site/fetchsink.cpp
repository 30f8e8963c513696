#include "site/fetchsink.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <sys/types.h>
#include <unistd.h>

namespace zob {

std::string sizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kib = 1024;
    if (bytes >= kib * kib * kib && bytes % (kib * kib * kib) == 0) {
        return std::to_string(bytes / (kib * kib * kib)) + " GiB";
    }
    if (bytes >= kib * kib && bytes % (kib * kib) == 0) {
        return std::to_string(bytes / (kib * kib)) + " MiB";
    }
    if (bytes >= kib && bytes % kib == 0) {
        return std::to_string(bytes / kib) + " KiB";
    }
    return std::to_string(bytes) + " bytes";
}

bool FetchSink::refuseLocal(int systemError) {
    failure_ = {SinkFailure::Kind::localError, systemError, std::strerror(systemError)};
    return false;
}

std::string FetchSink::tooLargeText() const {
    return what_ + " larger than " + sizeText(sizeLimit_);
}

bool FetchSink::refuseTooLarge() {
    failure_ = {SinkFailure::Kind::tooLarge, 0, tooLargeText()};
    return false;
}

bool FetchSink::refuseOutOfMemory() {
    failure_ = {SinkFailure::Kind::outOfMemory, ENOMEM, "out of memory"};
    return false;
}

bool MemorySink::append(std::string_view bytes) {
    if (target_.size() + bytes.size() > sizeLimit()) {
        return refuseTooLarge();
    }
    try {
        target_.append(bytes);
    } catch (const std::bad_alloc&) {
        return refuseOutOfMemory();
    } catch (const std::length_error&) {
        return refuseOutOfMemory();
    }
    return true;
}

FetchSink::Mark MemorySink::mark() const {
    return target_.size();
}

bool MemorySink::truncateTo(Mark position) {
    if (position > target_.size()) {
        return false;
    }
    target_.resize(static_cast<std::size_t>(position));
    return true;
}

bool FileSink::append(std::string_view bytes) {
    const Mark position = mark();
    if (position != std::numeric_limits<Mark>::max() && position + bytes.size() > sizeLimit()) {
        return refuseTooLarge();
    }
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size()) {
        return true;
    }
    return refuseLocal(errno != 0 ? errno : EIO);
}

FetchSink::Mark FileSink::mark() const {
    const off_t position = ::ftello(file_);
    // An unseekable file gets a mark no truncation can reach, so a retry
    // reports a write error instead of silently mixing two answers.
    return position < 0 ? std::numeric_limits<Mark>::max() : static_cast<Mark>(position);
}

bool FileSink::truncateTo(Mark position) {
    if (position > static_cast<Mark>(std::numeric_limits<off_t>::max())) {
        return false;
    }
    const auto offset = static_cast<off_t>(position);
    if (std::fflush(file_) == 0 && ::ftruncate(::fileno(file_), offset) == 0 &&
        ::fseeko(file_, offset, SEEK_SET) == 0) {
        return true;
    }
    return refuseLocal(errno != 0 ? errno : EIO);
}

bool FileSink::flush() {
    errno = 0;
    if (std::fflush(file_) == 0) {
        return true;
    }
    return refuseLocal(errno != 0 ? errno : EIO);
}

} // namespace zob
