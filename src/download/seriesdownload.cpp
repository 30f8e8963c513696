#include "download/seriesdownload.h"

#include "catalogue/artlist.h"
#include "download/downloadenv.h"
#include "download/downloadfile.h"
#include "download/imagegetthread.h"
#include "download/logogetthread.h"
#include "download/threadmanager.h"
#include "download/windowmessenger.h"
#include "download/workerfetch.h"
#include "platform/userprompt.h"
#include "site/fetch.h"

#include <filesystem>
#include <system_error>

namespace zob {

namespace {

constexpr std::string_view tooManySessions = "Too many download sessions.\r\nPlease wait to start";

// One manager with one picture worker for `r`, its messages filled in;
// nullptr (after telling the user) when too many downloads run.
std::shared_ptr<threadManagerNg> makePictureJob(const SeriesPtr& series, Resolution r,
                                                WindowMessenger& window, bool offline,
                                                const DownloadEnv& env) {
    auto manager = threadManagerNg::create(
        env.managers, 1, [&] { return std::make_unique<ImageGetThread>(series, r, offline, env); });
    if (!manager) {
        env.prompt.showMessage("", std::string(tooManySessions));
        return nullptr;
    }
    manager->window = &window;
    manager->doneMessage = r == resThumb ? WM_loadedThumbAll : WM_loadedLargeAll;
    manager->doneWParam = series;
    manager->doneLParam = manager;
    return manager;
}

// Fetches one cover on the calling thread, telling the user when it could
// not be used or stored (the fetch itself tells of a failed transfer).
FileFetchKind fetchCover(const std::string& address, const std::string& localFile,
                         const FetchEnv& env) {
    const FileFetch fetched = fetchFile(env, address, localFile, false, nullptr);
    if (fetched.kind != FileFetchKind::stored && fetched.kind != FileFetchKind::notFound &&
        fetched.result == fetchOk) {
        env.prompt.showMessage("", fileErrorText(fetched, localFile));
    }
    return fetched.kind;
}

} // namespace

void startDownload(SeriesRec& series, Resolution r, WindowMessenger& window, bool offline,
                   const DownloadEnv& env) {
    const SeriesPtr self = series.shared_from_this();
    if (series.thumbJob) {
        // The running job will not announce what it already handled: replay it.
        for (std::int32_t n = 1; hasContent(series.localPictureFile(resThumb, n)); ++n) {
            window.send(WindowMessage::loadedThumb(self, n));
        }
    } else {
        auto manager = makePictureJob(self, resThumb, window, offline, env);
        if (!manager) {
            return;
        }
        removeStaleParts(series.localResolutionFolder(resThumb));
        series.thumbJob = manager;
        if (!hasResolution(series.loadedRes, resThumb)) {
            series.partialRes |= withResolution(0, resThumb);
        }
        manager->start(series.photoCount);
    }

    if (r == resThumb || series.pictureJob) {
        return;
    }
    auto manager = makePictureJob(self, r, window, offline, env);
    if (!manager) {
        return;
    }
    removeStaleParts(series.localResolutionFolder(r));
    series.pictureJob = manager;
    if (!hasResolution(series.loadedRes, r)) {
        series.partialRes |= withResolution(0, r);
    }
    manager->start(series.photoCount);
}

void fetchLogos(SeriesRec& series, bool small, bool large, const FetchEnv& env) {
    makeParentFolder(series.localLogoFile(true));
    removeStaleParts(series.localLogoFolder());
    const bool archived = series.inArchive;
    if (small && !hasContent(series.localLogoFile(true, archived)) &&
        fetchCover(series.coverUrl(archived), series.localLogoFile(true, archived), env) ==
            FileFetchKind::notFound &&
        !archived && !series.isMovie) {
        // Asked under the archive address first; the series is switched
        // only when the archive has the cover.
        if (fetchCover(series.coverUrl(true), series.localLogoFile(true, true), env) ==
            FileFetchKind::stored) {
            series.setInArchive(true);
        }
    }
    if (large && !hasContent(series.localLogoFile(false))) {
        fetchCover(series.logoUrl(), series.localLogoFile(false), env);
    }
}

JobState resState(const SeriesRec& series, Resolution r) {
    if (hasResolution(series.loadedRes, r)) {
        return JobState::complete;
    }
    if (!hasResolution(series.partialRes, r)) {
        return JobState::none;
    }
    const std::shared_ptr<threadManagerNg>& job =
        r == resThumb ? series.thumbJob : series.pictureJob;
    if (job && job->workerCount() > 0) {
        const auto* worker = dynamic_cast<const ImageGetThread*>(&job->worker(0));
        if (worker != nullptr && worker->resolution == r) {
            return job->counters().stopRequested ? JobState::stopping : JobState::downloading;
        }
    }
    return JobState::stopped;
}

void startLogoDownload(ArtList& list, WindowMessenger& window, bool offline,
                       const DownloadEnv& env) {
    if (list.empty()) {
        window.send(WindowMessage::loadedLogo(0, false));
        return;
    }
    auto manager = threadManagerNg::create(env.managers, 1, [&] {
        return std::make_unique<LogoGetThread>(list.weak_from_this(), offline, env);
    });
    if (!manager) {
        env.prompt.showMessage("", std::string(tooManySessions));
        return;
    }
    list.logoJob = manager;
    manager->window = &window;
    manager->doneWParam = nullptr;
    manager->doneLParam = manager;
    manager->start(static_cast<std::int32_t>(2 * list.size()));
}

} // namespace zob
