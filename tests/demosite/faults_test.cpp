#include "rawclient.h"
#include "sitefixture.h"

#include <chrono>
#include <cstdint>

namespace demosite::testing {
namespace {

using namespace std::chrono_literals;

class FaultsTest : public SiteTest {};

TEST_F(FaultsTest, LatencyDelaysEveryAnswer) {
    Faults faults;
    faults.latency = 150ms;
    site.setFaults(faults);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(anonymous->Get("/members/home.html")->status, 401);
    EXPECT_EQ(status("/members/home.html"), 200);
    EXPECT_GE(std::chrono::steady_clock::now() - started, 300ms);
}

TEST_F(FaultsTest, EveryNthAuthorizedRequestFailsWithServerError) {
    Faults faults;
    faults.serverErrorEvery = 3;
    site.setFaults(faults);
    std::vector<int> statuses;
    for (int i = 0; i < 6; ++i) {
        statuses.push_back(status("/members/home.html"));
        anonymous->Get("/members/home.html"); // refused requests do not count
    }
    EXPECT_EQ(statuses, (std::vector<int>{200, 200, 500, 200, 200, 500}));

    // Setting faults again restarts the count.
    status("/members/home.html");
    site.setFaults(faults);
    EXPECT_EQ(status("/members/home.html"), 200);
    EXPECT_EQ(status("/members/home.html"), 200);
    EXPECT_EQ(status("/members/home.html"), 500);
    EXPECT_EQ(site.requests().back().status, 500);

    site.setFaults({});
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(status("/members/home.html"), 200);
    }
}

TEST_F(FaultsTest, FixedAnswersReplaceThePageAfterAuthentication) {
    const std::string month = "/members/gallery/2008/200803.html";
    Faults faults;
    faults.fixedAnswers[month] = {200, ""};
    faults.fixedAnswers["/members/home.html"] = {503, "busy"};
    faults.fixedAnswers["/members/made-up.html"] = {200, "invented"};
    site.setFaults(faults);

    const auto empty = member->Get((month + "?x=1").c_str());
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->status, 200);
    EXPECT_TRUE(empty->body.empty());
    EXPECT_EQ(empty->get_header_value("Content-Length"), "0");

    const auto busy = member->Get("/members/home.html");
    EXPECT_EQ(busy->status, 503);
    EXPECT_EQ(busy->body, "busy");
    EXPECT_EQ(page("/members/made-up.html"), "invented");
    EXPECT_EQ(anonymous->Get("/members/home.html")->status, 401);
    EXPECT_EQ(status("/members/gallery/2008/200802.html"), 200);
}

TEST_F(FaultsTest, ConnectionClosesHalfWayThroughBodiesUnderThePrefix) {
    const Series& series = plainGallery(2008, 2);
    Faults faults;
    faults.closeMidBodyPrefix = series.filesPath + "hires/";
    site.setFaults(faults);

    RawConnection cut(site.port(), series.picturePath(resHigh, 1));
    EXPECT_EQ(cut.read(SIZE_MAX, 5s), RawConnection::Ended::closed);
    EXPECT_TRUE(cut.head.starts_with("HTTP/1.1 200")) << cut.head;
    const std::size_t announced = contentLength(cut.head);
    EXPECT_GT(announced, 1000u);
    EXPECT_EQ(cut.body.size(), announced / 2);
    EXPECT_EQ(site.requests().back().status, 200);

    // httplib's client notices the short body.
    EXPECT_FALSE(member->Get(series.picturePath(resHigh, 2).c_str()));

    RawConnection whole(site.port(), series.picturePath(resLow, 1));
    whole.read(SIZE_MAX, 5s);
    EXPECT_EQ(whole.body.size(), contentLength(whole.head));
    EXPECT_GT(whole.body.size(), 1000u);
}

} // namespace
} // namespace demosite::testing
