#include "demosite/content.h"
#include "demosite/demosite.h"
#include "site/formencoding.h"
#include "testsupport/filetesting.h"
#include "testsupport/runprogram.h"
#include "testsupport/sitesession.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace zob {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> all;
    for (std::string line; std::getline(in, line);) {
        all.push_back(line);
    }
    return all;
}

std::string firstField(const std::string& line) {
    return line.substr(0, line.find('\t'));
}

class ZobSearch : public testing::DemoSiteSuite {
protected:
    void SetUp() override {
        writeBytes(folder_.path() / "ZObrowser.ini",
                   "[user]\nlogin=demo\npassword=demo\n[env]\nlocal=" +
                       (folder_.path() / "Zel-Ora").string() +
                       "\n[debug]\ndbgHost=" + site().baseUrl() + "\n");
        site().setFaults({});
        site().clearRequests();
    }
    ProgramRun zob(const std::string& arguments) {
        return runInFolder(folder_.path(), zobProgram() + " " + arguments);
    }
    // A gallery of this month of the demo site: its month needs one page.
    static const demosite::Series& gallery() {
        const auto found = site().content().select([](const demosite::Series& series) {
            // Not a favorite: a favorite is found in the favorites, and its
            // month is then never loaded.
            return series.year == 2008 && series.month == 3 && !series.archiveOnly &&
                   !series.isMovie && !series.favoriteAtStart;
        });
        EXPECT_FALSE(found.empty());
        return *found.front();
    }
    static std::vector<std::string>
    expectedNames(const std::vector<const demosite::Series*>& found) {
        std::vector<std::string> names;
        for (const auto* series : found) {
            names.push_back(series->name);
        }
        return names;
    }
    static std::vector<std::string> printedNames(const ProgramRun& run) {
        std::vector<std::string> names;
        const auto all = lines(run.out);
        for (std::size_t i = 1; i < all.size(); ++i) {
            names.push_back(firstField(all[i]));
        }
        return names;
    }
    static std::vector<std::string> searchBodies() {
        std::vector<std::string> bodies;
        for (const auto& request : site().requests()) {
            if (request.target.starts_with("/members/search.html")) {
                bodies.push_back(request.method + " " + request.target + " " + request.body);
            }
        }
        return bodies;
    }

    ScratchFolder folder_;
};

TEST_F(ZobSearch, ModelOnlineThenOfflineFromTheCatalogueItLeft) {
    const demosite::Series& series = gallery();
    const std::string model = series.models[0];
    const ProgramRun online = zob("search model " + series.name);
    ASSERT_EQ(online.status, 0) << online.err;
    ASSERT_FALSE(lines(online.out).empty());
    EXPECT_EQ(lines(online.out)[0], "# Search model:" + model);
    EXPECT_EQ(printedNames(online), expectedNames(site().content().seriesNamed(model)));
    EXPECT_EQ(searchBodies(),
              std::vector<std::string>{"POST /members/search.html search=" + model});
    EXPECT_NE(online.err.find("searching (" + model + ")"), std::string::npos) << online.err;

    // The first run saved the month's catalogue: offline, it is all there is.
    site().clearRequests();
    const ProgramRun offline = zob("search --offline model " + series.name + " 1");
    ASSERT_EQ(offline.status, 0) << offline.err;
    EXPECT_EQ(lines(offline.out)[0], "# Search model:" + model);
    EXPECT_TRUE(searchBodies().empty());
    const std::vector<std::string> names = printedNames(offline);
    EXPECT_NE(std::find(names.begin(), names.end(), series.name), names.end()) << offline.out;
    for (const std::string& name : names) {
        EXPECT_TRUE(name.ends_with("_200803")) << name;
    }
    EXPECT_NE(offline.err.find("check 2008/3 archive ... "), std::string::npos) << offline.err;
    EXPECT_FALSE(fs::exists(folder_.path() / "srchTmp.csv"));
}

TEST_F(ZobSearch, PhotographerOnline) {
    const demosite::Series& series = gallery();
    const ProgramRun run = zob("search photographer " + series.name);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(lines(run.out)[0], "# Search photographer:" + series.photographer);
    EXPECT_EQ(printedNames(run), expectedNames(site().content().seriesNamed(series.photographer)));
    EXPECT_EQ(searchBodies(),
              std::vector<std::string>{"POST /members/search.html " +
                                       formEncodedField("search=" + series.photographer)});
}

TEST_F(ZobSearch, NoResultSaysSoOnStderr) {
    const demosite::Series& series = gallery();
    demosite::Faults faults;
    faults.fixedAnswers["/members/search.html"] = {200, "<html><body>nothing</body></html>"};
    site().setFaults(faults);
    const ProgramRun run = zob("search model " + series.name);
    site().setFaults({});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_NE(run.err.find("Sorry. I cannot found any series for Search model:" + series.models[0]),
              std::string::npos)
        << run.err;
}

TEST_F(ZobSearch, BadArgumentsAndUnknownSeries) {
    for (const char* arguments :
         {"search", "search model", "search model X 0", "search model X two",
          "search photographer X 1", "search country X", "search model X 1 2"}) {
        const ProgramRun run = zob(arguments);
        EXPECT_EQ(run.status, 64) << arguments;
    }
    EXPECT_TRUE(site().requests().empty());

    const ProgramRun unknown = zob("search model nobody_xx0000_200803");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("no series named"), std::string::npos) << unknown.err;
}

} // namespace
} // namespace zob
