#include "download/managerfixture.h"

#include <gtest/gtest.h>

// The manager's counting needs no running worker: these tests call it
// directly on a manager that was never started.

namespace zob {
namespace {

using JobCounting = downloadtest::ManagerTest;

void takeJobs(threadManagerNg& manager, std::int32_t count) {
    for (std::int32_t job = 1; job <= count; ++job) {
        ASSERT_EQ(manager.getJob(), job);
    }
}

TEST_F(JobCounting, GetJobHandsOutTheRangeUntilItIsUsedStoppedOrQuitting) {
    const auto used = make();
    used->setJobCount(3);
    takeJobs(*used, 3);
    EXPECT_EQ(used->getJob(), std::nullopt);
    used->setJobCount(4);
    EXPECT_EQ(used->getJob(), 4);

    const auto stopped = make();
    stopped->setJobCount(5);
    takeJobs(*stopped, 1);
    stopped->stopJob();
    EXPECT_EQ(stopped->getJob(), std::nullopt);

    const auto quitting = make();
    quitting->setJobCount(5);
    registry.setForceQuit();
    EXPECT_EQ(quitting->getJob(), std::nullopt);
    EXPECT_EQ(quitting->counters().lastJob, 0);
}

TEST_F(JobCounting, OnlyConsecutiveFailuresUpToTheLimitCutTheRange) {
    const auto manager = make();
    manager->setFailLimit(3);
    manager->setJobCount(20);
    takeJobs(*manager, 10);

    EXPECT_FALSE(manager->repJob(1, false));
    EXPECT_FALSE(manager->repJob(2, false));
    EXPECT_FALSE(manager->repJob(3, true));
    EXPECT_FALSE(manager->repJob(4, false));
    EXPECT_FALSE(manager->repJob(5, false));
    EXPECT_EQ(manager->counters().jobCount, 20);

    EXPECT_FALSE(manager->repJob(7, true));
    // A late success of an earlier job neither lowers the mark nor cuts.
    EXPECT_FALSE(manager->repJob(6, true));
    EXPECT_FALSE(manager->repJob(8, false));
    EXPECT_FALSE(manager->repJob(9, false));
    EXPECT_TRUE(manager->repJob(10, false));
    const threadManagerNg::Counters counters = manager->counters();
    EXPECT_EQ(counters.jobCount, 7);
    EXPECT_EQ(counters.maxOkJob, 7);
    // Jobs 8 to 10 were out already; nothing above 7 goes out any more.
    EXPECT_EQ(manager->getJob(), std::nullopt);
}

TEST_F(JobCounting, WithoutALimitNoNumberOfFailuresCuts) {
    const auto manager = make();
    manager->setFailLimit(0);
    manager->setJobCount(1000);
    for (std::int32_t job = 1; job <= 500; ++job) {
        ASSERT_EQ(manager->getJob(), job);
        ASSERT_FALSE(manager->repJob(job, false));
    }
    EXPECT_EQ(manager->counters().jobCount, 1000);
    EXPECT_EQ(manager->counters().failCount, 500);
    EXPECT_EQ(manager->getJob(), 501);
}

TEST_F(JobCounting, FailuresBeforeAnySuccessCutTheRangeToNothing) {
    // A new manager cuts at the first failure.
    const auto fresh = make();
    fresh->setJobCount(5);
    takeJobs(*fresh, 1);
    EXPECT_TRUE(fresh->repJob(1, false));
    EXPECT_EQ(fresh->counters().jobCount, 0);
    EXPECT_EQ(fresh->getJob(), std::nullopt);

    const auto limited = make();
    limited->setFailLimit(3);
    limited->setJobCount(5);
    takeJobs(*limited, 3);
    EXPECT_FALSE(limited->repJob(1, false));
    EXPECT_FALSE(limited->repJob(2, false));
    EXPECT_EQ(limited->getJob(), 4);
    EXPECT_TRUE(limited->repJob(3, false));
    EXPECT_EQ(limited->counters().jobCount, 0);
    EXPECT_EQ(limited->getJob(), std::nullopt);
}

} // namespace
} // namespace zob
