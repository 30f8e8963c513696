// Broken networks and broken peers: what the user is asked or told, what the
// caller gets back and what is left in the destination.
#include "fetchtesting.h"
#include "scriptedpeer.h"
#include "testsupport/loopback.h"

#include <atomic>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>

namespace {

using namespace zob;
using Reply = ScriptedPeer::Reply;

std::string okAnswer(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

// Headers promising `announced` bytes, then only `sent` of them.
std::string cutAnswer(std::size_t announced, const std::string& sent) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(announced) + "\r\n\r\n" + sent;
}

constexpr auto letClientRead = std::chrono::milliseconds(200);

class RefusedConnection : public ::testing::Test {
protected:
    std::string address = "http://127.0.0.1:" + std::to_string(unusedLoopbackPort()) + "/page";
    FetchBench bench;
};

TEST_F(RefusedConnection, QuietCallerGetsFailureWithoutAnyBox) {
    bench.prompt.script({PromptAnswer::Yes});
    EXPECT_EQ(bench.get(address, true), fetchFailed);
    EXPECT_TRUE(bench.prompt.shown().empty());
}

TEST_F(RefusedConnection, UserRetriesTwiceThenGoesOffline) {
    bench.prompt.script({PromptAnswer::Yes, PromptAnswer::Yes, PromptAnswer::No});
    EXPECT_EQ(bench.get(address, false), fetchGoOffline);
    EXPECT_EQ(bench.prompt.shown(),
              (ShownBoxes{connectionBox(PromptAnswer::Yes), connectionBox(PromptAnswer::Yes),
                          connectionBox(PromptAnswer::No), messageBox("Turn into Offline-mode")}));
}

TEST_F(RefusedConnection, CancelTerminatesAtOnce) {
    bench.prompt.script({PromptAnswer::Cancel, PromptAnswer::Yes});
    EXPECT_EQ(bench.post(address, "search=x", false), fetchTerminate);
    EXPECT_EQ(bench.prompt.shown(), ShownBoxes{connectionBox(PromptAnswer::Cancel)});
}

TEST_F(RefusedConnection, AnUnexpectedAnswerCountsAsFailure) {
    bench.prompt.script({PromptAnswer::Ok});
    EXPECT_EQ(bench.get(address, false), fetchFailed);
    EXPECT_EQ(bench.prompt.shown().size(), 1u);
}

TEST(ResetConnection, RetryStartsTheDestinationOverAndResendsTheForm) {
    ScriptedPeer peer({{cutAnswer(100, "partial"), true, letClientRead}, {okAnswer("final")}});
    FetchBench bench;
    bench.page = "kept|";
    // Remembers whether the broken attempt really wrote something, so the check below is not
    // vacuous.
    std::size_t largest = 0;
    struct WatchingSink : MemorySink {
        WatchingSink(std::string& text, std::size_t& largestSeen)
            : MemorySink(text), text_(text), largest_(largestSeen) {}
        bool append(std::string_view bytes) override {
            const bool stored = MemorySink::append(bytes);
            largest_ = std::max(largest_, text_.size());
            return stored;
        }
        std::string& text_;
        std::size_t& largest_;
    } sink(bench.page, largest);
    bench.prompt.script({PromptAnswer::Yes});

    EXPECT_EQ(postHtml(bench.env, peer.baseUrl() + "/search.html", "search=A%20B", sink, false),
              fetchOk);
    EXPECT_EQ(bench.page, "kept|final");
    EXPECT_EQ(largest, std::string("kept|partial").size());
    EXPECT_EQ(bench.prompt.shown(), ShownBoxes{connectionBox(PromptAnswer::Yes)});

    const auto requests = peer.requests();
    ASSERT_EQ(requests.size(), 2u);
    for (const auto& request : requests) {
        EXPECT_TRUE(request.starts_with("POST /search.html HTTP/1.1\r\n")) << request;
        EXPECT_NE(request.find("Content-Type: application/x-www-form-urlencoded\r\n"),
                  std::string::npos);
        EXPECT_TRUE(request.ends_with("\r\n\r\nsearch=A%20B")) << request;
    }
}

TEST(ResetConnection, QuietCallerKeepsWhatArrived) {
    ScriptedPeer peer({{cutAnswer(100, "partial"), true, letClientRead}});
    FetchBench bench;
    EXPECT_EQ(bench.get(peer.baseUrl() + "/x", true), fetchFailed);
    EXPECT_EQ(bench.page, "partial") << "callers decide what to keep after a failure";
    EXPECT_TRUE(bench.prompt.shown().empty());
}

TEST(BrokenAnswer, ClientErrorsAreNamedEvenWhenQuiet) {
    ScriptedPeer peer({
        {cutAnswer(100, "half")}, // closed before the announced end
        {""},                     // closed without a word
        {"SMTP ready\r\n\r\n"},   // not HTTP at all
    });
    FetchBench bench;
    EXPECT_EQ(bench.get(peer.baseUrl() + "/a", true), fetchFailed);
    EXPECT_EQ(bench.get(peer.baseUrl() + "/b", true), fetchFailed);
    EXPECT_EQ(bench.get(peer.baseUrl() + "/c", true), fetchFailed);
    EXPECT_EQ(bench.get("ftp://127.0.0.1/file", true), fetchFailed);
    EXPECT_EQ(firstLines(bench.prompt.shown()),
              (ShownBoxes{messageBox("ConnectionClosed"), messageBox("ConnectionClosed"),
                          messageBox("MalformedAnswer"), messageBox("InvalidAddress")}));
}

TEST(StalledTransfer, AbortFlagEndsItSilentlyAndKeepsNewOnesFromStarting) {
    ScriptedPeer peer({{cutAnswer(1'000'000, "abcd"), false, std::chrono::milliseconds(3000)}});
    FetchBench bench;
    std::atomic<bool> abort{false};
    bench.defaultHttp.setAbortFlag(&abort);
    std::thread quitter([&abort] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        abort = true;
    });
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(bench.get(peer.baseUrl() + "/stalled", true), fetchFailed);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(2500));
    quitter.join();
    EXPECT_EQ(bench.get(peer.baseUrl() + "/next", false), fetchFailed);
    EXPECT_TRUE(bench.prompt.shown().empty()) << "the program quitting is nothing to tell";
    EXPECT_EQ(peer.requests().size(), 1u);
}

struct RefusingSink : FetchSink {
    RefusingSink() : FetchSink(pageSizeLimit, "page") {}
    bool append(std::string_view) override { return false; }
    Mark mark() const override { return 0; }
    bool truncateTo(Mark) override { return false; }
};

TEST(BrokenDestination, RefusedWriteIsAWriteError) {
    ScriptedPeer peer({{okAnswer("page")}});
    FetchBench bench;
    RefusingSink sink;
    EXPECT_EQ(getHtml(bench.env, peer.baseUrl() + "/p", sink, true), fetchFailed);
    EXPECT_EQ(firstLines(bench.prompt.shown()), ShownBoxes{messageBox("WriteError")});
}

TEST(BrokenDestination, DestinationThatCannotBeCutBackStopsTheRetry) {
    FetchBench bench;
    RefusingSink sink;
    bench.prompt.script({PromptAnswer::Yes, PromptAnswer::Yes});
    const std::string refused = "http://127.0.0.1:" + std::to_string(unusedLoopbackPort());
    EXPECT_EQ(getHtml(bench.env, refused, sink, false), fetchFailed);
    EXPECT_EQ(firstLines(bench.prompt.shown()),
              (ShownBoxes{connectionBox(PromptAnswer::Yes), messageBox("WriteError")}));
}

TEST(BrokenDestination, FailureWithoutDetailIsSilent) {
    struct ThrowingSink : MemorySink {
        using MemorySink::MemorySink;
        bool flush() override { throw std::logic_error("no detail for the user"); }
    };
    ScriptedPeer peer({{okAnswer("page")}});
    FetchBench bench;
    ThrowingSink sink(bench.page);
    EXPECT_EQ(getHtml(bench.env, peer.baseUrl() + "/p", sink, false), fetchProtocolError);
    EXPECT_TRUE(bench.prompt.shown().empty());
}

} // namespace
