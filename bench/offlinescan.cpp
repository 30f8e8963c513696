// The offline search over twenty years of local catalogue files (240 months
// of 100 series) against a plain `grep -F` over the same files in the same
// run. The name searched is one model's, found in a few percent of lines.

#include "search/offlinescan.h"

#include "benchsupport.h"
#include "catalogue/artlist.h"
#include "catalogue/artlistlist.h"
#include "config/configinfo.h"
#include "site/sitenames.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace zob;

constexpr int firstYear = 2004;
constexpr int yearCount = 20;
constexpr int seriesPerMonth = 100;
constexpr int rounds = 9;
constexpr const char* searchedModel = "Kirara Sato";

// The list the search fills; never stored.
class BenchResultList : public ArtList {
public:
    explicit BenchResultList(ArtListList& registry) : ArtList(registry) {}
    std::string siteFolder() const override { return {}; }
    std::string csvFileName() const override { return {}; }
    std::string pageFileName() const override { return std::string(searchPageName); }
    std::shared_ptr<ArtList> cloneEmpty() const override {
        return std::make_shared<BenchResultList>(registry());
    }
    bool isSame(const ArtList&) const override { return false; }
    std::string caption() const override { return "search"; }
    std::string menuCaption() const override { return caption(); }
};

void writeCatalogue(const std::filesystem::path& indexFolder) {
    static constexpr std::array<const char*, 16> models = {
        "Anna Model", "Bea Other", "Cleo Moon", "Dana Frost", "Emi Rose",  "Fumi Lake",
        "Gina Stone", "Hana Mori", "Iris Vale", "Juno Park",  "Kaho Ueda", "Lena Brook",
        "Mika Hill",  "Nao Field", "Oona Grey", "Pia Sands"};
    static constexpr std::array<const char*, 5> photographers = {
        "Carl Weber", "Dora Lens", "Egon Shutter", "Fritz Frame", "Gus Focus"};
    std::filesystem::create_directories(indexFolder);
    int serial = 0;
    for (int year = firstYear; year < firstYear + yearCount; ++year) {
        for (int month = 1; month <= 12; ++month) {
            std::ofstream out(indexFolder / monthlyCsvName(year, month), std::ios::binary);
            out << "version=100\r\n";
            for (int s = 0; s < seriesPerMonth; ++s, ++serial) {
                char name[64];
                std::snprintf(name, sizeof name, "ser%05d_%s_%4.4d%2.2d", serial,
                              s % 2 == 0 ? "ph" : "mv", year, month);
                const std::string address = "https://www.zel-ora.example/members/gallery/" +
                                            std::to_string(year) + "/" + name + "/";
                // One series in 32 shows the searched model, beside another.
                std::string model = models[static_cast<std::size_t>(serial % 16)];
                if (serial % 32 == 5) {
                    model = std::string(searchedModel) + " & " + model;
                } else if (serial % 3 == 0) {
                    model += " & " + std::string(models[static_cast<std::size_t>(serial % 7)]);
                }
                char date[16];
                std::snprintf(date, sizeof date, "%4.4d/%2.2d/%2.2d", year, month, 1 + s % 28);
                out << "\"Afternoon light in the garden, part " << s << "\"," << address << ","
                    << date << ",\"" << model << "\",\""
                    << photographers[static_cast<std::size_t>(serial % 5)] << "\"," << 20 + s % 60
                    << "," << address << "cover.jpg," << (s % 5 == 0 ? 1000 + serial : -1) << ","
                    << 500 + serial % 900 << "\r\n";
            }
        }
    }
}

} // namespace

int main() {
    const bench::Workspace workspace("offlinescan");
    const std::filesystem::path local = workspace.fresh("local");
    const std::filesystem::path indexFolder = local / indexFolderName;
    writeCatalogue(indexFolder);

    configInfoClass config = configInfoClass::defaults(workspace.root() / "ZObrowser.ini");
    config.local = local.string();
    ArtListList registry("https://www.zel-ora.example", config);

    OfflineScanSettings settings;
    settings.today = [] { return YearMonth{firstYear + yearCount - 1, 12}; };
    settings.temporaryFile = workspace.root() / "srchTmp.csv";

    const std::string grepLine = "grep -F -h '" + std::string(searchedModel) + "' " +
                                 (indexFolder / "*.csv").string() + " > /dev/null";
    std::vector<double> scanTimes;
    std::vector<double> grepTimes;
    std::size_t found = 0;
    for (int round = 0; round < rounds; ++round) {
        auto list = std::make_shared<BenchResultList>(registry);
        const auto start = std::chrono::steady_clock::now();
        const bool any = offlineScan(*list, searchedModel, settings);
        scanTimes.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        if (!any) {
            std::cerr << "the search found nothing\n";
            return 1;
        }
        found = list->size();
        // grep exits 1 without a match; the search just showed there is one.
        grepTimes.push_back(bench::measure(grepLine).milliseconds);
    }

    const double scan = bench::median(scanTimes);
    const double grep = bench::median(grepTimes);
    std::cout << "offline scan of " << yearCount * 12 << " months (" << found
              << " series found): " << scan << " ms, grep -F " << grep << " ms: " << scan / grep
              << "x grep (goal: at most 3x)\n";
    return 0;
}
