// The download operations of a series and of a list: they start the jobs of
// the download engine and fetch covers on the calling thread.

#include "catalogue/artlist.h"
#include "catalogue/seriesrec.h"
#include "download/downloadenv.h"
#include "download/downloadfile.h"
#include "download/imagegetthread.h"
#include "download/logogetthread.h"
#include "download/threadmanager.h"
#include "download/windowmessenger.h"
#include "download/workerfetch.h"
#include "shell/userprompt.h"
#include "site/fetch.h"

#include <filesystem>
#include <system_error>

namespace zob {

namespace {

constexpr std::string_view tooManySessions = "Too many download sessions.\r\nPlease wait to start";

// One manager with one picture worker for `r`, its messages filled in;
// nullptr (after telling the user) when too many downloads run.
std::shared_ptr<threadManagerNg> makePictureJob(const SeriesPtr& series, int r,
                                                WindowMessenger& window, bool offline,
                                                const DownloadEnv& env) {
    auto manager = threadManagerNg::create(env.managers, 1, [&] {
        return std::make_unique<ImageGetThread>(series, static_cast<std::uint8_t>(r), offline, env);
    });
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

void SeriesRec::startDownload(int r, WindowMessenger& window, bool offline,
                              const DownloadEnv& env) {
    const SeriesPtr self = shared_from_this();
    if (thumbJob) {
        // The running job will not announce what it already handled: replay it.
        for (std::int32_t n = 1; hasContent(localPictureFile(resThumb, n)); ++n) {
            window.send(WindowMessage::loadedThumb(self, n));
        }
    } else {
        auto manager = makePictureJob(self, resThumb, window, offline, env);
        if (!manager) {
            return;
        }
        removeStaleParts(localResolutionFolder(resThumb));
        thumbJob = manager;
        if (!hasResolution(loadedRes, resThumb)) {
            partialRes |= withResolution(0, resThumb);
        }
        manager->start(photoCount);
    }

    if (r == resThumb || pictureJob) {
        return;
    }
    auto manager = makePictureJob(self, r, window, offline, env);
    if (!manager) {
        return;
    }
    removeStaleParts(localResolutionFolder(r));
    pictureJob = manager;
    if (!hasResolution(loadedRes, r)) {
        partialRes |= withResolution(0, r);
    }
    manager->start(photoCount);
}

void SeriesRec::fetchLogos(bool small, bool large, const FetchEnv& env) {
    makeParentFolder(localLogoFile(true));
    removeStaleParts(localLogoFolder());
    const bool archived = inArchive;
    if (small && !hasContent(localLogoFile(true, archived)) &&
        fetchCover(coverUrl(archived), localLogoFile(true, archived), env) ==
            FileFetchKind::notFound &&
        !archived && !isMovie) {
        // Asked under the archive address first; the series is switched
        // only when the archive has the cover.
        if (fetchCover(coverUrl(true), localLogoFile(true, true), env) == FileFetchKind::stored) {
            setInArchive(true);
        }
    }
    if (large && !hasContent(localLogoFile(false))) {
        fetchCover(logoUrl(), localLogoFile(false), env);
    }
}

void SeriesRec::deletePictures(int r) {
    const std::int32_t count = photoCount;
    for (std::int32_t n = 0; n <= count; ++n) {
        std::error_code ignored;
        std::filesystem::remove(localPictureFile(r, n), ignored);
    }
    loadedCount[static_cast<std::size_t>(r)] = 0;
}

int SeriesRec::resState(int r) const {
    if (hasResolution(loadedRes, r)) {
        return 4;
    }
    if (!hasResolution(partialRes, r)) {
        return 0;
    }
    const std::shared_ptr<threadManagerNg>& job = r == resThumb ? thumbJob : pictureJob;
    if (job && job->workerCount() > 0) {
        const auto* worker = dynamic_cast<const ImageGetThread*>(&job->worker(0));
        if (worker != nullptr && worker->resolution == r) {
            return job->counters().stopRequested ? 3 : 1;
        }
    }
    return 2;
}

void SeriesRec::detachJobs(JobKind which) {
    (which == JobKind::thumbnail ? thumbJob : pictureJob).reset();
}

void ArtList::startLogoDownload(WindowMessenger& window, bool offline, const DownloadEnv& env) {
    if (empty()) {
        window.send(WindowMessage::loadedLogo(0, false));
        return;
    }
    auto manager = threadManagerNg::create(env.managers, 1, [&] {
        return std::make_unique<LogoGetThread>(weak_from_this(), offline, env);
    });
    if (!manager) {
        env.prompt.showMessage("", std::string(tooManySessions));
        return;
    }
    logoJob = manager;
    manager->window = &window;
    manager->doneWParam = nullptr;
    manager->doneLParam = manager;
    manager->start(static_cast<std::int32_t>(2 * size()));
}

} // namespace zob
