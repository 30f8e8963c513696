#include "catalogue/listtesting.h"

#include <array>
#include <gtest/gtest.h>

namespace zob {
namespace {

using cataloguetest::addGallery;
using cataloguetest::CatalogueWorld;

TEST(ArtListListTest, AddressesJoinBaseMembersAndLocalFolder) {
    CatalogueWorld world;
    EXPECT_EQ(world.registry.membersUrl(), "http://127.0.0.1:9/members/");
    EXPECT_EQ(world.registry.siteUrl("gallery"), "http://127.0.0.1:9/members/gallery");
    EXPECT_EQ(world.registry.siteUrl("/home.html"), "http://127.0.0.1:9/home.html");
    EXPECT_EQ(world.registry.localPath("00index"), world.scratch.path().string() + "/00index");
    // The local folder is read at each call: the settings may change it.
    world.config.local = "/elsewhere/";
    EXPECT_EQ(world.registry.localPath("00index"), "/elsewhere/00index");
}

TEST(ArtListListTest, SeriesLoadedInTwoListsIsOneRecord) {
    CatalogueWorld world;
    std::filesystem::create_directories(world.scratch / "00index");
    const std::string line =
        "\"T\",\"/g/ab_cd_200803\",\"d\",\"A\",\"C\",999,\"/g/c.jpg\",-1,-1\r\n";
    writeBytes(world.indexFile("200803.csv"), "version=100\r\n" + line);
    writeBytes(
        world.indexFile("fav.csv"),
        "version=100\r\n\"T\",\"/g/ab_cd_200803\",\"d\",\"A\",\"C\",30,\"/g/c.jpg\",12,-1\r\n" +
            line);

    auto month = world.month(2008, 3);
    month->load();
    world.registry.registerList(month);
    auto favorites = world.named("fav.csv");
    favorites->load();
    world.registry.registerList(favorites);

    ASSERT_EQ(favorites->size(), 2u);
    EXPECT_EQ(favorites->item(0), month->item(0));
    EXPECT_EQ(favorites->item(1), month->item(0));
    EXPECT_EQ(month->item(0)->photoCount, 30) << "the shared record takes what the file knew";
    EXPECT_EQ(month->item(0)->favoriteId, 12);
    EXPECT_TRUE(favorites->saved);

    favorites->item(0)->setDetails("d", "A", "C", 31, -1, -1);
    EXPECT_EQ(month->item(0)->photoCount, 31);
    EXPECT_FALSE(month->saved) << "the record belongs to the list that made it";
}

TEST(ArtListListTest, RegisteringAnEqualListGivesTheRegisteredOne) {
    CatalogueWorld world;
    auto first = world.month(2008, 3);
    EXPECT_EQ(world.registry.registerList(first), first);
    EXPECT_EQ(world.registry.registerList(world.month(2008, 3)), first);
    EXPECT_EQ(world.registry.registerList(first), first);
    EXPECT_EQ(world.registry.size(), 1u);
    EXPECT_EQ(world.registry.indexOfSame(*world.month(2008, 4)), -1);
}

TEST(ArtListListTest, FindSeriesFollowsChangesOfRegisteredLists) {
    CatalogueWorld world;
    auto one = world.month(2008, 3);
    auto two = world.month(2008, 4);
    world.registry.registerList(one);
    world.registry.registerList(two);
    auto probe = world.month(2000, 1);
    const SeriesPtr wanted = SeriesRec::create(*probe, "/g/ab_cd_200803", "probe", "/c.jpg");
    EXPECT_EQ(world.registry.findSeries(*wanted), nullptr);

    const SeriesPtr inTwo = SeriesRec::create(*two, "/g/ab_cd_200803", "two", "/c.jpg");
    two->append(inTwo);
    EXPECT_EQ(world.registry.findSeries(*wanted), inTwo);
    const SeriesPtr inOne = SeriesRec::create(*one, "/g/ab_cd_200803", "one", "/c.jpg");
    one->insert(0, inOne);
    EXPECT_EQ(world.registry.findSeries(*wanted), inOne) << "lists are searched in order";
    one->erase(0);
    EXPECT_EQ(world.registry.findSeries(*wanted), inTwo);

    // A list registered after the index was built comes after every other one.
    auto three = world.month(2008, 5);
    const SeriesPtr inThree = SeriesRec::create(*three, "/g/ef_gh_200805", "three", "/c.jpg");
    three->append(inThree);
    world.registry.registerList(three);
    EXPECT_EQ(world.registry.findSeries(*inThree), inThree);
    EXPECT_EQ(world.registry.findSeries(*wanted), inTwo);
    two->clear();
    EXPECT_EQ(world.registry.findSeries(*wanted), nullptr);

    // Changes to an unregistered list are none of the registry's business.
    probe->append(wanted);
    EXPECT_EQ(world.registry.findSeries(*wanted), nullptr);
}

// Builds the same lists in a world: `registeredCount` registered lists and a
// last list to share, from a seeded generator. Several distinct records of
// one name may sit in the registered lists and in the last list.
std::vector<std::shared_ptr<cataloguetest::MonthList>>
buildLists(CatalogueWorld& world, unsigned seed, int registeredCount, bool lastRegistered) {
    unsigned state = seed;
    const auto next = [&state](unsigned bound) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % bound;
    };
    constexpr std::array<std::int32_t, 4> counts{0, 999, 10, 20};
    std::vector<std::shared_ptr<cataloguetest::MonthList>> lists;
    for (int l = 0; l <= registeredCount; ++l) {
        auto list = world.month(2000 + l, 1);
        const bool registered = l < registeredCount || lastRegistered;
        if (registered) {
            world.registry.registerList(list);
        }
        const unsigned size = 2 + next(6);
        for (unsigned i = 0; i < size; ++i) {
            const std::string name = "s" + std::to_string(next(5)) + "_x_200801";
            const SeriesPtr record = SeriesRec::create(
                *list, name, "L" + std::to_string(l) + "R" + std::to_string(i), "/c.jpg");
            const int favorite = next(3) == 0 ? static_cast<int>(next(90)) : -1;
            const int model = next(3) == 0 ? static_cast<int>(next(90)) : -1;
            record->setDetails("d", "m", "p", counts[next(4)], favorite, model);
            list->append(record);
        }
        lists.push_back(std::move(list));
    }
    return lists;
}

// The sharing walk written the slow, obvious way: every registered record
// against every position of the list.
void shareTheSlowWay(ArtListList& registry, ArtList& list) {
    for (std::size_t l = 0; l < registry.size(); ++l) {
        const ArtListPtr registered = registry.list(l);
        if (registered.get() == &list) {
            continue;
        }
        for (const SeriesPtr& a : registered->records()) {
            for (std::size_t j = 0; j < list.size(); ++j) {
                const SeriesPtr b = list.item(j);
                if (b != a && b->name == a->name) {
                    a->takeKnownValues(*b);
                    list.replace(j, a);
                }
            }
        }
    }
}

std::string describe(const std::vector<std::shared_ptr<cataloguetest::MonthList>>& lists) {
    std::string text;
    for (const auto& list : lists) {
        for (const SeriesPtr& record : list->records()) {
            text += record->title + ":" + std::to_string(record->photoCount) + "/" +
                    std::to_string(record->favoriteId) + "/" + std::to_string(record->modelId) +
                    " ";
        }
        text += "| ";
    }
    return text;
}

TEST(ArtListListTest, SharingMatchesTheWalkOverEveryRegisteredRecord) {
    for (const bool lastRegistered : {false, true}) {
        for (unsigned seed = 1; seed <= 200; ++seed) {
            CatalogueWorld fast;
            CatalogueWorld slow;
            const auto fastLists = buildLists(fast, seed, 3, lastRegistered);
            const auto slowLists = buildLists(slow, seed, 3, lastRegistered);
            ASSERT_EQ(describe(fastLists), describe(slowLists));
            fast.registry.shareRecords(*fastLists.back());
            shareTheSlowWay(slow.registry, *slowLists.back());
            ASSERT_EQ(describe(fastLists), describe(slowLists))
                << "seed " << seed << (lastRegistered ? ", registered" : "");
        }
    }
}

TEST(ArtListListTest, OfTwoRegisteredRecordsOfOneNameTheLastTakesThePlace) {
    CatalogueWorld world;
    auto one = world.month(2008, 3);
    auto two = world.month(2008, 4);
    world.registry.registerList(one);
    world.registry.registerList(two);
    const SeriesPtr first = SeriesRec::create(*one, "/g/ab_cd_200803", "first", "/c.jpg");
    const SeriesPtr second = SeriesRec::create(*two, "/g/ab_cd_200803", "second", "/c.jpg");
    one->append(first);
    two->append(second);

    auto list = world.month(2008, 5);
    const SeriesPtr mine = SeriesRec::create(*list, "/g/ab_cd_200803", "mine", "/c.jpg");
    mine->setDetails("d", "m", "p", 25, 3, -1);
    list->append(mine);
    EXPECT_EQ(world.registry.findSeries(*mine), first);
    world.registry.shareRecords(*list);
    EXPECT_EQ(list->item(0), second);
    EXPECT_EQ(second->photoCount, 25) << "passed on through the first";
    EXPECT_EQ(first->favoriteId, 3);
}

TEST(ArtListListTest, SaveAllWritesEveryChangedListEvenWhenOneFails) {
    CatalogueWorld world;
    std::filesystem::create_directories(world.scratch / "00index");
    writeBytes(world.indexFile("blocked"), "a file where a folder should be");
    auto blocked = world.named("blocked/x.csv");
    auto month = world.month(2008, 3);
    addGallery(*blocked, "ab_cd_200803");
    addGallery(*month, "ef_gh_200803");
    world.registry.registerList(blocked);
    world.registry.registerList(month);
    EXPECT_ANY_THROW(world.registry.saveAll());
    EXPECT_TRUE(month->saved);
    EXPECT_TRUE(month->hasFile());
    EXPECT_FALSE(blocked->saved);
}

TEST(ArtListListTest, ListsMayOutliveTheirRegistry) {
    std::shared_ptr<cataloguetest::MonthList> survivor;
    {
        CatalogueWorld world;
        survivor = world.month(2008, 3);
        world.registry.registerList(survivor);
        EXPECT_TRUE(survivor->isRegistered());
    }
    EXPECT_FALSE(survivor->isRegistered());
    survivor->clear();
}

} // namespace
} // namespace zob
