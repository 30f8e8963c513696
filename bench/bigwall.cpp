// A wall of 10,000 series with their covers on disk: how soon the first
// screen of tiles is painted (beside the same for a list of one screen, and a
// bare decode of that screen's covers), how much memory the whole wall takes
// (beside the window showing one screen) and how long a page of scrolling
// takes to repaint (beside a 16 ms frame).

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

} // namespace

int main(int argc, char** argv) {
    useOffscreenPlatform();
    QApplication application(argc, argv);
    const Workspace workspace("bigwall");
    const fs::path iniPath = workspace.root() / "ZObrowser.ini";
    std::ofstream(iniPath) << "[env]\nlocal=" << (workspace.root() / "Zel-Ora").string()
                           << "\noffline=1\nnoSplash=1\n";
    const std::vector<std::string> covers = writeBenchMonth(iniPath, year, month, seriesCount);
    // The month the clock is in: the start-up shows it.
    constexpr std::size_t smallCount = 16;
    writeBenchMonth(iniPath, year, month + 1, smallCount);

    ScriptedPrompt prompt{PromptAnswer::Ok};
    BrowserApp app(iniPath, &prompt, quietEnvironment(year, month + 1));
    TZoBrowserMain& window = app.mainWindow();
    window.show();
    window.FormActivate();
    const ManagerRegistry& registry = app.context().managerRegistry;
    processUntil([&] { return registry.unfinished() == 0; });
    auto& wall = *window.findChild<ArchiveImageView*>();
    const double emptyMb = residentMb();

    const ArtListPtr small = window.navigator().crntArchive();
    const auto list = std::make_shared<monthlyArtList>(app.context().loadedArchives, year, month);
    list->load();
    const int perScreen =
        wall.columns() * (wall.archiveBox->viewport()->height() / ArchiveImageView::cellHeight + 1);
    const auto firstScreenOf = [&](const ArtListPtr& shown) {
        const auto begin = std::chrono::steady_clock::now();
        window.navigator().setCrntArchive(shown, 0);
        processUntil([&] {
            return wall.tileCount() >= std::min(shown->size(), static_cast<std::size_t>(perScreen));
        });
        wall.archiveBox->viewport()->grab();
        return msSince(begin);
    };
    const double firstMs = firstScreenOf(list);
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
    const std::size_t announced = wall.tileCount();
    processUntil([&] { return registry.unfinished() == 0; });
    const double smallMs = firstScreenOf(small);

    std::printf("%zu series (%zu tiles announced), %d tiles a screen:\n", seriesCount, announced,
                perScreen);
    std::printf("  first screen painted %.1f ms, the same for a list of %zu %.1f ms: ratio %.2f "
                "(goal: at most 1.5)\n",
                firstMs, small->size(), smallMs, firstMs / smallMs);
    std::printf("  its covers' bare decode %.1f ms, for scale: ratio %.2f\n", decodeMs,
                firstMs / decodeMs);
    std::printf("  memory grown by the wall %.0f MB (goal: under 100 MB)\n", grownMb);
    std::printf("  slowest page of scrolling repainted in %.1f ms (goal: under 16 ms)\n",
                worstPageMs);
    app.shutdown();
    return 0;
}
