// The fetch layer against a server nobody here wrote.
#include "fetchtesting.h"
#include "nginxserver.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>

namespace {

using namespace zob;

class NginxFetch : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = NginxServer::start(whyNot_);
        if (!server_) {
            std::cerr << "\n*** SKIP: nginx fixture unavailable: " << whyNot_ << " ***\n\n";
        }
    }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        if (!server_) {
            GTEST_SKIP() << "SKIP: nginx fixture unavailable: " << whyNot_;
        }
    }

    static std::string url(const std::string& path) { return server_->baseUrl() + path; }

    static inline std::unique_ptr<NginxServer> server_;
    static inline std::string whyNot_;
    FetchBench bench;
};

TEST_F(NginxFetch, PageArrivesAfterWhatTheDestinationHeld) {
    bench.page = "kept:";
    EXPECT_EQ(bench.get(url("/page.html")), fetchOk);
    EXPECT_EQ(bench.page, "kept:<html>nginx page</html>");
    EXPECT_TRUE(bench.prompt.shown().empty());
}

TEST_F(NginxFetch, LargeBodyIntoFileAtItsCurrentPosition) {
    std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::tmpfile(), &std::fclose);
    ASSERT_TRUE(file);
    std::fputs("prefix", file.get());
    FileSink sink(file.get());

    EXPECT_EQ(getHtml(bench.env, url("/big.bin"), sink, true), fetchOk);

    std::rewind(file.get());
    std::string contents(6 + (1 << 20) + 1, '\0');
    contents.resize(std::fread(contents.data(), 1, contents.size(), file.get()));
    EXPECT_EQ(contents, "prefix" + server_->bigBody());
}

TEST_F(NginxFetch, EmptyPageLeavesDestinationUnchanged) {
    bench.page = "before";
    EXPECT_EQ(bench.get(url("/empty.html"), false), fetchOk);
    EXPECT_EQ(bench.page, "before");
}

TEST_F(NginxFetch, StatusCodesBecomeResults) {
    bench.page = "untouched";
    EXPECT_EQ(bench.get(url("/moved"), false), fetchNotFound) << "a 302 is not followed";
    EXPECT_EQ(bench.get(url("/no-such-page.html"), false), fetchNotFound);
    EXPECT_EQ(bench.get(url("/members/home.html"), false), fetchUnauthorized);
    EXPECT_TRUE(bench.prompt.shown().empty());

    EXPECT_EQ(bench.get(url("/broken"), true), fetchProtocolError);
    EXPECT_EQ(bench.get(url("/members"), true), fetchProtocolError)
        << "only 302 counts as not found; nginx sends 301 for a folder";
    EXPECT_EQ(bench.prompt.shown(), (ShownBoxes{messageBox("HTTPProtocolException #500"),
                                                messageBox("HTTPProtocolException #301")}));
    EXPECT_EQ(bench.page, "untouched") << "error pages never reach the destination";
}

TEST_F(NginxFetch, BasicAuthentication) {
    bench.signIn("demo", "wrong");
    EXPECT_EQ(bench.get(url("/members/home.html")), fetchUnauthorized);
    bench.signIn("demo", "demo");
    EXPECT_EQ(bench.get(url("/members/home.html")), fetchOk);
    EXPECT_EQ(bench.page, "<html>members home</html>");
}

TEST_F(NginxFetch, CookieComesBackToTheSameClientOnly) {
    EXPECT_EQ(bench.get(url("/needcookie")), fetchProtocolError) << "403 before the cookie";
    EXPECT_EQ(bench.get(url("/setcookie")), fetchOk);
    EXPECT_EQ(bench.get(url("/needcookie")), fetchOk);
    EXPECT_EQ(bench.page, "cookie setwelcome back");

    HttpClient fresh;
    fresh.copyRequestSettingsFrom(bench.defaultHttp);
    EXPECT_EQ(bench.get(url("/needcookie"), true, &fresh), fetchProtocolError);
    EXPECT_EQ(bench.prompt.shown(), (ShownBoxes{messageBox("HTTPProtocolException #403"),
                                                messageBox("HTTPProtocolException #403")}));
}

TEST_F(NginxFetch, PostAnswerArrives) {
    EXPECT_EQ(bench.post(url("/post"), "search=Some%20Name"), fetchOk);
    EXPECT_EQ(bench.page, "posted");
}

} // namespace
