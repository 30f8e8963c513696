#include "catalogue/listtesting.h"
#include "download/managerfixture.h"

#include <algorithm>
#include <cstdio>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <numeric>
#include <stdexcept>
#include <thread>

namespace zob {
namespace {

using namespace downloadtest;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

// Each manager's done message comes once, and before its free message.
void expectDoneThenFree(const TestWindow& window, const threadManagerNg& manager) {
    const auto about = [&](std::uint16_t id) {
        return std::count_if(
            window.received.begin(), window.received.end(),
            [&](const WindowMessage& m) { return m.id == id && m.manager.get() == &manager; });
    };
    EXPECT_EQ(about(manager.doneMessage), 1);
    EXPECT_EQ(about(WM_freeThreadMngrNg), 1);
    EXPECT_LT(window.indexOf(manager.doneMessage, &manager),
              window.indexOf(WM_freeThreadMngrNg, &manager));
}

TEST_F(ManagerTest, StartWithNothingToRunEndsAtOnceFromTheStartingThread) {
    const auto zero = make();
    const auto negative = make();
    const auto noWorkers = make(0);
    ASSERT_EQ(registry.size(), 3u);

    zero->start(0);
    // The messages were handled before start returned: no loop ran.
    EXPECT_THAT(window.names(),
                ElementsAre("WM_loadedMonthlyAll", "WM_freeThreadMngrNg", "WM_updateThreadCount"));
    EXPECT_EQ(window.received[0].manager, zero);
    EXPECT_EQ(window.received[1].manager, zero);
    EXPECT_EQ(window.received[2].liveManagers, 2);
    EXPECT_EQ(zero->worker(0).threadId(), 0u);

    noWorkers->start(5);
    registry.setForceQuit();
    negative->start(-1);
    EXPECT_THAT(window.names(),
                ElementsAre("WM_loadedMonthlyAll", "WM_freeThreadMngrNg", "WM_updateThreadCount",
                            "WM_loadedMonthlyAll", "WM_freeThreadMngrNg", "WM_updateThreadCount",
                            "WM_loadedMonthlyAll", "WM_forceQuitCompleted", "WM_freeThreadMngrNg",
                            "WM_updateThreadCount"));
    EXPECT_EQ(window.received[6].manager, negative);
    EXPECT_TRUE(registry.empty());
    EXPECT_TRUE(desk.taken().empty());
}

TEST_F(ManagerTest, EndMessagesCarryTheCreatorsSeries) {
    cataloguetest::CatalogueWorld world;
    const auto list = world.month(2008, 3);
    const SeriesPtr series = cataloguetest::addGallery(*list, "aa_b_200803");
    desk.openAll();
    const auto manager = make();
    manager->doneMessage = WM_loadedThumbAll;
    manager->doneWParam = series;

    manager->start(2);
    ASSERT_TRUE(window.processUntilFreed(1));
    manager->join();

    EXPECT_THAT(window.names(), ElementsAre("WM_loadedLarge", "WM_loadedLarge", "WM_loadedThumbAll",
                                            "WM_freeThreadMngrNg", "WM_updateThreadCount"));
    EXPECT_EQ(window.received[1].picture, 2);
    for (const std::size_t i : {2, 3}) {
        EXPECT_EQ(window.received[i].series, series);
        EXPECT_EQ(window.received[i].manager, manager);
    }
    EXPECT_EQ(window.received[4].liveManagers, 0);
    // The worker ran on a thread of its own.
    EXPECT_NE(manager->worker(0).threadId(), 0u);
    EXPECT_NE(manager->worker(0).threadId(), currentThreadId());
    EXPECT_EQ(manager->counters().runningCount, 0);
}

TEST_F(ManagerTest, JobsGoOutOnceEachAndInOrderAcrossSeveralWorkers) {
    constexpr std::int32_t jobs = 400;
    desk.openAll();
    const auto manager = make(4);
    manager->start(jobs);
    ASSERT_TRUE(window.processUntilFreed(1));
    manager->join();

    std::map<std::uint32_t, std::vector<std::int32_t>> byWorker;
    std::vector<std::int32_t> all;
    for (const JobDesk::Taken& taken : desk.taken()) {
        byWorker[taken.worker].push_back(taken.job);
        all.push_back(taken.job);
    }
    std::sort(all.begin(), all.end());
    std::vector<std::int32_t> expected(jobs);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(all, expected);
    for (const auto& [worker, numbers] : byWorker) {
        EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end())) << "worker " << worker;
    }
    EXPECT_EQ(window.countOf(WM_loadedLarge), static_cast<std::size_t>(jobs));
    // The end is announced after the last job's report.
    EXPECT_EQ(window.indexOf(WM_loadedMonthlyAll, manager.get()), jobs);
    expectDoneThenFree(window, *manager);
}

TEST_F(ManagerTest, StopLetsTheJobInHandFinishAndEndsTheManager) {
    const auto manager = make();
    manager->start(5);
    ASSERT_TRUE(desk.waitForTaken(1));
    manager->stopJob();
    EXPECT_TRUE(manager->counters().stopRequested);
    desk.pass();

    ASSERT_TRUE(window.processUntilFreed(1));
    EXPECT_THAT(window.names(), ElementsAre("WM_loadedLarge", "WM_loadedMonthlyAll",
                                            "WM_freeThreadMngrNg", "WM_updateThreadCount"));
    EXPECT_EQ(window.received[0].picture, 1);
    EXPECT_EQ(desk.taken().size(), 1u);
    EXPECT_EQ(manager->counters().maxOkJob, 1);
    EXPECT_TRUE(registry.empty());
    manager->join();
}

TEST_F(ManagerTest, ForceQuitIsAnnouncedOnlyByTheManagerThatEmptiesTheRegistry) {
    std::vector<std::shared_ptr<threadManagerNg>> running;
    for (int i = 0; i < 3; ++i) {
        running.push_back(make());
        running.back()->start(10);
    }
    ASSERT_TRUE(desk.waitForTaken(3));
    registry.setForceQuit();

    // One job in hand is let go at a time, so the managers end one by one.
    for (std::size_t ended = 1; ended <= 3; ++ended) {
        desk.pass();
        ASSERT_TRUE(window.processUntilFreed(ended));
        EXPECT_EQ(window.countOf(WM_forceQuitCompleted), ended == 3 ? 1u : 0u);
        EXPECT_EQ(registry.size(), 3 - ended);
    }
    const std::vector<std::string> names = window.names();
    EXPECT_THAT(std::vector(names.end() - 5, names.end()),
                ElementsAre("WM_loadedLarge", "WM_loadedMonthlyAll", "WM_forceQuitCompleted",
                            "WM_freeThreadMngrNg", "WM_updateThreadCount"));
    EXPECT_EQ(window.received.back().liveManagers, 0);
    // Each manager finished the job it had in hand, and only that one.
    EXPECT_EQ(desk.taken().size(), 3u);
    EXPECT_EQ(window.countOf(WM_loadedLarge), 3u);
    for (const auto& manager : running) {
        expectDoneThenFree(window, *manager);
        manager->join();
    }
}

TEST_F(ManagerTest, ForceQuitIsAnnouncedOnceWhenManyManagersEndTogether) {
    constexpr std::size_t count = 8;
    for (std::size_t i = 0; i < count; ++i) {
        make(2)->start(50);
    }
    ASSERT_TRUE(desk.waitForTaken(2 * count));
    registry.setForceQuit();
    desk.openAll();

    ASSERT_TRUE(window.processUntilFreed(count));
    EXPECT_EQ(window.countOf(WM_forceQuitCompleted), 1u);
    EXPECT_GT(window.indexOf(WM_forceQuitCompleted, nullptr), 0);
    EXPECT_EQ(desk.taken().size(), 2 * count);
    EXPECT_TRUE(registry.empty());
    for (const auto& manager : managers) {
        expectDoneThenFree(window, *manager);
        manager->join();
    }
}

TEST_F(ManagerTest, TheThirtyFirstLiveManagerIsRefusedQuietly) {
    for (std::size_t i = 0; i < ManagerRegistry::liveLimit; ++i) {
        ASSERT_NE(make(), nullptr);
    }
    const std::size_t lines = log.lines().size();
    EXPECT_EQ(make(), nullptr);
    EXPECT_EQ(log.lines().size(), lines);

    // Once one has ended there is room again.
    managers.front()->start(0);
    EXPECT_NE(make(), nullptr);
    EXPECT_EQ(registry.size(), ManagerRegistry::liveLimit);
}

TEST_F(ManagerTest, TracesCreationStartReportsAndStopInTheLog) {
    const auto manager = make(2);
    const std::vector<std::string> creation = {
        "* ---create(2, DeskWorker",
        "* thread[0]Create:" + std::to_string(manager->worker(0).handle()),
        "* thread[1]Create:" + std::to_string(manager->worker(1).handle()), "* ---end"};
    EXPECT_EQ(logTexts(log), creation);

    manager->start(2);
    ASSERT_TRUE(desk.waitForTaken(2));
    manager->stopJob();
    desk.openAll();
    ASSERT_TRUE(window.processUntilFreed(1));
    manager->join();

    std::vector<std::string> texts = logTexts(log);
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(std::vector(texts.begin(), texts.begin() + 4), creation);
    // Both start lines share their in-place key: the second one replaced the first.
    EXPECT_EQ(texts[4], "= start thread(1)");
    EXPECT_EQ(texts[5], "= stop job");
    EXPECT_THAT(std::vector(texts.begin() + 6, texts.end()),
                UnorderedElementsAre("= repJob:value=1", "= repJob:value=2"));

    // Each line names the thread that wrote it.
    const auto inPlace = [](std::uint32_t thread, const std::string& text) {
        char id[16];
        std::snprintf(id, sizeof id, "%5u ", thread);
        return id + text;
    };
    const std::vector<std::string> lines = log.lines();
    EXPECT_EQ(lines[4], inPlace(currentThreadId(), "start thread(1)"));
    EXPECT_THAT(std::vector(lines.begin() + 6, lines.end()),
                UnorderedElementsAre(
                    testing::StartsWith(inPlace(manager->worker(0).threadId(), "repJob")),
                    testing::StartsWith(inPlace(manager->worker(1).threadId(), "repJob"))));
}

class ThrowingWorker final : public myActionThread {
public:
    std::string_view className() const override { return "ThrowingWorker"; }

private:
    void run() override { throw std::runtime_error("boom"); }
};

TEST_F(ManagerTest, AWorkerThatThrowsStillEndsItsManager) {
    const auto manager = make(1, [] { return std::make_unique<ThrowingWorker>(); });
    manager->start(3);
    ASSERT_TRUE(window.processUntilFreed(1));
    manager->join();
    EXPECT_THAT(window.names(),
                ElementsAre("WM_loadedMonthlyAll", "WM_freeThreadMngrNg", "WM_updateThreadCount"));
    EXPECT_THAT(logTexts(log), testing::Contains("* run failed: boom"));
}

TEST_F(ManagerTest, AManagerNobodyKeepsGoesWithItsLastWorker) {
    std::atomic<bool> destroyed{false};
    desk.openAll();
    {
        // No window and no reference kept: the worker's own thread lets it go.
        const auto manager = threadManagerNg::create(registry, 1, [&] {
            auto worker = std::make_unique<DeskWorker>(desk);
            worker->signalDestruction(destroyed);
            return worker;
        });
        manager->start(3);
    }
    EXPECT_TRUE(eventually([&] { return destroyed.load(); }));
    EXPECT_TRUE(registry.empty());
    EXPECT_EQ(desk.taken().size(), 3u);
}

} // namespace
} // namespace zob

namespace zob {
namespace {

using namespace downloadtest;

TEST_F(ManagerTest, AManagerIsUnfinishedUntilItsLastMessageWasHandled) {
    desk.openAll();
    const auto manager = make();
    EXPECT_EQ(registry.unfinished(), 1u);
    manager->start(1);
    // It leaves the registry before it sends its end messages; a window going
    // away must still handle them.
    ASSERT_TRUE(
        window.messenger.processUntil([&] { return registry.empty(); }, std::chrono::seconds(5)));
    EXPECT_EQ(registry.unfinished(), 1u);
    ASSERT_TRUE(window.processUntilFreed(1));
    for (int i = 0; i < 500 && registry.unfinished() != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(registry.unfinished(), 0u);

    // One that never ran has nothing more to say once dropped.
    auto idle = threadManagerNg::create(registry, 1, deskWorkers(desk));
    EXPECT_EQ(registry.unfinished(), 1u);
    registry.removeFromRegistry(idle.get());
    idle.reset();
    EXPECT_EQ(registry.unfinished(), 0u);
}

} // namespace
} // namespace zob
