#pragma once

#include "app/downloadqueue.h"
#include "app/seriesdownloadrun.h"

#include <functional>
#include <memory>
#include <vector>

namespace zob {

class AppContext;
class WindowMessenger;
struct WindowMessage;

// The download queue at work for a front end without the browser's views:
// up to `parallel` series at once, each downloaded as the browser opens it,
// the next waiting one started as soon as one ends.
class QueueRun {
public:
    // The series of a queue entry; null when it cannot be found.
    using Finder = std::function<SeriesPtr(const QueuedDownload&)>;

    QueueRun(AppContext& context, DownloadQueue& queue, Finder find, std::size_t parallel);

    // Starts waiting entries while there is room: covers on the calling
    // thread, then the jobs, reporting to `window`. An entry whose series
    // cannot be found fails at once.
    void startWaiting(WindowMessenger& window);
    void handle(const WindowMessage& message);
    // Joins what ended and records the series whose jobs both ended in the
    // queue; returns those runs, for the front end to report.
    std::vector<std::unique_ptr<SeriesDownloadRun>> collectEnded();
    // Nothing runs.
    bool idle() const { return running_.empty(); }
    // The running series stop after the pictures in hand and wait again in
    // the queue: a later run takes them up.
    void stop();
    const std::vector<std::unique_ptr<SeriesDownloadRun>>& running() const { return running_; }

private:
    AppContext& context_;
    DownloadQueue& queue_;
    Finder find_;
    std::size_t parallel_;
    bool stopping_ = false;
    std::vector<std::unique_ptr<SeriesDownloadRun>> running_;
};

} // namespace zob
