#include "site/fetchsink.h"

#include <limits>
#include <sys/types.h>
#include <unistd.h>

namespace zob {

bool MemorySink::append(std::string_view bytes) {
    target_.append(bytes);
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
    return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
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
    return std::fflush(file_) == 0 && ::ftruncate(::fileno(file_), offset) == 0 &&
           ::fseeko(file_, offset, SEEK_SET) == 0;
}

bool FileSink::flush() {
    return std::fflush(file_) == 0;
}

} // namespace zob
