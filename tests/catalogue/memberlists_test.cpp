#include "catalogue/artlistlist.h"
#include "catalogue/memberlists.h"
#include "catalogue/monthlyartlist.h"
#include "demosite/content.h"
#include "testsupport/sitesession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zob {
namespace {

using Kind = ScriptedPrompt::Kind;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A monthly list whose newest series is dated `newestDate`.
std::shared_ptr<monthlyArtList> monthWithNewest(ArtListList& registry, int year, int month,
                                                const std::string& newestDate) {
    auto list = std::make_shared<monthlyArtList>(registry, year, month);
    char name[32];
    std::snprintf(name, sizeof name, "ab_cd_%4.4d%2.2d", year, month);
    list->addParsed("Title", std::string("/members/gallery/x/") + name + "/", newestDate, "Ann",
                    "BY Bo", "/members/gallery/x/cover.jpg", 12, -1, -1);
    return list;
}

class OfflineLists : public ::testing::Test {
protected:
    testing::SiteSession session{"http://127.0.0.1:9"};
    ArtListList& registry = session.registry();
};

TEST_F(OfflineLists, MonthIsCompleteOnceItsLastDayHasASeries) {
    EXPECT_FALSE(monthWithNewest(registry, 2008, 5, "2008/05/31")->isIncomplete());
    EXPECT_TRUE(monthWithNewest(registry, 2008, 5, "2008/05/30")->isIncomplete());
    EXPECT_FALSE(monthWithNewest(registry, 2008, 2, "2008/02/29")->isIncomplete());
    EXPECT_TRUE(monthWithNewest(registry, 2008, 2, "2008/02/28")->isIncomplete());
    EXPECT_FALSE(monthWithNewest(registry, 2007, 2, "2007/02/28")->isIncomplete());
    EXPECT_FALSE(monthWithNewest(registry, 2008, 4, "2008/04/30")->isIncomplete());
    EXPECT_TRUE(monthWithNewest(registry, 2008, 4, "Rank 3")->isIncomplete());
    EXPECT_TRUE(std::make_shared<monthlyArtList>(registry, 2008, 5)->isIncomplete());
    EXPECT_TRUE(monthWithNewest(registry, 1, 1, "2002/12/31")->isIncomplete());
}

TEST_F(OfflineLists, MonthsStepBackToTheSitesFirstMonth) {
    monthlyArtList list(registry, 2004, 1);
    list.prevMonth();
    EXPECT_EQ(list.year, 2003);
    EXPECT_EQ(list.month, 12);
    EXPECT_TRUE(list.hasPrevious());
    list.setYearMonth(2003, 1);
    EXPECT_FALSE(list.hasPrevious());
}

TEST_F(OfflineLists, CaptionsAndAddresses) {
    auto month = monthWithNewest(registry, 2008, 3, "2008/03/15");
    EXPECT_EQ(month->caption(), "2008/03");
    EXPECT_EQ(month->menuCaption(), "2008/03");
    EXPECT_EQ(month->requestUrl(), "http://127.0.0.1:9/members/gallery/2008/200803.html");
    month->save();
    EXPECT_EQ(month->menuCaption(), "2008/03 *");
    EXPECT_TRUE(std::filesystem::exists(session.indexFolder() / "200803.csv"));

    monthlyArtList archive(registry, 1, 1);
    EXPECT_EQ(archive.caption(), "archive 1");
    EXPECT_EQ(archive.csvFileName(), "Archive1.csv");
    EXPECT_EQ(archive.requestUrl(), "http://127.0.0.1:9/members/gallery/archive/index.html");

    FavoriteArtList favorites(registry);
    EXPECT_EQ(favorites.requestUrl(), "http://127.0.0.1:9/members/favorites/index.html?add=");
    EXPECT_EQ(favorites.caption(), "My Favorites");
    favorites.addedId = 42;
    EXPECT_EQ(favorites.requestUrl(), "http://127.0.0.1:9/members/favorites/?add=42");

    EXPECT_EQ(bestOfZelOraArtList(registry).requestUrl(),
              "http://127.0.0.1:9/members/bestofzel/index.html");
    EXPECT_EQ(BadArtList(registry).caption(), "Bad List");
}

TEST_F(OfflineLists, BadListHoldsASeriesOnceAndLosesEveryCopyAtOnce) {
    auto bad = std::make_shared<BadArtList>(registry);
    auto month = monthWithNewest(registry, 2008, 3, "2008/03/15");
    const SeriesPtr series = month->item(0);
    bad->addBad(series);
    bad->addBad(series);
    EXPECT_EQ(bad->size(), 1u);
    bad->append(series); // as a file written by an older run may hold it
    bad->removeBad(series);
    EXPECT_TRUE(bad->empty());
    bad->removeBad(series);
    EXPECT_TRUE(bad->empty());
    EXPECT_TRUE(bad->saved);
}

TEST_F(OfflineLists, FavoritesOfflineStayLocal) {
    auto favorites = std::make_shared<FavoriteArtList>(registry);
    auto month = monthWithNewest(registry, 2008, 3, "2008/03/15");
    favorites->addFavorite(month->item(0), true, session.context->fetchEnv());
    EXPECT_EQ(favorites->size(), 1u);
    EXPECT_EQ(favorites->addedId, -1);
    favorites->removeFavorite(month->item(0), true, session.context->fetchEnv());
    EXPECT_TRUE(favorites->empty());
    EXPECT_THAT(session.prompt.shown(), IsEmpty());
    EXPECT_TRUE(std::filesystem::exists(session.indexFolder() / "MyFavorite.csv"));
}

class FavoritesOnSite : public testing::DemoSiteSuite {
protected:
    void SetUp() override { site().clearRequests(); }

    std::vector<std::string> requestTargets() const {
        std::vector<std::string> targets;
        for (const auto& request : site().requests()) {
            targets.push_back(request.method + " " + request.target);
        }
        return targets;
    }

    // A series of the site that is not a favorite, as the month page lists it.
    SeriesPtr notYetFavorite(std::shared_ptr<monthlyArtList>& month, bool archiveOnly) {
        const demosite::Series* wanted = nullptr;
        for (const demosite::Series& series : site().content().allSeries()) {
            if (!series.isMovie && !series.onArchivePage && series.archiveOnly == archiveOnly &&
                !site().content().isFavorite(series)) {
                wanted = &series;
                break;
            }
        }
        if (wanted == nullptr) {
            ADD_FAILURE() << "the site has no such series";
            return nullptr;
        }
        month = std::make_shared<monthlyArtList>(session.registry(), wanted->year, wanted->month);
        month->addParsed(wanted->title, wanted->folderPath, wanted->date, wanted->modelText,
                         wanted->photographer, wanted->coverPath, wanted->announcedPhotos, -1, -1);
        return month->item(0);
    }

    testing::SiteSession session{site().baseUrl()};
};

TEST_F(FavoritesOnSite, AddLearnsTheIdFromTheSeriesPageAndRemoveSendsIt) {
    std::shared_ptr<monthlyArtList> month;
    const SeriesPtr series = notYetFavorite(month, false);
    ASSERT_TRUE(series);
    const int id = site().content().seriesByName(series->name)->favoriteId;
    auto favorites = std::make_shared<FavoriteArtList>(session.registry());

    favorites->addFavorite(series, false, session.context->fetchEnv());
    EXPECT_EQ(series->favoriteId, id);
    EXPECT_EQ(favorites->addedId, id);
    EXPECT_TRUE(site().content().isFavorite(*site().content().seriesByName(series->name)));

    favorites->removeFavorite(series, false, session.context->fetchEnv());
    EXPECT_TRUE(favorites->empty());
    EXPECT_FALSE(site().content().isFavorite(*site().content().seriesByName(series->name)));
    const std::string folder =
        "/members/gallery/" + std::to_string(series->year) + "/" + series->name + "/hires/";
    EXPECT_THAT(requestTargets(),
                ElementsAre("GET " + folder, "GET /members/favorites/?add=" + std::to_string(id),
                            "GET /members/favorites/?remove=" + std::to_string(id)));
    EXPECT_THAT(session.prompt.shown(), IsEmpty());
}

TEST_F(FavoritesOnSite, RemoveWithoutAnEarlierAddGoesThroughTheIndexPage) {
    std::shared_ptr<monthlyArtList> month;
    const SeriesPtr series = notYetFavorite(month, false);
    ASSERT_TRUE(series);
    series->favoriteId = 77;
    auto favorites = std::make_shared<FavoriteArtList>(session.registry());
    favorites->insert(0, series);
    favorites->removeFavorite(series, false, session.context->fetchEnv());
    EXPECT_THAT(requestTargets(), ElementsAre("GET /members/favorites/index.html/?remove=77"));

    // Without an id nothing is sent.
    site().clearRequests();
    series->favoriteId = -1;
    favorites->insert(0, series);
    favorites->removeFavorite(series, false, session.context->fetchEnv());
    EXPECT_THAT(requestTargets(), IsEmpty());
}

TEST_F(FavoritesOnSite, SeriesPageThatCannotBeReadKeepsTheFavoriteLocal) {
    std::shared_ptr<monthlyArtList> month;
    const SeriesPtr series = notYetFavorite(month, true);
    ASSERT_TRUE(series);
    auto favorites = std::make_shared<FavoriteArtList>(session.registry());
    favorites->addFavorite(series, false, session.context->fetchEnv());
    EXPECT_EQ(favorites->size(), 1u);
    EXPECT_EQ(favorites->addedId, -1);
    EXPECT_THAT(session.prompt.shown(),
                ElementsAre(ScriptedPrompt::Shown{Kind::Message, "",
                                                  "Cannot send \"add to favorite\" to zel-ora",
                                                  PromptAnswer::Ok}));
    EXPECT_EQ(requestTargets().size(), 1u);
}

} // namespace
} // namespace zob
