#include "sitefixture.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace demosite::testing {
namespace {

class ServerTest : public SiteTest {};

TEST_F(ServerTest, MembersAreaRefusesMissingAndWrongCredentials) {
    const auto missing = anonymous->Get("/members/home.html");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 401);
    EXPECT_EQ(missing->get_header_value("WWW-Authenticate"), "Basic realm=\"Zel-Ora Members\"");

    anonymous->set_basic_auth("demo", "wrong");
    const auto wrong = anonymous->Get("/members/gallery/2008/200803.html");
    ASSERT_TRUE(wrong);
    EXPECT_EQ(wrong->status, 401);

    // Authentication comes before everything else, even an unknown address.
    EXPECT_EQ(anonymous->Get("/members/no-such-page.html")->status, 401);
    EXPECT_EQ(status("/members/no-such-page.html"), 404);
    EXPECT_EQ(status("/members/home.html"), 200);
}

TEST_F(ServerTest, PublicFrontPageNeedsNoCredentials) {
    const auto front = anonymous->Get("/");
    ASSERT_TRUE(front);
    EXPECT_EQ(front->status, 200);
    EXPECT_NE(front->body.find("/members/home.html"), std::string::npos);
    EXPECT_EQ(anonymous->Get("/favicon.ico")->status, 404);
}

TEST_F(ServerTest, OptionsChooseTheCredentials) {
    SiteOptions options = fixedOptions();
    options.user = "alice";
    options.password = "s3cret:with colon";
    DemoSite other(options);
    other.start();
    auto client = boundedClient(other.port());
    client->set_basic_auth("demo", "demo");
    EXPECT_EQ(client->Get("/members/home.html")->status, 401);
    client->set_basic_auth("alice", "s3cret:with colon");
    EXPECT_EQ(client->Get("/members/home.html")->status, 200);
}

TEST_F(ServerTest, SessionCookieIsSetUntilItComesBack) {
    const auto first = member->Get("/members/home.html");
    ASSERT_TRUE(first);
    const std::string setCookie = first->get_header_value("Set-Cookie");
    ASSERT_TRUE(setCookie.starts_with("ZSESSION=")) << setCookie;
    EXPECT_TRUE(setCookie.ends_with("; Path=/")) << setCookie;
    const std::string cookie = setCookie.substr(0, setCookie.find(';'));

    const httplib::Headers withCookie{{"Cookie", "theme=dark; " + cookie}};
    const auto second = member->Get("/members/home.html", withCookie);
    ASSERT_TRUE(second);
    EXPECT_FALSE(second->has_header("Set-Cookie"));

    // A refused request gets no session.
    EXPECT_FALSE(anonymous->Get("/members/home.html")->has_header("Set-Cookie"));

    const auto log = site.requests();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_FALSE(log[0].cookieReturned);
    EXPECT_TRUE(log[1].cookieReturned);
    EXPECT_FALSE(log[2].cookieReturned);

    // A cookie of another session does not count.
    const httplib::Headers otherSession{{"Cookie", "ZSESSION=0000"}};
    member->Get("/members/home.html", otherSession);
    EXPECT_FALSE(site.requests().back().cookieReturned);
}

TEST_F(ServerTest, RequestLogRecordsWhatWasAsked) {
    const httplib::Headers headers{{"User-Agent", "Mozilla/3.0 (compatible; Indy Library)"},
                                   {"Accept", "text/html, */*"}};
    member->Get("/members/favorites/index.html?add=", headers);
    member->Post("/members/search.html", headers, "search=Mira",
                 "application/x-www-form-urlencoded");
    anonymous->Get("/members/home.html");

    const auto log = site.requests();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].method, "GET");
    EXPECT_EQ(log[0].target, "/members/favorites/index.html?add=");
    EXPECT_TRUE(log[0].authorized);
    EXPECT_EQ(log[0].userAgent, "Mozilla/3.0 (compatible; Indy Library)");
    EXPECT_EQ(log[0].accept, "text/html, */*");
    EXPECT_EQ(log[0].status, 200);
    EXPECT_TRUE(log[0].body.empty());

    EXPECT_EQ(log[1].method, "POST");
    EXPECT_EQ(log[1].target, "/members/search.html");
    EXPECT_EQ(log[1].body, "search=Mira");

    EXPECT_FALSE(log[2].authorized);
    EXPECT_EQ(log[2].status, 401);

    site.clearRequests();
    EXPECT_TRUE(site.requests().empty());
}

TEST_F(ServerTest, FolderWithoutSlashRedirectsAndUnknownAddressesAreNotFound) {
    const Series& series = plainGallery(2008, 2);
    const std::string folder = series.folderPath.substr(0, series.folderPath.size() - 1);

    const auto moved = member->Get(folder.c_str());
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->status, 302);
    EXPECT_EQ(moved->get_header_value("Location"), site.baseUrl() + series.folderPath);
    EXPECT_EQ(status(series.folderPath), 200);

    EXPECT_EQ(status("/members/gallery/2008/nobody_xx0000_200803/"), 404);
    EXPECT_EQ(status("/members/gallery/2008/"), 404);
    EXPECT_EQ(status(series.folderPath + "nothing.jpg"), 404);
    // A month page under the wrong year folder is no page at all.
    EXPECT_EQ(status("/members/gallery/2007/200803.html"), 404);
}

TEST_F(ServerTest, LogFileGetsOneLinePerRequest) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("demosite-log-" + std::to_string(::getpid()) + ".txt");
    std::filesystem::remove(file);
    {
        SiteOptions options = fixedOptions();
        options.logFile = file;
        DemoSite logged(options);
        logged.start();
        auto client = boundedClient(logged.port());
        client->set_basic_auth("demo", "demo");
        client->Get("/members/home.html");
        client->Get("/members/nothing?x=1");
    }
    std::ifstream in(file);
    std::stringstream stream;
    stream << in.rdbuf();
    const std::string text = stream.str();
    std::filesystem::remove(file);
    EXPECT_EQ(text.substr(0, 30), "GET /members/home.html 200 aut");
    EXPECT_NE(text.find("\nGET /members/nothing?x=1 404 auth"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
}

TEST(DemoSiteLifecycle, StartsStopsAndRestarts) {
    DemoSite site(fixedOptions());
    const int port = site.start();
    EXPECT_GT(port, 0);
    EXPECT_EQ(site.port(), port);
    EXPECT_EQ(site.baseUrl(), "http://127.0.0.1:" + std::to_string(port));
    EXPECT_THROW(site.start(), std::logic_error);
    site.stop();
    site.stop(); // harmless twice
    EXPECT_FALSE(boundedClient(port)->Get("/"));

    // The same port can be taken again at once, and a taken port is refused.
    EXPECT_EQ(site.start(port), port);
    DemoSite rival(fixedOptions());
    EXPECT_THROW(rival.start(port), std::runtime_error);
    EXPECT_EQ(boundedClient(port)->Get("/")->status, 200);
}

TEST(DemoSiteLifecycle, ServesManyClientsAtOnce) {
    DemoSite site(fixedOptions());
    site.start();
    std::vector<std::thread> threads;
    std::atomic<int> answered{0};
    for (int i = 0; i < 24; ++i) {
        threads.emplace_back([&site, &answered] {
            auto client = boundedClient(site.port());
            client->set_basic_auth("demo", "demo");
            client->set_keep_alive(true);
            for (int j = 0; j < 5; ++j) {
                if (const auto result = client->Get("/members/home.html");
                    result && result->status == 200) {
                    ++answered;
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(answered, 120);
    EXPECT_EQ(site.requests().size(), 120u);
}

} // namespace
} // namespace demosite::testing
