// Throughput of the archive page scanner against a plain byte loop over the
// same buffer, measured in one run so the ratio does not depend on the machine.

#include "catalogue/pagescanner.h"

#include <array>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t minimumPageBytes = 5u << 20;

// Deterministic, so every run scans the same bytes.
class Lcg {
public:
    std::uint32_t next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state >> 33);
    }
    template <typename T, std::size_t N> const T& pick(const std::array<T, N>& pool) {
        return pool[next() % N];
    }

private:
    std::uint64_t state = 20080315;
};

constexpr std::array<std::string_view, 8> modelNames = {
    "Mira Tanne", "Ann Bell", "Kira Solberg",    "Lena Voss",
    "Ilse Marr",  "Tove Ek",  "Sanna Lindqvist", "Greta Holm"};
constexpr std::array<std::string_view, 6> photographers = {"Kent Tate", "Bo Carlsson", "Jan Wiik",
                                                           "Per Alm",   "Ola Strand",  "Nils Berg"};
constexpr std::array<std::string_view, 8> titleWords = {
    "Red", "Door", "Summer &amp; Sea", "Morning", "&quot;Blue&quot;", "Garden", "Window", "Light"};

// The members' page frame: head, header table with its navigation links,
// footer. Repeated chrome is what the scanner wades through between blocks.
std::string pageHead() {
    return "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
           "<HTML>\r\n<HEAD>\r\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\r\n"
           "<TITLE>Zel-Ora members - Updates</TITLE>\r\n"
           "<style type=\"text/css\">body{font-family:Verdana,sans-serif;font-size:12px}"
           "td.nav a{margin:0 6px}</style>\r\n"
           "</HEAD>\r\n<body bgcolor=\"#FFFFFF\" text=\"#333333\">\r\n"
           "<TABLE width=\"760\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\">\r\n"
           "<TR><TD class=\"logo\"><font size=\"5\"><b>ZEL-ORA</b></font> members "
           "area</TD></TR>\r\n"
           "<tr><td class=\"nav\"><a href=\"/members/home.html\">Home</a> | "
           "<A href=\"/members/gallery/archive/index.html\">Archive</A> | "
           "<a href=\"/members/favorites/index.html?add=\">My favorites</a> | "
           "<a href=\"/members/bestofzel/index.html\">Best of Zel</a> | "
           "<a href=\"/members/search.html\">Search</a></td></tr>\r\n"
           "</TABLE>\r\n<h2>Updates</h2>\r\n";
}

std::string pageFoot() {
    return "<table width=\"760\" class=\"footer\"><tr><td class=\"copy\">&copy; Zel-Ora. "
           "All rights reserved. <A HREF=\"/members/home.html\">members home</A></td></tr>"
           "</table>\r\n</body>\r\n</HTML>\r\n";
}

std::string seriesBlock(Lcg& random, int serial) {
    const bool movie = random.next() % 10 == 0;
    const std::string model(random.pick(modelNames));
    const std::string second(random.pick(modelNames));
    const bool pair = random.next() % 4 == 0 && second != model;
    const std::string photographer(random.pick(photographers));
    const int year = 2003 + serial % 6;
    const int month = 1 + serial % 12;
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%04d%02d", year, month);
    char date[16];
    std::snprintf(date, sizeof date, "%04d/%02d/%02d", year, month,
                  static_cast<int>(1 + random.next() % 28));
    const std::string name =
        model.substr(0, 4) + "_kt" + std::to_string(1000 + serial) + "_" + stamp;
    const std::string folder = movie
                                   ? "/members/movies/" + name + "/"
                                   : "/members/gallery/" + std::to_string(year) + "/" + name + "/";
    const std::string title =
        std::string(random.pick(titleWords)) + " " + std::string(random.pick(titleWords));

    std::string specs = movie ? "movie" : std::to_string(12 + random.next() % 90) + " photos";
    specs += " | <a href=\"/members/favorites/index.html?remove=" + std::to_string(5000 + serial) +
             "\">remove</a>";
    specs += " | <a href=\"/members/search.html?model_id=" + std::to_string(random.next() % 400) +
             "\">more of " + model + "</a>";

    std::string block;
    block += "<table class=\"item\" width=\"100%\" border=\"0\" cellspacing=\"2\">\r\n";
    block += "<tr>\r\n<td class=\"cover\" rowspan=\"5\" width=\"120\"><a href=\"" + folder +
             "\"><IMG src=\"" + folder +
             "cover.jpg\" width=\"113\" height=\"170\" border=\"0\" alt=\"" + name +
             "\"></a></td>\r\n";
    block += "<td class=\"series\">" + model + (pair ? " & " + second : "") + "</td>\r\n</tr>\r\n";
    block += "<tr><TD class=\"date\">" + std::string(date) + "</TD></tr>\r\n";
    block += "<tr><td class=\"title\">" + title + "</td></tr>\r\n";
    block += "<tr><td class=\"photographer\">BY " + photographer + "</td></tr>\r\n";
    block += "<tr><td class=\"specs\">" + specs + "</td></tr>\r\n";
    block += "</TABLE>\r\n";
    return block;
}

struct Page {
    std::string bytes;
    std::int64_t seriesCount = 0;
};

const Page& bigPage() {
    static const Page page = [] {
        Page made;
        Lcg random;
        made.bytes = pageHead();
        while (made.bytes.size() < minimumPageBytes) {
            made.bytes += seriesBlock(random, static_cast<int>(made.seriesCount));
            ++made.seriesCount;
        }
        made.bytes += pageFoot();
        return made;
    }();
    return page;
}

void BM_scanArchivePage(benchmark::State& state) {
    const Page& page = bigPage();
    for (auto _ : state) {
        std::int64_t found = 0;
        zob::scanArchivePage(page.bytes, [&found](zob::ParsedSeries&& series) {
            benchmark::DoNotOptimize(series.photoCount);
            ++found;
        });
        benchmark::DoNotOptimize(found);
        if (found != page.seriesCount) {
            state.SkipWithError("the scanner missed series of the generated page");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(page.bytes.size()));
    state.counters["series"] = static_cast<double>(page.seriesCount);
}
BENCHMARK(BM_scanArchivePage)->Unit(benchmark::kMillisecond);

// The baseline: one look at every byte and nothing else.
void BM_byteLoop(benchmark::State& state) {
    const Page& page = bigPage();
    for (auto _ : state) {
        std::size_t opens = 0;
        for (const char c : page.bytes) {
            opens += c == '<' ? 1 : 0;
        }
        benchmark::DoNotOptimize(opens);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(page.bytes.size()));
}
BENCHMARK(BM_byteLoop)->Unit(benchmark::kMillisecond);

// Prints as usual and keeps each benchmark's throughput for the ratio line.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto rate = run.counters.find("bytes_per_second");
            if (run.run_type == Run::RT_Iteration && !run.error_occurred &&
                rate != run.counters.end()) {
                throughput[run.run_name.function_name] = rate->second.value;
            }
        }
    }

    std::map<std::string, double> throughput; // bytes per second
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

    const Page& page = bigPage();
    const auto scanner = reporter.throughput.find("BM_scanArchivePage");
    const auto loop = reporter.throughput.find("BM_byteLoop");
    if (scanner == reporter.throughput.end() || loop == reporter.throughput.end() ||
        loop->second <= 0) {
        std::printf("ratio: not measured (run both benchmarks)\n");
        return 0;
    }
    constexpr double mega = 1024.0 * 1024.0;
    std::printf("page: %.1f MB, %lld series\n", static_cast<double>(page.bytes.size()) / mega,
                static_cast<long long>(page.seriesCount));
    std::printf("scanner %.0f MB/s, byte loop %.0f MB/s, ratio scanner/loop %.2f (goal >= 0.30)\n",
                scanner->second / mega, loop->second / mega, scanner->second / loop->second);
    return 0;
}
