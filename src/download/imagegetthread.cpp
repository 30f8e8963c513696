#include "download/imagegetthread.h"

#include "catalogue/artlistlist.h"
#include "download/downloadfile.h"
#include "download/workerfetch.h"
#include "platform/threadinfo.h"
#include "shell/debuglog.h"
#include "shell/userprompt.h"
#include "site/fetch.h"
#include "site/httpclient.h"

#include <array>

namespace zob {

namespace {

std::string_view resolutionTag(int r) {
    static constexpr std::array<std::string_view, 4> tags{"/H", "/M", "/L", "/T"};
    return tags.at(static_cast<std::size_t>(r));
}

} // namespace

ImageGetThread::ImageGetThread(SeriesPtr seriesRecord, std::uint8_t r, bool offlineMode,
                               const DownloadEnv& env)
    : series(std::move(seriesRecord)), resolution(r), offline(offlineMode), env_(env) {}

void ImageGetThread::log(const std::string& text, bool append) const {
    env_.debugLog.dbgLog(text, append);
}

void ImageGetThread::run() {
    SeriesRec& record = *series;
    const int r = resolution;
    const auto index = static_cast<std::size_t>(r);
    const std::string tag(resolutionTag(r));
    setCurrentThreadName("ImageGet:" + record.title + tag);
    log("SeriesGet:" + record.title + "/" + tag, false);

    HttpClient http;
    http.copyRequestSettingsFrom(env_.defaultHttp);

    const auto bit = withResolution(0, r);
    record.loadingRes |= bit;
    record.partialRes |= bit;
    record.loadedCount[index] = 0;
    manager->setFailLimit(3);

    bool endedEarly = false;
    while (const std::optional<std::int32_t> job = manager->getJob()) {
        const std::int32_t j = *job;
        log("getJob----:" + std::to_string(j), true);
        if (record.photoCount < j) {
            manager->setJobCount(record.photoCount);
            endedEarly = true;
            break;
        }

        bool failed = false;
        std::string localFile = record.localPictureFile(r, j);
        if (hasContent(localFile)) {
            log("data exists.", true);
            manager->repJob(j, true);
        } else if (offline) {
            if (record.photoCount == photoCountUnknown) {
                // The pictures on disk end here; the count stays undetermined.
                manager->setJobCount(j - 1);
                notify(WindowMessage::updateSpec(series));
                endedEarly = true;
                break;
            }
        } else {
            const Outcome outcome = fetchPicture(j, localFile, http);
            if (outcome == Outcome::endRun) {
                endedEarly = true;
                break;
            }
            if (outcome == Outcome::failed) {
                failed = true;
                if (manager->repJob(j, false)) {
                    record.photoCount = manager->counters().jobCount;
                    notify(WindowMessage::updateSpec(series));
                    log("spec update & quit", false);
                    endedEarly = true;
                    break;
                }
            }
        }

        ++record.loadedCount[index];
        if (!failed) {
            notify(r == resThumb ? WindowMessage::loadedThumb(series, j)
                                 : WindowMessage::loadedLarge(series, j));
        }
    }

    if (!endedEarly) {
        log("seriesGet Loop End", false);
    }
    record.loadingRes &= static_cast<ResolutionSet>(~bit);
    record.partialRes &= static_cast<ResolutionSet>(~bit);
    if (!endedEarly) {
        log("quit:" + std::to_string(static_cast<std::int32_t>(tickCount())), false);
    }
}

ImageGetThread::Outcome ImageGetThread::fetchPicture(std::int32_t job, std::string& localFile,
                                                     HttpClient& http) {
    SeriesRec& record = *series;
    const int r = resolution;
    // The picture's folder is made when the picture lands, not before: an
    // empty dated folder would hide that the series moved to the archive.
    // The series' other job may switch it to the archive address while this
    // one waits for its answer; what counts is which address this one asked.
    bool askedArchive = record.inArchive;
    // Set when this job made the switch: a guess the archive must confirm.
    bool switchedHere = false;
    std::string address = record.pictureUrl(r, job);
    log("getHtml start:" + address, true);
    for (;;) {
        DownloadFile temp(workerTemporaryPath(record, handle()));
        const fetchResult result = fetchIntoWorkerFile(temp, address, env_, http);
        log("getHtml end (" + std::to_string(result) + ")", true);
        pauseAfterFetch(env_);

        if (result == fetchNotFound) {
            log("404Err:" + std::to_string(job), true);
            temp.discard();
            if (job == 1 && !askedArchive) {
                switchedHere = !record.inArchive;
                record.setInArchive(true);
                askedArchive = true;
                log("enforce retry getHtml", false);
                address = record.pictureUrl(r, job);
                // The local name follows the switch, so picture 1 lands with
                // the ones after it.
                localFile = record.localPictureFile(r, job);
                continue;
            }
            if (switchedHere) {
                // The archive has no such picture either: the series did not
                // move, it lacks the picture. Left switched, its other job and
                // every later run would ask the wrong address.
                record.setInArchive(false);
                localFile = record.localPictureFile(r, job);
            }
            if (r == resMid) {
                env_.prompt.showMessage("", "This Series doesn't have mid-res images");
                return Outcome::endRun;
            }
            return Outcome::failed;
        }
        if (result != fetchOk) {
            temp.discard();
            env_.prompt.showMessage("", "Error occured. err #" + std::to_string(result) +
                                            "/Fn=" + localFile);
            return Outcome::failed;
        }

        log("data OK.(before repJob)", true);
        manager->repJob(job, true);
        log("data OK.(after repJob)", true);
        // The caller named the file before asking; the other job may have
        // switched the series to the archive since. The picture goes where
        // the series keeps its pictures now, or it would be lost to the scan.
        localFile = record.localPictureFile(r, job);
        temp.commitTo(localFile);
        return Outcome::stored;
    }
}

} // namespace zob
