#include "platform/debuglog.h"

#include "platform/atomicfile.h"
#include "platform/threadinfo.h"

#include <cstdio>

namespace zob {

namespace {

// Key of an in-place line: its id column, the blank and ten characters of text.
constexpr std::size_t inPlaceKeyLength = 16;

std::string formatLine(const char* format, std::uint32_t id, const std::string& text) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, format, static_cast<int>(id));
    return prefix + text;
}

} // namespace

void DebugLog::switchOn() {
    const std::lock_guard lock(mutex_);
    on_ = true;
}

bool DebugLog::isOn() const {
    const std::lock_guard lock(mutex_);
    return on_;
}

void DebugLog::dbgLog(const std::string& text, bool append, std::uint32_t threadId) {
    std::function<void()> listener;
    {
        const std::lock_guard lock(mutex_);
        // Off is the usual case, and every worker step writes here: return
        // before asking the system who is calling.
        if (!on_) {
            return;
        }
        const std::uint32_t id = threadId != 0 ? threadId : currentThreadId();
        if (append) {
            lines_.push_back(formatLine("*%4d ", id, text));
        } else {
            std::string line = formatLine("%5d ", id, text);
            const std::string_view key = std::string_view(line).substr(0, inPlaceKeyLength);
            const std::size_t first =
                lines_.size() > inPlaceWindow ? lines_.size() - inPlaceWindow : 0;
            bool replaced = false;
            for (std::size_t i = first; i < lines_.size(); ++i) {
                if (std::string_view(lines_[i]).substr(0, inPlaceKeyLength) == key) {
                    lines_[i] = std::move(line);
                    replaced = true;
                    break;
                }
            }
            if (!replaced) {
                lines_.push_back(std::move(line));
            }
        }
        listener = listener_;
    }
    if (listener) {
        listener();
    }
}

std::vector<std::string> DebugLog::lines() const {
    const std::lock_guard lock(mutex_);
    return lines_;
}

bool DebugLog::saveTo(const std::filesystem::path& path) const {
    std::string bytes;
    {
        const std::lock_guard lock(mutex_);
        if (!on_) {
            return false;
        }
        for (const std::string& line : lines_) {
            bytes += line;
            bytes += '\n';
        }
    }
    writeFileAtomically(path, bytes);
    return true;
}

void DebugLog::setChangeListener(std::function<void()> listener) {
    const std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
}

} // namespace zob
