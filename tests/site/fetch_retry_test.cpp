// Busy sites and broken links: which failures are asked again, how long the
// fetch waits in between, and how a broken body is continued.
#include "demosite/demosite.h"
#include "fetchtesting.h"
#include "scriptedpeer.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace zob;
using namespace std::chrono_literals;
using std::chrono::milliseconds;

// A destination that keeps what a broken transfer brought, as picture files do.
struct ResumingSink : MemorySink {
    using MemorySink::MemorySink;
    std::optional<Mark> resumeOrigin() const override { return 0; }
};

class SiteRetries : public ::testing::Test {
protected:
    void SetUp() override {
        site.start();
        bench.signIn("demo", "demo");
        for (const demosite::Series* series : site.content().month(2008, 2)->series) {
            if (!series->isMovie && !series->lastPicturesMissing && !series->archiveOnly) {
                gallery = series;
                break;
            }
        }
        ASSERT_NE(gallery, nullptr);
    }

    // Retry rules whose waits are only recorded.
    RetryRules recordingRules(int retries) {
        RetryRules rules;
        rules.retries = retries;
        rules.firstDelay = 100ms;
        rules.wait = [this](milliseconds delay, const std::function<bool()>&) {
            waits.push_back(delay);
            return true;
        };
        rules.log = [this](const std::string& line) { logged.push_back(line); };
        return rules;
    }

    std::string pictureUrl(int number) const {
        return site.baseUrl() + gallery->picturePath(demosite::resHigh, number);
    }

    std::vector<int> statusesOf(const std::string& url) const {
        std::vector<int> statuses;
        for (const auto& request : site.requests()) {
            if (site.baseUrl() + request.target == url) {
                statuses.push_back(request.status);
            }
        }
        return statuses;
    }

    demosite::DemoSite site;
    FetchBench bench;
    const demosite::Series* gallery = nullptr;
    std::vector<milliseconds> waits;
    std::vector<std::string> logged;
};

TEST_F(SiteRetries, ServerErrorsAreRetriedWithGrowingWaitsThenStand) {
    const ScopedRetryRules rules(recordingRules(3));
    demosite::Faults faults;
    faults.pictureStatus = 500;
    site.setFaults(faults);

    EXPECT_EQ(bench.get(pictureUrl(1)), fetchProtocolError);
    EXPECT_EQ(statusesOf(pictureUrl(1)), (std::vector<int>{500, 500, 500, 500}));
    ASSERT_EQ(waits.size(), 3u);
    for (std::size_t i = 0; i < waits.size(); ++i) {
        const auto base = 100 << i;
        EXPECT_GE(waits[i].count(), base * 3 / 4) << i;
        EXPECT_LE(waits[i].count(), base * 5 / 4) << i;
    }
    ASSERT_EQ(logged.size(), 3u);
    EXPECT_NE(logged[0].find("status 500"), std::string::npos) << logged[0];
}

TEST_F(SiteRetries, BusySiteIsGivenTheTimeItAsksFor) {
    const ScopedRetryRules rules(recordingRules(2));
    demosite::Faults faults;
    faults.pictureStatus = 503;
    site.setFaults(faults);

    EXPECT_EQ(bench.get(pictureUrl(1)), fetchProtocolError);
    EXPECT_EQ(waits, (std::vector<milliseconds>{1000ms, 1000ms}));
}

TEST_F(SiteRetries, MissingPictureIsNeverAskedAgain) {
    const ScopedRetryRules rules(recordingRules(4));
    EXPECT_EQ(bench.get(pictureUrl(gallery->existingPictures[0] + 1)), fetchNotFound);
    EXPECT_EQ(statusesOf(pictureUrl(gallery->existingPictures[0] + 1)).size(), 1u);
    EXPECT_TRUE(waits.empty());
}

TEST_F(SiteRetries, BusyAndCutAnswersEndInTheWholePicture) {
    const ScopedRetryRules rules(recordingRules(12));
    demosite::Faults faults;
    faults.failRate = 0.3;
    faults.cutRate = 0.5;
    site.setFaults(faults);
    demosite::DemoSite reference;
    reference.start();
    FetchBench plain;
    plain.signIn("demo", "demo");

    int continued = 0;
    for (int number = 1; number <= 5; ++number) {
        plain.page.clear();
        ASSERT_EQ(plain.get(reference.baseUrl() + gallery->picturePath(demosite::resHigh, number)),
                  fetchOk);
        std::string page;
        ResumingSink sink(page);
        EXPECT_EQ(getHtml(bench.env, pictureUrl(number), sink, true), fetchOk) << number;
        EXPECT_EQ(page, plain.page) << number;
        const auto statuses = statusesOf(pictureUrl(number));
        continued += static_cast<int>(std::count(statuses.begin(), statuses.end(), 206));
    }
    EXPECT_GT(continued, 0) << "a cut body is continued, not fetched again";
}

TEST_F(SiteRetries, StopEndsTheWaitForTheNextAttempt) {
    RetryRules rules;
    rules.retries = 4;
    rules.firstDelay = 30s;
    const ScopedRetryRules scoped(rules);
    demosite::Faults faults;
    faults.pictureStatus = 500;
    site.setFaults(faults);
    std::atomic<bool> stop{false};
    bench.defaultHttp.setStopFlag(&stop);
    std::thread stopper([&stop] {
        std::this_thread::sleep_for(200ms);
        stop = true;
    });
    TransferOutcome outcome;
    EXPECT_EQ(getHtml(bench.env, pictureUrl(1), bench.sink, false, nullptr, &outcome), fetchFailed);
    stopper.join();
    EXPECT_EQ(outcome.failure, TransferFailure::Aborted);
    EXPECT_TRUE(bench.prompt.shown().empty()) << "a stop is nothing to tell";
}

// Broken bodies continued against a peer that answers ranges its own way.
std::string cutAnswer(std::size_t announced, const std::string& sent) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(announced) +
           "\r\nETag: \"v1\"\r\n\r\n" + sent;
}

std::string answer(const std::string& statusLine, const std::string& headers,
                   const std::string& body) {
    return "HTTP/1.1 " + statusLine + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n" + headers + "Connection: close\r\n\r\n" + body;
}

struct ResumedBody {
    std::string page;
    std::vector<std::string> requests;
};

ResumedBody fetchThroughBrokenLink(std::vector<ScriptedPeer::Reply> replies) {
    RetryRules rules;
    rules.retries = 3;
    rules.wait = [](milliseconds, const std::function<bool()>&) { return true; };
    const ScopedRetryRules scoped(rules);
    ScriptedPeer peer(std::move(replies));
    FetchBench bench;
    ResumedBody result;
    ResumingSink sink(result.page);
    EXPECT_EQ(getHtml(bench.env, peer.baseUrl() + "/picture.jpg", sink, true), fetchOk);
    result.requests = peer.requests();
    return result;
}

TEST(ResumedBody, PartialContentIsAppended) {
    const auto result = fetchThroughBrokenLink(
        {{cutAnswer(10, "01234"), false, 200ms},
         {answer("206 Partial Content", "Content-Range: bytes 5-9/10\r\n", "56789")}});
    EXPECT_EQ(result.page, "0123456789");
    ASSERT_EQ(result.requests.size(), 2u);
    EXPECT_NE(result.requests[1].find("Range: bytes=5-"), std::string::npos);
    EXPECT_NE(result.requests[1].find("If-Range: \"v1\""), std::string::npos);
}

TEST(ResumedBody, WholeAnswerReplacesThePartialBody) {
    const auto result = fetchThroughBrokenLink(
        {{cutAnswer(10, "01234"), false, 200ms}, {answer("200 OK", "", "ABCDEFGHIJ")}});
    EXPECT_EQ(result.page, "ABCDEFGHIJ");
}

TEST(ResumedBody, UnsatisfiableRangeStartsOver) {
    const auto result = fetchThroughBrokenLink(
        {{cutAnswer(10, "01234"), false, 200ms},
         {answer("416 Range Not Satisfiable", "Content-Range: bytes */4\r\n", "")},
         {answer("200 OK", "", "WXYZ")}});
    EXPECT_EQ(result.page, "WXYZ");
    ASSERT_EQ(result.requests.size(), 3u);
    EXPECT_EQ(result.requests[2].find("Range:"), std::string::npos);
}

} // namespace
