// Showing a 4000 x 6000 picture fitted into the side viewer, which decodes it
// shrunk by DCT scaling to the size it shows at, beside a full decode plus
// smooth scaling of the same file in the same run. The goal is a ratio of at
// least 3.

#include "benchsupport.h"
#include "config/configinfo.h"
#include "demosite/jpegencoder.h"
#include "gui/views/imagefit.h"
#include "gui/views/imageform.h"
#include "gui/views/jpegimage.h"
#include "gui/views/pictureview.h"
#include "guibenchsupport.h"
#include "platform/debuglog.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

using namespace zob;
using namespace zob::bench;

namespace {

const QSize pictureSize(4000, 6000);
const QSize clientSize(525, 675);

const std::string& pictureFile() {
    static Workspace workspace("sideviewer");
    static const std::string file = [] {
        const fs::path path = workspace.root() / "large.jpg";
        const std::string bytes =
            demosite::makeJpeg({pictureSize.width(), pictureSize.height()}, 0x5EED'0001ull);
        std::ofstream(path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }();
    return file;
}

QSize fittedSize() {
    return imagefit::fitToArea(pictureSize, clientSize).size();
}

// Reloading the file and drawing the picture as the window would show it.
void BM_sideViewer(benchmark::State& state) {
    configInfoClass config = configInfoClass::defaults("ZObrowser-bench.ini");
    DebugLog log;
    TImageForm form(config, log);
    form.resize(clientSize);
    form.setImage(pictureFile());
    QImage shown(fittedSize(), QImage::Format_RGB32);
    for (auto _ : state) {
        form.updateImage();
        QPainter painter(&shown);
        form.LargeLogoImg->render(&painter);
        benchmark::DoNotOptimize(shown.constBits());
    }
    state.counters["decodedWidth"] = form.LargeLogoImg->image().width();
}
BENCHMARK(BM_sideViewer)->Unit(benchmark::kMillisecond);

// The baseline: every pixel decoded, then scaled down smoothly.
void BM_fullDecodeAndScale(benchmark::State& state) {
    for (auto _ : state) {
        const QImage full = loadJpegImage(pictureFile());
        const QImage shown =
            full.scaled(fittedSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        benchmark::DoNotOptimize(shown.constBits());
    }
}
BENCHMARK(BM_fullDecodeAndScale)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The viewer is a window; no display is needed.
    useOffscreenPlatform();
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    RatioReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) {
        return 1;
    }

    const auto viewer = reporter.times.find("BM_sideViewer");
    const auto full = reporter.times.find("BM_fullDecodeAndScale");
    if (viewer == reporter.times.end() || full == reporter.times.end() ||
        viewer->second.realMs <= 0 || viewer->second.cpuMs <= 0) {
        std::printf("ratio: not measured (run both benchmarks)\n");
        return 0;
    }
    const QSize fitted = fittedSize();
    std::printf("%dx%d shown at %dx%d: side viewer %.2f ms (cpu %.2f), full decode and scale "
                "%.2f ms (cpu %.2f); ratio full/viewer %.2f (cpu %.2f), goal at least 3\n",
                pictureSize.width(), pictureSize.height(), fitted.width(), fitted.height(),
                viewer->second.realMs, viewer->second.cpuMs, full->second.realMs,
                full->second.cpuMs, full->second.realMs / viewer->second.realMs,
                full->second.cpuMs / viewer->second.cpuMs);
    return 0;
}
