#include "app/searchcommands.h"
#include "search/history.h"
#include "search/searchlists.h"
#include "search/searchtesting.h"

#include <gtest/gtest.h>

namespace zob {
namespace {

using namespace searchtest;

class RecordingWindow : public SearchWindow {
public:
    void setCrntArchive(const ArtListPtr& list, std::int32_t position) override {
        shown.push_back(list);
        shownScroll = position;
    }
    std::int32_t tileScrollPosition() const override { return scroll; }
    void setBusyCursor(bool busy) override { busyCursor = busy; }
    void clearSelection() override { ++selectionClears; }
    void setListMenusEnabled(bool enabled) override { listMenusEnabled = enabled; }
    void showSplash(const std::string& message) override { splashTexts.push_back(message); }
    void showImagePage() override { ++imagePages; }
    void showNotFoundLabel() override { ++notFoundLabels; }
    ArtListPtr crntArchive() const override { return current; }

    ArtListPtr current;
    std::int32_t scroll = 0;
    std::vector<ArtListPtr> shown;
    std::int32_t shownScroll = -1;
    bool busyCursor = false;
    int selectionClears = 0;
    bool listMenusEnabled = true;
    std::vector<std::string> splashTexts;
    int imagePages = 0;
    int notFoundLabels = 0;
};

class SilentHistoryView : public HistoryView {
public:
    void setMenuEntries(const std::vector<HistoryMenuEntry>& /*entries*/) override {}
    void setButtons(bool /*back*/, bool /*forward*/) override {}
};

class SearchCommands : public testing::DemoSiteSuite {
protected:
    SearchEnv env(bool offlineSearch = false) {
        return SearchEnv{*session_.context,
                         session_.host,
                         history_,
                         session_.context->searchKeyInfo,
                         window_,
                         offlineSearch,
                         scanSettingsIn(session_.folder.path())};
    }
    SeriesPtr seriesOf(const demosite::Series& wanted) {
        return loadedSeries(*session_.context, session_.host, wanted);
    }

    testing::SiteSession session_{site().baseUrl()};
    SilentHistoryView view_;
    historyList history_{16, view_};
    RecordingWindow window_;
};

TEST_F(SearchCommands, EntryNamesGiveTheModelNumber) {
    EXPECT_EQ(searchEntryModelIndex("srch1"), 1);
    EXPECT_EQ(searchEntryModelIndex("srch12"), 12);
    EXPECT_EQ(searchEntryModelIndex("srch123"), 12);
    EXPECT_EQ(searchEntryModelIndex("srch"), 0);
}

TEST_F(SearchCommands, AFoundListIsShownAndEntersTheHistory) {
    const demosite::Series* wanted = siteSeries(site().content(), [](const auto&) { return true; });
    ASSERT_NE(wanted, nullptr);
    const SeriesPtr series = seriesOf(*wanted);
    ASSERT_NE(series, nullptr);
    window_.scroll = 120;
    SearchEnv search = env();
    const SearchResult result = ppSearchModelClick(search, series, 1);

    ASSERT_EQ(result.outcome, SearchOutcome::found);
    EXPECT_EQ(result.list->caption(), "Search model:" + wanted->models[0]);
    EXPECT_EQ(window_.splashTexts,
              std::vector<std::string>{"searching (" + wanted->models[0] + ")"});
    ASSERT_EQ(window_.shown.size(), 1u);
    EXPECT_EQ(window_.shown[0], result.list);
    EXPECT_EQ(window_.shownScroll, 0);
    EXPECT_FALSE(window_.listMenusEnabled);
    EXPECT_FALSE(window_.busyCursor);
    EXPECT_EQ(window_.imagePages, 1);
    EXPECT_EQ(history_.currentEntry(), result.list);
    EXPECT_TRUE(session_.prompt.shown().empty());
}

TEST_F(SearchCommands, TheSameCaptionReusesTheHistoryListAndMovesItToTheFront) {
    // Two series that share a model give the same caption.
    const demosite::Series* first = siteSeries(site().content(), [](const auto&) { return true; });
    ASSERT_NE(first, nullptr);
    const std::string model = first->models[0];
    const demosite::Series* second = siteSeries(site().content(), [&](const demosite::Series& s) {
        return s.name != first->name && !s.models.empty() && s.models[0] == model;
    });
    const demosite::Series* other = siteSeries(site().content(), [&](const demosite::Series& s) {
        return s.photographer != first->photographer;
    });
    ASSERT_NE(other, nullptr);
    SearchEnv search = env();
    const SearchResult byModel = ppSearchModelClick(search, seriesOf(*first), 1);
    ASSERT_EQ(byModel.outcome, SearchOutcome::found);
    const SearchResult byPhotographer = ppSearchPhotoClick(search, seriesOf(*other));
    ASSERT_EQ(byPhotographer.outcome, SearchOutcome::found);
    ASSERT_EQ(history_.entries().front().list, byPhotographer.list);

    site().clearRequests();
    const SeriesPtr again = seriesOf(second != nullptr ? *second : *first);
    site().clearRequests();
    const SearchResult repeated = ppSearchModelClick(search, again, 1);
    EXPECT_EQ(repeated.list, byModel.list);
    EXPECT_EQ(history_.entries().front().list, byModel.list);
    EXPECT_EQ(history_.entries().size(), 2u);
    // Reused, but still asked again: the site may have new series.
    ASSERT_EQ(site().requests().size(), 1u);
    EXPECT_EQ(site().requests()[0].body, "search=" + model);
}

TEST_F(SearchCommands, NothingFoundSaysSoAndShowsThePreviousListAgain) {
    const demosite::Series* wanted = siteSeries(site().content(), [](const auto&) { return true; });
    ASSERT_NE(wanted, nullptr);
    const SeriesPtr series = seriesOf(*wanted);
    ASSERT_NE(series, nullptr);
    series->photographer.clear();
    window_.current = series->ownerList();
    session_.context->configInfo.noSplash = true;
    SearchEnv search = env();
    const SearchResult result = ppSearchPhotoClick(search, series);

    EXPECT_EQ(result.outcome, SearchOutcome::notFound);
    EXPECT_TRUE(window_.splashTexts.empty());
    EXPECT_EQ(window_.notFoundLabels, 1);
    ASSERT_EQ(session_.prompt.shown().size(), 1u);
    EXPECT_EQ(session_.prompt.shown()[0].title, "");
    EXPECT_EQ(session_.prompt.shown()[0].text,
              "Sorry. I cannot found any series for Search photographer:");
    ASSERT_EQ(window_.shown.size(), 1u);
    EXPECT_EQ(window_.shown[0], window_.current);
    EXPECT_FALSE(window_.busyCursor);
    EXPECT_TRUE(history_.entries().empty());
}

TEST_F(SearchCommands, MonthsOfHalfDownloadedResultsAreLoaded) {
    const demosite::Series* wanted = siteSeries(site().content(), [](const auto&) { return true; });
    ASSERT_NE(wanted, nullptr);
    const SeriesPtr series = seriesOf(*wanted);
    ASSERT_NE(series, nullptr);
    session_.registry().saveAll();
    const std::filesystem::path picture = series->localPictureFile(resLow, 1);
    std::filesystem::create_directories(picture.parent_path());
    writeBytes(picture, "picture");

    // A later run that has not loaded the month yet searches offline.
    ScriptedPrompt prompt;
    AppContext later(session_.folder.path() / "ZObrowser.ini", prompt);
    later.offlineMode = true;
    SearchEnv search{later,
                     session_.host,
                     history_,
                     later.searchKeyInfo,
                     window_,
                     true,
                     scanSettingsIn(session_.folder.path())};
    const monthlyArtList month(later.loadedArchives, wanted->year, wanted->month);
    ASSERT_LT(later.loadedArchives.indexOfSame(month), 0);
    const SearchResult result = ppSearchModelClick(search, series, 1);

    ASSERT_EQ(result.outcome, SearchOutcome::found);
    EXPECT_TRUE(window_.splashTexts.empty());
    const int registered = later.loadedArchives.indexOfSame(month);
    ASSERT_GE(registered, 0);
    const ArtList& loaded = *later.loadedArchives.list(static_cast<std::size_t>(registered));
    EXPECT_EQ(loaded.size(), site().content().month(wanted->year, wanted->month)->series.size());
}

} // namespace
} // namespace zob
