#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace zob {

// The developer's trace. Off until `switchOn`; then every thread may write to
// it through `dbgLog`. Appended lines scroll; in-place lines replace the
// latest line of the same thread with the same first ten text characters, so
// a progress line does not flood the log.
class DebugLog {
public:
    // How many of the newest lines an in-place line may replace.
    static constexpr std::size_t inPlaceWindow = 20;

    // Starts keeping lines; there is no way back for the rest of the run.
    void switchOn();
    bool isOn() const;

    // threadId 0 means the calling thread.
    void dbgLog(const std::string& text, bool append, std::uint32_t threadId = 0);

    std::vector<std::string> lines() const;

    // Replaces `path` with all lines, one per line. Nothing is written, and
    // false returned, while the log is off.
    bool saveTo(const std::filesystem::path& path) const;

    // Called after every change, outside the lock, on the writing thread. The
    // window uses it to refresh its view of the lines.
    void setChangeListener(std::function<void()> listener);

private:
    mutable std::mutex mutex_;
    bool on_ = false;
    std::vector<std::string> lines_;
    std::function<void()> listener_;
};

} // namespace zob
