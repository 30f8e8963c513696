#include "app/archivechoice.h"
#include "app/archiveloader.h"
#include "catalogue/artlistlist.h"
#include "catalogue/memberlists.h"
#include "catalogue/monthlyartlist.h"
#include "demosite/content.h"
#include "testsupport/loopback.h"
#include "testsupport/sitesession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zob {
namespace {

using Kind = ScriptedPrompt::Kind;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> namesOf(const ArtList& list) {
    std::vector<std::string> names;
    for (const SeriesPtr& series : list.records()) {
        names.push_back(series->name);
    }
    return names;
}

std::vector<std::string> namesOf(const std::vector<const demosite::Series*>& series) {
    std::vector<std::string> names;
    for (const demosite::Series* one : series) {
        names.push_back(one->name);
    }
    return names;
}

class ArchiveLoader : public testing::DemoSiteSuite {
protected:
    void SetUp() override { site().clearRequests(); }

    ArtListPtr load(ArtListPtr list) {
        return addLoadedArchive(*session.context, std::move(list), session.host);
    }
    std::shared_ptr<monthlyArtList> month(int year, int monthValue) {
        return std::make_shared<monthlyArtList>(session.registry(), year, monthValue);
    }
    const demosite::SiteContent& content() const { return site().content(); }

    testing::SiteSession session{site().baseUrl()};
};

TEST_F(ArchiveLoader, FetchesAMonthAndKeepsItsCatalogue) {
    const ArtListPtr loaded = load(month(2007, 10));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(namesOf(*loaded), namesOf(content().month(2007, 10)->series));
    EXPECT_EQ(session.registry().indexOfSame(*loaded), 0);
    EXPECT_EQ(session.host.clears, 1);
    session.registry().saveAll();
    EXPECT_TRUE(std::filesystem::exists(session.indexFolder() / "200710.csv"));

    // The same month again is the registered instance, fetched again only
    // while incomplete.
    const bool complete = content().month(2007, 10)->complete();
    site().clearRequests();
    EXPECT_EQ(load(month(2007, 10)), loaded);
    EXPECT_EQ(site().requests().size(), complete ? 0u : 1u);
}

TEST_F(ArchiveLoader, MonthTheSiteLacksWalksBackToTheLatestItHas) {
    const ArtListPtr loaded = load(month(2008, 5));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->caption(), "2008/03");
    EXPECT_EQ(namesOf(*loaded), namesOf(content().month(2008, 3)->series));
    std::vector<std::string> targets;
    for (const auto& request : site().requests()) {
        targets.push_back(request.target);
    }
    EXPECT_THAT(targets, ElementsAre("/members/gallery/2008/200805.html",
                                     "/members/gallery/2008/200804.html",
                                     "/members/gallery/2008/200803.html"));
    EXPECT_EQ(session.registry().size(), 1u);
}

TEST_F(ArchiveLoader, FirstMonthTheSiteLacksGivesUp) {
    site().setFaults([] {
        demosite::Faults faults;
        faults.fixedAnswers["/members/gallery/2003/200301.html"] = {404, ""};
        return faults;
    }());
    const ArtListPtr loaded = load(month(2003, 1));
    site().setFaults({});
    EXPECT_FALSE(loaded);
    EXPECT_THAT(session.prompt.shown(),
                ElementsAre(ScriptedPrompt::Shown{
                    Kind::Message, "",
                    "Sorry. cannot download this archive.\r\n2003/01: " + site().baseUrl() +
                        "/members/gallery/2003/200301.html is not on the site",
                    PromptAnswer::Ok}));
    EXPECT_EQ(session.registry().size(), 0u);
}

TEST_F(ArchiveLoader, ExpiredLoginIsFatal) {
    testing::SiteSession expired(site().baseUrl(), "wrong");
    const ArtListPtr loaded = addLoadedArchive(
        *expired.context, std::make_shared<monthlyArtList>(expired.registry(), 2007, 10),
        expired.host);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(expired.host.closeRequests, 1);
    EXPECT_THAT(expired.prompt.shown(),
                ElementsAre(ScriptedPrompt::Shown{
                    Kind::Message, "fatal error",
                    "ID/Password will not be correct.(expired?)\rprogram terminates abnormally",
                    PromptAnswer::Ok}));
}

TEST_F(ArchiveLoader, UnreachableSiteFollowsTheUsersChoice) {
    testing::SiteSession away("http://127.0.0.1:" + std::to_string(unusedLoopbackPort()));
    away.prompt.script({PromptAnswer::Cancel});
    EXPECT_FALSE(addLoadedArchive(
        *away.context, std::make_shared<monthlyArtList>(away.registry(), 2007, 10), away.host));
    EXPECT_EQ(away.host.closeRequests, 1);

    // Offline chosen: the list comes from its local catalogue, here none, so
    // it walks back through the empty months.
    away.prompt.script({PromptAnswer::No});
    const ArtListPtr loaded = addLoadedArchive(
        *away.context, std::make_shared<monthlyArtList>(away.registry(), 2003, 2), away.host);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(away.context->offlineMode);
    EXPECT_TRUE(away.host.offlineSearch);
    EXPECT_EQ(loaded->caption(), "2003/02");
}

TEST_F(ArchiveLoader, OfflineWalksBackToTheLatestLocalCatalogue) {
    ASSERT_TRUE(load(month(2005, 6)));
    session.registry().saveAll();

    testing::SiteSession offline(site().baseUrl());
    std::filesystem::copy(session.indexFolder(), offline.indexFolder(),
                          std::filesystem::copy_options::recursive);
    offline.context->offlineMode = true;
    site().clearRequests();
    const ArtListPtr loaded = addLoadedArchive(
        *offline.context, std::make_shared<monthlyArtList>(offline.registry(), 2006, 2),
        offline.host);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->caption(), "2005/06");
    EXPECT_EQ(namesOf(*loaded), namesOf(content().month(2005, 6)->series));
    EXPECT_THAT(site().requests(), IsEmpty());

    // With no catalogue at all the walk ends, empty, in December 2002.
    testing::SiteSession bare(site().baseUrl());
    bare.context->offlineMode = true;
    const ArtListPtr none = addLoadedArchive(
        *bare.context, std::make_shared<monthlyArtList>(bare.registry(), 2004, 3), bare.host);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->caption(), "2002/12");
    EXPECT_TRUE(none->empty());
}

TEST_F(ArchiveLoader, FavoritesAreFetchedOnlyWhileTheLocalListIsEmpty) {
    auto favorites = std::make_shared<FavoriteArtList>(session.registry());
    ASSERT_EQ(load(favorites), favorites);
    EXPECT_EQ(namesOf(*favorites), namesOf(content().favorites()));
    ASSERT_FALSE(favorites->empty());
    EXPECT_NE(favorites->item(0)->favoriteId, -1);
    session.registry().saveAll();

    testing::SiteSession later(site().baseUrl());
    std::filesystem::copy(session.indexFolder(), later.indexFolder(),
                          std::filesystem::copy_options::recursive);
    site().clearRequests();
    auto again = std::make_shared<FavoriteArtList>(later.registry());
    ASSERT_EQ(addLoadedArchive(*later.context, again, later.host), again);
    EXPECT_EQ(namesOf(*again), namesOf(*favorites));
    EXPECT_THAT(site().requests(), IsEmpty());
}

TEST_F(ArchiveLoader, BestOfKeepsRanksUntilARealDateIsKnown) {
    const ArtListPtr bestOf = load(std::make_shared<bestOfZelOraArtList>(session.registry()));
    ASSERT_TRUE(bestOf);
    EXPECT_EQ(namesOf(*bestOf), namesOf(content().bestOf()));
    EXPECT_EQ(bestOf->item(0)->date.rfind("Rank", 0), 0u);
}

TEST(ArchiveChoice, CaptionsChooseTheirLists) {
    EXPECT_EQ(chooseArchiveEntry("&My favorites")->entry, ArchiveEntry::favorites);
    EXPECT_EQ(chooseArchiveEntry("&Bad list")->entry, ArchiveEntry::badList);
    EXPECT_EQ(chooseArchiveEntry("Be&st of ZEL")->kind, "Best of Zel");
    EXPECT_EQ(chooseArchiveEntry("Downloading")->entry, ArchiveEntry::downloading);
    EXPECT_EQ(chooseArchiveEntry("Downloaded")->kind, "downloaded list");
    EXPECT_EQ(chooseArchiveEntry("Stopping or loading")->entry, ArchiveEntry::stopped);
    EXPECT_EQ(chooseArchiveEntry("Not downloaded")->entry, ArchiveEntry::notDownloaded);

    const auto archive = chooseArchiveEntry("archive 1 *");
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->entry, ArchiveEntry::archivePage);
    EXPECT_EQ(archive->year, 1);
    EXPECT_EQ(archive->month, 1);

    const auto month = chooseArchiveEntry("2008/03 *");
    ASSERT_TRUE(month);
    EXPECT_EQ(month->entry, ArchiveEntry::month);
    EXPECT_EQ(month->year, 2008);
    EXPECT_EQ(month->month, 3);
    EXPECT_EQ(month->kind, "get monthly archive");

    EXPECT_FALSE(chooseArchiveEntry("2008-03"));
    EXPECT_FALSE(chooseArchiveEntry("2008/13"));
    EXPECT_FALSE(chooseArchiveEntry("nonsense"));
}

} // namespace
} // namespace zob
