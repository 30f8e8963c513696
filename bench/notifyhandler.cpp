// How long the window's thread spends in one worker message while a series of
// 200 pictures downloads at high resolution from the demo site in this
// process: every handler runs while its worker waits, and one that takes more
// than a frame (16 ms) makes the window stutter. The download's own wall time
// is printed beside it, to give the figures their context.

#include "app/appcontext.h"
#include "benchsupport.h"
#include "demosite/demosite.h"
#include "download/windowmessages.h"
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
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace zob;
using namespace zob::bench;

namespace {

constexpr int pictures = 200;
constexpr double frameMs = 16;

struct HandlerTimes {
    std::vector<double> all; // ms, in arrival order
    std::map<std::uint16_t, double> maxById;
    std::map<std::uint16_t, std::size_t> countById;

    void add(std::uint16_t id, double ms) {
        all.push_back(ms);
        maxById[id] = std::max(maxById[id], ms);
        ++countById[id];
    }
    double percentile(double p) const {
        std::vector<double> sorted = all;
        std::sort(sorted.begin(), sorted.end());
        const auto at = static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1));
        return sorted.empty() ? 0 : sorted[at];
    }
};

enum class WindowShown { hidden, listShown };

// One browser in a fresh folder, started on the site's month, downloading the
// long gallery. False when something did not happen as it should.
bool downloadOnce(const demosite::DemoSite& site, const std::string& seriesName,
                  const fs::path& folder, WindowShown shown, const char* label) {
    const fs::path iniPath = folder / "ZObrowser.ini";
    std::ofstream(iniPath) << "[user]\nlogin=demo\npassword=demo\n[env]\nlocal="
                           << (folder / "Zel-Ora").string()
                           << "\n[debug]\ndbgHost=" << site.baseUrl() << "\n";
    ScriptedPrompt prompt{PromptAnswer::Ok};
    BrowserApp app(iniPath, &prompt, quietEnvironment(2008, 3));
    TZoBrowserMain& window = app.mainWindow();
    const ManagerRegistry& registry = app.context().managerRegistry;
    const auto finish = [&](bool result) {
        window.events().setHandlerTimer({});
        app.shutdown();
        return result;
    };

    if (shown == WindowShown::listShown) {
        window.show();
    }
    window.FormActivate();
    const ArtListPtr list = window.navigator().crntArchive();
    const bool tilesComplete = processUntil(
        [&] {
            return list && window.findChild<ArchiveImageView*>()->tileCount() == list->size() &&
                   window.splash().form() == nullptr && registry.unfinished() == 0;
        },
        std::chrono::seconds(60));
    SeriesPtr series;
    for (std::size_t i = 0; tilesComplete && i < list->size(); ++i) {
        if (list->item(i)->name == seriesName) {
            series = list->item(i);
        }
    }
    if (!series) {
        std::fprintf(stderr, "%s: no wall with the series %s\n", label, seriesName.c_str());
        return finish(false);
    }
    if (shown == WindowShown::listShown) {
        window.findChild<QTabWidget*>()->setCurrentWidget(window.findChild<ArchiveListView*>());
        QCoreApplication::processEvents();
    }

    HandlerTimes times;
    window.events().setHandlerTimer(
        [&](const WindowMessage& message, std::chrono::nanoseconds spent) {
            times.add(message.id, std::chrono::duration<double, std::milli>(spent).count());
        });
    const auto start = std::chrono::steady_clock::now();
    // As a double click would: the contents view shows every thumbnail as it
    // arrives, the strip grows, the tile and the row follow at the end.
    window.series().openSeries(series, resHigh);
    const bool ended = processUntil(
        [&] { return !series->thumbJob && !series->pictureJob && registry.unfinished() == 0; },
        std::chrono::seconds(300));
    const double wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!ended || times.all.empty()) {
        std::fprintf(stderr, "%s: the download did not end\n", label);
        return finish(false);
    }

    const double maxMs = *std::max_element(times.all.begin(), times.all.end());
    std::printf("%s: %zu handlers, max %.3f ms, p99 %.3f ms, median %.3f ms (goal: max under "
                "%.0f ms: %s); download wall time %.0f ms, %d+%d pictures on disk\n",
                label, times.all.size(), maxMs, times.percentile(0.99), times.percentile(0.5),
                frameMs, maxMs < frameMs ? "met" : "missed", wallMs,
                series->loadedCountOf(resThumb), series->loadedCountOf(resHigh));
    for (const auto& [id, ms] : times.maxById) {
        std::printf("    %-22s x%-4zu max %.3f ms\n", windowMessageName(id).c_str(),
                    times.countById[id], ms);
    }
    return finish(true);
}

} // namespace

int main(int argc, char** argv) {
    // The window needs a GUI application; no display is needed.
    useOffscreenPlatform();
    QApplication application(argc, argv);

    demosite::SiteOptions options;
    options.todayYear = 2008;
    options.todayMonth = 3;
    options.todayDay = 15;
    options.longGalleryPictures = pictures;
    demosite::DemoSite site(options);
    site.start();
    const auto longest = site.content().select(
        [](const demosite::Series& series) { return series.announcedPhotos == pictures; });
    if (longest.size() != 1) {
        std::fprintf(stderr, "the demo site has no gallery of %d pictures\n", pictures);
        return 1;
    }
    const std::string name = longest.front()->name;
    std::printf("series %s: %d thumbnails + %d high-resolution pictures\n", name.c_str(), pictures,
                pictures);

    // The first download also makes the site's pictures, which it keeps:
    // the later ones measure the browser, not the site.
    const Workspace workspace("notifyhandler");
    const bool ok =
        downloadOnce(site, name, workspace.fresh("cold"), WindowShown::hidden,
                     "window hidden, cold") &&
        downloadOnce(site, name, workspace.fresh("warm"), WindowShown::hidden, "window hidden") &&
        downloadOnce(site, name, workspace.fresh("shown"), WindowShown::listShown,
                     "window shown, list view");
    return ok ? 0 : 1;
}
