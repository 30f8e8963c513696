#include "demosite/content.h"
#include "demosite/demosite.h"
#include "testsupport/filetesting.h"
#include "testsupport/runprogram.h"
#include "testsupport/sitesession.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace zob {
namespace {

namespace fs = std::filesystem;

std::string lastLine(const std::string& text) {
    std::istringstream in(text);
    std::string last;
    for (std::string line; std::getline(in, line);) {
        last = line;
    }
    return last;
}

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

std::string numbered(const char* format, const std::string& key, int n) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, key.c_str(), n);
    return buffer;
}

class ZobSeries : public testing::DemoSiteSuite {
protected:
    void SetUp() override {
        writeBytes(folder_.path() / "ZObrowser.ini",
                   "[user]\nlogin=demo\npassword=demo\n[env]\nlocal=" + local().string() +
                       "\n[debug]\ndbgHost=" + site().baseUrl() +
                       // Retries as a user has them, with waits short enough for a test.
                       "\n[net]\nretryDelayMs=20\n");
    }
    ProgramRun zob(const std::string& arguments, const std::string& wrapper = "") {
        return runInFolder(folder_.path(), wrapper + zobProgram() + " " + arguments);
    }
    fs::path local() const { return folder_.path() / "Zel-Ora"; }
    fs::path seriesFolder(const demosite::Series& series) const {
        return local() / std::to_string(series.year) / series.name;
    }
    fs::path thumbnail(const demosite::Series& series, int n) const {
        return seriesFolder(series) / numbered("tn_%s_%04d.jpg", series.key, n);
    }
    fs::path lowPicture(const demosite::Series& series, int n) const {
        return seriesFolder(series) / "lores" / numbered("ZEL-ORA_%s_%04d.jpg", series.key, n);
    }
    std::string catalogueLine(const demosite::Series& series) const {
        char name[16];
        std::snprintf(name, sizeof name, "%04d%02d.csv", series.year, series.month);
        std::istringstream in(readBytes(local() / "00index" / name));
        for (std::string line; std::getline(in, line);) {
            if (line.find("/" + series.name) != std::string::npos) {
                return line;
            }
        }
        return {};
    }

    // The smallest series of the 2008 months with the wanted property: the
    // tests stay quick and the local year folder is known.
    static const demosite::Series& smallest(bool (*wanted)(const demosite::Series&)) {
        auto candidates = site().content().select([wanted](const demosite::Series& series) {
            return series.year == 2008 && wanted(series);
        });
        if (candidates.empty()) {
            candidates = site().content().select([wanted](const demosite::Series& series) {
                return series.year > 2003 && wanted(series);
            });
        }
        EXPECT_FALSE(candidates.empty());
        return **std::min_element(candidates.begin(), candidates.end(), [](auto* a, auto* b) {
            return a->announcedPhotos < b->announcedPhotos;
        });
    }
    static bool plain(const demosite::Series& series) {
        return !series.isMovie && !series.lastPicturesMissing && !series.noMidRes &&
               !series.archiveOnly && !series.favoriteAtStart;
    }

    ScratchFolder folder_;
};

TEST_F(ZobSeries, DownloadsAGalleryWithItsCoversAndSavesTheCatalogue) {
    const demosite::Series& series = smallest(plain);
    const int count = series.announcedPhotos;
    const ProgramRun run = zob("download " + series.name + " low");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(lastLine(run.out), series.name + "\tTL--\t" + std::to_string(count) + "  photos");
    for (int n = 1; n <= count; ++n) {
        EXPECT_GT(fs::file_size(thumbnail(series, n)), 0u) << n;
        EXPECT_GT(fs::file_size(lowPicture(series, n)), 0u) << n;
    }
    EXPECT_FALSE(fs::exists(thumbnail(series, count + 1)));
    const fs::path logos = local() / "2008" / "00logo";
    EXPECT_GT(fs::file_size(logos / (series.name + "_s.jpg")), 0u);
    EXPECT_GT(fs::file_size(logos / (series.name + "_l.jpg")), 0u);
    EXPECT_EQ(readBytes(seriesFolder(series) / "FOLDER.JPG"),
              readBytes(logos / (series.name + "_l.jpg")));
    EXPECT_FALSE(catalogueLine(series).empty());
    // Without a terminal the progress is one line per finished job.
    EXPECT_EQ(run.err.find('\r'), std::string::npos);
    EXPECT_NE(run.err.find("T " + std::to_string(count) + "/" + std::to_string(count)),
              std::string::npos)
        << run.err;

    // A second run finds everything on disk and fetches no picture.
    site().clearRequests();
    const ProgramRun again = zob("download " + series.name + " low");
    EXPECT_EQ(again.status, 0) << again.err;
    for (const auto& request : site().requests()) {
        EXPECT_EQ(request.target.find(".jpg"), std::string::npos) << request.target;
    }

    // Deleting one resolution, then all of them, as the series menu does.
    const ProgramRun low = zob("delete " + series.name + " low");
    EXPECT_EQ(low.status, 0) << low.err;
    EXPECT_EQ(low.out, series.name + "\tT---\n");
    EXPECT_FALSE(fs::exists(lowPicture(series, 1)));
    EXPECT_TRUE(fs::exists(thumbnail(series, 1)));
    const ProgramRun all = zob("delete " + series.name + " all");
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, series.name + "\t----\n");
    EXPECT_FALSE(fs::exists(thumbnail(series, 1)));
    EXPECT_FALSE(fs::exists(thumbnail(series, count)));
}

TEST_F(ZobSeries, MissingLastPicturesCutTheCountInTheCatalogue) {
    const demosite::Series& series =
        smallest([](const demosite::Series& s) { return s.lastPicturesMissing; });
    const int present = series.existingPictures[demosite::resLow];
    ASSERT_LT(present, series.announcedPhotos);
    const ProgramRun run = zob("download " + series.name + " low");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(lastLine(run.out), series.name + "\tTL--\t" + std::to_string(present) + "  photos");
    EXPECT_TRUE(fs::exists(lowPicture(series, present)));
    EXPECT_FALSE(fs::exists(lowPicture(series, present + 1)));
    EXPECT_NE(catalogueLine(series).find("," + std::to_string(present) + ",\""), std::string::npos)
        << catalogueLine(series);
}

TEST_F(ZobSeries, MovieGivesItsAddressAndDownloadsNothing) {
    const demosite::Series& movie = smallest([](const demosite::Series& s) { return s.isMovie; });
    const ProgramRun run = zob("download " + movie.name);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string address = run.out.substr(0, run.out.find('\n'));
    EXPECT_EQ(address.rfind(site().baseUrl(), 0), 0u) << address;
    EXPECT_NE(address.find(movie.name), std::string::npos) << address;
    EXPECT_EQ(lastLine(run.out), movie.name + "\t----\tmovie");
    EXPECT_FALSE(fs::exists(seriesFolder(movie)));
}

// Nothing in the site's naming promises a month in a name: a series is
// found wherever the program knows it.
TEST_F(ZobSeries, ASeriesIsFoundByNameWhereverItIsKnown) {
    const demosite::Series& dated = smallest([](const demosite::Series& s) {
        return plain(s) && s.name.size() > 9 &&
               s.name.find_first_not_of("0123456789", s.name.size() - 8) == std::string::npos;
    });
    // Online, the day in the name leads to its month.
    ASSERT_EQ(zob("download " + dated.name + " thumb").status, 0);

    // After a listing, from the local catalogue alone: no page is asked for.
    const demosite::MonthContent& month = *site().content().month(dated.year, dated.month);
    const auto other = std::find_if(month.series.begin(), month.series.end(), [&](auto* s) {
        return plain(*s) && s->name != dated.name && !site().content().isFavorite(*s);
    });
    ASSERT_NE(other, month.series.end());
    site().clearRequests();
    ASSERT_EQ(zob("fav add " + (*other)->name).status, 0);
    for (const auto& request : site().requests()) {
        EXPECT_NE(request.target, month.pagePath());
    }
    EXPECT_EQ(zob("fav remove " + (*other)->name).status, 0);

    const ProgramRun unknown = zob("delete undated_name all");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("no series named undated_name: not in the local catalogue; give "
                               "--month YYYY/MM to load its month from the site"),
              std::string::npos)
        << unknown.err;
}

TEST_F(ZobSeries, UnknownSeriesAndBadArguments) {
    for (const char* name : {"zz_yy_200803", "nonsense", "zz_yy_201299"}) {
        const ProgramRun run = zob(std::string("download ") + name);
        EXPECT_EQ(run.status, 2) << name << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(zob(std::string("fav add ") + name).status, 2) << name;
        EXPECT_EQ(zob(std::string("delete ") + name + " all").status, 2) << name;
    }
    const std::string name = smallest(plain).name;
    EXPECT_EQ(zob("download " + name + " huge").status, 64);
    EXPECT_EQ(zob("delete " + name).status, 64);
    EXPECT_EQ(zob("fav toggle " + name).status, 64);
    EXPECT_EQ(zob("bad add").status, 64);
}

TEST_F(ZobSeries, FavoritesAreKeptInStepWithTheSite) {
    const demosite::Series& series = smallest(
        [](const demosite::Series& s) { return plain(s) && !site().content().isFavorite(s); });
    const std::string id = std::to_string(series.favoriteId);
    const auto asked = [](const std::string& what) {
        const auto requests = site().requests();
        return std::any_of(requests.begin(), requests.end(), [&](const auto& request) {
            return request.target.find("favorites") != std::string::npos &&
                   request.target.find(what) != std::string::npos;
        });
    };

    site().clearRequests();
    const ProgramRun add = zob("fav add " + series.name);
    ASSERT_EQ(add.status, 0) << add.err;
    EXPECT_EQ(add.out, series.name + "\t----F\n");
    EXPECT_TRUE(asked("add=" + id));
    EXPECT_TRUE(site().content().isFavorite(series));

    // Adding a favorite again changes nothing and asks the site nothing.
    site().clearRequests();
    EXPECT_EQ(zob("fav add " + series.name).status, 0);
    EXPECT_FALSE(asked("add=" + id));
    const fs::path favorites = local() / "00index" / "MyFavorite.csv";
    const std::string kept = readBytes(favorites);
    ASSERT_EQ(countOf(kept, "/" + series.name + "\""), 1U) << kept;
    // A file an older run wrote holds it twice: one remove heals it.
    const std::size_t line = kept.find("\r\n") + 2;
    writeBytes(favorites, kept + kept.substr(line, kept.find("\r\n", line) + 2 - line));

    site().clearRequests();
    const ProgramRun remove = zob("fav remove " + series.name);
    ASSERT_EQ(remove.status, 0) << remove.err;
    EXPECT_EQ(remove.out, series.name + "\t----\n");
    EXPECT_TRUE(asked("remove=" + id));
    EXPECT_FALSE(site().content().isFavorite(series));
    EXPECT_EQ(countOf(readBytes(favorites), "/" + series.name + "\""), 0U);
}

TEST_F(ZobSeries, BadListIsKeptOnDisk) {
    const demosite::Series& series = smallest(plain);
    const ProgramRun add = zob("bad add " + series.name);
    ASSERT_EQ(add.status, 0) << add.err;
    EXPECT_EQ(add.out, series.name + "\t----B\n");
    EXPECT_EQ(zob("bad add " + series.name).status, 0);
    EXPECT_EQ(countOf(readBytes(local() / "00index" / "BadList.csv"), "/" + series.name + "\""),
              1U);
    const ProgramRun listed = zob("list bad");
    EXPECT_NE(listed.out.find(series.name + "\t"), std::string::npos) << listed.out;

    const ProgramRun remove = zob("bad remove " + series.name);
    ASSERT_EQ(remove.status, 0) << remove.err;
    EXPECT_EQ(remove.out, series.name + "\t----\n");
    EXPECT_EQ(zob("list bad").out.find(series.name), std::string::npos);
}

TEST_F(ZobSeries, InterruptStopsAfterThePicturesInHandAndSaves) {
    // Start-up takes about five answers, then at least 20 pictures per job
    // follow: the interrupt lands in the middle of both jobs.
    const demosite::Series& series =
        smallest([](const demosite::Series& s) { return plain(s) && s.announcedPhotos >= 20; });
    demosite::Faults slow;
    slow.latency = std::chrono::milliseconds(100);
    site().setFaults(slow);
    const ProgramRun run =
        zob("download " + series.name + " high", "timeout --preserve-status -s INT 1.5 ");
    site().setFaults({});
    EXPECT_EQ(run.status, 130) << run.err;
    EXPECT_EQ(lastLine(run.out).rfind(series.name + "\t", 0), 0u) << run.out;
    EXPECT_TRUE(fs::exists(thumbnail(series, 1)));
    EXPECT_FALSE(fs::exists(seriesFolder(series) / "hires" /
                            numbered("ZEL-ORA_%s_%04d.jpg", series.key, series.announcedPhotos)));
    EXPECT_FALSE(catalogueLine(series).empty());
}

TEST_F(ZobSeries, AHoleOrAFullDiskIsAnIncompleteDownloadThatKeepsTheCount) {
    const demosite::Series& series = smallest(plain);
    const std::string count = std::to_string(series.announcedPhotos);
    demosite::Faults faults;
    faults.fixedAnswers[series.picturePath(demosite::resLow, 2)] = {500, "oops"};
    site().setFaults(faults);
    const ProgramRun holed = zob("download " + series.name + " low");
    site().setFaults({});
    EXPECT_EQ(holed.status, 4) << holed.err;
    EXPECT_EQ(lastLine(holed.out), series.name + "\tTL--\t" + count + "  photos (1 missing)");

    // Thumbnails fit under the cap, low-resolution pictures do not.
    fs::remove_all(seriesFolder(series));
    const ProgramRun full =
        runInFolder(folder_.path(), "bash -c 'ulimit -f 16; exec " + zobProgram() + " download " +
                                        series.name + " low'");
    EXPECT_EQ(full.status, 4) << full.err;
    EXPECT_EQ(lastLine(full.out),
              series.name + "\tT---\t" + count + "  photos (" + count + " missing)");
    EXPECT_NE(full.err.find("File too large"), std::string::npos) << full.err;
    EXPECT_NE(catalogueLine(series).find("," + count + ","), std::string::npos)
        << catalogueLine(series);
}

// A picture that stalls half-way: the first Ctrl-C lets it go on for a few
// seconds, a second one ends it at once; either way nothing half-fetched stays.
TEST_F(ZobSeries, CtrlCNeverWaitsLongForAStalledPicture) {
    const demosite::Series& series = smallest(plain);
    demosite::Faults stalled;
    stalled.pictureBody = demosite::BodyFault::stall;
    site().setFaults(stalled);
    for (const std::string interrupts : {"kill -INT $p", "kill -INT $p; sleep 0.3; kill -INT $p"}) {
        const auto started = std::chrono::steady_clock::now();
        const ProgramRun run =
            runInFolder(folder_.path(), "bash -c '" + zobProgram() + " download " + series.name +
                                            " low & p=$!; sleep 1.5; " + interrupts + "; wait $p'");
        const auto took = std::chrono::steady_clock::now() - started;
        EXPECT_EQ(run.status, 130) << run.err;
        EXPECT_LT(took, std::chrono::seconds(interrupts.size() > 20 ? 4 : 9)) << interrupts;
        // A picture's own partial file stays for the next run to resume; a
        // temporary file of this process must not.
        const std::regex processTemporary(R"(.*\.[0-9]+-[0-9]+\.part)");
        for (const auto& entry : fs::recursive_directory_iterator(local())) {
            EXPECT_FALSE(std::regex_match(entry.path().filename().string(), processTemporary))
                << entry.path();
        }
        EXPECT_FALSE(catalogueLine(series).empty());
    }
    site().setFaults({});
}

} // namespace
} // namespace zob

namespace zob {
namespace {

// The picture files a run fetched whole.
std::vector<std::string> picturesFetched(const std::vector<demosite::LoggedRequest>& requests) {
    std::vector<std::string> fetched;
    for (const demosite::LoggedRequest& request : requests) {
        if (request.status == 200 && (request.target.find("/hires/") != std::string::npos ||
                                      request.target.find("/lores/") != std::string::npos)) {
            fetched.push_back(request.target);
        }
    }
    std::sort(fetched.begin(), fetched.end());
    return fetched;
}

TEST_F(ZobSeries, AListDownloadCutByCtrlCFinishesTheRestNextTimeFetchingNothingTwice) {
    // Ctrl-C as soon as the queue runs: two series at a time leave the other
    // favorites waiting, and the slow site keeps the two from finishing.
    demosite::Faults slow;
    slow.latency = std::chrono::milliseconds(150);
    site().setFaults(slow);
    site().clearRequests();
    const ProgramRun first = runInFolder(
        folder_.path(),
        "bash -c '" + zobProgram() +
            " download --list favorites low & p=$!; for i in $(seq 1 300); do grep -qs ,running "
            "Zel-Ora/00index/queue.csv && break; sleep 0.05; done; kill -INT $p; wait $p'");
    const std::vector<std::string> before = picturesFetched(site().requests());
    site().setFaults({});
    ASSERT_EQ(first.status, 130) << first.err;
    EXPECT_NE(zob("queue").out.find("\twaiting"), std::string::npos) << "some were left";

    site().clearRequests();
    const ProgramRun second = zob("download --list favorites low");
    EXPECT_EQ(second.status, 0) << second.err;
    const std::vector<std::string> after = picturesFetched(site().requests());
    std::vector<std::string> twice;
    std::set_intersection(before.begin(), before.end(), after.begin(), after.end(),
                          std::back_inserter(twice));
    EXPECT_TRUE(twice.empty()) << twice.front();
    const std::string queue = zob("queue").out;
    EXPECT_EQ(countOf(queue, "\tdone"), countOf(queue, "\n")) << queue;
    EXPECT_EQ(zob("queue clear").status, 0);
    EXPECT_EQ(zob("queue").out, "");
}

} // namespace
} // namespace zob
