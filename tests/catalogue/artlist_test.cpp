#include "catalogue/catalogueerror.h"
#include "catalogue/listtesting.h"

#include <gtest/gtest.h>

namespace zob {
namespace {

using cataloguetest::addGallery;
using cataloguetest::CatalogueWorld;
using cataloguetest::NamedList;
using cataloguetest::namesOf;

class ArtListTest : public ::testing::Test {
protected:
    CatalogueWorld world;
};

TEST_F(ArtListTest, SaveWritesOnlyWhatHasChangesAndAFile) {
    const std::string file = world.indexFile("200803.csv");
    auto month = world.month(2008, 3);
    month->save();
    EXPECT_FALSE(std::filesystem::exists(file)) << "an unchanged list writes nothing";

    addGallery(*month, "ab_cd_200803");
    EXPECT_FALSE(month->saved);
    month->save();
    EXPECT_TRUE(month->saved);
    EXPECT_TRUE(month->hasFile());
    writeBytes(file, "kept");
    month->save();
    EXPECT_EQ(readBytes(file), "kept");

    // An explicit name always writes, into a folder made for it.
    const auto elsewhere = world.scratch / "a" / "b" / "copy.csv";
    month->save(elsewhere.string());
    EXPECT_EQ(readBytes(elsewhere).substr(0, 13), "version=100\r\n");

    auto unstored = world.named("");
    addGallery(*unstored, "ab_cd_200803");
    unstored->save();
    EXPECT_FALSE(unstored->saved);
    EXPECT_EQ(world.scratch.entryCount(), 2u) << "only 00index and a";
}

TEST_F(ArtListTest, AddressesFollowTheKind) {
    auto month = world.month(2008, 3);
    EXPECT_EQ(month->sectionUrl(), "http://127.0.0.1:9/members/gallery");
    EXPECT_EQ(month->requestUrl(), "http://127.0.0.1:9/members/gallery/2008/200803.html");
    EXPECT_EQ(month->csvPath(), world.scratch.path().string() + "/00index/200803.csv");

    const auto list = [this](NamedList::Names names) {
        return std::make_shared<NamedList>(world.registry, std::move(names));
    };
    EXPECT_EQ(list({"f.csv", "favorites", "", "index.html", "add="})->requestUrl(),
              "http://127.0.0.1:9/members/favorites/index.html?add=");
    EXPECT_EQ(list({"f.csv", "favorites", "", "", "add=12"})->requestUrl(),
              "http://127.0.0.1:9/members/favorites/?add=12");
    EXPECT_EQ(list({"", "/rooted", "x", "p.html", ""})->requestUrl(),
              "http://127.0.0.1:9/rooted/x/p.html");
}

TEST_F(ArtListTest, MergeTakesDetailsAndPutsNewSeriesInFrontInPageOrder) {
    auto stored = world.month(2008, 3);
    addGallery(*stored, "aa_aa_200803", 10);
    addGallery(*stored, "bb_bb_200803", 999);
    stored->item(0)->setDetails("Rank 2", "m", "p", 10, 5, 6);
    stored->saved = true;

    auto fresh = world.month(2008, 3);
    fresh->addParsed("T", "/g/new1_x_200803", "2008/03/09", "N", "P", "/g/c.jpg", 7, -1, -1);
    fresh->addParsed("T", "/g/aa_aa_200803", "2008/03/05", "Ann", "BY Pat", "/g/c.jpg", 999, -1, 8);
    fresh->addParsed("T", "/g/new2_x_200803", "2008/03/08", "N", "P", "/g/c.jpg", 7, -1, -1);
    fresh->addParsed("T", "/g/bb_bb_200803", "Rank 1", "Bea", "Q", "/g/c.jpg", 30, 4, -1);

    stored->mergeFrom(*fresh);
    EXPECT_FALSE(stored->saved);
    EXPECT_EQ(namesOf(*stored), (std::vector<std::string>{"new1_x_200803", "new2_x_200803",
                                                          "aa_aa_200803", "bb_bb_200803"}));
    const SeriesRec& a = *stored->item(2);
    EXPECT_EQ(a.date, "2008/03/05") << "a real date replaces a rank";
    EXPECT_EQ(a.model, "Ann");
    EXPECT_EQ(a.photographer, "Pat");
    EXPECT_EQ(a.photoCount, 10) << "an undetermined count is no news";
    EXPECT_EQ(a.favoriteId, 5);
    EXPECT_EQ(a.modelId, 8);
    const SeriesRec& b = *stored->item(3);
    EXPECT_EQ(b.date, "2008/03/01") << "a rank never replaces a real date";
    EXPECT_EQ(b.photoCount, 30);
    EXPECT_EQ(b.favoriteId, 4);
    // New series are copies belonging to the list that received them.
    EXPECT_NE(stored->item(0), fresh->item(0));
    EXPECT_EQ(stored->item(0)->ownerList(), stored);
    EXPECT_EQ(stored->item(0)->photoCount, 7);
}

TEST_F(ArtListTest, MergeOfASeriesListedTwiceTakesItsLastRecord) {
    auto stored = world.month(2008, 3);
    auto fresh = world.month(2008, 3);
    fresh->addParsed("first", "/g/aa_aa_200803", "d", "m", "p", "/g/c.jpg", 1, -1, -1);
    fresh->addParsed("second", "/g/aa_aa_200803", "d", "m", "p", "/g/c.jpg", 2, -1, -1);
    stored->mergeFrom(*fresh);
    ASSERT_EQ(stored->size(), 1u);
    EXPECT_EQ(stored->item(0)->title, "second");
}

// One series block as the site's list pages have it.
std::string seriesBlock(const std::string& name, const std::string& title) {
    const std::string folder = "/members/gallery/2008/" + name + "/";
    return "<table><tr><td class=\"cover\"><a href=\"" + folder + "\"><img src=\"" + folder +
           "cover.jpg\" width=\"113\" height=\"170\"></a></td></tr>"
           "<tr><td class=\"series\">Ann</td></tr><tr><td class=\"date\">2008/03/04</td></tr>"
           "<tr><td class=\"title\">" +
           title +
           "</td></tr><tr><td class=\"photographer\">BY Carl</td></tr>"
           "<tr><td class=\"specs\">photos</td></tr></table>\r\n";
}

TEST_F(ArtListTest, ParsePageSavesPendingChangesReplacesTheRecordsAndShares) {
    auto known = world.named("known.csv");
    const SeriesPtr shared = addGallery(*known, "bb_bb_200803", 40);
    world.registry.registerList(known);

    auto month = world.month(2008, 3);
    addGallery(*month, "zz_zz_200803");
    month->parsePage(seriesBlock("aa_aa_200803", "First") + seriesBlock("bb_bb_200803", "Second"));

    EXPECT_NE(readBytes(month->csvPath()).find("zz_zz_200803"), std::string::npos)
        << "unsaved changes are written before the page replaces them";
    EXPECT_EQ(namesOf(*month), (std::vector<std::string>{"aa_aa_200803", "bb_bb_200803"}));
    EXPECT_FALSE(month->saved);
    EXPECT_EQ(month->item(0)->title, "First");
    EXPECT_EQ(month->item(0)->photoCount, 999);
    EXPECT_EQ(month->item(0)->photographer, "Carl");
    EXPECT_EQ(month->item(1), shared);
    EXPECT_EQ(shared->photoCount, 40);

    // A malformed series address costs that block alone, and says why; a
    // title's "&quot;" reads as it will come back from the catalogue.
    auto broken = world.month(2008, 4);
    EXPECT_EQ(broken->parsePage(seriesBlock("cc_cc_200804", "ok") +
                                seriesBlock("malformed", "bad") +
                                seriesBlock("dd_dd_200804", "a &quot;quote&quot;")),
              std::vector<std::string>{"malformed series name: \"malformed\""});
    EXPECT_EQ(namesOf(*broken), (std::vector<std::string>{"cc_cc_200804", "dd_dd_200804"}));
    EXPECT_EQ(broken->item(1)->title, "a \"quote\"");
}

} // namespace
} // namespace zob
