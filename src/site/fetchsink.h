#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace zob {

// Where the body of a fetched answer goes. The caller owns the destination
// and whatever it held before; a fetch only appends at the current position,
// and on a retry cuts back to the mark it took at its start, so bytes written
// by a failed attempt never sit in front of the next answer.
class FetchSink {
public:
    using Mark = std::uint64_t;

    virtual ~FetchSink() = default;

    // Stores `bytes` after what is there; false when they could not be stored.
    virtual bool append(std::string_view bytes) = 0;
    // The current position, to come back to with truncateTo.
    virtual Mark mark() const = 0;
    // Drops everything after `position`; writing continues from there.
    virtual bool truncateTo(Mark position) = 0;
    // Pushes buffered bytes out, so a full disk shows up as a failed fetch
    // rather than later as a short file.
    virtual bool flush() { return true; }
};

// Appends to the end of a string the caller keeps.
class MemorySink : public FetchSink {
public:
    explicit MemorySink(std::string& target) : target_(target) {}

    bool append(std::string_view bytes) override;
    Mark mark() const override;
    bool truncateTo(Mark position) override;

private:
    std::string& target_;
};

// Writes at the current position of a file the caller opened for writing
// (and will close). The file must be seekable for truncateTo to work.
class FileSink : public FetchSink {
public:
    explicit FileSink(std::FILE* file) : file_(file) {}

    bool append(std::string_view bytes) override;
    Mark mark() const override;
    bool truncateTo(Mark position) override;
    bool flush() override;

private:
    std::FILE* file_;
};

} // namespace zob
