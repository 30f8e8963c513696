#include "search/searchkeyinfo.h"
#include "search/searchlists.h"
#include "searchtesting.h"
#include "site/formencoding.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zob {
namespace {

using namespace searchtest;
namespace fs = std::filesystem;

constexpr const char* unreachableSite = "http://127.0.0.1:9";

// Lists made from records the test writes itself; the site is never asked.
class SearchListFields : public ::testing::Test {
protected:
    SeriesPtr series(const std::string& model, const std::string& photographer,
                     std::int32_t modelId = 77) {
        owner_->addParsed("A title", "/members/gallery/2008/mira_kt0413_200803/", "2008/03/01",
                          model, photographer, "/members/gallery/2008/mira_kt0413_200803/cover.jpg",
                          24, 5, modelId);
        return owner_->records().back();
    }
    std::shared_ptr<searchModelArtList> modelList(const SeriesPtr& record, int k,
                                                  bool offline = false) {
        return std::make_shared<searchModelArtList>(session_.registry(), offline, record, k,
                                                    scanSettingsIn(session_.folder.path()));
    }
    std::shared_ptr<searchPhotoArtList> photoList(const SeriesPtr& record) {
        return std::make_shared<searchPhotoArtList>(session_.registry(), false, record, keys(),
                                                    session_.context->fetchEnv(),
                                                    scanSettingsIn(session_.folder.path()));
    }
    // With a model known the index never turns to the (unreachable) site.
    searchKeyInfoClass& keys() {
        searchKeyInfoClass& index = session_.context->searchKeyInfo;
        if (index.models.empty()) {
            index.models.push_back({"Somebody", 1});
        }
        return index;
    }

    testing::SiteSession session_{unreachableSite};
    std::shared_ptr<monthlyArtList> owner_ =
        std::make_shared<monthlyArtList>(session_.registry(), 2008, 3);
};

TEST_F(SearchListFields, ModelSearchByNameIsAFormPostToTheSearchPage) {
    const auto list = modelList(series("Mira & Kate", "John Doe"), 2);
    EXPECT_EQ(list->caption(), "Search model:Kate");
    EXPECT_EQ(list->queryText, "search=Kate");
    EXPECT_EQ(list->query(), "search=Kate");
    EXPECT_EQ(list->requestKind, 2);
    EXPECT_EQ(list->idQuery(), "model=77");
    EXPECT_EQ(list->pageUrl(), std::string(unreachableSite) + "/members/search.html");
    EXPECT_TRUE(list->csvFileName().empty());
    EXPECT_TRUE(list->isIncomplete());
    // Equal lists are found again through the history, never the registry.
    EXPECT_FALSE(list->isSame(*list));

    const auto clone = std::dynamic_pointer_cast<searchModelArtList>(list->cloneEmpty());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->caption(), list->caption());
    EXPECT_EQ(clone->queryText, list->queryText);
    EXPECT_EQ(clone->series, list->series);
    EXPECT_FALSE(clone->scanOffline);
}

TEST_F(SearchListFields, EmptyModelTextAsksByTheModelNumberInTheAddress) {
    const auto list = modelList(series("", "John Doe", 412), 1);
    EXPECT_EQ(list->caption(), "Search model:");
    EXPECT_EQ(list->queryText, "model=412");
    EXPECT_EQ(list->requestKind, 1);
    EXPECT_EQ(list->requestUrl(), std::string(unreachableSite) + "/members/search.html?model=412");
}

TEST_F(SearchListFields, PhotographerNumberKeepsOnlyItsLow16BitsAsASignedNumber) {
    EXPECT_EQ(photographerQueryNumber(15), 15);
    EXPECT_EQ(photographerQueryNumber(0x12345), 0x2345);
    EXPECT_EQ(photographerQueryNumber(0x18000), -32768);
    EXPECT_EQ(photographerQueryNumber(0xFFFF), -1);
    EXPECT_EQ(photographerQueryNumber(-1), -1);

    // The series names no photographer: the index's number for the empty
    // name is all there is to ask with.
    keys().photographers.push_back({"", 0x1FFFF});
    const auto list = photoList(series("Mira", ""));
    EXPECT_EQ(list->caption(), "Search photographer:");
    EXPECT_EQ(list->queryText, "photographer=-1");
    EXPECT_EQ(list->requestKind, 1);
    EXPECT_TRUE(list->isIncomplete());
}

TEST_F(SearchListFields, UnknownPhotographerLeavesNothingToAsk) {
    keys().photographers.push_back({"John Doe", 3});
    const auto list = photoList(series("Mira", ""));
    EXPECT_EQ(list->idQuery(), "");
    EXPECT_FALSE(list->hasQuery());
    EXPECT_FALSE(list->isIncomplete());
}

// --- against the demo site

class SiteSearch : public testing::DemoSiteSuite {
protected:
    SeriesPtr seriesOf(const demosite::Series& wanted) {
        SeriesPtr record = loadedSeries(*session_.context, session_.host, wanted);
        EXPECT_NE(record, nullptr) << wanted.name;
        return record;
    }
    OfflineScanSettings settings() { return scanSettingsIn(session_.folder.path(), &progress_); }
    ArtListPtr load(const ArtListPtr& list) {
        site().clearRequests();
        return addLoadedArchive(*session_.context, list, session_.host);
    }

    testing::SiteSession session_{site().baseUrl()};
    RecordingProgress progress_;
};

TEST_F(SiteSearch, ModelNamePostsTheNameAndMergesTheAnswerWithLoadedSeries) {
    const demosite::Series* found =
        siteSeries(site().content(), [](const auto& s) { return s.models.size() == 2; });
    ASSERT_NE(found, nullptr);
    const demosite::Series& wanted = *found;
    const SeriesPtr record = seriesOf(wanted);
    ASSERT_NE(record, nullptr);
    const auto list =
        std::make_shared<searchModelArtList>(session_.registry(), false, record, 2, settings());
    const ArtListPtr shown = load(list);
    ASSERT_EQ(shown, list);

    const auto requests = site().requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].target, "/members/search.html");
    EXPECT_EQ(requests[0].body, "search=" + wanted.models[1]);
    EXPECT_EQ(namesOf(*list), namesOf(site().content().seriesNamed(wanted.models[1])));
    // The series searched from is the same record in both lists.
    EXPECT_NE(std::find(list->records().begin(), list->records().end(), record),
              list->records().end());
    EXPECT_TRUE(session_.prompt.shown().empty());
}

TEST_F(SiteSearch, PhotographerNameIsPostedToo) {
    const demosite::Series* found = siteSeries(site().content(), [](const auto&) { return true; });
    ASSERT_NE(found, nullptr);
    const demosite::Series& wanted = *found;
    const SeriesPtr record = seriesOf(wanted);
    ASSERT_NE(record, nullptr);
    const auto list = std::make_shared<searchPhotoArtList>(
        session_.registry(), false, record, session_.context->searchKeyInfo,
        session_.context->fetchEnv(), settings());
    ASSERT_NE(load(list), nullptr);
    const auto requests = site().requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].body, formEncodedField("search=" + wanted.photographer));
    EXPECT_EQ(namesOf(*list), namesOf(site().content().seriesNamed(wanted.photographer)));
}

TEST_F(SiteSearch, NumberQueriesGoIntoTheAddress) {
    const demosite::Series* found = siteSeries(site().content(), [](const auto&) { return true; });
    ASSERT_NE(found, nullptr);
    const demosite::Series& wanted = *found;
    const SeriesPtr record = seriesOf(wanted);
    ASSERT_NE(record, nullptr);
    // A record whose page gave neither a model nor a photographer name.
    record->model.clear();
    record->photographer.clear();
    record->modelId = wanted.modelIds[0];

    const auto byModel =
        std::make_shared<searchModelArtList>(session_.registry(), false, record, 1, settings());
    ASSERT_NE(load(byModel), nullptr);
    ASSERT_EQ(site().requests().size(), 1u);
    EXPECT_EQ(site().requests()[0].method, "GET");
    EXPECT_EQ(site().requests()[0].target,
              "/members/search.html?model=" + std::to_string(wanted.modelIds[0]));
    EXPECT_EQ(namesOf(*byModel), namesOf(site().content().seriesOfModel(wanted.modelIds[0])));

    searchKeyInfoClass& keys = session_.context->searchKeyInfo;
    keys.models.push_back({"anyone", 1});
    keys.photographers.push_back({"", wanted.photographerId});
    const auto byPhotographer = std::make_shared<searchPhotoArtList>(
        session_.registry(), false, record, keys, session_.context->fetchEnv(), settings());
    ASSERT_NE(load(byPhotographer), nullptr);
    ASSERT_EQ(site().requests().size(), 1u);
    EXPECT_EQ(site().requests()[0].target,
              "/members/search.html?photographer=" + std::to_string(wanted.photographerId));
    EXPECT_EQ(namesOf(*byPhotographer),
              namesOf(site().content().seriesOfPhotographer(wanted.photographerId)));
}

TEST_F(SiteSearch, PhotographerUnknownToTheIndexSendsNoSearch) {
    const demosite::Series* found = siteSeries(site().content(), [](const auto&) { return true; });
    ASSERT_NE(found, nullptr);
    const demosite::Series& wanted = *found;
    const SeriesPtr record = seriesOf(wanted);
    ASSERT_NE(record, nullptr);
    record->photographer.clear();
    site().clearRequests();
    // The empty index learns the site's names from the search form first.
    const auto list = std::make_shared<searchPhotoArtList>(
        session_.registry(), false, record, session_.context->searchKeyInfo,
        session_.context->fetchEnv(), settings());
    EXPECT_FALSE(list->hasQuery());
    for (const auto& request : site().requests()) {
        EXPECT_EQ(request.target, "/members/search.html");
        EXPECT_EQ(request.method, "GET");
        EXPECT_TRUE(request.body.empty());
    }

    const ArtListPtr shown = load(list);
    ASSERT_EQ(shown, list);
    EXPECT_TRUE(shown->empty());
    EXPECT_TRUE(site().requests().empty());
}

TEST_F(SiteSearch, OfflineScanFindsWhatAFirstOnlineRunCatalogued) {
    const demosite::Series* found = siteSeries(site().content(), [](const auto&) { return true; });
    ASSERT_NE(found, nullptr);
    const demosite::Series& wanted = *found;
    const SeriesPtr record = seriesOf(wanted);
    ASSERT_NE(record, nullptr);
    session_.registry().saveAll();

    // A later run with its own registry over the same local folder.
    ScriptedPrompt prompt;
    AppContext later(session_.folder.path() / "ZObrowser.ini", prompt);
    const std::string model = wanted.models[0];
    const auto list =
        std::make_shared<searchModelArtList>(later.loadedArchives, true, record, 1, settings());
    site().clearRequests();
    const ArtListPtr shown = addLoadedArchive(later, list, session_.host);
    ASSERT_EQ(shown, list);
    EXPECT_TRUE(site().requests().empty());

    // Exactly the catalogued series whose line holds the name: those of the
    // month with the model in their model text, and any whose other texts
    // happen to hold it.
    std::vector<std::string> expected;
    for (const auto* series : site().content().select([&](const demosite::Series& s) {
             return s.year == wanted.year && s.month == wanted.month &&
                    s.modelText.find(model) != std::string::npos;
         })) {
        expected.push_back(series->name);
    }
    const std::vector<std::string> names = namesOf(*list);
    for (const std::string& name : expected) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
    for (const SeriesPtr& series : list->records()) {
        EXPECT_EQ(series->year, wanted.year) << series->name;
        EXPECT_EQ(series->month, wanted.month) << series->name;
    }
    EXPECT_FALSE(fs::exists(session_.folder.path() / "srchTmp.csv"));
    const std::string announced = "check " + std::to_string(wanted.year) + "/" +
                                  std::to_string(wanted.month) + " archive ... ";
    EXPECT_NE(std::find(progress_.texts.begin(), progress_.texts.end(), announced),
              progress_.texts.end());
}

} // namespace
} // namespace zob
