#include "platform/debuglog.h"
#include "testsupport/filetesting.h"

#include <algorithm>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <mutex>
#include <sstream>
#include <thread>

namespace zob {
namespace {

using ::testing::ElementsAre;

TEST(DebugLog, StaysEmptyAndCannotBeSavedWhileOff) {
    ScratchFolder folder;
    DebugLog log;
    log.dbgLog("addLoadedArchive", true, 7);
    log.dbgLog("repJob:value=1", false, 7);
    EXPECT_TRUE(log.lines().empty());
    EXPECT_FALSE(log.saveTo(folder.path() / "dbg.log"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "dbg.log"));
}

TEST(DebugLog, FormatsAppendedAndInPlaceLines) {
    DebugLog log;
    log.switchOn();
    log.dbgLog("test", true, 42);
    log.dbgLog("start thread(3)", false, 42);
    log.dbgLog("wide", true, 123456);
    EXPECT_THAT(log.lines(), ElementsAre("*  42 test", "   42 start thread(3)", "*123456 wide"));
}

TEST(DebugLog, InPlaceLineReplacesTheSameThreadsLineWithTheSameStart) {
    DebugLog log;
    log.switchOn();
    log.dbgLog("repJob:value=1", false, 9);
    log.dbgLog("something else", true, 9);
    log.dbgLog("repJob:value=2", false, 9);
    // An appended line with the same text never takes the replacement.
    log.dbgLog("repJob:value=3", true, 9);
    log.dbgLog("repJob:value=4", false, 9);
    EXPECT_THAT(log.lines(), ElementsAre("    9 repJob:value=4", "*   9 something else",
                                         "*   9 repJob:value=3"));
}

TEST(DebugLog, InPlaceLinesOfDifferentThreadsOrTextsAreKeptApart) {
    DebugLog log;
    log.switchOn();
    log.dbgLog("quit:100", false, 1);
    log.dbgLog("quit:200", false, 2);
    // Differs within the first ten characters of text: a line of its own.
    log.dbgLog("getJob----:1", false, 1);
    log.dbgLog("getJob----:2", false, 1);
    EXPECT_THAT(log.lines(), ElementsAre("    1 quit:100", "    2 quit:200", "    1 getJob----:2"));
}

TEST(DebugLog, InPlaceSearchLooksOnlyAtTheNewestTwentyLines) {
    DebugLog log;
    log.switchOn();
    log.dbgLog("progress: 1", false, 5);
    for (int i = 0; i < 19; ++i) {
        log.dbgLog("filler " + std::to_string(i), true, 5);
    }
    // 20 lines: the first one is still inside the window.
    log.dbgLog("progress: 2", false, 5);
    ASSERT_EQ(log.lines().size(), 20u);
    EXPECT_EQ(log.lines().front(), "    5 progress: 2");

    log.dbgLog("filler 19", true, 5);
    // 21 lines: the window now starts at the second line.
    log.dbgLog("progress: 3", false, 5);
    const auto lines = log.lines();
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines.front(), "    5 progress: 2");
    EXPECT_EQ(lines.back(), "    5 progress: 3");
}

TEST(DebugLog, ZeroThreadIdMeansTheCallingThread) {
    DebugLog log;
    log.switchOn();
    log.dbgLog("mine", true);
    std::thread([&log] { log.dbgLog("theirs", true); }).join();
    const auto lines = log.lines();
    ASSERT_EQ(lines.size(), 2u);
    const auto idOf = [](const std::string& line) {
        return std::stoul(line.substr(1)); // skips the padding, stops at the text
    };
    EXPECT_NE(idOf(lines[0]), idOf(lines[1]));
    EXPECT_NE(idOf(lines[0]), 0u);
}

TEST(DebugLog, SavesEveryLine) {
    ScratchFolder folder;
    DebugLog log;
    log.switchOn();
    log.dbgLog("test", true, 3);
    log.dbgLog("Upd:x-1", false, 3);
    const auto file = folder.path() / "dbg.log";
    ASSERT_TRUE(log.saveTo(file));
    std::ifstream in(file, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), "*   3 test\n    3 Upd:x-1\n");
}

TEST(DebugLogConcurrency, ConcurrentWritersLoseNothing) {
    DebugLog log;
    log.switchOn();
    int notified = 0;
    std::mutex notifiedMutex;
    log.setChangeListener([&] {
        const std::lock_guard lock(notifiedMutex);
        ++notified;
    });
    constexpr int writers = 6;
    constexpr int perWriter = 300;
    std::vector<std::thread> threads;
    for (int w = 0; w < writers; ++w) {
        threads.emplace_back([&log, w] {
            const auto id = static_cast<std::uint32_t>(100 + w);
            for (int i = 0; i < perWriter; ++i) {
                log.dbgLog("line " + std::to_string(i), true, id);
                log.dbgLog("progress: " + std::to_string(i), false, id);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    const auto lines = log.lines();
    int appended = 0;
    for (const auto& line : lines) {
        appended += line.front() == '*' ? 1 : 0;
    }
    EXPECT_EQ(appended, writers * perWriter);
    // Every writer's final progress line survives, whatever else it displaced.
    for (int w = 0; w < writers; ++w) {
        const std::string last =
            "  " + std::to_string(100 + w) + " progress: " + std::to_string(perWriter - 1);
        EXPECT_NE(std::find(lines.begin(), lines.end(), last), lines.end()) << last;
    }
    EXPECT_EQ(notified, 2 * writers * perWriter);
}

} // namespace
} // namespace zob
