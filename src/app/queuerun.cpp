#include "app/queuerun.h"

#include "download/windowmessages.h"

#include <algorithm>

namespace zob {

QueueRun::QueueRun(AppContext& context, DownloadQueue& queue, Finder find, std::size_t parallel)
    : context_(context), queue_(queue), find_(std::move(find)),
      parallel_(std::max<std::size_t>(1, parallel)) {}

void QueueRun::startWaiting(WindowMessenger& window) {
    while (!stopping_) {
        const std::vector<std::size_t> next = queue_.startNext(parallel_);
        if (next.empty()) {
            return;
        }
        for (const std::size_t index : next) {
            const QueuedDownload entry = queue_.entries()[index];
            const SeriesPtr series = find_(entry);
            if (!series) {
                queue_.finished(index, false, "the series was not found");
                continue;
            }
            auto run = std::make_unique<SeriesDownloadRun>(context_, series, entry.resolution);
            run->fetchCovers();
            run->startJobs(window);
            running_.push_back(std::move(run));
        }
    }
}

void QueueRun::handle(const WindowMessage& message) {
    for (const auto& run : running_) {
        run->handle(message);
    }
}

std::vector<std::unique_ptr<SeriesDownloadRun>> QueueRun::collectEnded() {
    std::vector<std::unique_ptr<SeriesDownloadRun>> ended;
    for (auto run = running_.begin(); run != running_.end();) {
        (*run)->joinEnded();
        if (!(*run)->ended()) {
            ++run;
            continue;
        }
        const std::size_t index = queue_.indexOf((*run)->series()->name, (*run)->resolution());
        const std::int32_t missing = (*run)->missing();
        if (stopping_ && missing > 0) {
            queue_.requeue(index);
        } else {
            queue_.finished(index, missing == 0, std::to_string(missing) + " pictures missing");
        }
        ended.push_back(std::move(*run));
        run = running_.erase(run);
    }
    return ended;
}

void QueueRun::stop() {
    stopping_ = true;
    for (const auto& run : running_) {
        run->stop();
    }
}

} // namespace zob
