// Downloading one big series (thumbnails and high-resolution pictures, with
// its covers) from the demo site on loopback: `zob download` as a user runs
// it, beside one curl process fetching the same files over a reused
// connection, in the same run. Also the peak memory of `zob download`.

#include "benchsupport.h"
#include "demosite/content.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace zob::bench;

namespace {

constexpr int pictures = 200;
constexpr int rounds = 9;

} // namespace

int main() {
    demosite::SiteOptions options;
    options.todayYear = 2008;
    options.todayMonth = 3;
    options.todayDay = 15;
    options.longGalleryPictures = pictures;
    // The site runs as its own process, so that this one stays small: the
    // memory a child reports includes what it had before it started the
    // measured program.
    const SiteProcess site(std::string(ZOB_BINARY_DIR) + "/tools/demosite/zob-demo-site",
                           {"--today", "2008-03-15", "--long-gallery", std::to_string(pictures)});
    const demosite::SiteContent content(options);
    const auto longest = content.select(
        [](const demosite::Series& series) { return series.announcedPhotos == pictures; });
    if (longest.size() != 1) {
        std::cerr << "the demo site has no gallery of " << pictures << " pictures\n";
        return 1;
    }
    const demosite::Series& series = *longest.front();
    const std::string zob = std::string(ZOB_BINARY_DIR) + "/src/zob";
    Workspace workspace("download");

    // What curl fetches: every file `zob download NAME high` stores.
    const fs::path curlConfig = workspace.root() / "curl.conf";
    {
        std::ofstream config(curlConfig);
        config << "user = \"demo:demo\"\n";
        const auto fetch = [&](const std::string& path, const std::string& file) {
            config << "url = \"" << site.baseUrl << path << "\"\noutput = \"" << file << "\"\n";
        };
        fetch(series.coverPath, "cover.jpg");
        fetch(series.logoPath, "logo.jpg");
        for (int n = 1; n <= pictures; ++n) {
            fetch(series.picturePath(demosite::resThumbnail, n), "tn" + std::to_string(n) + ".jpg");
            fetch(series.picturePath(demosite::resHigh, n), "hi" + std::to_string(n) + ".jpg");
        }
    }
    const auto curlRound = [&] {
        const fs::path folder = workspace.fresh("curl");
        return measure("cd '" + folder.string() + "' && curl -s -S -f -K '" + curlConfig.string() +
                       "'");
    };
    const auto zobRound = [&] {
        const fs::path folder = workspace.fresh("zob");
        std::ofstream(folder / "ZObrowser.ini")
            << "[user]\nlogin=demo\npassword=demo\n[env]\nlocal=" << (folder / "Zel-Ora").string()
            << "\n[debug]\ndbgHost=" << site.baseUrl << "\n";
        return measure("cd '" + folder.string() + "' && '" + zob + "' download " + series.name +
                       " high </dev/null >/dev/null 2>&1");
    };

    // The first rounds fill the site's picture cache, so that what follows
    // measures the clients, not the making of the pictures.
    curlRound();
    zobRound();

    std::vector<double> zobTimes, curlTimes;
    long zobPeak = 0;
    for (int round = 0; round < rounds; ++round) {
        const Measured zobRun = zobRound();
        zobTimes.push_back(zobRun.milliseconds);
        zobPeak = std::max(zobPeak, zobRun.peakKilobytes);
        curlTimes.push_back(curlRound().milliseconds);
    }

    const double zobMs = median(zobTimes);
    const double curlMs = median(curlTimes);
    std::printf("series %s: %d thumbnails + %d high-resolution pictures + 2 covers\n",
                series.name.c_str(), pictures, pictures);
    std::printf("zob download %.1f ms, curl %.1f ms (medians of %d): %.2fx curl (goal: at most "
                "1.1x)\n",
                zobMs, curlMs, rounds, zobMs / curlMs);
    std::printf("peak memory of zob download: %.1f MB\n", static_cast<double>(zobPeak) / 1024);
    return 0;
}
