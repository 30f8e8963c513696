#include "download/imagegetthread.h"

#include "download/downloadfile.h"
#include "download/fetchahead.h"
#include "download/workerfetch.h"
#include "platform/debuglog.h"
#include "platform/threadinfo.h"
#include "platform/userprompt.h"
#include "site/httpclient.h"
#include "site/transferpool.h"

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

std::size_t ImageGetThread::picturesInHand() {
    return static_cast<std::size_t>(TransferPool::process().connectionLimit() *
                                    picturesPerConnection);
}

bool ImageGetThread::workThroughJobs(HttpClient& http) {
    SeriesRec& record = *series;
    int siteFailures = 0;
    FetchAhead<Fetched> ahead(offline ? 1 : picturesInHand(), http,
                              [this](std::int32_t job, HttpClient& client) {
                                  return offline ? Fetched{} : obtainPicture(job, client);
                              });
    bool jobsLeft = true;
    bool pastTheCount = false;
    for (;;) {
        while (jobsLeft && !pastTheCount && !ahead.full()) {
            const std::optional<std::int32_t> job = manager->getJob();
            jobsLeft = job.has_value();
            pastTheCount = jobsLeft && record.photoCount < *job;
            if (jobsLeft && !pastTheCount) {
                log("getJob----:" + std::to_string(*job), true);
                ahead.add(*job);
            }
        }
        if (ahead.empty()) {
            break;
        }
        auto [job, fetched] = ahead.takeFirst();
        // The count may have shrunk (the series' other job found its end)
        // under a job already asked for.
        if (record.photoCount < job) {
            pastTheCount = true;
            break;
        }
        const Outcome outcome =
            offline ? offlinePicture(job) : settleFetched(job, std::move(fetched), http);
        if (!settleJob(job, outcome, siteFailures)) {
            return false;
        }
    }
    if (pastTheCount) {
        manager->setJobCount(record.photoCount);
        return false;
    }
    return true;
}

ImageGetThread::Fetched ImageGetThread::obtainPicture(std::int32_t job, HttpClient& http) {
    if (hasContent(series->localPictureFile(resolution, job))) {
        Fetched fetched;
        fetched.onDisk = true;
        return fetched;
    }
    return fetchPicture(job, http);
}

ImageGetThread::Outcome ImageGetThread::offlinePicture(std::int32_t job) {
    SeriesRec& record = *series;
    if (hasContent(record.localPictureFile(resolution, job))) {
        log("data exists.", true);
        manager->repJob(job, true);
        return Outcome::stored;
    }
    if (record.photoCount == photoCountUnknown) {
        // The pictures on disk end here; the count stays undetermined.
        manager->setJobCount(job - 1);
        notify(WindowMessage::updateSpec(series));
        return Outcome::endRun;
    }
    return Outcome::stored;
}

ImageGetThread::Outcome ImageGetThread::settleFetched(std::int32_t job, Fetched fetched,
                                                      HttpClient& http) {
    if (fetched.outcome == Outcome::notFound && fetched.archived != series->inArchive) {
        fetched = fetchPicture(job, http);
    }
    if (fetched.ready) {
        const FileFetch committed = commitFetched(*fetched.ready);
        if (committed.kind == FileFetchKind::stored) {
            keepStoredPicture(job, fetched.archived, fetched.localFile);
        } else {
            fetched.message = fileErrorText(committed, fetched.localFile);
            fetched.outcome = Outcome::endRun;
        }
    }
    if (!fetched.message.empty()) {
        env_.prompt.showMessage("", fetched.message);
    }
    if (fetched.onDisk) {
        log("data exists.", true);
        manager->repJob(job, true);
    } else if (fetched.outcome == Outcome::stored) {
        log("data OK.(before repJob)", true);
        manager->repJob(job, true);
        log("data OK.(after repJob)", true);
    } else if (fetched.outcome == Outcome::noMidRes) {
        env_.prompt.showMessage("", "This Series doesn't have mid-res images");
        return Outcome::endRun;
    }
    return fetched.outcome;
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

ImageGetThread::Fetched ImageGetThread::fetchPicture(std::int32_t job, HttpClient& http) {
    SeriesRec& record = *series;
    const Resolution r = resolution;
    // One reading of the address form for the whole picture: the series'
    // other job may switch it meanwhile, and the address asked and the file
    // written must agree.
    Fetched result;
    result.archived = record.inArchive;
    std::string localFile = record.localPictureFile(r, job, result.archived);
    std::string address = record.pictureUrl(r, job, result.archived);
    log("getHtml start:" + address, true);
    for (;;) {
        auto temp = std::make_unique<DownloadFile>(localFile, true);
        const FileFetch fetched = fetchIntoTemporary(env_.fetchEnv(), address, *temp, true, &http);
        log("getHtml end (" + std::to_string(fetched.result) + ")", true);
        pauseAfterFetch(env_);

        switch (fetched.kind) {
        case FileFetchKind::stored:
            result.ready = std::move(temp);
            result.localFile = localFile;
            result.outcome = Outcome::stored;
            return result;
        case FileFetchKind::notFound:
            log("404Err:" + std::to_string(job), true);
            if (job == 1 && !result.archived && !record.isMovie) {
                // The series may have moved to the archive. Asked there
                // first; the series is switched only when the archive has it.
                result.archived = true;
                log("enforce retry getHtml", false);
                address = record.pictureUrl(r, job, true);
                localFile = record.localPictureFile(r, job, true);
                continue;
            }
            result.outcome = r == resMid ? Outcome::noMidRes : Outcome::notFound;
            return result;
        case FileFetchKind::aborted:
            result.outcome = Outcome::endRun;
            return result;
        case FileFetchKind::localError:
            result.message = fileErrorText(fetched, localFile);
            log("local error & quit", false);
            result.outcome = Outcome::endRun;
            return result;
        case FileFetchKind::siteError:
            result.message = fileErrorText(fetched, localFile);
            result.outcome = Outcome::siteError;
            return result;
        }
        result.outcome = Outcome::siteError;
        return result;
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
}

} // namespace zob
