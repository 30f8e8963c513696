#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace zob {

// Why a destination refused bytes. A full disk and a site that sends more
// than any page or picture can hold call for different reactions, so they
// are told apart here, where the refusal happens.
struct SinkFailure {
    enum class Kind {
        none,
        localError,  // the system refused the bytes; `systemError` says why
        tooLarge,    // the answer passed the destination's size limit
        outOfMemory, // no memory to hold the bytes
    };
    Kind kind = Kind::none;
    int systemError = 0;
    // For the user: "No space left on device", "page larger than 64 MiB".
    std::string text;
};

// Where the body of a fetched answer goes. The caller owns the destination
// and whatever it held before; a fetch only appends at the current position,
// and on a retry cuts back to the mark it took at its start, so bytes written
// by a failed attempt never sit in front of the next answer.
class FetchSink {
public:
    using Mark = std::uint64_t;

    virtual ~FetchSink() = default;

    // Stores `bytes` after what is there; false (and `failure` says why) when
    // they could not be stored.
    virtual bool append(std::string_view bytes) = 0;
    // The current position, to come back to with truncateTo.
    virtual Mark mark() const = 0;
    // Drops everything after `position`; writing continues from there.
    virtual bool truncateTo(Mark position) = 0;
    // Pushes buffered bytes out, so a full disk shows up as a failed fetch
    // rather than later as a short file.
    virtual bool flush() { return true; }
    // Where the answer's body begins, for a destination that keeps the bytes
    // of a broken transfer so the next attempt asks only for the rest;
    // nothing for one that starts over (the default).
    virtual std::optional<Mark> resumeOrigin() const { return std::nullopt; }

    // The most the destination takes; a larger answer fails as tooLarge.
    std::uint64_t sizeLimit() const { return sizeLimit_; }
    // "page larger than 64 MiB": what the user reads of a larger answer.
    std::string tooLargeText() const;
    // Why the last refused append or flush failed.
    const SinkFailure& failure() const { return failure_; }

protected:
    FetchSink(std::uint64_t sizeLimit, std::string_view what)
        : sizeLimit_(sizeLimit), what_(what) {}

    bool refuseLocal(int systemError);
    bool refuseTooLarge();
    bool refuseOutOfMemory();

private:
    std::uint64_t sizeLimit_;
    std::string what_;
    SinkFailure failure_;
};

// A page is text a person could read; nothing the site serves as a page comes
// near this, while an endless answer would otherwise eat the memory.
inline constexpr std::uint64_t pageSizeLimit = std::uint64_t{64} << 20;
// Far above any picture the site has, and below what fills a disk by surprise.
inline constexpr std::uint64_t fileSizeLimit = std::uint64_t{1} << 30;

// Appends to the end of a string the caller keeps.
class MemorySink : public FetchSink {
public:
    explicit MemorySink(std::string& target, std::uint64_t sizeLimit = pageSizeLimit)
        : FetchSink(sizeLimit, "page"), target_(target) {}

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
    explicit FileSink(std::FILE* file, std::uint64_t sizeLimit = fileSizeLimit)
        : FetchSink(sizeLimit, "file"), file_(file) {}

    bool append(std::string_view bytes) override;
    Mark mark() const override;
    bool truncateTo(Mark position) override;
    bool flush() override;

private:
    std::FILE* file_;
};

// "64 MiB", "1 GiB", "1500 bytes": a limit as the user reads it.
std::string sizeText(std::uint64_t bytes);

} // namespace zob
