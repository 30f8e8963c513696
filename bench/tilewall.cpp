// Composing the cover wall's tiles (decode, measure, lighten, letters, marks)
// for 100 small covers on disk, beside a bare libjpeg-turbo decode of the same
// files in the same run: the ratio is what the tile drawing adds to decoding.

#include "benchsupport.h"
#include "demosite/content.h"
#include "demosite/jpegencoder.h"
#include "views/logotile.h"

#include <QApplication>
#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <jpeglib.h>
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

// The baseline: libjpeg-turbo straight into a 32-bit buffer, nothing else.
void BM_rawDecode(benchmark::State& state) {
    const std::vector<std::string>& files = coverFiles();
    std::vector<unsigned char> pixels;
    for (auto _ : state) {
        for (const std::string& file : files) {
            std::FILE* input = std::fopen(file.c_str(), "rb");
            jpeg_decompress_struct info{};
            jpeg_error_mgr errors{};
            info.err = jpeg_std_error(&errors);
            jpeg_create_decompress(&info);
            jpeg_stdio_src(&info, input);
            jpeg_read_header(&info, TRUE);
            info.out_color_space = JCS_EXT_BGRX;
            jpeg_start_decompress(&info);
            const std::size_t stride = static_cast<std::size_t>(info.output_width) * 4;
            pixels.resize(stride * info.output_height);
            while (info.output_scanline < info.output_height) {
                JSAMPROW row = pixels.data() + stride * info.output_scanline;
                jpeg_read_scanlines(&info, &row, 1);
            }
            jpeg_finish_decompress(&info);
            jpeg_destroy_decompress(&info);
            std::fclose(input);
            benchmark::DoNotOptimize(pixels.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
}
BENCHMARK(BM_rawDecode)->Unit(benchmark::kMillisecond);

// Prints as usual and keeps each benchmark's times per round for the ratio
// line. CPU time too: on a busy machine the wall-clock figures wander.
struct Times {
    double realMs = 0;
    double cpuMs = 0;
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                const double toMs = benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                                    benchmark::GetTimeUnitMultiplier(run.time_unit);
                times[run.run_name.function_name] = {run.GetAdjustedRealTime() * toMs,
                                                     run.GetAdjustedCPUTime() * toMs};
            }
        }
    }

    std::map<std::string, Times> times;
};

} // namespace

int main(int argc, char** argv) {
    // Tiles draw text, which needs a GUI application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

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
