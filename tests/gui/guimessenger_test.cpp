#include "gui/guimessenger.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace zob {
namespace {

TEST(GuiMessenger, EverySendReturnsAfterItsHandlerRanOnTheWindowsThread) {
    constexpr int senders = 4;
    constexpr int messagesEach = 300;
    std::vector<std::vector<int>> seen(senders);
    std::atomic<int> offThread{0};
    QThread* const windowThread = QThread::currentThread();
    GuiMessenger messenger([&](const WindowMessage& message) {
        if (QThread::currentThread() != windowThread) {
            ++offThread;
        }
        seen[static_cast<std::size_t>(message.liveManagers)].push_back(message.picture);
    });

    std::atomic<int> notYetHandled{0};
    std::atomic<int> finished{0};
    std::vector<std::thread> threads;
    for (int s = 0; s < senders; ++s) {
        threads.emplace_back([&, s] {
            for (int n = 1; n <= messagesEach; ++n) {
                WindowMessage message = WindowMessage::updateThreadCount(s);
                message.picture = n;
                messenger.send(message);
                // Synchronous: the handler has seen this very message.
                const std::vector<int>& mine = seen[static_cast<std::size_t>(s)];
                if (mine.empty() || mine.back() != n) {
                    ++notYetHandled;
                }
            }
            ++finished;
        });
    }
    // The window's loop, as the program runs it: each call handled as it
    // comes (QTest's waits sleep between passes). The tick wakes the loop to
    // look at `finished`.
    QTimer tick;
    tick.start(5);
    QElapsedTimer waited;
    waited.start();
    while (finished < senders && waited.elapsed() < 20'000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    EXPECT_EQ(finished, senders);
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(offThread, 0);
    EXPECT_EQ(notYetHandled, 0);
    for (const std::vector<int>& mine : seen) {
        ASSERT_EQ(mine.size(), static_cast<std::size_t>(messagesEach));
        for (int n = 1; n <= messagesEach; ++n) {
            EXPECT_EQ(mine[static_cast<std::size_t>(n - 1)], n);
        }
    }

    // From the window's own thread the handler runs at once.
    messenger.send(WindowMessage::updateThreadCount(0));
    EXPECT_EQ(seen[0].size(), static_cast<std::size_t>(messagesEach + 1));
}

} // namespace
} // namespace zob
