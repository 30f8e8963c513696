#include "demosite/content.h"
#include "demosite/demosite.h"
#include "platform/folderlock.h"
#include "testsupport/filetesting.h"
#include "testsupport/runprogram.h"
#include "testsupport/sitesession.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace zob {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string specsOf(const demosite::Series& series) {
    return series.isMovie ? "movie" : std::to_string(series.announcedPhotos);
}

class ZobList : public testing::DemoSiteSuite {
protected:
    void writeIni(const std::string& extraEnv = "") {
        writeBytes(folder_.path() / "ZObrowser.ini",
                   "[user]\nlogin=demo\npassword=demo\n[env]\nlocal=" +
                       (folder_.path() / "Zel-Ora").string() + "\n" + extraEnv +
                       "[debug]\ndbgHost=" + site().baseUrl() + "\n");
    }
    ProgramRun zob(const std::string& arguments) {
        return runInFolder(folder_.path(), zobProgram() + " " + arguments);
    }

    ScratchFolder folder_;
};

TEST_F(ZobList, PrintsAMonthAsTheSiteHasItAndKeepsItsCatalogue) {
    writeIni();
    const ProgramRun run = zob("list month 2007/11");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = linesOf(run.out);
    const auto& series = site().content().month(2007, 11)->series;
    ASSERT_EQ(lines.size(), series.size() + 1);
    EXPECT_EQ(lines[0], "# 2007/11");
    for (std::size_t i = 0; i < series.size(); ++i) {
        const demosite::Series& one = *series[i];
        const std::string favorite = site().content().isFavorite(one) ? "F" : "";
        EXPECT_EQ(lines[i + 1], one.name + "\t" + one.date + "\t" + one.title + "\t" +
                                    one.modelText + "\t" + one.photographer + "\t" + specsOf(one) +
                                    "\t----" + favorite);
    }
    EXPECT_TRUE(std::filesystem::exists(folder_.path() / "Zel-Ora/00index/200711.csv"));

    // Offline the same list comes from the catalogue alone; only a title's
    // "&quot;" comes back from the file as the quote it stands for.
    writeIni("offline=1\n");
    const ProgramRun offline = zob("list month 2007/11");
    EXPECT_EQ(offline.status, 0) << offline.err;
    std::string expected = run.out;
    for (std::size_t at = expected.find("&quot;"); at != std::string::npos;
         at = expected.find("&quot;", at)) {
        expected.replace(at, 6, "\"");
    }
    EXPECT_EQ(offline.out, expected);
}

TEST_F(ZobList, FavoritesCarryTheirMarkAndAreKept) {
    writeIni();
    const ProgramRun run = zob("list favorites");
    ASSERT_EQ(run.status, 0) << run.err;
    // Fetched at start and listed again: the second load must not take
    // the unsaved list for a saved one.
    EXPECT_TRUE(std::filesystem::exists(folder_.path() / "Zel-Ora/00index/MyFavorite.csv"));
    const auto lines = linesOf(run.out);
    const auto favorites = site().content().favorites();
    ASSERT_EQ(lines.size(), favorites.size() + 1);
    EXPECT_EQ(lines[0], "# My Favorites");
    for (std::size_t i = 0; i < favorites.size(); ++i) {
        EXPECT_EQ(lines[i + 1].substr(0, lines[i + 1].find('\t')), favorites[i]->name);
        EXPECT_EQ(lines[i + 1].substr(lines[i + 1].size() - 5), "----F");
    }
}

TEST_F(ZobList, MonthTheSiteLacksShowsTheLatestEarlierOne) {
    writeIni();
    const ProgramRun run = zob("list month 2008/06");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesOf(run.out).at(0), "# 2008/03");
    EXPECT_NE(run.err.find("2008/06 has no series on the site; the latest earlier month that "
                           "has some is shown: 2008/03"),
              std::string::npos)
        << run.err;
}

TEST_F(ZobList, ReportsWhatCouldNotBeShown) {
    writeIni();
    EXPECT_EQ(zob("list month 2008").status, 64);
    EXPECT_EQ(zob("list nothing").status, 64);

    writeBytes(folder_.path() / "ZObrowser.ini",
               "[user]\nlogin=demo\npassword=wrong\n[env]\nlocal=" +
                   (folder_.path() / "Zel-Ora").string() +
                   "\n[debug]\ndbgHost=" + site().baseUrl() + "\n");
    const ProgramRun refused = zob("list month 2007/11");
    EXPECT_EQ(refused.status, 3);
    EXPECT_EQ(refused.out, "");
}

TEST_F(ZobList, BrokenCatalogueIsReportedByFileAndLineAndKept) {
    writeIni("offline=1\n");
    const auto index = folder_.path() / "Zel-Ora" / "00index";
    std::filesystem::create_directories(index);
    const std::string broken =
        "version=100\r\n"
        "\"T\",\"http://h/members/gallery/2007/ab_cd_200711\",\"2007/11/30\","
        "\"M\",\"P\",12,\"http://h/members/gallery/2007/ab_cd_200711/c.jpg\","
        "-1,-1\r\n"
        "\"T\",\"http://h/members/gallery/2007/ef_gh_200711\",\"2007/11/02\","
        "\"M\",\"P\",lots,\"http://h/c.jpg\",-1,-1\r\n";
    writeBytes(index / "200711.csv", broken);
    const ProgramRun run = zob("list month 2007/11");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("200711.csv, line 3"), std::string::npos) << run.err;
    EXPECT_EQ(readBytes(index / "200711.csv"), broken);
}

TEST_F(ZobList, ArchivePageAndBestOf) {
    writeIni();
    const ProgramRun archive = zob("list archive 1");
    ASSERT_EQ(archive.status, 0) << archive.err;
    EXPECT_EQ(linesOf(archive.out).size(), site().content().archivePage().size() + 1);
    EXPECT_EQ(linesOf(archive.out).at(0), "# archive 1");

    // The page number is read whole.
    const ProgramRun twelfth = zob("list archive 12");
    ASSERT_EQ(twelfth.status, 0) << twelfth.err;
    EXPECT_EQ(linesOf(twelfth.out).at(0), "# archive 12");
    EXPECT_TRUE(std::filesystem::exists(folder_.path() / "Zel-Ora/00index/Archive12.csv"));
    EXPECT_EQ(zob("list archive 0").status, 64);
    EXPECT_EQ(zob("list archive one").status, 64);

    const ProgramRun bestOf = zob("list bestof");
    ASSERT_EQ(bestOf.status, 0) << bestOf.err;
    EXPECT_EQ(linesOf(bestOf.out).at(0), "# Best of Zel");
    EXPECT_EQ(linesOf(bestOf.out).size(), site().content().bestOf().size() + 1);
}

TEST_F(ZobList, NeverWalksBackBeyondTheSitesFirstMonthOrFromTheArchivePage) {
    writeIni();
    EXPECT_EQ(zob("list month 2002/05").status, 64);
    EXPECT_EQ(zob("list month 2999/01").status, 64);
    EXPECT_EQ(zob("list month 2003/13").status, 64);

    // The index archive page has no page before it.
    demosite::Faults faults;
    faults.fixedAnswers["/members/gallery/archive/index.html"] = {404, "gone"};
    site().setFaults(faults);
    site().clearRequests();
    const ProgramRun run = zob("list archive 1");
    site().setFaults({});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("Sorry. cannot download this archive."), std::string::npos) << run.err;
    std::size_t galleryRequests = 0;
    for (const auto& request : site().requests()) {
        galleryRequests += request.target.starts_with("/members/gallery/") ? 1 : 0;
    }
    EXPECT_EQ(galleryRequests, 1U);
}

TEST_F(ZobList, AnEndlessPageIsRefusedWithItsReason) {
    writeIni();
    demosite::Faults endless;
    endless.pageBody = demosite::PageBody::endless;
    site().setFaults(endless);
    const ProgramRun run = zob("list month 2007/11");
    site().setFaults({});
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_NE(run.err.find("/members/gallery/2007/200711.html: page larger than 64 MiB"),
              std::string::npos)
        << run.err;
}

TEST_F(ZobList, OneProgramAtATimeOwnsTheLocalFolder) {
    writeIni();
    const std::filesystem::path index = folder_.path() / "Zel-Ora" / "00index";
    auto held = std::make_unique<FolderLock>(index, false);
    const ProgramRun refused = zob("list month 2007/11");
    EXPECT_EQ(refused.status, 75);
    EXPECT_NE(refused.err.find((folder_.path() / "Zel-Ora").string() +
                               " is in use by another Zel-Ora program (pid " +
                               std::to_string(::getpid()) + ")"),
              std::string::npos)
        << refused.err;
    EXPECT_TRUE(refused.out.empty());

    std::thread release([&held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        held.reset();
    });
    const ProgramRun waited = zob("list --wait month 2007/11");
    release.join();
    EXPECT_EQ(waited.status, 0) << waited.err;
}

} // namespace
} // namespace zob
