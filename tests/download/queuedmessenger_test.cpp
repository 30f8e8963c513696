#include "download/downloadtesting.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <thread>

namespace zob {
namespace {

using namespace downloadtest;
using ::testing::ElementsAre;

TEST(QueuedMessenger, AForeignSendWaitsUntilTheOwnerHasHandledIt) {
    std::vector<std::int32_t> seen;
    QueuedMessenger window([&](const WindowMessage& message) { seen.push_back(message.picture); });
    std::atomic<bool> returned{false};
    std::thread sender([&] {
        window.send(WindowMessage::loadedThumb(nullptr, 7));
        returned = true;
    });

    ASSERT_TRUE(eventually([&] { return window.pending() == 1; }));
    EXPECT_FALSE(returned.load());
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(window.processOne(patience));
    ASSERT_TRUE(eventually([&] { return returned.load(); }));
    sender.join();
    EXPECT_THAT(seen, ElementsAre(7));
    EXPECT_FALSE(window.processOne(20ms));
    EXPECT_FALSE(window.processUntil([] { return false; }, 20ms));
}

TEST(QueuedMessenger, TheOwnersOwnSendRunsAtOnceEvenInsideAHandler) {
    std::vector<std::string> order;
    QueuedMessenger window;
    window.setHandler([&](const WindowMessage& message) {
        order.push_back("begin " + windowMessageName(message.id));
        if (message.id == WM_freeThreadMngrNg) {
            window.send(WindowMessage::updateThreadCount(0));
        }
        order.push_back("end " + windowMessageName(message.id));
    });

    window.send(WindowMessage::forceQuitCompleted());
    EXPECT_EQ(window.pending(), 0u);
    std::thread sender([&] { window.send(WindowMessage::freeThreadMngrNg(nullptr, nullptr)); });
    EXPECT_TRUE(window.processUntil([&] { return order.size() == 6; }, patience));
    sender.join();
    EXPECT_THAT(order, ElementsAre("begin WM_forceQuitCompleted", "end WM_forceQuitCompleted",
                                   "begin WM_freeThreadMngrNg", "begin WM_updateThreadCount",
                                   "end WM_updateThreadCount", "end WM_freeThreadMngrNg"));
}

TEST(QueuedMessenger, CloseReleasesWaitingAndLaterSendersUnhandled) {
    int handled = 0;
    QueuedMessenger window([&](const WindowMessage&) { ++handled; });
    std::atomic<int> returned{0};
    std::thread waiting([&] {
        window.send(WindowMessage::forceQuitCompleted());
        ++returned;
    });
    ASSERT_TRUE(eventually([&] { return window.pending() == 1; }));

    window.close();
    ASSERT_TRUE(eventually([&] { return returned.load() == 1; }));
    waiting.join();
    std::thread late([&] {
        window.send(WindowMessage::forceQuitCompleted());
        ++returned;
    });
    ASSERT_TRUE(eventually([&] { return returned.load() == 2; }));
    late.join();
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(window.pending(), 0u);
}

} // namespace
} // namespace zob
