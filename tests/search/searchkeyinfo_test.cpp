#include "catalogue/listtesting.h"
#include "platform/debuglog.h"
#include "search/searchkeyinfo.h"
#include "testsupport/sitesession.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zob {
namespace {

using cataloguetest::CatalogueWorld;

SearchKeyTable table(std::initializer_list<SearchKeyEntry> entries) {
    return SearchKeyTable(entries);
}

class SearchKeyFile : public ::testing::Test {
protected:
    SearchKeyFile() { log.switchOn(); }

    void writeIndex(std::string_view text) {
        std::filesystem::create_directories(world.scratch / "00index");
        writeBytes(world.indexFile("searchInfo.csv"), text);
    }
    std::size_t loggedLines() const { return log.lines().size(); }

    CatalogueWorld world;
    DebugLog log;
};

TEST_F(SearchKeyFile, ReadsSectionsAndSplitsEntriesAsCommaText) {
    writeIndex("version=074\r\n"
               "==model\r\n"
               "Ann,12\r\n"
               "==photographer\r\n"
               "Studio 5,44\r\n"
               "\"Carl Weber\",7\r\n"
               "\"Say \"\"Cheese\"\"\",8\r\n"
               "==country\r\n"
               "Japan,3,extra\r\n"
               "==model\r\n"
               "Bea,13\r\n");
    const searchKeyInfoClass keys(world.registry, log);

    EXPECT_EQ(keys.models, table({{"Ann", 12}, {"Bea", 13}}));
    // Unquoted, the space ends the name and the text after it is the number.
    EXPECT_EQ(keys.photographers, table({{"Studio", 5}, {"Carl Weber", 7}, {"Say \"Cheese\"", 8}}));
    EXPECT_EQ(keys.countries, table({{"Japan", 3}}));
    EXPECT_FALSE(keys.modified);
    EXPECT_EQ(loggedLines(), 0u);
}

TEST_F(SearchKeyFile, EveryLineEndReadsTheSame) {
    for (const std::string end : {"\n", "\r"}) {
        writeIndex("version=074" + end + "==model" + end + "Ann,12" + end + "==photographer" + end +
                   "Carl,7" + end);
        const searchKeyInfoClass keys(world.registry, log);
        EXPECT_EQ(keys.models, table({{"Ann", 12}})) << ::testing::PrintToString(end);
        EXPECT_EQ(keys.photographers, table({{"Carl", 7}})) << ::testing::PrintToString(end);
    }
}

TEST_F(SearchKeyFile, MissingFileGivesEmptyTables) {
    const searchKeyInfoClass keys(world.registry, log);
    EXPECT_TRUE(keys.models.empty());
    EXPECT_TRUE(keys.photographers.empty());
    EXPECT_TRUE(keys.countries.empty());
}

TEST_F(SearchKeyFile, BadLinesAreSkippedAndLogged) {
    // No header: the first line is read as any other.
    writeIndex("Lost,1\n"
               "==model\n"
               "Anna Maria,12\n"
               "Lonely\n"
               "\n"
               "Ann,x12\n"
               "Bea,13");
    const searchKeyInfoClass keys(world.registry, log);
    EXPECT_EQ(keys.models, table({{"Bea", 13}}));
    // The missing header, the entry before any marker and three entries
    // without a number.
    EXPECT_EQ(loggedLines(), 5u);

    writeIndex("version=seventy\r\n==photographer\r\nCarl,7\r\n");
    const searchKeyInfoClass second(world.registry, log);
    EXPECT_EQ(second.photographers, table({{"Carl", 7}}));
    EXPECT_EQ(loggedLines(), 6u);
}

TEST_F(SearchKeyFile, LookupIgnoresCaseAndTakesTheFirst) {
    const SearchKeyTable names = table({{"Carl", 1}, {"carl", 2}, {"Anna", 3}});
    ASSERT_NE(findSearchKey(names, "CARL"), nullptr);
    EXPECT_EQ(findSearchKey(names, "CARL")->number, 1);
    EXPECT_EQ(findSearchKey(names, "anna")->number, 3);
    EXPECT_EQ(findSearchKey(names, "Ann"), nullptr);
    EXPECT_EQ(findSearchKey(names, ""), nullptr);
}

TEST_F(SearchKeyFile, SavesEveryNameSoThatItReadsBackWhole) {
    searchKeyInfoClass keys(world.registry, log);
    keys.models = table({{"Ann", 12}, {"Anna Maria", 13}});
    keys.photographers = table({{"Weber, Carl", 7}, {"Say \"Cheese\"", -8}});
    keys.countries = table({{"Japan", 3}});
    keys.saveSearchInfo();

    EXPECT_EQ(readBytes(world.indexFile("searchInfo.csv")),
              "version=074\r\n==model\r\nAnn,12\r\n\"Anna Maria\",13\r\n"
              "==photographer\r\n\"Weber, Carl\",7\r\n\"Say \"\"Cheese\"\"\",-8\r\n"
              "==country\r\nJapan,3\r\n");
    const searchKeyInfoClass reread(world.registry, log);
    EXPECT_EQ(reread.models, keys.models);
    EXPECT_EQ(reread.photographers, keys.photographers);
    EXPECT_EQ(reread.countries, keys.countries);
    // Nothing left behind but the file itself.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(world.scratch / "00index"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(SearchKeyFile, SavesAtTheEndOnlyWhenModified) {
    searchKeyInfoClass keys(world.registry, log);
    keys.models = table({{"Ann", 12}});
    EXPECT_TRUE(keys.saveIfModified());
    EXPECT_FALSE(std::filesystem::exists(world.indexFile("searchInfo.csv")));

    keys.modified = true;
    EXPECT_TRUE(keys.saveIfModified());
    EXPECT_FALSE(keys.modified);
    EXPECT_EQ(searchKeyInfoClass(world.registry, log).models, keys.models);
}

TEST_F(SearchKeyFile, AFailedSaveAtTheEndIsLoggedNotThrown) {
    // A file where the index folder should be.
    writeBytes(world.scratch / "00index", "in the way");
    searchKeyInfoClass keys(world.registry, log);
    keys.models = table({{"Ann", 12}});
    keys.modified = true;
    EXPECT_THROW(keys.saveSearchInfo(), std::system_error);
    EXPECT_FALSE(keys.saveIfModified());
    EXPECT_TRUE(keys.modified);
    EXPECT_EQ(loggedLines(), 1u);
}

TEST_F(SearchKeyFile, OptionsSkipAnyAndEmptyValues) {
    searchKeyInfoClass keys(world.registry, log);
    SearchKeyTable target = table({{"Kept", 1}});
    keys.parseOptions(target, "\r\n<option value=0>Any</option>\r\n"
                              "<option value=''>----------</option>\r\n"
                              "<option value=>Nobody</option>\r\n"
                              "<option value=15>Ann Bell</option>\r\n"
                              "<option value=x9>Not a number</option>\r\n"
                              "<option value=16>Cleo</option>");
    EXPECT_EQ(target, table({{"Kept", 1}, {"Ann Bell", 15}, {"Cleo", 16}}));
    EXPECT_EQ(loggedLines(), 1u);
}

TEST_F(SearchKeyFile, ALabelBrokenOverLinesIsLearnedOnOneAndReadsBackWhole) {
    searchKeyInfoClass keys(world.registry, log);
    keys.parseOptions(keys.models, "<option value=15>Ann\r\nBell</option>");
    EXPECT_EQ(keys.models, table({{"Ann  Bell", 15}}));
    keys.saveSearchInfo();
    EXPECT_EQ(searchKeyInfoClass(world.registry, log).models, keys.models);
}

TEST_F(SearchKeyFile, AMalformedOptionEndsTheSelect) {
    searchKeyInfoClass keys(world.registry, log);
    SearchKeyTable target;
    keys.parseOptions(target, "<option value=15>Ann</option><option value=16>Bea");
    EXPECT_EQ(target, table({{"Ann", 15}}));
    keys.parseOptions(target, "<option value=17");
    EXPECT_EQ(target, table({{"Ann", 15}}));
    // A value that runs into the next tag is as broken as one that never ends.
    keys.parseOptions(target, "<option value=<option value=18>Cleo</option>");
    EXPECT_EQ(target, table({{"Ann", 15}}));
    EXPECT_EQ(loggedLines(), 3u);
}

// --- against the demo site

class SearchKeySite : public testing::DemoSiteSuite {
protected:
    SearchKeySite() { session.context->debugLog.switchOn(); }

    searchKeyInfoClass makeKeys() {
        return searchKeyInfoClass(session.registry(), session.context->debugLog);
    }
    int searchPageRequests() const {
        int count = 0;
        for (const auto& request : site().requests()) {
            count += request.target == "/members/search.html" ? 1 : 0;
        }
        return count;
    }
    void writeIndex(std::string_view text) {
        std::filesystem::create_directories(session.indexFolder());
        writeBytes(session.indexFolder() / "searchInfo.csv", text);
    }

    testing::SiteSession session{site().baseUrl()};
};

TEST_F(SearchKeySite, RefreshLearnsTheModelsAndPhotographersOfTheSearchPage) {
    searchKeyInfoClass keys = makeKeys();
    keys.refreshFromSite(session.context->fetchEnv());

    SearchKeyTable models;
    for (const auto& model : site().content().models()) {
        models.push_back({model.name, model.id});
    }
    SearchKeyTable photographers;
    for (const auto& photographer : site().content().photographers()) {
        photographers.push_back({photographer.name, photographer.id});
    }
    ASSERT_FALSE(models.empty());
    ASSERT_FALSE(site().content().countries().empty());
    EXPECT_EQ(keys.models, models);
    EXPECT_EQ(keys.photographers, photographers);
    EXPECT_TRUE(keys.countries.empty());
    EXPECT_TRUE(keys.modified);

    // Learned names are kept for the next run, whole.
    EXPECT_TRUE(keys.saveIfModified());
    const searchKeyInfoClass next = makeKeys();
    EXPECT_EQ(next.models, models);
    EXPECT_EQ(next.photographers, photographers);
}

TEST_F(SearchKeySite, RefreshAppendsToWhatTheTablesHold) {
    searchKeyInfoClass keys = makeKeys();
    keys.photographers = table({{"Local", 99}});
    keys.refreshFromSite(session.context->fetchEnv());
    keys.refreshFromSite(session.context->fetchEnv());
    const std::size_t siteCount = site().content().photographers().size();
    ASSERT_EQ(keys.photographers.size(), 1 + 2 * siteCount);
    EXPECT_EQ(keys.photographers.front(), (SearchKeyEntry{"Local", 99}));
}

TEST_F(SearchKeySite, PhotographerIdAsksTheSiteOnlyWhileNoModelIsKnown) {
    const auto& known = site().content().photographers().at(1);
    std::string shouted = known.name;
    for (char& c : shouted) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    site().clearRequests();
    searchKeyInfoClass keys = makeKeys();
    EXPECT_EQ(searchPageRequests(), 0);

    EXPECT_EQ(keys.photographerId(shouted, session.context->fetchEnv()), known.id);
    EXPECT_EQ(searchPageRequests(), 1);
    EXPECT_EQ(keys.photographerId(known.name, session.context->fetchEnv()), known.id);
    EXPECT_EQ(keys.photographerId("Nobody Known", session.context->fetchEnv()), std::nullopt);
    EXPECT_EQ(keys.photographerId("", session.context->fetchEnv()), std::nullopt);
    EXPECT_EQ(searchPageRequests(), 1);
}

TEST_F(SearchKeySite, AFileWithModelsKeepsTheSiteOut) {
    writeIndex("version=074\r\n==model\r\nAnn,12\r\n==photographer\r\n"
               "Carl,7\r\ncarl,8\r\n==country\r\n");
    site().clearRequests();
    searchKeyInfoClass keys = makeKeys();
    EXPECT_EQ(keys.photographerId("CARL", session.context->fetchEnv()), 7);
    EXPECT_EQ(keys.photographerId(site().content().photographers().at(0).name,
                                  session.context->fetchEnv()),
              std::nullopt);
    EXPECT_EQ(searchPageRequests(), 0);
}

TEST_F(SearchKeySite, AFailedRefreshLearnsNothing) {
    demosite::Faults faults;
    faults.fixedAnswers["/members/search.html"] = {404, "gone"};
    site().setFaults(faults);
    searchKeyInfoClass keys = makeKeys();
    const auto id = keys.photographerId(site().content().photographers().at(0).name,
                                        session.context->fetchEnv());
    site().setFaults({});
    EXPECT_EQ(id, std::nullopt);
    EXPECT_TRUE(keys.models.empty());
    EXPECT_FALSE(keys.modified);
}

} // namespace
} // namespace zob
