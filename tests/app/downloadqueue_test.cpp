#include "app/downloadqueue.h"
#include "catalogue/listtesting.h"

#include <fstream>
#include <gtest/gtest.h>

namespace zob {
namespace {

using cataloguetest::addGallery;
using cataloguetest::CatalogueWorld;

class DownloadQueueTest : public ::testing::Test {
protected:
    std::vector<std::string> names() const {
        std::vector<std::string> shown;
        for (const QueuedDownload& entry : queue.entries()) {
            shown.push_back(entry.name + ":" + queueStateName(entry.state));
        }
        return shown;
    }
    SeriesPtr series(const std::string& name) { return addGallery(*list, name, 10); }

    CatalogueWorld world;
    std::shared_ptr<cataloguetest::NamedList> list = world.named("list.csv");
    std::filesystem::path file = DownloadQueue::fileIn(world.config.local);
    DownloadQueue queue{file};
};

TEST_F(DownloadQueueTest, QueuesWhatIsMissingAndStartsItInOrderAtMostMAtATime) {
    const SeriesPtr a = series("aa_aa_200803");
    const SeriesPtr b = series("bb_bb_200803");
    const SeriesPtr complete = series("cc_cc_200803");
    complete->loadedRes = withResolution(withResolution(0, resLow), resThumb);
    const SeriesPtr d = series("dd_dd_200803");
    EXPECT_EQ(queue.add({a, b, complete, d}, resLow), 3u);
    EXPECT_EQ(queue.add({a, b}, resLow), 0u) << "queued once";
    EXPECT_EQ(queue.add({a}, resHigh), 1u) << "another resolution is another download";

    EXPECT_EQ(queue.startNext(2), (std::vector<std::size_t>{0, 1}));
    EXPECT_TRUE(queue.startNext(2).empty());
    queue.finished(0, false, "3 missing");
    EXPECT_EQ(queue.entries()[0].error, "3 missing");
    queue.setPaused(true);
    EXPECT_TRUE(queue.startNext(2).empty()) << "paused";
    queue.setPaused(false);
    queue.move(3, 2); // the high-resolution one before dd
    EXPECT_EQ(queue.startNext(2), (std::vector<std::size_t>{2}));
    EXPECT_EQ(names(), (std::vector<std::string>{"aa_aa_200803:failed", "bb_bb_200803:running",
                                                 "aa_aa_200803:running", "dd_dd_200803:waiting"}));
    EXPECT_TRUE(queue.unfinished());
}

TEST_F(DownloadQueueTest, TheFileKeepsEveryChangeAndARunCutShortWaitsAgain) {
    queue.add({series("aa_aa_200803"), series("bb_bb_200803"), series("cc_cc_200803")}, resMid);
    queue.startNext(1);
    queue.finished(0, true, {});
    queue.startNext(1);
    queue.setPaused(true);
    std::ofstream(file, std::ios::app) << "garbled line\nx,7,waiting\n";

    DownloadQueue again{file};
    again.load();
    EXPECT_TRUE(again.paused());
    ASSERT_EQ(again.entries().size(), 3u) << "unreadable lines are left out";
    EXPECT_EQ(again.entries()[0].state, QueueState::done);
    EXPECT_EQ(again.entries()[1].state, QueueState::waiting) << "was running";
    EXPECT_EQ(again.entries()[2].resolution, resMid);

    again.clear();
    DownloadQueue cleared{file};
    cleared.load();
    EXPECT_TRUE(cleared.entries().empty());
    EXPECT_FALSE(cleared.unfinished());
}

} // namespace
} // namespace zob
