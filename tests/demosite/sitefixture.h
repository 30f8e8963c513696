#pragma once

#include "demosite/demosite.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <memory>
#include <stdexcept>
#include <string>

namespace demosite::testing {

// A fixed "today" keeps every expectation independent of the clock.
inline SiteOptions fixedOptions(unsigned seed = 1) {
    SiteOptions options;
    options.seed = seed;
    options.todayYear = 2008;
    options.todayMonth = 3;
    options.todayDay = 15;
    return options;
}

// A client bounded in time, so a site that hangs fails the test instead.
inline std::unique_ptr<httplib::Client> boundedClient(int port) {
    auto client = std::make_unique<httplib::Client>("127.0.0.1", port);
    client->set_connection_timeout(2, 0);
    client->set_read_timeout(10, 0);
    client->set_write_timeout(5, 0);
    return client;
}

class SiteTest : public ::testing::Test {
protected:
    explicit SiteTest(SiteOptions options = fixedOptions()) : site(std::move(options)) {}

    void SetUp() override {
        site.start();
        member = boundedClient(site.port());
        member->set_basic_auth("demo", "demo");
        anonymous = boundedClient(site.port());
    }

    // The body of an authorized GET, failing the test unless it answers 200.
    std::string page(const std::string& target) {
        const auto result = member->Get(target.c_str());
        if (!result) {
            ADD_FAILURE() << "no answer for " << target;
            return {};
        }
        EXPECT_EQ(result->status, 200) << target;
        return result->body;
    }

    // An ordinary gallery of the month: no movie, nothing missing, not moved.
    const Series& plainGallery(int year, int month) const {
        for (const Series* series : site.content().month(year, month)->series) {
            if (!series->isMovie && !series->lastPicturesMissing && !series->noMidRes &&
                !series->archiveOnly) {
                return *series;
            }
        }
        throw std::logic_error("no plain gallery in that month");
    }

    int status(const std::string& target) {
        const auto result = member->Get(target.c_str());
        return result ? result->status : -1;
    }

    DemoSite site;
    std::unique_ptr<httplib::Client> member;
    std::unique_ptr<httplib::Client> anonymous;
};

} // namespace demosite::testing
