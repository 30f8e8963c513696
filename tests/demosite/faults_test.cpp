#include "sitefixture.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace demosite::testing {
namespace {

using namespace std::chrono_literals;

// What a raw connection received for one request, read until the server
// closed it (or five seconds passed).
struct RawExchange {
    std::string head;
    std::string body;
    bool closedByServer = false;
};

RawExchange rawGet(int port, const std::string& target) {
    RawExchange exchange;
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) {
        return exchange;
    }
    timeval timeout{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        const std::string request =
            "GET " + target +
            " HTTP/1.1\r\nHost: 127.0.0.1\r\n"
            "Authorization: Basic ZGVtbzpkZW1v\r\nConnection: close\r\n\r\n";
        ::send(fd, request.data(), request.size(), 0);
        std::string received;
        char buffer[16384];
        ssize_t count = 0;
        while ((count = ::recv(fd, buffer, sizeof buffer, 0)) > 0) {
            received.append(buffer, static_cast<std::size_t>(count));
        }
        exchange.closedByServer = count == 0;
        const std::size_t split = received.find("\r\n\r\n");
        exchange.head = received.substr(0, split);
        if (split != std::string::npos) {
            exchange.body = received.substr(split + 4);
        }
    }
    ::close(fd);
    return exchange;
}

std::size_t contentLength(const std::string& head) {
    const std::size_t at = head.find("Content-Length: ");
    return at == std::string::npos ? 0 : std::stoul(head.substr(at + 16));
}

class FaultsTest : public SiteTest {};

TEST_F(FaultsTest, LatencyDelaysEveryAnswer) {
    Faults faults;
    faults.latency = 150ms;
    site.setFaults(faults);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(anonymous->Get("/members/home.html")->status, 401);
    EXPECT_EQ(status("/members/home.html"), 200);
    EXPECT_GE(std::chrono::steady_clock::now() - started, 300ms);
}

TEST_F(FaultsTest, EveryNthAuthorizedRequestFailsWithServerError) {
    Faults faults;
    faults.serverErrorEvery = 3;
    site.setFaults(faults);
    std::vector<int> statuses;
    for (int i = 0; i < 6; ++i) {
        statuses.push_back(status("/members/home.html"));
        anonymous->Get("/members/home.html"); // refused requests do not count
    }
    EXPECT_EQ(statuses, (std::vector<int>{200, 200, 500, 200, 200, 500}));

    // Setting faults again restarts the count.
    status("/members/home.html");
    site.setFaults(faults);
    EXPECT_EQ(status("/members/home.html"), 200);
    EXPECT_EQ(status("/members/home.html"), 200);
    EXPECT_EQ(status("/members/home.html"), 500);
    EXPECT_EQ(site.requests().back().status, 500);

    site.setFaults({});
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(status("/members/home.html"), 200);
    }
}

TEST_F(FaultsTest, FixedAnswersReplaceThePageAfterAuthentication) {
    const std::string month = "/members/gallery/2008/200803.html";
    Faults faults;
    faults.fixedAnswers[month] = {200, ""};
    faults.fixedAnswers["/members/home.html"] = {503, "busy"};
    faults.fixedAnswers["/members/made-up.html"] = {200, "invented"};
    site.setFaults(faults);

    const auto empty = member->Get((month + "?x=1").c_str());
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->status, 200);
    EXPECT_TRUE(empty->body.empty());
    EXPECT_EQ(empty->get_header_value("Content-Length"), "0");

    const auto busy = member->Get("/members/home.html");
    EXPECT_EQ(busy->status, 503);
    EXPECT_EQ(busy->body, "busy");
    EXPECT_EQ(page("/members/made-up.html"), "invented");
    EXPECT_EQ(anonymous->Get("/members/home.html")->status, 401);
    EXPECT_EQ(status("/members/gallery/2008/200802.html"), 200);
}

TEST_F(FaultsTest, ConnectionClosesHalfWayThroughBodiesUnderThePrefix) {
    const Series& series = plainGallery(2008, 2);
    Faults faults;
    faults.closeMidBodyPrefix = series.filesPath + "hires/";
    site.setFaults(faults);

    const RawExchange cut = rawGet(site.port(), series.picturePath(resHigh, 1));
    EXPECT_TRUE(cut.head.starts_with("HTTP/1.1 200")) << cut.head;
    const std::size_t announced = contentLength(cut.head);
    EXPECT_GT(announced, 1000u);
    EXPECT_EQ(cut.body.size(), announced / 2);
    EXPECT_TRUE(cut.closedByServer);
    EXPECT_EQ(site.requests().back().status, 200);

    // httplib's client notices the short body.
    EXPECT_FALSE(member->Get(series.picturePath(resHigh, 2).c_str()));

    const RawExchange whole = rawGet(site.port(), series.picturePath(resLow, 1));
    EXPECT_EQ(whole.body.size(), contentLength(whole.head));
    EXPECT_GT(whole.body.size(), 1000u);
}

} // namespace
} // namespace demosite::testing
