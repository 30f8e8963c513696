// Reading the choices of the search page's select elements: 2 MB of options,
// well formed and as one run of "<option value=" that never closes, against a
// plain look at every byte of the same text in the same run. Both must stay
// a small multiple of the plain scan, whatever the page looks like.

#include "catalogue/artlistlist.h"
#include "config/configinfo.h"
#include "platform/debuglog.h"
#include "search/searchkeyinfo.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>

namespace {

using namespace zob;

constexpr std::size_t textBytes = 2u << 20;

const std::string& wellFormedOptions() {
    static const std::string text = [] {
        std::string made;
        for (int i = 0; made.size() < textBytes; ++i) {
            made += "<option value=" + std::to_string(i) + ">Model Name " + std::to_string(i) +
                    "</option>\r\n";
        }
        return made;
    }();
    return text;
}

// Options that never close until the very end.
const std::string& unclosedOptions() {
    static const std::string text = [] {
        constexpr std::string_view open = "<option value=";
        std::string made;
        while (made.size() < textBytes) {
            made += open;
        }
        made += ">Last</option>";
        return made;
    }();
    return text;
}

// A registry over a folder that does not exist: the index starts empty.
struct SearchKeys {
    configInfoClass config = [] {
        configInfoClass made = configInfoClass::defaults(
            std::filesystem::temp_directory_path() /
            ("zob-bench-options-" + std::to_string(::getpid())) / "ZObrowser.ini");
        made.local = made.iniPath().parent_path().string();
        return made;
    }();
    ArtListList registry{"https://www.zel-ora.example", config};
    DebugLog log;
    searchKeyInfoClass keys{registry, log};
};

void parse(benchmark::State& state, const std::string& text) {
    SearchKeys search;
    std::size_t learned = 0;
    for (auto _ : state) {
        SearchKeyTable table;
        search.keys.parseOptions(table, text);
        learned = table.size();
        benchmark::DoNotOptimize(table.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    state.counters["options"] = static_cast<double>(learned);
}

void plainScan(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        std::size_t opens = 0;
        for (const char c : text) {
            opens += c == '<' ? 1 : 0;
        }
        benchmark::DoNotOptimize(opens);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

BENCHMARK_CAPTURE(parse, wellFormed, wellFormedOptions())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(plainScan, wellFormed, wellFormedOptions())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parse, unclosed, unclosedOptions())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(plainScan, unclosed, unclosedOptions())->Unit(benchmark::kMillisecond);

// Prints as usual and keeps each run's seconds per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0) {
                seconds[run.benchmark_name()] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
    }

    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    for (const char* text : {"wellFormed", "unclosed"}) {
        const auto parsed = reporter.seconds.find(std::string("parse/") + text);
        const auto scanned = reporter.seconds.find(std::string("plainScan/") + text);
        if (parsed == reporter.seconds.end() || scanned == reporter.seconds.end() ||
            scanned->second <= 0) {
            continue;
        }
        std::printf("%s options, %zu bytes: parse %.4f ms, plain scan %.4f ms: %.3gx the scan\n",
                    text, textBytes, parsed->second * 1e3, scanned->second * 1e3,
                    parsed->second / scanned->second);
    }
    return 0;
}
