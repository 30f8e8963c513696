#pragma once

// What the window benchmarks share: the offscreen platform, the bare
// libjpeg-turbo decode they are measured against, and a reporter that keeps
// each benchmark's times for the ratio line.

#include "gui/zobrowsermain.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDialog>
#include <QTimer>
#include <QtGlobal>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <functional>
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

// A browser that asks nobody anything and ends nothing, its clock at `year`/`month`.
inline BrowserEnvironment quietEnvironment(int year, int month) {
    BrowserEnvironment environment;
    environment.clock = [year, month] { return YearMonth{year, month}; };
    environment.runModal = [](QDialog&) { return int(QDialog::Rejected); };
    environment.terminate = [] {};
    environment.closed = [] {};
    return environment;
}

// Handles the window's events (the workers' reports among them) until `done`
// holds; false when `limit` passed first. Sleeps between events, so the
// workers get the CPU.
inline bool processUntil(const std::function<bool()>& done,
                         std::chrono::seconds limit = std::chrono::seconds(60)) {
    QTimer waker; // a deadline is noticed even when no event comes
    waker.start(20);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
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

// Runs the benchmarks the command line asks for; false for arguments it
// does not know.
inline bool runBenchmarks(int& argc, char** argv, RatioReporter& reporter) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return false;
    }
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return true;
}

} // namespace zob::bench
