#include "download/imagegetthread.h"

#include "download/downloadfile.h"
#include "download/workerfetch.h"
#include "platform/debuglog.h"
#include "platform/threadinfo.h"
#include "platform/userprompt.h"
#include "site/httpclient.h"

#include <array>
#include <cstdio>

namespace zob {

namespace {

std::string_view resolutionTag(Resolution r) {
    static constexpr std::array<std::string_view, 4> tags{"/H", "/M", "/L", "/T"};
    return tags.at(indexOf(r));
}

} // namespace

ImageGetThread::ImageGetThread(SeriesPtr seriesRecord, Resolution r, bool offlineMode,
                               const DownloadEnv& env)
    : series(std::move(seriesRecord)), resolution(r), offline(offlineMode), env_(env) {}

void ImageGetThread::log(const std::string& text, bool append) const {
    env_.debugLog.dbgLog(text, append);
}

void ImageGetThread::run() {
    SeriesRec& record = *series;
    const std::string tag(resolutionTag(resolution));
    setCurrentThreadName("ImageGet:" + record.title + tag);
    log("SeriesGet:" + record.title + "/" + tag, false);

    HttpClient http;
    http.copyRequestSettingsFrom(env_.defaultHttp);
    http.setAbortFlag(&env_.managers.abortFlag());
    http.setStopFlag(&manager->stopFlag());

    const auto bit = withResolution(0, resolution);
    record.loadingRes |= bit;
    record.partialRes |= bit;
    record.loadedCount[indexOf(resolution)] = 0;
    manager->setFailLimit(3);

    const bool endedEarly = !workThroughJobs(http);

    if (!endedEarly) {
        log("seriesGet Loop End", false);
    }
    record.loadingRes &= static_cast<ResolutionSet>(~bit);
    record.partialRes &= static_cast<ResolutionSet>(~bit);
    if (!endedEarly) {
        log("quit:" + std::to_string(static_cast<std::int32_t>(tickCount())), false);
    }
}

bool ImageGetThread::workThroughJobs(HttpClient& http) {
    SeriesRec& record = *series;
    int siteFailures = 0;
    while (const std::optional<std::int32_t> job = manager->getJob()) {
        const std::int32_t j = *job;
        log("getJob----:" + std::to_string(j), true);
        if (record.photoCount < j) {
            manager->setJobCount(record.photoCount);
            return false;
        }
        if (!settleJob(j, obtainPicture(j, http), siteFailures)) {
            return false;
        }
    }
    return true;
}

ImageGetThread::Outcome ImageGetThread::obtainPicture(std::int32_t job, HttpClient& http) {
    SeriesRec& record = *series;
    if (hasContent(record.localPictureFile(resolution, job))) {
        log("data exists.", true);
        manager->repJob(job, true);
        return Outcome::stored;
    }
    if (!offline) {
        return fetchPicture(job, http);
    }
    if (record.photoCount == photoCountUnknown) {
        // The pictures on disk end here; the count stays undetermined.
        manager->setJobCount(job - 1);
        notify(WindowMessage::updateSpec(series));
        return Outcome::endRun;
    }
    return Outcome::stored;
}

bool ImageGetThread::settleJob(std::int32_t job, Outcome outcome, int& siteFailures) {
    SeriesRec& record = *series;
    if (outcome == Outcome::endRun) {
        return false;
    }
    if (outcome == Outcome::notFound && manager->repJob(job, false)) {
        record.photoCount = manager->counters().jobCount;
        notify(WindowMessage::updateSpec(series));
        log("spec update & quit", false);
        return false;
    }
    if (outcome == Outcome::siteError) {
        // For the count the picture exists: the site did not deny it.
        manager->repJob(job, true);
        if (++siteFailures >= siteFailureLimit) {
            log("site keeps failing: quit", false);
            return false;
        }
    } else {
        siteFailures = 0;
    }

    ++record.loadedCount[indexOf(resolution)];
    if (outcome == Outcome::stored) {
        notify(resolution == resThumb ? WindowMessage::loadedThumb(series, job)
                                      : WindowMessage::loadedLarge(series, job));
    }
    return true;
}

ImageGetThread::Outcome ImageGetThread::fetchPicture(std::int32_t job, HttpClient& http) {
    SeriesRec& record = *series;
    const Resolution r = resolution;
    // One reading of the address form for the whole picture: the series'
    // other job may switch it meanwhile, and the address asked and the file
    // written must agree.
    bool archived = record.inArchive;
    std::string localFile = record.localPictureFile(r, job, archived);
    std::string address = record.pictureUrl(r, job, archived);
    log("getHtml start:" + address, true);
    for (;;) {
        const FileFetch fetched = fetchFile(env_.fetchEnv(), address, localFile, true, &http);
        log("getHtml end (" + std::to_string(fetched.result) + ")", true);
        pauseAfterFetch(env_);

        switch (fetched.kind) {
        case FileFetchKind::stored:
            keepStoredPicture(job, archived, localFile);
            return Outcome::stored;
        case FileFetchKind::notFound:
            log("404Err:" + std::to_string(job), true);
            if (job == 1 && !archived && !record.isMovie) {
                // The series may have moved to the archive. Asked there
                // first; the series is switched only when the archive has it.
                archived = true;
                log("enforce retry getHtml", false);
                address = record.pictureUrl(r, job, true);
                localFile = record.localPictureFile(r, job, true);
                continue;
            }
            if (r == resMid) {
                env_.prompt.showMessage("", "This Series doesn't have mid-res images");
                return Outcome::endRun;
            }
            return Outcome::notFound;
        case FileFetchKind::aborted:
            return Outcome::endRun;
        case FileFetchKind::localError:
            env_.prompt.showMessage("", fileErrorText(fetched, localFile));
            log("local error & quit", false);
            return Outcome::endRun;
        case FileFetchKind::siteError:
            env_.prompt.showMessage("", fileErrorText(fetched, localFile));
            return Outcome::siteError;
        }
        return Outcome::siteError;
    }
}

void ImageGetThread::keepStoredPicture(std::int32_t job, bool archived,
                                       const std::string& localFile) {
    SeriesRec& record = *series;
    if (archived && !record.inArchive) {
        // The archive has the series: from now on every address of
        // it, the other job's and later runs' too, is the archive one.
        record.setInArchive(true);
    } else if (!archived && record.inArchive) {
        // The other job found the series in the archive while this
        // picture came from the dated address: it goes where the
        // series keeps its pictures now, or the scan would miss it.
        const std::string moved = record.localPictureFile(resolution, job, true);
        makeParentFolder(moved);
        std::rename(localFile.c_str(), moved.c_str());
    }
    log("data OK.(before repJob)", true);
    manager->repJob(job, true);
    log("data OK.(after repJob)", true);
}

} // namespace zob
