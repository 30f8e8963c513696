// Composing the cover wall's tiles (decode, measure, lighten, letters, marks)
// for 100 small covers on disk, beside a bare libjpeg-turbo decode of the same
// files in the same run: the ratio is what the tile drawing adds to decoding.

#include "benchsupport.h"
#include "demosite/content.h"
#include "demosite/jpegencoder.h"
#include "gui/views/logotile.h"
#include "guibenchsupport.h"

#include <QApplication>
#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

using namespace zob;
using namespace zob::bench;

namespace {

constexpr std::size_t coverCount = 100;

// Download states as a list shows them: mostly letters, some marks, a few bare.
constexpr std::array<std::string_view, 6> statusCodes = {"TL--F", "TLm-", "tlmhFB",
                                                         "T---",  "TLMH", "----B"};

// The covers, written once as the demo site serves them (equal patterns give
// equal bytes, so every run decodes the same files).
const std::vector<std::string>& coverFiles() {
    static Workspace workspace("tilewall");
    static const std::vector<std::string> files = [] {
        std::vector<std::string> paths;
        for (std::size_t i = 0; i < coverCount; ++i) {
            const fs::path path = workspace.root() / ("cover" + std::to_string(i) + ".jpg");
            const std::string bytes = demosite::makeJpeg(demosite::SiteContent::coverSize(),
                                                         0x9E3779B97F4A7C15ull * (i + 1));
            std::ofstream(path, std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            paths.push_back(path.string());
        }
        return paths;
    }();
    return files;
}

void BM_composeTiles(benchmark::State& state) {
    const std::vector<std::string>& files = coverFiles();
    for (auto _ : state) {
        for (std::size_t i = 0; i < files.size(); ++i) {
            const QImage tile = buildLogoTile(files[i], statusCodes[i % statusCodes.size()]);
            benchmark::DoNotOptimize(tile.constBits());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
}
BENCHMARK(BM_composeTiles)->Unit(benchmark::kMillisecond);

void BM_rawDecode(benchmark::State& state) {
    const std::vector<std::string>& files = coverFiles();
    std::vector<unsigned char> pixels;
    for (auto _ : state) {
        for (const std::string& file : files) {
            rawJpegDecode(file, pixels);
            benchmark::DoNotOptimize(pixels.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
}
BENCHMARK(BM_rawDecode)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Tiles draw text, which needs a GUI application; no display is needed.
    useOffscreenPlatform();
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    RatioReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) {
        return 1;
    }

    const auto tiles = reporter.times.find("BM_composeTiles");
    const auto raw = reporter.times.find("BM_rawDecode");
    if (tiles == reporter.times.end() || raw == reporter.times.end() || raw->second.realMs <= 0 ||
        raw->second.cpuMs <= 0) {
        std::printf("ratio: not measured (run both benchmarks)\n");
        return 0;
    }
    const demosite::PictureSize size = demosite::SiteContent::coverSize();
    std::printf("%zu tiles of %dx%d: composed %.2f ms (cpu %.2f), raw decode %.2f ms (cpu %.2f); "
                "ratio tiles/decode %.2f (cpu %.2f)\n",
                coverFiles().size(), size.width, size.height, tiles->second.realMs,
                tiles->second.cpuMs, raw->second.realMs, raw->second.cpuMs,
                tiles->second.realMs / raw->second.realMs, tiles->second.cpuMs / raw->second.cpuMs);
    return 0;
}
