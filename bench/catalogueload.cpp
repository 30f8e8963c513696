// Loading the whole local catalogue (250 months of 100 series) into a fresh
// registry, each list loaded and then registered as the program does it,
// against reading the same files whole into memory. The ratio is what counts.
// Beside it, one 19 MB catalogue file whose lines end with a lone CR, against
// the same records with CR LF and against reading its bytes whole: how a line
// ends must not change what a load costs.

#include "catalogue/artlist.h"
#include "catalogue/artlistlist.h"
#include "config/configinfo.h"
#include "site/sitenames.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using namespace zob;

constexpr int monthCount = 250;
constexpr int seriesPerMonth = 100;
constexpr int firstYear = 1990;

class BenchMonthList : public ArtList {
public:
    BenchMonthList(ArtListList& registry, int yearValue, int monthValue)
        : ArtList(registry), year(yearValue), month(monthValue) {
        siteSection = "gallery";
    }
    std::string siteFolder() const override { return std::to_string(year); }
    std::string csvFileName() const override { return monthlyCsvName(year, month); }
    std::string pageFileName() const override { return monthlyPageName(year, month); }
    std::shared_ptr<ArtList> cloneEmpty() const override {
        return std::make_shared<BenchMonthList>(registry(), year, month);
    }
    bool isSame(const ArtList& other) const override {
        const auto* same = dynamic_cast<const BenchMonthList*>(&other);
        return same != nullptr && same->year == year && same->month == month;
    }
    std::string caption() const override { return csvFileName(); }
    std::string menuCaption() const override { return csvFileName(); }

    int year;
    int month;
};

// A local folder with the catalogue files and no pictures, removed at exit.
class CatalogueFolder {
public:
    CatalogueFolder() {
        root_ = std::filesystem::temp_directory_path() /
                ("zob-bench-catalogue-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root_ / indexFolderName);
        for (int i = 0; i < monthCount; ++i) {
            const int year = firstYear + i / 12;
            const int month = 1 + i % 12;
            files_.push_back(root_ / indexFolderName / monthlyCsvName(year, month));
            std::ofstream out(files_.back(), std::ios::binary);
            out << "version=100\r\n";
            for (int s = 0; s < seriesPerMonth; ++s) {
                char name[64];
                std::snprintf(name, sizeof name, "model%03d_ph%02d_%4.4d%2.2d", s, s % 37, year,
                              month);
                const std::string address = "https://www.zel-ora.example/members/gallery/" +
                                            std::to_string(year) + "/" + name;
                out << "\"Afternoon light in the garden, part " << s << "\",\"" << address
                    << "\",\"" << year << "/" << month << "/" << 1 + s % 28
                    << "\",\"Anna Model & Bea Other\",\"Carl Photographer\"," << 20 + s % 60
                    << ",\"" << address << "/cover.jpg\"," << (s % 5 == 0 ? 1000 + s : -1) << ","
                    << 500 + s << "\r\n";
            }
        }
    }
    CatalogueFolder(const CatalogueFolder&) = delete;
    CatalogueFolder& operator=(const CatalogueFolder&) = delete;
    ~CatalogueFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    const std::filesystem::path& root() const { return root_; }
    const std::vector<std::filesystem::path>& files() const { return files_; }

private:
    std::filesystem::path root_;
    std::vector<std::filesystem::path> files_;
};

const CatalogueFolder& catalogueFolder() {
    static const CatalogueFolder folder;
    return folder;
}

constexpr std::size_t bigFileBytes = 19u << 20;
constexpr int bigYear = 2008;
constexpr int crlfMonth = 1;
constexpr int loneCrMonth = 2;

// The same records twice in the catalogue folder: month 1 with CR LF line
// ends, month 2 with a lone CR.
const std::filesystem::path& bigLoneCrFile() {
    static const std::filesystem::path file = [] {
        std::string crlf = "version=100\r\n";
        for (int s = 0; crlf.size() < bigFileBytes; ++s) {
            char name[64];
            std::snprintf(name, sizeof name, "model%06d_ph%02d_%4.4d%2.2d", s, s % 37, bigYear,
                          crlfMonth);
            const std::string address =
                "https://www.zel-ora.example/members/gallery/2008/" + std::string(name);
            crlf += "\"Evening walk by the harbour, part " + std::to_string(s) + "\",\"" + address +
                    "\",\"2008/1/" + std::to_string(1 + s % 28) +
                    "\",\"Anna Model & Bea Other\",\"Carl Photographer\"," +
                    std::to_string(20 + s % 60) + ",\"" + address + "/cover.jpg\",-1," +
                    std::to_string(500 + s) + "\r\n";
        }
        std::string loneCr;
        loneCr.reserve(crlf.size());
        for (const char c : crlf) {
            if (c != '\n') {
                loneCr += c;
            }
        }
        const std::filesystem::path index = catalogueFolder().root() / indexFolderName;
        std::ofstream(index / monthlyCsvName(bigYear, crlfMonth), std::ios::binary) << crlf;
        const std::filesystem::path loneCrPath = index / monthlyCsvName(bigYear, loneCrMonth);
        std::ofstream(loneCrPath, std::ios::binary) << loneCr;
        return loneCrPath;
    }();
    return file;
}

// Seconds per iteration of each measurement, for the closing ratio.
double rawSeconds = 0;
double loadSeconds = 0;

// Times `body` per iteration; what it returns is released outside the
// measured time, since the program keeps its catalogue until it ends.
template <typename Body> double timedLoop(benchmark::State& state, Body body) {
    std::chrono::duration<double> total{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto kept = body();
        total += std::chrono::steady_clock::now() - start;
        state.PauseTiming();
        kept = {};
        state.ResumeTiming();
    }
    return total.count() / static_cast<double>(state.iterations());
}

std::string wholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    std::string text(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    return text;
}

void rawRead(benchmark::State& state) {
    const CatalogueFolder& folder = catalogueFolder();
    std::size_t bytes = 0;
    rawSeconds = timedLoop(state, [&] {
        std::vector<std::string> texts;
        bytes = 0;
        for (const auto& file : folder.files()) {
            texts.push_back(wholeFile(file));
            bytes += texts.back().size();
        }
        benchmark::DoNotOptimize(texts.data());
        return texts;
    });
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

void loadAndRegister(benchmark::State& state) {
    const CatalogueFolder& folder = catalogueFolder();
    configInfoClass config = configInfoClass::defaults(folder.root() / "ZObrowser.ini");
    config.local = folder.root().string();
    std::size_t records = 0;
    loadSeconds = timedLoop(state, [&] {
        auto registry = std::make_unique<ArtListList>("https://www.zel-ora.example", config);
        records = 0;
        for (int i = 0; i < monthCount; ++i) {
            auto list = std::make_shared<BenchMonthList>(*registry, firstYear + i / 12, 1 + i % 12);
            list->load();
            registry->registerList(list);
            records += list->size();
        }
        benchmark::DoNotOptimize(registry->size());
        return registry;
    });
    state.counters["records"] = static_cast<double>(records);
    if (rawSeconds > 0) {
        state.counters["x_raw_read"] = loadSeconds / rawSeconds;
    }
}

double bigRawSeconds = 0;
double bigCrlfSeconds = 0;
double bigLoneCrSeconds = 0;

void bigRawRead(benchmark::State& state) {
    const std::filesystem::path& file = bigLoneCrFile();
    bigRawSeconds = timedLoop(state, [&] {
        std::string text = wholeFile(file);
        benchmark::DoNotOptimize(text.data());
        return text;
    });
    state.SetBytesProcessed(static_cast<std::int64_t>(std::filesystem::file_size(file)) *
                            state.iterations());
}

double loadBigFile(benchmark::State& state, int month) {
    bigLoneCrFile();
    const CatalogueFolder& folder = catalogueFolder();
    configInfoClass config = configInfoClass::defaults(folder.root() / "ZObrowser.ini");
    config.local = folder.root().string();
    std::size_t records = 0;
    const double seconds = timedLoop(state, [&] {
        auto registry = std::make_unique<ArtListList>("https://www.zel-ora.example", config);
        auto list = std::make_shared<BenchMonthList>(*registry, bigYear, month);
        list->load();
        records = list->size();
        return std::make_pair(std::move(list), std::move(registry));
    });
    state.counters["records"] = static_cast<double>(records);
    return seconds;
}

void bigCrlfLoad(benchmark::State& state) {
    bigCrlfSeconds = loadBigFile(state, crlfMonth);
}

void bigLoneCrLoad(benchmark::State& state) {
    bigLoneCrSeconds = loadBigFile(state, loneCrMonth);
    if (bigCrlfSeconds > 0) {
        state.counters["x_crlf"] = bigLoneCrSeconds / bigCrlfSeconds;
    }
}

BENCHMARK(rawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(loadAndRegister)->Unit(benchmark::kMillisecond);
BENCHMARK(bigRawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(bigCrlfLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(bigLoneCrLoad)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (rawSeconds > 0 && loadSeconds > 0) {
        std::cout << "catalogue load " << loadSeconds * 1e3 << " ms, raw read " << rawSeconds * 1e3
                  << " ms: " << loadSeconds / rawSeconds << "x the raw read (goal: at most 5x)\n";
    }
    if (bigRawSeconds > 0 && bigCrlfSeconds > 0 && bigLoneCrSeconds > 0) {
        std::cout << "19 MB file: lone CR " << bigLoneCrSeconds * 1e3 << " ms, CR LF "
                  << bigCrlfSeconds * 1e3 << " ms, raw read " << bigRawSeconds * 1e3
                  << " ms: lone CR " << bigLoneCrSeconds / bigCrlfSeconds << "x CR LF, "
                  << bigLoneCrSeconds / bigRawSeconds << "x the raw read\n";
    }
    return 0;
}
