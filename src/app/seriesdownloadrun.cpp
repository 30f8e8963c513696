#include "app/seriesdownloadrun.h"

#include "app/appcontext.h"
#include "download/seriesdownload.h"
#include "download/threadmanager.h"
#include "download/windowmessages.h"

namespace zob {

SeriesDownloadRun::SeriesDownloadRun(AppContext& context, SeriesPtr series, Resolution r)
    : context_(context), series_(std::move(series)), resolution_(r) {}

void SeriesDownloadRun::fetchCovers() {
    if (!context_.offlineMode) {
        fetchLogos(*series_, true, true, context_.fetchEnv());
    }
}

void SeriesDownloadRun::startJobs(WindowMessenger& window) {
    startDownload(*series_, resolution_, window, context_.offlineMode, context_.downloadEnv());
    for (const auto& job : {series_->thumbJob, series_->pictureJob}) {
        if (job) {
            jobs_.push_back(job);
        }
    }
}

void SeriesDownloadRun::handle(const WindowMessage& message) {
    if (message.series != series_) {
        return;
    }
    switch (message.id) {
    case WM_loadedThumbAll:
        thumbnailJobEnded(*series_);
        break;
    case WM_loadedLargeAll:
        pictureJobEnded(*series_, context_.prompt);
        break;
    case WM_updateSpec:
        seriesSpecUpdated(*series_, context_.loadedArchives, context_.debugLog);
        break;
    case WM_freeThreadMngrNg:
        managerFreed(message, context_.managerRegistry, joins_);
        break;
    default:
        break;
    }
}

void SeriesDownloadRun::stop() {
    for (const auto& job : jobs_) {
        job->stopJob();
    }
}

std::int32_t SeriesDownloadRun::missing() const {
    if (series_->isMovie) {
        return 0;
    }
    return series_->missingPictures(resThumb) +
           (resolution_ == resThumb ? 0 : series_->missingPictures(resolution_));
}

} // namespace zob
