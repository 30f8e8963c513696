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
#include "shell/userprompt.h"
#include "site/fetch.h"

#include <cstdio>
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

// Fetches one cover into a temporary file beside it, so a broken transfer
// never stands in for the cover.
fetchResult fetchCover(const std::string& address, const std::string& localFile,
                       const FetchEnv& env) {
    DownloadFile temp(localFile + ".tmp");
    if (!temp.isOpen()) {
        return fetchFailed;
    }
    FileSink sink(temp.file());
    const fetchResult result = getHtml(env, address, sink, false);
    if (result == fetchOk) {
        temp.commitTo(localFile);
    }
    return result;
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
    pictureJob = manager;
    if (!hasResolution(loadedRes, r)) {
        partialRes |= withResolution(0, r);
    }
    manager->start(photoCount);
}

void SeriesRec::fetchLogos(bool small, bool large, const FetchEnv& env) {
    makeParentFolder(localLogoFile(true));
    if (small && !hasContent(localLogoFile(true))) {
        if (fetchCover(coverUrl(), localLogoFile(true), env) == fetchNotFound && !inArchive) {
            setInArchive(true);
            makeParentFolder(localLogoFile(true));
            // Not under the archive address either: the series did not move.
            if (fetchCover(coverUrl(), localLogoFile(true), env) == fetchNotFound) {
                setInArchive(false);
            }
        }
    }
    if (large && !hasContent(localLogoFile(false))) {
        makeParentFolder(localLogoFile(false));
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
