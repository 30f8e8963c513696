#include "catalogue/artlistlist.h"
#include "catalogue/loadstatustesting.h"
#include "catalogue/monthlyartlist.h"
#include "config/configinfo.h"
#include "demosite/content.h"
#include "demosite/demosite.h"
#include "testsupport/filetesting.h"
#include "testsupport/runprogram.h"
#include "testsupport/sitesession.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace zob {
namespace {

using Lines = std::vector<std::string>;

Lines linesOf(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string fieldOf(const std::string& line, std::size_t index) {
    std::istringstream in(line);
    std::string field;
    for (std::size_t i = 0; i <= index; ++i) {
        std::getline(in, field, '\t');
    }
    return field;
}

// A catalogue line of a one-series month, as the program writes it.
std::string catalogueOf(const std::string& name, int year) {
    const std::string folder =
        "http://127.0.0.1:9/members/gallery/" + std::to_string(year) + "/" + name;
    return "version=100\r\n\"Old\",\"" + folder + "\",\"" + std::to_string(year) +
           "/01/05\",\"Ann\",\"Carl\",12,\"" + folder + "/cover.jpg\",-1,-1\r\n";
}

class ZobListStatus : public testing::DemoSiteSuite {
protected:
    void writeIni(const std::string& extraEnv = "") {
        writeBytes(folder_.path() / "ZObrowser.ini",
                   "[user]\nlogin=demo\npassword=demo\n[env]\nlocal=" + local().string() + "\n" +
                       extraEnv + "[debug]\ndbgHost=" + site().baseUrl() + "\n");
    }
    ProgramRun zob(const std::string& arguments) {
        return runInFolder(folder_.path(), zobProgram() + " " + arguments);
    }
    std::filesystem::path local() const { return folder_.path() / "Zel-Ora"; }

    ScratchFolder folder_;
};

TEST_F(ZobListStatus, ListsEveryLocalCatalogueBySeriesOnDisk) {
    writeIni();
    ASSERT_EQ(zob("list month 2007/11").status, 0);
    writeBytes(local() / "00index" / "200401.csv", catalogueOf("old_x_200401", 2004));
    writeBytes(local() / "00index" / "200312.csv", catalogueOf("older_x_200312", 2003));

    // The month as the program has it, to put pictures where its records look.
    configInfoClass config = configInfoClass::defaults(folder_ / "unused.ini");
    config.local = local().string();
    ArtListList registry(site().baseUrl(), config);
    const auto month = std::make_shared<monthlyArtList>(registry, 2007, 11);
    month->load();
    // Two galleries that are no favorites: partly downloaded favorites would
    // be loaded at start instead of read by the walk.
    std::vector<SeriesPtr> picked;
    for (const SeriesPtr& record : month->records()) {
        const auto& series = site().content().month(2007, 11)->series;
        const auto demo = std::find_if(series.begin(), series.end(),
                                       [&](const auto& one) { return one->name == record->name; });
        ASSERT_NE(demo, series.end());
        const bool favorite = site().content().isFavorite(**demo);
        if (!record->isMovie && record->photoCount != 999 && !favorite && picked.size() < 2) {
            picked.push_back(record);
        }
    }
    ASSERT_EQ(picked.size(), 2u);
    loadstatustest::putPictures(*picked[0], resHigh, {1, picked[0]->photoCount});
    loadstatustest::putPictures(*picked[1], resLow, {1});

    writeIni("offline=1\n");
    const ProgramRun downloaded = zob("list downloaded");
    ASSERT_EQ(downloaded.status, 0) << downloaded.err;
    const Lines shown = linesOf(downloaded.out);
    ASSERT_EQ(shown.size(), 2u) << downloaded.out;
    EXPECT_EQ(shown[0], "# Downloaded series");
    EXPECT_EQ(fieldOf(shown[1], 0), picked[0]->name);
    EXPECT_EQ(fieldOf(shown[1], 6), "---H");
    Lines checks;
    for (const std::string& line : linesOf(downloaded.err)) {
        if (line.starts_with("check ")) {
            checks.push_back(line);
        }
    }
    EXPECT_EQ(checks, (Lines{"check 2007/11 archive ... ", "check 2004/1 archive ... "}))
        << downloaded.err;

    const ProgramRun stopped = zob("list stopped");
    ASSERT_EQ(stopped.status, 0) << stopped.err;
    const Lines stoppedLines = linesOf(stopped.out);
    ASSERT_EQ(stoppedLines.size(), 2u) << stopped.out;
    EXPECT_EQ(stoppedLines[0], "# Stopped series");
    EXPECT_EQ(fieldOf(stoppedLines[1], 0), picked[1]->name);
    EXPECT_EQ(fieldOf(stoppedLines[1], 6), "-l--");

    // Everything else, movies too, the older month first; 2003 is not read.
    const ProgramRun notLoaded = zob("list notloaded");
    ASSERT_EQ(notLoaded.status, 0) << notLoaded.err;
    Lines expected{"# No downloaded series", "old_x_200401"};
    for (const SeriesPtr& record : month->records()) {
        if (record != picked[0] && record != picked[1]) {
            expected.push_back(record->name);
        }
    }
    Lines names;
    for (const std::string& line : linesOf(notLoaded.out)) {
        names.push_back(line.starts_with("#") ? line : fieldOf(line, 0));
    }
    EXPECT_EQ(names, expected);

    // The downloading list needs the window's strips.
    EXPECT_EQ(zob("list downloading").status, 64);
}

} // namespace
} // namespace zob
