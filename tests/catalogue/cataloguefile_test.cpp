#include "catalogue/catalogueerror.h"
#include "catalogue/cataloguefile.h"
#include "catalogue/listtesting.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zob {
namespace {

using cataloguetest::addGallery;
using cataloguetest::CatalogueWorld;
using cataloguetest::namesOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string seriesAddress = "http://127.0.0.1:9/members/gallery/2008/ab_cd_200803";

TEST(CommaTextTest, SplitsLikeTheOldReaders) {
    EXPECT_THAT(splitCommaText(R"("a,b","c""d",12,"")"), ElementsAre("a,b", "c\"d", "12", ""));
    EXPECT_THAT(splitCommaText("  a , b\t,c"), ElementsAre("a", "b", "c"));
    EXPECT_THAT(splitCommaText("a,,b"), ElementsAre("a", "", "b"));
    EXPECT_THAT(splitCommaText("a,"), ElementsAre("a", ""));
    EXPECT_THAT(splitCommaText(",a"), ElementsAre("", "a"));
    // White space ends an unquoted field, and text after a closing quote starts another.
    EXPECT_THAT(splitCommaText("a b,\"c\"d"), ElementsAre("a", "b", "c", "d"));
    EXPECT_THAT(splitCommaText("\"open, to the end"), ElementsAre("open, to the end"));
    EXPECT_THAT(splitCommaText(""), ElementsAre());
}

class CatalogueFileTest : public ::testing::Test {
protected:
    // Loads `text` as the file of a fresh month list.
    std::shared_ptr<cataloguetest::MonthList> loadText(std::string_view text) {
        writeBytes(path, text);
        auto list = world.month(2008, 3);
        list->load();
        return list;
    }

    CatalogueWorld world;
    std::string path = [this] {
        std::filesystem::create_directories(world.scratch / "00index");
        return world.indexFile("200803.csv");
    }();
};

TEST_F(CatalogueFileTest, WritesTheNewestFormAndReadsItBackUnchanged) {
    auto list = world.month(2008, 3);
    const SeriesPtr record = addGallery(*list, "ab_cd_200803", 24, R"(Say "cheese", twice)");
    record->setDetails(R"(2008/03/01 "early")", R"(Ann "A" & Bea)", R"(Carl "C")", 24, 71, 9);
    list->addParsed("Clip", "/members/movies/ef_gh_200803/", "2008/03/02", "Eve", "Fay",
                    "/members/movies/ef_gh_200803/mcover.jpg", 999, -1, -1);
    list->save();

    EXPECT_EQ(readBytes(path),
              "version=100\r\n"
              "\"Say &quot;cheese&quot;, twice\",\"" +
                  seriesAddress +
                  R"(","2008/03/01 ""early""","Ann ""A"" & Bea","Carl ""C""",24,")" +
                  seriesAddress +
                  "/cover.jpg\",71,9\r\n"
                  "\"Clip\",\"http://127.0.0.1:9/members/movies/ef_gh_200803\",\"2008/03/02\","
                  "\"Eve\",\"Fay\",0,\"http://127.0.0.1:9/members/movies/ef_gh_200803/"
                  "mcover.jpg\",-1,-1\r\n");

    CatalogueWorld other;
    std::filesystem::create_directories(other.scratch / "00index");
    std::filesystem::copy_file(path, other.indexFile("200803.csv"));
    auto reread = other.month(2008, 3);
    ASSERT_TRUE(reread->load());
    ASSERT_EQ(reread->size(), 2u);
    const SeriesRec& back = *reread->item(0);
    EXPECT_EQ(back.title, R"(Say "cheese", twice)");
    EXPECT_EQ(back.date, R"(2008/03/01 "early")");
    EXPECT_EQ(back.model, R"(Ann "A" & Bea)");
    EXPECT_EQ(back.photographer, R"(Carl "C")");
    EXPECT_EQ(back.name, "ab_cd_200803");
    EXPECT_EQ(back.coverFile, "/cover.jpg");
    EXPECT_EQ(back.photoCount, 24);
    EXPECT_EQ(back.favoriteId, 71);
    EXPECT_EQ(back.modelId, 9);
    EXPECT_TRUE(reread->item(1)->isMovie);
    EXPECT_EQ(reread->item(1)->coverFile, "/mcover.jpg");
    EXPECT_TRUE(reread->saved);
    // What was read is written again byte for byte.
    reread->save(other.indexFile("again.csv"));
    EXPECT_EQ(readBytes(other.indexFile("again.csv")), readBytes(path));
}

TEST_F(CatalogueFileTest, TitleKeepsAnEntityFromThePageAndLineBreaksStayOnTheLine) {
    auto list = world.month(2008, 3);
    addGallery(*list, "ab_cd_200803", 24, "A &quot;B&quot;");
    addGallery(*list, "ef_gh_200803", 24, "two\r\nlines");
    list->save();
    auto reread = loadText(readBytes(path));
    ASSERT_EQ(reread->size(), 2u);
    EXPECT_EQ(reread->item(0)->title, "A \"B\"");
    EXPECT_EQ(reread->item(1)->title, "two  lines");
}

TEST_F(CatalogueFileTest, ReadsEveryOlderVersion) {
    // No header: version 52, the first line is already a record.
    auto v52 = loadText("\"T\",\"/g/ab_cd_200803\",\"2008/03/01\",\"Ann\",\"BY Carl\",12,"
                        "\"/g/ab_cd_200803/c.jpg\"\r\n");
    ASSERT_EQ(v52->size(), 1u);
    EXPECT_EQ(v52->item(0)->date, "2008/03/01");
    EXPECT_EQ(v52->item(0)->photographer, "Carl");
    EXPECT_EQ(v52->item(0)->photoCount, 12);
    EXPECT_EQ(v52->item(0)->coverFile, "/c.jpg");
    EXPECT_EQ(v52->item(0)->favoriteId, -1);

    // Version 53 lines with eight fields carry an extra text before the date.
    auto v53 = loadText("version=53\r\n"
                        "\"T\",\"/g/ab_cd_200803\",\"unused\",\"2008/03/02\",\"Ann\",\"Carl\",13,"
                        "\"/g/ab_cd_200803/c8.jpg\"\r\n"
                        "\"U\",\"/g/ef_gh_200803\",\"2008/03/03\",\"Bea\",\"Dan\",14,"
                        "\"/g/ef_gh_200803/c7.jpg\"\r\n");
    ASSERT_EQ(v53->size(), 2u);
    EXPECT_EQ(v53->item(0)->date, "2008/03/02");
    EXPECT_EQ(v53->item(0)->model, "Ann");
    EXPECT_EQ(v53->item(0)->photographer, "Carl");
    EXPECT_EQ(v53->item(0)->photoCount, 13);
    EXPECT_EQ(v53->item(0)->coverFile, "/c8.jpg");
    EXPECT_EQ(v53->item(1)->date, "2008/03/03");
    EXPECT_EQ(v53->item(1)->coverFile, "/c7.jpg");

    // From version 55 on the favorite id follows the cover.
    for (const std::string_view header : {"version=55", "version=59"}) {
        auto v55 = loadText(std::string(header) +
                            "\r\n\"T\",\"/g/ab_cd_200803\",\"d\",\"Ann\",\"Carl\",15,"
                            "\"/g/ab_cd_200803/c.jpg\",33,44\r\n");
        ASSERT_EQ(v55->size(), 1u);
        EXPECT_EQ(v55->item(0)->photoCount, 15);
        EXPECT_EQ(v55->item(0)->favoriteId, 33);
        EXPECT_EQ(v55->item(0)->modelId, -1);
    }

    auto v60 = loadText("version=60\n\"T\",\"/g/ab_cd_200803\",\"d\",\"Ann\",\"Carl\",16,"
                        "\"/g/ab_cd_200803/c.jpg\",-1,45\n");
    ASSERT_EQ(v60->size(), 1u);
    EXPECT_EQ(v60->item(0)->photoCount, 16);
    EXPECT_EQ(v60->item(0)->favoriteId, -1);
    EXPECT_EQ(v60->item(0)->modelId, 45);

    // A movie's count is 0 whatever the file says.
    auto movie = loadText("version=100\r\n\"M\",\"/members/movies/ab_cd_200803\",\"d\",\"A\","
                          "\"C\",24,\"/members/movies/ab_cd_200803/c.jpg\",-1,-1\r\n");
    ASSERT_EQ(movie->size(), 1u);
    EXPECT_EQ(movie->item(0)->photoCount, 0);
}

TEST_F(CatalogueFileTest, EveryLineEndReadsTheSameRecords) {
    const std::string lines[] = {"version=100",
                                 "\"T\",\"/g/ab_cd_200803\",\"d\",\"A\",\"C\",1,\"/g/c.jpg\",-1,-1",
                                 "\"U\",\"/g/ef_gh_200803\",\"e\",\"B\",\"D\",2,\"/g/c.jpg\",7,8"};
    for (const std::string_view end : {"\r\n", "\n", "\r"}) {
        std::string text;
        for (const std::string& line : lines) {
            text += line;
            text += end;
        }
        auto list = loadText(text);
        ASSERT_EQ(list->size(), 2u) << "line end " << testing::PrintToString(end);
        EXPECT_EQ(list->item(0)->name, "ab_cd_200803");
        EXPECT_EQ(list->item(1)->name, "ef_gh_200803");
        EXPECT_EQ(list->item(1)->modelId, 8);
    }
}

TEST_F(CatalogueFileTest, ACoverWithoutFolderReadsBackAfterASave) {
    auto list = loadText("version=100\r\n\"T\",\"/g/ab_cd_200803\",\"d\",\"A\",\"C\",1,\"c.jpg\","
                         "-1,-1\r\n");
    ASSERT_EQ(list->size(), 1u);
    list->save(path);
    const std::string text = readBytes(path);
    EXPECT_NE(text.find("/ab_cd_200803/c.jpg\""), std::string::npos) << text;
    auto reread = loadText(text);
    ASSERT_EQ(reread->size(), 1u);
    EXPECT_EQ(reread->item(0)->coverUrl(), list->item(0)->coverUrl());
}

TEST_F(CatalogueFileTest, ADatedNameOfYearOneKeepsItsNameAfterASave) {
    auto list = loadText("version=100\r\n\"T\",\"/g/ab_cd_000102\",\"d\",\"A\",\"C\",1,"
                         "\"/g/ab_cd_000102/c.jpg\",-1,-1\r\n");
    ASSERT_EQ(list->size(), 1u);
    list->save(path);
    auto reread = loadText(readBytes(path));
    ASSERT_EQ(reread->size(), 1u);
    EXPECT_EQ(reread->item(0)->name, "ab_cd_000102");
}

TEST_F(CatalogueFileTest, APhotographerStartingWithTheBylineKeepsItAfterASave) {
    auto list = world.month(2008, 3);
    addGallery(*list, "ab_cd_200803")->setDetails("d", "m", "BY BY Night Studio", 1, -1, -1);
    list->save();
    auto reread = loadText(readBytes(path));
    ASSERT_EQ(reread->size(), 1u);
    EXPECT_EQ(reread->item(0)->photographer, "BY Night Studio");
}

TEST_F(CatalogueFileTest, BlankLinesAreSkippedAndNoRecordAfterThemIsLost) {
    const auto line = [](const std::string& name) {
        return "\"T\",\"/g/" + name + "\",\"d\",\"A\",\"C\",1,\"/g/c.jpg\",-1,-1\r\n";
    };
    auto list = loadText("version=100\r\n" + line("ab_cd_200803") + "\r\n \r\n" +
                         line("ef_gh_200803") + "\r\n");
    EXPECT_EQ(namesOf(*list), (std::vector<std::string>{"ab_cd_200803", "ef_gh_200803"}));
    EXPECT_TRUE(loadText("")->empty());
    EXPECT_TRUE(loadText("version=100\r\n")->empty());

    // Merged with what the site has and saved, every record stays.
    auto fetched = world.month(2008, 3);
    addGallery(*fetched, "ij_kl_200803");
    list->mergeFrom(*fetched);
    list->save(path);
    EXPECT_EQ(namesOf(*loadText(readBytes(path))),
              (std::vector<std::string>{"ij_kl_200803", "ab_cd_200803", "ef_gh_200803"}));
}

TEST_F(CatalogueFileTest, MissingFileAndUnsavedChanges) {
    auto list = world.month(2001, 1);
    EXPECT_TRUE(list->load());
    EXPECT_TRUE(list->saved);
    EXPECT_TRUE(list->empty());
    // A list fetched before its first save is not taken for saved by reading.
    list->saved = false;
    EXPECT_TRUE(list->load());
    EXPECT_FALSE(list->saved);

    // Changes in memory win over the file.
    addGallery(*list, "ab_cd_200101");
    writeBytes(world.indexFile("200101.csv"), "version=100\r\n");
    EXPECT_TRUE(list->load());
    EXPECT_EQ(list->size(), 1u);
    EXPECT_FALSE(list->saved);
}

TEST_F(CatalogueFileTest, BadLineNamesFileAndLineAndKeepsWhatCameBefore) {
    const std::string good = "\"T\",\"" + seriesAddress + "\",\"d\",\"A\",\"C\",1,\"" +
                             seriesAddress + "/c.jpg\",-1,-1\r\n";
    const std::string original =
        "version=100\r\n" + good +
        "\"U\",\"/g/ef_gh_200803\",\"d\",\"A\",\"C\",many,\"/g/c.jpg\",-1,"
        "-1\r\n" +
        "\"V\",\"/g/ij_kl_200803\",\"d\",\"A\",\"C\",3,\"/g/c.jpg\",-1,-1\r\n";
    writeBytes(path, original);
    auto list = world.month(2008, 3);
    try {
        list->load();
        FAIL() << "a bad line must stop the load";
    } catch (const CatalogueError& error) {
        EXPECT_THAT(error.what(), HasSubstr(path + ", line 3:"));
        EXPECT_THAT(error.what(), HasSubstr("many"));
    }
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ(list->item(0)->name, "ab_cd_200803");

    // The first save keeps the original beside the file; later ones leave that copy alone.
    list->save();
    EXPECT_EQ(readBytes(path + ".bak"), original);
    EXPECT_EQ(readBytes(path), "version=100\r\n" + good);
    addGallery(*list, "mn_op_200803");
    list->save();
    EXPECT_EQ(readBytes(path + ".bak"), original);
    EXPECT_FALSE(std::filesystem::exists(path + ".bak2"));

    // A later broken file does not replace an earlier kept original.
    const std::string broken = "version=100\r\n\"X\",\"/g/bad\",\"d\",\"A\",\"C\",1,\"/g/c.jpg\","
                               "-1,-1\r\n";
    writeBytes(path, broken);
    auto again = world.month(2008, 3);
    EXPECT_THROW(again->load(), CatalogueError);
    again->save();
    EXPECT_EQ(readBytes(path + ".bak"), original);
    EXPECT_EQ(readBytes(path + ".bak2"), broken);
}

TEST_F(CatalogueFileTest, BadHeaderAndShortLinesAreBadLines) {
    EXPECT_THROW(loadText("version=abc\r\n"), CatalogueError);
    try {
        loadText("version=100\r\n\"T\",\"/g/ab_cd_200803\",\"d\",\"A\"\r\n");
        FAIL();
    } catch (const CatalogueError& error) {
        EXPECT_THAT(error.what(), HasSubstr("line 2:"));
    }
    EXPECT_THROW(
        loadText("version=100\r\n\"T\",\"/g/ab_cd_2008xx\",\"d\",\"A\",\"C\",1,\"/g/c.jpg\","
                 "-1,-1\r\n"),
        CatalogueError);
    EXPECT_THROW(
        loadText("version=100\r\n\"T\",\"/g/ab_cd_200803\",\"d\",\"A\",\"C\",1,\"/g/c.jpg\","
                 "-1,\r\n"),
        CatalogueError);
}

} // namespace
} // namespace zob
