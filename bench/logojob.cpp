// The cover job of a list of 100 series (200 covers) against the demo site on
// loopback, beside one curl process fetching the same covers over a reused
// connection, in the same run.

#include "app/appcontext.h"
#include "app/archiveloader.h"
#include "app/downloadevents.h"
#include "benchsupport.h"
#include "catalogue/artlistlist.h"
#include "catalogue/monthlyartlist.h"
#include "download/queuedmessenger.h"
#include "download/seriesdownload.h"
#include "platform/scriptedprompt.h"
#include "site/joining.h"

#include <cstdio>
#include <fstream>

using namespace zob;
using namespace zob::bench;

namespace {

constexpr std::size_t seriesWanted = 100;
constexpr int rounds = 9;

class SilentHost : public ArchiveLoaderHost {
public:
    void closeMainWindow() override { throw std::runtime_error("the loader gave up"); }
    void setOfflineSearch(bool) override {}
};

} // namespace

int main() {
    const SiteProcess site(std::string(ZOB_BINARY_DIR) + "/tools/demosite/zob-demo-site",
                           {"--today", "2008-03-15"});
    Workspace workspace("logojob");
    const fs::path local = workspace.root() / "Zel-Ora";
    std::ofstream(workspace.root() / "ZObrowser.ini")
        << "[user]\nlogin=demo\npassword=demo\n[env]\nlocal=" << local.string()
        << "\n[debug]\ndbgHost=" << site.baseUrl << "\n";
    ScriptedPrompt prompt;
    AppContext context(workspace.root() / "ZObrowser.ini", prompt);
    HttpRequestSettings request = context.defaultHttp.requestSettings();
    request.basicAuth = true;
    request.userName = "demo";
    request.password = "demo";
    context.defaultHttp.setRequestSettings(request);

    // 100 series gathered from the months before "today", in one list.
    SilentHost host;
    auto list = std::make_shared<monthlyArtList>(context.loadedArchives, 2008, 3);
    for (auto month = std::make_shared<monthlyArtList>(context.loadedArchives, 2008, 3);
         list->size() < seriesWanted; month = std::make_shared<monthlyArtList>(
                                          context.loadedArchives, month->year, month->month),
              month->prevMonth()) {
        const ArtListPtr loaded = addLoadedArchive(context, month, host);
        for (const SeriesPtr& series : loaded->records()) {
            if (list->size() < seriesWanted) {
                list->append(series);
            }
        }
    }

    // Written after the first job round: series the site moved to its archive
    // are known by then, so curl asks the addresses the job ends up using.
    const fs::path curlConfig = workspace.root() / "curl.conf";
    const auto curlRound = [&] {
        const fs::path folder = workspace.root() / "curl";
        fs::remove_all(folder);
        fs::create_directories(folder);
        return measure("cd '" + folder.string() + "' && curl -s -S -f -K '" + curlConfig.string() +
                       "'")
            .milliseconds;
    };
    const auto jobRound = [&] {
        for (const SeriesPtr& series : list->records()) {
            fs::remove_all(series->localLogoFolder());
        }
        DeferredJoins joins;
        bool ended = false;
        QueuedMessenger window([&](const WindowMessage& message) {
            if (message.id == WM_freeThreadMngrNg) {
                managerFreed(message, context.managerRegistry, joins);
                ended = true;
            }
        });
        const auto start = std::chrono::steady_clock::now();
        startLogoDownload(*list, window, false, context.downloadEnv());
        window.processUntil([&] { return ended; }, std::chrono::seconds(60));
        const double elapsed =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        joins.drain();
        return elapsed;
    };

    jobRound();
    {
        std::ofstream config(curlConfig);
        config << "user = \"demo:demo\"\n";
        for (std::size_t i = 0; i < list->size(); ++i) {
            config << "url = \"" << list->item(i)->coverUrl() << "\"\noutput = \"s" << i
                   << ".jpg\"\n";
        }
        for (std::size_t i = 0; i < list->size(); ++i) {
            config << "url = \"" << list->item(i)->logoUrl() << "\"\noutput = \"l" << i
                   << ".jpg\"\n";
        }
    }
    curlRound();
    std::vector<double> jobTimes, curlTimes;
    for (int round = 0; round < rounds; ++round) {
        jobTimes.push_back(jobRound());
        curlTimes.push_back(curlRound());
    }
    const double jobMs = median(jobTimes);
    const double curlMs = median(curlTimes);
    std::printf("cover job of %zu series (%zu covers) %.1f ms, curl %.1f ms (medians of %d): "
                "%.2fx curl\n",
                list->size(), 2 * list->size(), jobMs, curlMs, rounds, jobMs / curlMs);
    return 0;
}
