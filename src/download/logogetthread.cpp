#include "download/logogetthread.h"

#include "catalogue/artlist.h"
#include "catalogue/artlistlist.h"
#include "download/downloadfile.h"
#include "download/workerfetch.h"
#include "platform/debuglog.h"
#include "platform/threadinfo.h"
#include "platform/userprompt.h"
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
    http.setAbortFlag(&env_.managers.abortFlag());
    http.setStopFlag(&manager->stopFlag());

    if (const std::shared_ptr<ArtList> artList = list.lock()) {
        bool fetching = !offline;
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

            const std::string localFile = record->localLogoFile(small);
            makeParentFolder(localFile);
            if (fetching && !hasContent(localFile)) {
                fetching = fetchLogo(*record, small, http);
            }
            log(std::string(small ? "Logo(S)" : "Logo(L)") + "-Endjob:0-" + std::to_string(i),
                false);
            notify(WindowMessage::loadedLogo(i, !small));
        }
    }
    log("quit:" + std::to_string(static_cast<std::int32_t>(tickCount())), false);
}

bool LogoGetThread::fetchLogo(SeriesRec& record, bool small, HttpClient& http) {
    // One reading of the address form: a picture job may switch the series
    // meanwhile, and the address asked and the file written must agree.
    bool archived = record.inArchive;
    std::string localFile = record.localLogoFile(small, archived);
    std::string address = small ? record.coverUrl(archived) : record.logoUrl();
    for (;;) {
        const FileFetch fetched = fetchFile(env_.fetchEnv(), address, localFile, true, &http);
        pauseAfterFetch(env_);
        switch (fetched.kind) {
        case FileFetchKind::stored:
            if (archived && !record.inArchive) {
                record.setInArchive(true); // the archive has it: the series moved
            }
            return true;
        case FileFetchKind::notFound:
            if (small && !archived && !record.isMovie) {
                // Asked under the archive address first; the series is
                // switched only when the archive has the cover.
                archived = true;
                log("enforce retry getHtml", false);
                address = record.coverUrl(true);
                localFile = record.localLogoFile(true, true);
                continue;
            }
            return true;
        case FileFetchKind::siteError:
            env_.prompt.showMessage("", fileErrorText(fetched, localFile));
            return true;
        case FileFetchKind::localError:
            env_.prompt.showMessage("", fileErrorText(fetched, localFile));
            return false;
        case FileFetchKind::aborted:
            return false;
        }
        return true;
    }
}

} // namespace zob
