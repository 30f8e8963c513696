// The fetch layer against the demo members site, as the program meets it.
#include "demosite/demosite.h"
#include "fetchtesting.h"
#include "testsupport/loopback.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace zob;
using namespace std::chrono_literals;

const std::string homePath = "/members/home.html";

class DemoSiteFetch : public ::testing::Test {
protected:
    void SetUp() override {
        site.start();
        bench.signIn("demo", "demo");
    }
    std::string url(const std::string& path) const { return site.baseUrl() + path; }
    void setFixedAnswer(const std::string& path, int status, const std::string& body) {
        demosite::Faults faults;
        faults.fixedAnswers[path] = {status, body};
        site.setFaults(faults);
    }

    demosite::DemoSite site;
    FetchBench bench;
};

TEST_F(DemoSiteFetch, PageIsAppendedAfterWhatTheDestinationHeld) {
    EXPECT_EQ(bench.get(url(homePath), false), fetchOk);
    const std::string home = bench.page;
    EXPECT_FALSE(home.empty());

    EXPECT_EQ(bench.get(url(homePath), false), fetchOk);
    EXPECT_EQ(bench.page, home + home);
    EXPECT_TRUE(bench.prompt.shown().empty());
}

TEST_F(DemoSiteFetch, RequestCarriesTheClientSettings) {
    EXPECT_EQ(bench.get(url(homePath)), fetchOk);
    const auto requests = site.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, homePath);
    EXPECT_TRUE(requests[0].authorized);
    EXPECT_EQ(requests[0].userAgent, "Mozilla/3.0 (compatible; Indy Library)");
    EXPECT_EQ(requests[0].accept, "text/html, */*");
}

TEST_F(DemoSiteFetch, RefusedLoginIsReportedSilently) {
    bench.page = "untouched";
    bench.signIn("demo", "wrong");
    EXPECT_EQ(bench.get(url(homePath), false), fetchUnauthorized);

    HttpRequestSettings anonymous = bench.defaultHttp.requestSettings();
    anonymous.basicAuth = false; // name and password stay, but must not be sent
    bench.defaultHttp.setRequestSettings(anonymous);
    EXPECT_EQ(bench.get(url(homePath), false), fetchUnauthorized);

    const auto requests = site.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_FALSE(requests[0].authorized);
    EXPECT_FALSE(requests[1].authorized);
    EXPECT_EQ(requests[1].status, 401);
    EXPECT_TRUE(bench.prompt.shown().empty());
    EXPECT_EQ(bench.page, "untouched") << "the body of an error answer is no page";
}

TEST_F(DemoSiteFetch, RedirectAndMissingPageAreNotFound) {
    setFixedAnswer("/members/gone.html", 410, "gone for good");
    EXPECT_EQ(bench.get(url("/members"), false), fetchNotFound);
    EXPECT_EQ(bench.get(url("/members/no-such-page.html"), false), fetchNotFound);
    EXPECT_EQ(bench.get(url("/members/gone.html"), false), fetchNotFound);
    const auto requests = site.requests();
    ASSERT_EQ(requests.size(), 3u) << "the redirect is not followed";
    EXPECT_EQ(requests[0].status, 302);
    EXPECT_EQ(requests[1].status, 404);
    EXPECT_TRUE(bench.prompt.shown().empty());
    EXPECT_TRUE(bench.page.empty());
}

TEST_F(DemoSiteFetch, ServerErrorsAreShownEvenWhenQuiet) {
    demosite::Faults faults;
    faults.fixedAnswers["/members/down.html"] = {503, "maintenance"};
    faults.fixedAnswers["/members/broken.html"] = {500, "oops"};
    site.setFaults(faults);

    EXPECT_EQ(bench.get(url("/members/broken.html"), true), fetchProtocolError);
    EXPECT_EQ(bench.get(url("/members/down.html"), false), fetchProtocolError);
    EXPECT_EQ(bench.prompt.shown(), (ShownBoxes{messageBox("HTTPProtocolException #500"),
                                                messageBox("HTTPProtocolException #503")}));
    EXPECT_TRUE(bench.page.empty());
}

TEST_F(DemoSiteFetch, EmptyPageLeavesTheDestinationUnchanged) {
    setFixedAnswer("/members/empty.html", 200, "");
    bench.page = "before";
    EXPECT_EQ(bench.get(url("/members/empty.html"), false), fetchOk);
    EXPECT_EQ(bench.page, "before");
}

TEST_F(DemoSiteFetch, AnswerCutShortIsAShownFailure) {
    demosite::Faults faults;
    faults.closeMidBodyPrefix = homePath;
    site.setFaults(faults);
    EXPECT_EQ(bench.get(url(homePath), true), fetchFailed);
    const ShownBoxes shown = bench.prompt.shown();
    EXPECT_EQ(firstLines(shown), ShownBoxes{messageBox("ConnectionClosed")});
    // The kind alone leaves the user guessing which page and what happened.
    EXPECT_NE(shown.at(0).text.find(url(homePath) + ": transfer closed with"), std::string::npos)
        << shown.at(0).text;
}

TEST_F(DemoSiteFetch, AnswerLargerThanItsDestinationIsRefused) {
    std::string page;
    MemorySink small(page, 100);
    EXPECT_EQ(getHtml(bench.env, url(homePath), small, true), fetchFailed);
    EXPECT_EQ(bench.prompt.shown(), ShownBoxes{messageBox("TooLarge\r\n" + url(homePath) +
                                                          ": page larger than 100 bytes")});
}

TEST_F(DemoSiteFetch, SilentServerIsAbandoned) {
    demosite::Faults faults;
    faults.latency = 3s;
    site.setFaults(faults);
    bench.defaultHttp.setTimeLimits(
        {.connectTimeout = 2s, .lowSpeedBytesPerSecond = 1, .lowSpeedTime = 1s});

    EXPECT_EQ(bench.get(url(homePath), true), fetchFailed) << "an answer came after all";
    EXPECT_EQ(firstLines(bench.prompt.shown()), ShownBoxes{messageBox("ReadTimeout")});
}

TEST_F(DemoSiteFetch, CookiesStayWithTheirClient) {
    ASSERT_EQ(bench.get(url(homePath)), fetchOk);
    ASSERT_EQ(bench.get(url(homePath)), fetchOk);

    HttpClient worker;
    worker.copyRequestSettingsFrom(bench.defaultHttp);
    EXPECT_EQ(worker.requestSettings(), bench.defaultHttp.requestSettings());
    ASSERT_EQ(bench.get(url(homePath), true, &worker), fetchOk);

    const auto requests = site.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_FALSE(requests[0].cookieReturned);
    EXPECT_TRUE(requests[1].cookieReturned) << "the site's cookie comes back";
    EXPECT_FALSE(requests[2].cookieReturned) << "another client has its own jar";
    EXPECT_TRUE(requests[2].authorized) << "but the same credentials";
    EXPECT_EQ(requests[2].userAgent, requests[0].userAgent);
}

TEST_F(DemoSiteFetch, PostSendsTheFormAsGiven) {
    setFixedAnswer("/members/search.html", 200, "results");
    EXPECT_EQ(bench.post(url("/members/search.html"), "search=Jane%20Doe"), fetchOk);
    EXPECT_EQ(bench.page, "results");
    const auto requests = site.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].body, "search=Jane%20Doe");

    EXPECT_EQ(bench.get(url("/members/search.html")), fetchOk) << "a GET after a post";
    EXPECT_EQ(site.requests().at(1).method, "GET");
    EXPECT_TRUE(site.requests().at(1).body.empty());
}

// Starts the site on the refused port when the user is asked, then says Yes:
// the network came back while the box was up.
class NetworkReturnsPrompt : public ScriptedPrompt {
public:
    NetworkReturnsPrompt(demosite::DemoSite& site, int port) : site_(site), port_(port) {}
    PromptAnswer askYesNoCancel(const std::string& title, const std::string& text,
                                PromptAnswer defaultAnswer) override {
        site_.start(port_);
        script({PromptAnswer::Yes});
        return ScriptedPrompt::askYesNoCancel(title, text, defaultAnswer);
    }

private:
    demosite::DemoSite& site_;
    int port_;
};

TEST(DemoSiteRetry, RetriedPostResendsItsFormAndKeepsOnlyTheFinalAnswer) {
    const int port = unusedLoopbackPort();
    demosite::DemoSite site;
    demosite::Faults faults;
    faults.fixedAnswers["/members/search.html"] = {200, "found it"};
    site.setFaults(faults);
    NetworkReturnsPrompt prompt(site, port);
    HttpClient http;
    FetchEnv env{http, prompt};
    std::string page = "old|";
    MemorySink sink(page);

    const std::string address = "http://127.0.0.1:" + std::to_string(port) + "/members/search.html";
    HttpRequestSettings settings;
    settings.basicAuth = true;
    settings.userName = settings.password = "demo";
    http.setRequestSettings(settings);

    EXPECT_EQ(postHtml(env, address, "search=Jane", sink, false), fetchOk);
    EXPECT_EQ(page, "old|found it");
    EXPECT_EQ(prompt.shown(), ShownBoxes{connectionBox(PromptAnswer::Yes)});
    const auto requests = site.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].body, "search=Jane");
}

TEST_F(DemoSiteFetch, ClientsOnTwoThreadsWorkSideBySide) {
    constexpr int fetchesPerThread = 20;
    std::string expected;
    ASSERT_EQ(bench.get(url(homePath)), fetchOk);
    expected.swap(bench.page);

    auto worker = [&](std::string& pages, fetchResult& worst) {
        HttpClient http;
        http.copyRequestSettingsFrom(bench.defaultHttp);
        MemorySink sink(pages);
        for (int i = 0; i < fetchesPerThread; ++i) {
            const fetchResult result = getHtml(bench.env, url(homePath), sink, true, &http);
            worst = std::max(worst, result);
        }
    };
    std::string pagesA, pagesB;
    fetchResult worstA = fetchOk, worstB = fetchOk;
    std::thread a(worker, std::ref(pagesA), std::ref(worstA));
    std::thread b(worker, std::ref(pagesB), std::ref(worstB));
    a.join();
    b.join();

    EXPECT_EQ(worstA, fetchOk);
    EXPECT_EQ(worstB, fetchOk);
    std::string all;
    for (int i = 0; i < fetchesPerThread; ++i) {
        all += expected;
    }
    EXPECT_EQ(pagesA, all);
    EXPECT_EQ(pagesB, all);
    EXPECT_TRUE(bench.prompt.shown().empty());
}

} // namespace
