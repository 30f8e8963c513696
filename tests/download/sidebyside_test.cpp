// Pictures fetched side by side: each job still reports them in picture
// order, and however many jobs run, the site never sees more connections
// than the limit.
#include "download/dltesting.h"
#include "site/transferpool.h"

#include <gmock/gmock.h>
#include <numeric>
#include <set>

namespace zob::dltest {
namespace {

using namespace std::chrono_literals;

class SideBySide : public DlTest {
protected:
    void TearDown() override {
        TransferPool::process().setConnectionLimit(4);
        DlTest::TearDown();
    }

    void startJob(const SeriesPtr& series, Resolution r) {
        const DownloadEnv downloadEnv = env();
        auto manager = threadManagerNg::create(context().managerRegistry, 1, [&] {
            return std::make_unique<ImageGetThread>(series, r, false, downloadEnv);
        });
        ASSERT_NE(manager, nullptr);
        manager->window = &window->messenger;
        manager->doneMessage = r == resThumb ? WM_loadedThumbAll : WM_loadedLargeAll;
        manager->doneWParam = series;
        manager->start(series->photoCount);
    }

    std::vector<std::int32_t> reported(std::uint16_t id, const SeriesPtr& series) const {
        std::vector<std::int32_t> numbers;
        for (const WindowMessage& message : window->of(id)) {
            if (message.series == series) {
                numbers.push_back(message.picture);
            }
        }
        return numbers;
    }
};

TEST_F(SideBySide, TwoSeriesAtOnceReportInOrderOverNoMoreConnectionsThanTheLimit) {
    TransferPool::process().setConnectionLimit(2);
    demosite::Faults slow;
    slow.latency = 5ms; // answers overlap rather than finishing one by one
    site().setFaults(slow);
    const auto& first = gallery(plain);
    const auto& second = gallery(
        [&](const demosite::Series& s) { return plain(s) && s.folderPath != first.folderPath; });
    const SeriesPtr one = record(first);
    const SeriesPtr two = record(second);
    site().clearRequests();

    for (const SeriesPtr& series : {one, two}) {
        startJob(series, resThumb);
        startJob(series, resLow);
    }
    ASSERT_TRUE(window->runUntilFreed(4));

    for (const auto& [series, count] :
         {std::pair{one, first.announcedPhotos}, std::pair{two, second.announcedPhotos}}) {
        std::vector<std::int32_t> inOrder(static_cast<std::size_t>(count));
        std::iota(inOrder.begin(), inOrder.end(), 1);
        EXPECT_EQ(reported(WM_loadedThumb, series), inOrder);
        EXPECT_EQ(reported(WM_loadedLarge, series), inOrder);
    }
    std::set<int> connections;
    for (const auto& request : site().requests()) {
        connections.insert(request.clientPort);
    }
    EXPECT_LE(connections.size(), 2U);
}

} // namespace
} // namespace zob::dltest
