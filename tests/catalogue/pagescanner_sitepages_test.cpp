#include "catalogue/pagescannertesting.h"
#include "demosite/demosite.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <httplib.h>
#include <memory>
#include <string>
#include <vector>

namespace zob::testing {
namespace {

using Clock = std::chrono::steady_clock;

// Every list page the site serves, read by the scanner and compared with what
// the site says it put there. A fixed "today" keeps the month range stable.
class PageScannerSiteTest : public ::testing::Test {
protected:
    static demosite::SiteOptions options() {
        demosite::SiteOptions fixed;
        fixed.seed = 7;
        fixed.todayYear = 2008;
        fixed.todayMonth = 3;
        fixed.todayDay = 15;
        return fixed;
    }

    PageScannerSiteTest() : site(options()) {}

    void SetUp() override {
        site.start();
        client = std::make_unique<httplib::Client>("127.0.0.1", site.port());
        client->set_basic_auth("demo", "demo");
        client->set_connection_timeout(2, 0);
        client->set_read_timeout(10, 0);
        client->set_write_timeout(5, 0);
        deadline = Clock::now() + std::chrono::seconds(60);
    }

    std::string fetch(const std::string& target) {
        if (Clock::now() > deadline) {
            ADD_FAILURE() << "the site's pages took too long; stopped before " << target;
            return {};
        }
        const auto answer = client->Get(target.c_str());
        if (!answer) {
            ADD_FAILURE() << "no answer for " << target;
            return {};
        }
        EXPECT_EQ(answer->status, 200) << target;
        return answer->body;
    }

    enum class Style { plain, favorites, ranked };

    // Fetches one page and checks that the scanner finds exactly `expected`,
    // in order and with every field.
    void expectPage(const std::string& target, const std::vector<const demosite::Series*>& expected,
                    Style style) {
        const auto found = scanAll(fetch(target));
        ASSERT_EQ(found.size(), expected.size()) << target;
        for (std::size_t i = 0; i < found.size(); ++i) {
            const demosite::Series& series = *expected[i];
            const ParsedSeries& parsed = found[i];
            SCOPED_TRACE(target + " series " + series.name);
            EXPECT_EQ(parsed.title, series.title);
            EXPECT_EQ(parsed.seriesLink, series.folderPath);
            EXPECT_EQ(lastElement(parsed.seriesLink), series.name);
            EXPECT_EQ(parsed.date,
                      style == Style::ranked ? "Rank " + std::to_string(i + 1) : series.date);
            EXPECT_EQ(parsed.model, series.modelText);
            EXPECT_EQ(parsed.photographer, series.photographer);
            EXPECT_EQ(parsed.coverSource, series.coverPath);
            EXPECT_EQ(parsed.photoCount,
                      series.isMovie || series.announcedPhotos == 0 ? 999 : series.announcedPhotos);
            EXPECT_EQ(parsed.favoriteId, style == Style::favorites ? series.favoriteId : -1);
            // One "more of" link per model; the last one read stays.
            EXPECT_EQ(parsed.modelId, series.modelIds.empty() ? -1 : series.modelIds.back());
        }
    }

    // The series name as a record takes it from its address: the last
    // element, after dropping one trailing separator.
    static std::string lastElement(std::string address) {
        std::replace(address.begin(), address.end(), '/', '\\');
        if (!address.empty() && address.back() == '\\') {
            address.pop_back();
        }
        const std::size_t cut = address.find_last_of("\\:");
        return cut == std::string::npos ? address : address.substr(cut + 1);
    }

    demosite::DemoSite site;
    std::unique_ptr<httplib::Client> client;
    Clock::time_point deadline;
};

TEST_F(PageScannerSiteTest, FindsEverySeriesOnEveryListPage) {
    const demosite::SiteContent& content = site.content();
    // The pages must hold what makes the comparison worth having.
    const auto& all = content.allSeries();
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const auto& s) { return s.isMovie; }));
    EXPECT_TRUE(
        std::any_of(all.begin(), all.end(), [](const auto& s) { return s.models.size() > 1; }));
    ASSERT_FALSE(content.months().empty());
    EXPECT_EQ(content.months().front().year, 2003);
    EXPECT_EQ(content.months().back().year, 2008);
    EXPECT_EQ(content.months().back().month, 3);
    for (const demosite::MonthContent& month : content.months()) {
        expectPage(month.pagePath(), month.series, Style::plain);
    }
    expectPage("/members/gallery/archive/index.html", content.archivePage(), Style::plain);
    expectPage("/members/bestofzel/index.html", content.bestOf(), Style::ranked);

    if (content.favorites().empty()) {
        ASSERT_FALSE(content.allSeries().empty());
        fetch("/members/favorites/index.html?add=" +
              std::to_string(content.allSeries().front().favoriteId));
    }
    ASSERT_FALSE(content.favorites().empty());
    expectPage("/members/favorites/index.html", content.favorites(), Style::favorites);

    // The search for the model with the most series.
    const demosite::Model* busiest = nullptr;
    std::size_t most = 0;
    for (const demosite::Model& model : content.models()) {
        if (const std::size_t count = content.seriesOfModel(model.id).size(); count > most) {
            busiest = &model;
            most = count;
        }
    }
    ASSERT_NE(busiest, nullptr);
    ASSERT_GE(most, 2u);
    expectPage("/members/search.html?model=" + std::to_string(busiest->id),
               content.seriesOfModel(busiest->id), Style::plain);
}

} // namespace
} // namespace zob::testing
