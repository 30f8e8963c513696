#include "download/logogetthread.h"

#include "catalogue/artlist.h"
#include "catalogue/artlistlist.h"
#include "download/downloadfile.h"
#include "download/workerfetch.h"
#include "platform/threadinfo.h"
#include "shell/debuglog.h"
#include "shell/userprompt.h"
#include "site/fetch.h"
#include "site/httpclient.h"


namespace zob {

LogoGetThread::LogoGetThread(std::weak_ptr<ArtList> artList, bool offlineMode,
                             const DownloadEnv& env)
    : list(std::move(artList)), offline(offlineMode), env_(env) {}

void LogoGetThread::log(const std::string& text, bool append) const {
    env_.debugLog.dbgLog(text, append);
}

void LogoGetThread::run() {
    setCurrentThreadName("logoGet:small");
    HttpClient http;
    http.copyRequestSettingsFrom(env_.defaultHttp);

    if (const std::shared_ptr<ArtList> artList = list.lock()) {
        while (const std::optional<std::int32_t> job = manager->getJob()) {
            const std::int32_t j = *job;
            log("monthGet:getJob----:" + std::to_string(j), false);
            const auto count = static_cast<std::int32_t>(artList->size());
            if (count == 0) {
                break; // the list was emptied under the job: nothing left to announce
            }
            const bool small = j <= count;
            if (j == count) {
                setCurrentThreadName("logoGet:Large");
            }
            const std::int32_t i = (j - 1) % count;
            const SeriesPtr record = artList->item(static_cast<std::size_t>(i));

            std::string localFile = record->localLogoFile(small);
            makeParentFolder(localFile);
            if (!offline && !hasContent(localFile)) {
                fetchLogo(*record, small, localFile, http);
            }
            log(std::string(small ? "Logo(S)" : "Logo(L)") + "-Endjob:0-" + std::to_string(i),
                false);
            notify(WindowMessage::loadedLogo(i, !small));
        }
    }
    log("quit:" + std::to_string(static_cast<std::int32_t>(tickCount())), false);
}

void LogoGetThread::fetchLogo(SeriesRec& record, bool small, std::string& localFile,
                              HttpClient& http) {
    // A picture job may switch the series while this one waits for its
    // answer; what counts is which address this one asked.
    bool askedArchive = record.inArchive;
    // Set when this job made the switch: a guess the archive must confirm.
    bool switchedHere = false;
    std::string address = small ? record.coverUrl() : record.logoUrl();
    for (;;) {
        DownloadFile temp(workerTemporaryPath(record, handle()));
        fetchResult result = fetchIntoWorkerFile(temp, address, env_, http);
        pauseAfterFetch(env_);
        if (result == fetchNotFound && small && !askedArchive) {
            switchedHere = !record.inArchive;
            record.setInArchive(true);
            askedArchive = true;
            log("enforce retry getHtml", false);
            temp.discard();
            address = record.coverUrl();
            // The local name follows the switch, so the cover lands where the
            // series' other files will be looked for.
            localFile = record.localLogoFile(true);
            makeParentFolder(localFile);
            continue;
        }
        if (result == fetchNotFound && switchedHere) {
            // Not under the archive address either: the series did not move.
            record.setInArchive(false);
            localFile = record.localLogoFile(true);
        }
        if (result != fetchOk && result != fetchNotFound) {
            env_.prompt.showMessage("", "Error occured. err #" + std::to_string(result) +
                                            "/Fn=" + localFile);
        }
        if (result == fetchOk) {
            temp.commitTo(localFile);
        }
        return; // anything else: the temporary file goes with `temp`
    }
}

} // namespace zob
