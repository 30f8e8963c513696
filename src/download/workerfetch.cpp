#include "download/workerfetch.h"

#include "catalogue/artlistlist.h"
#include "catalogue/seriesrec.h"
#include "config/configinfo.h"
#include "download/downloadenv.h"
#include "site/fetch.h"
#include "site/fetchsink.h"
#include "site/joining.h"

#include <chrono>
#include <thread>

namespace zob {

std::string workerTemporaryPath(const SeriesRec& record, std::uint32_t workerHandle) {
    return joinPath(record.registry().localPath(record.yearFolder()),
                    std::to_string(workerHandle) + ".tmp");
}

fetchResult fetchIntoWorkerFile(DownloadFile& temp, const std::string& address,
                                const DownloadEnv& env, HttpClient& http) {
    if (!temp.isOpen()) {
        return fetchFailed;
    }
    FileSink sink(temp.file());
    return getHtml(env.fetchEnv(), address, sink, true, &http);
}

void pauseAfterFetch(const DownloadEnv& env) {
    if (const std::int32_t wait = env.config.dbgWait; wait != 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    }
}

} // namespace zob
