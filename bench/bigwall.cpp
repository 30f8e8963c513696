// A wall of 10,000 series with their covers on disk: how soon the first
// screen of tiles is painted (beside a bare decode of that screen's covers),
// how much memory the whole wall takes (beside the empty window) and how long
// a page of scrolling takes to repaint (beside a 16 ms frame).

#include "app/appcontext.h"
#include "benchsupport.h"
#include "catalogue/monthlyartlist.h"
#include "demosite/content.h"
#include "demosite/jpegencoder.h"
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

// The month's catalogue and its covers, as the browser would have stored them.
std::vector<std::string> writeMonth(const fs::path& iniPath) {
    ScriptedPrompt prompt{PromptAnswer::Ok};
    AppContext context(iniPath, prompt);
    const auto list = std::make_shared<monthlyArtList>(context.loadedArchives, year, month);
    const std::string folder = "/members/gallery/2008/";
    for (std::size_t i = 0; i < seriesCount; ++i) {
        const std::string name = "big_" + std::to_string(i) + "_200803";
        list->addParsed("Title of " + name, folder + name + "/", "2008/03/01", "Ann Model",
                        "BY Carl", folder + name + "/cover.jpg", 24, -1, -1);
    }
    list->save(list->csvPath());
    std::vector<std::string> covers;
    for (std::size_t i = 0; i < seriesCount; ++i) {
        const fs::path cover = list->item(i)->localLogoFile(true);
        fs::create_directories(cover.parent_path());
        const std::string bytes =
            demosite::makeJpeg(demosite::SiteContent::coverSize(), 0x9E3779B97F4A7C15ull * (i + 1));
        std::ofstream(cover, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        covers.push_back(cover.string());
    }
    return covers;
}

} // namespace

int main(int argc, char** argv) {
    useOffscreenPlatform();
    QApplication application(argc, argv);
    const Workspace workspace("bigwall");
    const fs::path iniPath = workspace.root() / "ZObrowser.ini";
    std::ofstream(iniPath) << "[env]\nlocal=" << (workspace.root() / "Zel-Ora").string()
                           << "\noffline=1\nnoSplash=1\n";
    const std::vector<std::string> covers = writeMonth(iniPath);

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
