#include "demosite/bodydelivery.h"

#include <algorithm>
#include <chrono>

namespace demosite {
namespace {

// Large enough that no client waits for the end of a trickled page.
constexpr std::size_t trickleLength = std::size_t{2} << 30;
constexpr std::size_t tricklePiece = 4;
constexpr std::chrono::seconds trickleEvery{1};
// Big pieces keep an endless page as fast as the client can read.
constexpr std::size_t endlessPiece = 64u << 10;

using Bytes = std::shared_ptr<const std::string>;
using WatchPtr = std::shared_ptr<const SlowAnswers::Watch>;

// Announces the full length and sends the first half of what was asked (a
// range starts further in); after that a cut fails at once, which makes the
// server drop the connection, and a stall first waits for its watch to end.
void sendHalf(httplib::Response& response, Bytes bytes, const std::string& type, WatchPtr stall) {
    auto half = std::make_shared<std::size_t>(0);
    response.set_content_provider(
        bytes->size(), type,
        [bytes, half, stall](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            if (*half == 0) {
                *half = offset + (bytes->size() - offset) / 2;
            }
            if (offset < *half) {
                return sink.write(bytes->data() + offset, std::min(*half - offset, length));
            }
            if (stall) {
                stall->waitForEnd();
            }
            return false;
        });
}

// The page over and over, a few bytes at a time.
void trickle(httplib::Response& response, Bytes bytes, const std::string& type, WatchPtr watch) {
    response.set_content_provider(
        trickleLength, type,
        [bytes, watch](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            if (bytes->empty() || (offset > 0 && !watch->waitFor(trickleEvery))) {
                return false;
            }
            char piece[tricklePiece];
            const std::size_t count = std::min(tricklePiece, length);
            for (std::size_t i = 0; i < count; ++i) {
                piece[i] = (*bytes)[(offset + i) % bytes->size()];
            }
            return sink.write(piece, count);
        });
}

// The page without its end, then its content (from the heading on) again and
// again, so every piece looks like more of the same list.
void endless(httplib::Response& response, const std::string& body, const std::string& type,
             WatchPtr watch) {
    const std::size_t end = std::min(body.rfind("</body>"), body.size());
    auto head = std::make_shared<const std::string>(body.substr(0, end));
    const std::size_t heading = body.find("<h2");
    const std::string unit = heading < end ? body.substr(heading, end - heading) : *head;
    std::string repeated;
    while (!unit.empty() && repeated.size() < endlessPiece) {
        repeated += unit;
    }
    auto filler = std::make_shared<const std::string>(std::move(repeated));
    response.set_chunked_content_provider(
        type, [head, filler, watch](std::size_t offset, httplib::DataSink& sink) {
            const std::string& piece = offset == 0 ? *head : *filler;
            return !watch->ended() && !piece.empty() && sink.write(piece.data(), piece.size());
        });
}

// A tenth of a second's worth of bytes at a time, each tenth waited out.
void sendPaced(httplib::Response& response, Bytes bytes, const std::string& type, int kBps,
               WatchPtr watch) {
    const std::size_t piece = std::max<std::size_t>(1, static_cast<std::size_t>(kBps) * 1024 / 10);
    response.set_content_provider(
        bytes->size(), type,
        [bytes, piece, watch](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            if (offset > 0 && !watch->waitFor(std::chrono::milliseconds(100))) {
                return false;
            }
            return sink.write(bytes->data() + offset, std::min(piece, length));
        });
}

} // namespace

void deliverBody(httplib::Response& response, Answer answer, BodyPace pace,
                 std::shared_ptr<const SlowAnswers::Watch> watch) {
    if (pace.delivery == Delivery::whole && pace.bandwidthKBps > 0 && watch) {
        sendPaced(response, std::make_shared<const std::string>(std::move(answer.body)),
                  answer.contentType, pace.bandwidthKBps, std::move(watch));
        return;
    }
    switch (pace.delivery) {
    case Delivery::half:
        sendHalf(response, std::make_shared<const std::string>(std::move(answer.body)),
                 answer.contentType, nullptr);
        return;
    case Delivery::stall:
        sendHalf(response, std::make_shared<const std::string>(std::move(answer.body)),
                 answer.contentType, std::move(watch));
        return;
    case Delivery::trickle:
        trickle(response, std::make_shared<const std::string>(std::move(answer.body)),
                answer.contentType, std::move(watch));
        return;
    case Delivery::endless:
        endless(response, answer.body, answer.contentType, std::move(watch));
        return;
    case Delivery::whole:
        break;
    }
    response.set_content(std::move(answer.body), answer.contentType.c_str());
}

} // namespace demosite
