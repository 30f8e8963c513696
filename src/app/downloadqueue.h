#pragma once

#include "catalogue/resolution.h"
#include "catalogue/seriesrec.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace zob {

enum class QueueState {
    waiting,
    running,
    done,   // every picture of the resolution on disk
    failed, // the jobs ended with pictures missing
};

const char* queueStateName(QueueState state);

struct QueuedDownload {
    std::string name;
    Resolution resolution = resLow;
    QueueState state = QueueState::waiting;
    // Why the last run did not finish; not kept across runs.
    std::string error;

    bool operator==(const QueuedDownload&) const = default;
};

// Series waiting to be downloaded, in order, and the ones done so far. Every
// change is written at once to its file, whole or not at all, so a closed
// window, a logout or a crash leaves the queue to be resumed at the next start.
class DownloadQueue {
public:
    // Where the queue of a local folder lives.
    static std::filesystem::path fileIn(const std::string& localFolder);

    explicit DownloadQueue(std::filesystem::path file);

    // Reads the file (none: an empty queue). A series that was running when
    // the file was written waits again. Throws std::runtime_error for a file
    // that cannot be read.
    void load();

    const std::vector<QueuedDownload>& entries() const { return entries_; }
    bool paused() const { return paused_; }
    // Waiting or running entries remain.
    bool unfinished() const;
    std::size_t count(QueueState state) const;

    // Appends every series not queued yet at `r` and not complete at `r`
    // (complete: all its pictures of r and its thumbnails on disk); returns
    // how many came in. Movies have no pictures to queue.
    std::size_t add(const std::vector<SeriesPtr>& series, Resolution r);
    void setPaused(bool paused);
    // Moves entry `from` to place `to` (both below entries().size()).
    void move(std::size_t from, std::size_t to);
    void remove(std::size_t index);
    void clear();
    // The waiting entries to start now so that at most `parallel` run, in
    // their order; they are marked running. None while paused.
    std::vector<std::size_t> startNext(std::size_t parallel);
    // The run of entry `index` ended: done when complete, else failed with
    // `error`.
    void finished(std::size_t index, bool complete, std::string error);
    // The run of entry `index` was stopped half-way: it waits again.
    void requeue(std::size_t index);
    // Entry of a series and resolution, or entries().size().
    std::size_t indexOf(const std::string& name, Resolution r) const;

private:
    void save() const;

    std::filesystem::path file_;
    std::vector<QueuedDownload> entries_;
    bool paused_ = false;
};

} // namespace zob
