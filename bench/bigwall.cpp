// A wall of 10,000 series with their covers on disk: how soon the first
// screen of tiles is painted (beside a bare decode of that screen's covers),
// how much memory the whole wall takes (beside the empty window) and how long
// a page of scrolling takes to repaint (beside a 16 ms frame).

#include "app/appcontext.h"
#include "benchmonth.h"
#include "benchsupport.h"
#include "catalogue/monthlyartlist.h"
#include "gui/browserapp.h"
#include "gui/navigator.h"
#include "gui/splashholder.h"
#include "gui/views/archiveimageview.h"
#include "guibenchsupport.h"
#include "platform/scriptedprompt.h"

#include <QApplication>
#include <QScrollArea>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <unistd.h>

using namespace zob;
using namespace zob::bench;

namespace {

constexpr std::size_t seriesCount = 10'000;
constexpr int year = 2008;
constexpr int month = 3;

double residentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1048576.0;
}

double msSince(std::chrono::steady_clock::time_point begin) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
        .count();
}

} // namespace

int main(int argc, char** argv) {
    useOffscreenPlatform();
    QApplication application(argc, argv);
    const Workspace workspace("bigwall");
    const fs::path iniPath = workspace.root() / "ZObrowser.ini";
    std::ofstream(iniPath) << "[env]\nlocal=" << (workspace.root() / "Zel-Ora").string()
                           << "\noffline=1\nnoSplash=1\n";
    const std::vector<std::string> covers = writeBenchMonth(iniPath, year, month, seriesCount);

    ScriptedPrompt prompt{PromptAnswer::Ok};
    // The clock a month on: the start-up shows an empty month, not the wall.
    BrowserApp app(iniPath, &prompt, quietEnvironment(year, month + 1));
    TZoBrowserMain& window = app.mainWindow();
    window.show();
    window.FormActivate();
    const ManagerRegistry& registry = app.context().managerRegistry;
    processUntil([&] { return registry.unfinished() == 0; });
    auto& wall = *window.findChild<ArchiveImageView*>();
    const double emptyMb = residentMb();

    const auto list = std::make_shared<monthlyArtList>(app.context().loadedArchives, year, month);
    list->load();
    const int perScreen =
        wall.columns() * (wall.archiveBox->viewport()->height() / ArchiveImageView::cellHeight + 1);
    const auto begin = std::chrono::steady_clock::now();
    window.navigator().setCrntArchive(list, 0);
    processUntil([&] { return wall.tileCount() >= static_cast<std::size_t>(perScreen); });
    wall.archiveBox->viewport()->grab();
    const double firstMs = msSince(begin);
    std::vector<unsigned char> pixels;
    const auto decodeBegin = std::chrono::steady_clock::now();
    for (int i = 0; i < perScreen; ++i) {
        rawJpegDecode(covers[static_cast<std::size_t>(i)], pixels);
    }
    const double decodeMs = msSince(decodeBegin);

    processUntil([&] { return wall.tileCount() == seriesCount && registry.unfinished() == 0; },
                 std::chrono::seconds(300));
    double worstPageMs = 0;
    const int page = wall.archiveBox->viewport()->height();
    for (int step = 1; step <= 40; ++step) {
        const auto pageBegin = std::chrono::steady_clock::now();
        wall.setScrollPosition(step * page * 20);
        wall.archiveBox->viewport()->grab();
        worstPageMs = std::max(worstPageMs, msSince(pageBegin));
    }
    const double grownMb = residentMb() - emptyMb;

    std::printf("%zu series (%zu tiles made), %d tiles a screen:\n", seriesCount, wall.tileCount(),
                perScreen);
    std::printf("  first screen painted %.1f ms, its covers' bare decode %.1f ms: ratio %.2f "
                "(goal: at most 2)\n",
                firstMs, decodeMs, firstMs / decodeMs);
    std::printf("  memory grown by the wall %.0f MB (goal: under 100 MB)\n", grownMb);
    std::printf("  slowest page of scrolling repainted in %.1f ms (goal: under 16 ms)\n",
                worstPageMs);
    app.shutdown();
    return 0;
}
