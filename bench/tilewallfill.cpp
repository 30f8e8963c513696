// Filling the cover wall of a 100-series month whose covers are on disk: the
// browser window, offline, from making the month current to its last tile,
// beside a bare libjpeg-turbo decode of the same covers in the same run. The
// ratio is what the window, the cover job and its messages add to decoding.

#include "app/appcontext.h"
#include "benchmonth.h"
#include "benchsupport.h"
#include "gui/browserapp.h"
#include "gui/navigator.h"
#include "gui/seriescontroller.h"
#include "gui/splashholder.h"
#include "gui/views/archiveimageview.h"
#include "gui/views/listview.h"
#include "gui/workerevents.h"
#include "guibenchsupport.h"
#include "platform/scriptedprompt.h"

#include <QApplication>
#include <QDialog>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using namespace zob;
using namespace zob::bench;

namespace {

constexpr std::size_t seriesCount = 100;
constexpr int year = 2008;
constexpr int month = 3;
constexpr int rounds = 15;

double cpuMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double wallMilliseconds() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void rawDecode(const std::vector<std::string>& files, std::vector<unsigned char>& pixels) {
    for (const std::string& file : files) {
        rawJpegDecode(file, pixels);
    }
}

struct Round {
    double wallMs = 0;
    double cpuMs = 0;
};

template <typename Work> Round timed(Work&& work) {
    const double wall = wallMilliseconds();
    const double cpu = cpuMilliseconds();
    work();
    return {wallMilliseconds() - wall, cpuMilliseconds() - cpu};
}

} // namespace

int main(int argc, char** argv) {
    // The window needs a GUI application; no display is needed.
    useOffscreenPlatform();
    QApplication application(argc, argv);

    const Workspace workspace("tilewallfill");
    const fs::path iniPath = workspace.root() / "ZObrowser.ini";
    std::ofstream(iniPath) << "[env]\nlocal=" << (workspace.root() / "Zel-Ora").string()
                           << "\noffline=1\n";
    const std::vector<std::string> covers = writeBenchMonth(iniPath, year, month, seriesCount);

    ScriptedPrompt prompt{PromptAnswer::Ok};
    BrowserApp app(iniPath, &prompt, quietEnvironment(year, month));
    TZoBrowserMain& window = app.mainWindow();
    const ManagerRegistry& registry = app.context().managerRegistry;
    const auto jobsDone = [&] { return registry.unfinished() == 0; };

    window.FormActivate();
    const ArtListPtr list = window.navigator().crntArchive();
    if (!list || list->size() != seriesCount ||
        !processUntil([&] { return window.splash().form() == nullptr && jobsDone(); })) {
        std::fprintf(stderr, "the browser did not start on the month of %zu series\n", seriesCount);
        app.shutdown();
        return 1;
    }

    // Tiles are made in list order by the one cover worker, so the wall is
    // full exactly when the last series' tile exists.
    const auto fill = [&] {
        window.navigator().setCrntArchive(list, 0);
        if (!processUntil([&] {
                return window.findChild<ArchiveImageView*>()->tileCount() == seriesCount;
            })) {
            std::fprintf(stderr, "the wall never filled\n");
            std::exit(1);
        }
        // Tiles compose their pictures when painted: the first screen is.
        window.findChild<ArchiveImageView*>()->archiveBox->viewport()->grab();
    };
    const auto settle = [&] {
        // The job goes on with the large covers (nothing to do offline) and
        // its end messages; the next round must not overlap it.
        processUntil(jobsDone);
    };
    std::vector<unsigned char> pixels;
    fill(); // first touches: fonts, caches
    settle();
    rawDecode(covers, pixels);

    std::vector<double> fillWall, fillCpu, rawWall, rawCpu;
    for (int round = 0; round < rounds; ++round) {
        const Round filled = timed(fill);
        settle();
        const Round decoded = timed([&] { rawDecode(covers, pixels); });
        fillWall.push_back(filled.wallMs);
        fillCpu.push_back(filled.cpuMs);
        rawWall.push_back(decoded.wallMs);
        rawCpu.push_back(decoded.cpuMs);
    }
    app.shutdown();

    const demosite::PictureSize size = demosite::SiteContent::coverSize();
    const double fillMs = median(fillWall);
    const double rawMs = median(rawWall);
    std::printf("%zu covers of %dx%d on disk, medians of %d rounds:\n", seriesCount, size.width,
                size.height, rounds);
    std::printf("  wall filled (to the last tile, first screen painted) %.2f ms (cpu %.2f)\n",
                fillMs, median(fillCpu));
    std::printf("  raw libjpeg-turbo decode of every cover            %.2f ms (cpu %.2f)\n", rawMs,
                median(rawCpu));
    std::printf("ratio fill/decode %.2f (cpu %.2f) (goal: at most 2)\n", fillMs / rawMs,
                median(fillCpu) / median(rawCpu));
    return 0;
}
