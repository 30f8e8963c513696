#include "rawclient.h"
#include "sitefixture.h"

#include <chrono>
#include <cstdint>
#include <thread>

namespace demosite::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Answers that never finish by themselves: each test leaves one under way
// with the client still connected and checks that stop() ends it at once.
class SlowFaultsTest : public SiteTest {
protected:
    void switchOn(std::string_view name) {
        Faults faults;
        parseFault(name, faults);
        site.setFaults(faults);
    }

    Clock::duration timedStop() {
        const auto started = Clock::now();
        site.stop();
        return Clock::now() - started;
    }

    const std::string monthPage = "/members/gallery/2008/200802.html";
};

TEST_F(SlowFaultsTest, StalledPictureLeavesTheClientWaitingUntilTheSiteStops) {
    switchOn("picture-stall");
    RawConnection stalled(site.port(), plainGallery(2008, 2).picturePath(resHigh, 1));
    EXPECT_EQ(stalled.read(SIZE_MAX, 1s), RawConnection::Ended::timedOut);
    EXPECT_TRUE(stalled.head.starts_with("HTTP/1.1 200")) << stalled.head;
    EXPECT_GT(stalled.body.size(), 0u);
    EXPECT_LT(stalled.body.size(), contentLength(stalled.head));
    EXPECT_LT(timedStop(), 2s);
}

TEST_F(SlowFaultsTest, TrickledPageAnnouncesGigabytesAndSendsAFewBytesASecond) {
    switchOn("page-trickle");
    RawConnection trickle(site.port(), monthPage);
    EXPECT_EQ(trickle.read(SIZE_MAX, 1500ms), RawConnection::Ended::timedOut);
    EXPECT_EQ(contentLength(trickle.head), std::size_t{2} << 30) << trickle.head;
    EXPECT_GE(trickle.body.size(), 4u);
    EXPECT_LE(trickle.body.size(), 8u);
    EXPECT_TRUE(trickle.body.starts_with("<!DOC"));
    EXPECT_LT(timedStop(), 2s);
}

TEST_F(SlowFaultsTest, EndlessPageKeepsComingUntilTheSiteStops) {
    switchOn("page-endless");
    RawConnection endless(site.port(), monthPage);
    EXPECT_EQ(endless.read(5u << 20, 3s), RawConnection::Ended::enough);
    EXPECT_NE(endless.head.find("Transfer-Encoding: chunked"), std::string::npos) << endless.head;
    EXPECT_NE(endless.body.find("<td class=\"title\">", 4u << 20), std::string::npos);
    // Time to fill the connection's buffers: the site's writes then wait on a
    // client that reads no more.
    std::this_thread::sleep_for(300ms);
    EXPECT_LT(timedStop(), 2s);
}

} // namespace
} // namespace demosite::testing
