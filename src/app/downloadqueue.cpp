#include "app/downloadqueue.h"

#include "download/seriesdownload.h"
#include "platform/atomicfile.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace zob {

namespace {

constexpr std::string_view heading = "# download queue: name,resolution,state";
constexpr std::string_view pausedKey = "paused=";

std::optional<QueueState> stateNamed(std::string_view name) {
    for (const QueueState state :
         {QueueState::waiting, QueueState::running, QueueState::done, QueueState::failed}) {
        if (name == queueStateName(state)) {
            return state;
        }
    }
    return std::nullopt;
}

// One line: the name (checked safe when it was parsed from its page, so it
// holds no comma), the resolution's number and the state.
std::optional<QueuedDownload> parseLine(const std::string& line) {
    const std::size_t first = line.find(',');
    const std::size_t second = first == std::string::npos ? first : line.find(',', first + 1);
    if (second == std::string::npos || first == 0) {
        return std::nullopt;
    }
    const std::string number = line.substr(first + 1, second - first - 1);
    const std::optional<Resolution> resolution =
        number.size() == 1 && number[0] >= '0' && number[0] <= '9'
            ? resolutionNumbered(number[0] - '0')
            : std::nullopt;
    const std::optional<QueueState> state = stateNamed(line.substr(second + 1));
    if (!resolution || !state) {
        return std::nullopt;
    }
    // A run cut short by the end of the program is taken up again.
    const QueueState kept = *state == QueueState::running ? QueueState::waiting : *state;
    return QueuedDownload{line.substr(0, first), *resolution, kept, {}};
}

} // namespace

const char* queueStateName(QueueState state) {
    switch (state) {
    case QueueState::waiting:
        return "waiting";
    case QueueState::running:
        return "running";
    case QueueState::done:
        return "done";
    case QueueState::failed:
        return "failed";
    }
    return "waiting";
}

std::filesystem::path DownloadQueue::fileIn(const std::string& localFolder) {
    return std::filesystem::path(localFolder) / "00index" / "queue.csv";
}

DownloadQueue::DownloadQueue(std::filesystem::path file) : file_(std::move(file)) {}

void DownloadQueue::load() {
    entries_.clear();
    paused_ = false;
    std::ifstream in(file_, std::ios::binary);
    if (!in) {
        if (std::filesystem::exists(file_)) {
            throw std::runtime_error("cannot read " + file_.string());
        }
        return;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line.rfind(pausedKey, 0) == 0) {
            paused_ = line.substr(pausedKey.size()) == "1";
        } else if (std::optional<QueuedDownload> entry = parseLine(line)) {
            entries_.push_back(std::move(*entry));
        }
    }
}

bool DownloadQueue::unfinished() const {
    return count(QueueState::waiting) + count(QueueState::running) > 0;
}

std::size_t DownloadQueue::count(QueueState state) const {
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(),
                      [state](const auto& entry) { return entry.state == state; }));
}

std::size_t DownloadQueue::indexOf(const std::string& name, Resolution r) const {
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const auto& entry) {
        return entry.name == name && entry.resolution == r;
    });
    return static_cast<std::size_t>(found - entries_.begin());
}

std::size_t DownloadQueue::add(const std::vector<SeriesPtr>& series, Resolution r) {
    std::size_t added = 0;
    for (const SeriesPtr& one : series) {
        if (!one || one->isMovie ||
            (resState(*one, r) == JobState::complete &&
             resState(*one, resThumb) == JobState::complete)) {
            continue;
        }
        const std::size_t at = indexOf(one->name, r);
        if (at < entries_.size()) {
            // Queued before and not complete now: it is taken up again.
            if (entries_[at].state != QueueState::running) {
                entries_[at].state = QueueState::waiting;
            }
            continue;
        }
        entries_.push_back({one->name, r, QueueState::waiting, {}});
        ++added;
    }
    save();
    return added;
}

void DownloadQueue::setPaused(bool paused) {
    paused_ = paused;
    save();
}

void DownloadQueue::move(std::size_t from, std::size_t to) {
    if (from >= entries_.size() || to >= entries_.size() || from == to) {
        return;
    }
    const auto first = entries_.begin();
    if (from < to) {
        std::rotate(first + static_cast<std::ptrdiff_t>(from),
                    first + static_cast<std::ptrdiff_t>(from) + 1,
                    first + static_cast<std::ptrdiff_t>(to) + 1);
    } else {
        std::rotate(first + static_cast<std::ptrdiff_t>(to),
                    first + static_cast<std::ptrdiff_t>(from),
                    first + static_cast<std::ptrdiff_t>(from) + 1);
    }
    save();
}

void DownloadQueue::remove(std::size_t index) {
    if (index < entries_.size()) {
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
        save();
    }
}

void DownloadQueue::clear() {
    entries_.clear();
    paused_ = false;
    save();
}

std::vector<std::size_t> DownloadQueue::startNext(std::size_t parallel) {
    std::vector<std::size_t> started;
    if (paused_) {
        return started;
    }
    std::size_t running = count(QueueState::running);
    for (std::size_t i = 0; i < entries_.size() && running < parallel; ++i) {
        if (entries_[i].state == QueueState::waiting) {
            entries_[i].state = QueueState::running;
            started.push_back(i);
            ++running;
        }
    }
    if (!started.empty()) {
        save();
    }
    return started;
}

void DownloadQueue::finished(std::size_t index, bool complete, std::string error) {
    if (index >= entries_.size()) {
        return;
    }
    entries_[index].state = complete ? QueueState::done : QueueState::failed;
    entries_[index].error = complete ? std::string() : std::move(error);
    save();
}

void DownloadQueue::requeue(std::size_t index) {
    if (index < entries_.size()) {
        entries_[index].state = QueueState::waiting;
        save();
    }
}

void DownloadQueue::save() const {
    std::ostringstream out;
    out << heading << '\n' << pausedKey << (paused_ ? 1 : 0) << '\n';
    for (const QueuedDownload& entry : entries_) {
        out << entry.name << ',' << zob::indexOf(entry.resolution) << ','
            << queueStateName(entry.state) << '\n';
    }
    std::filesystem::create_directories(file_.parent_path());
    writeFileAtomically(file_, out.str());
}

} // namespace zob
