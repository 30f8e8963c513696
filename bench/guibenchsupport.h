#pragma once

// What the window benchmarks share: the offscreen platform, the bare
// libjpeg-turbo decode they are measured against, and a reporter that keeps
// each benchmark's times for the ratio line.

#include <QByteArray>
#include <QtGlobal>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <jpeglib.h>
#include <map>
#include <string>
#include <vector>

namespace zob::bench {

// Windows and text need a GUI application; no display is needed.
inline void useOffscreenPlatform() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

// The baseline: libjpeg-turbo straight into a 32-bit buffer, nothing else.
inline void rawJpegDecode(const std::string& file, std::vector<unsigned char>& pixels) {
    std::FILE* input = std::fopen(file.c_str(), "rb");
    if (input == nullptr) {
        return;
    }
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
}

// Milliseconds per round, wall-clock and CPU: on a busy machine the
// wall-clock figures wander.
struct Times {
    double realMs = 0;
    double cpuMs = 0;
};

// Prints as usual and keeps each benchmark's times per round.
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

} // namespace zob::bench
