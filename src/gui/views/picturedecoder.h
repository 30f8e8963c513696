#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zob {

// The picture viewer's decoding, beside the window: pictures are shrunk while
// decoding to the size they are shown at, turned the way their camera meant,
// and the latest are kept within a budget of bytes, so the next picture is
// usually in hand before it is asked for.
class PictureDecoder {
public:
    // What to decode: `file` fitted into `box` (an empty box: at full size),
    // blown up to fit when `enlarge` (for a thumbnail standing in).
    struct Request {
        std::string file;
        QSize box;
        bool enlarge = false;
        bool operator==(const Request&) const = default;
    };
    struct Result {
        Request request;
        // Null when the file could not be decoded.
        QImage image;
    };
    using Delivery = std::function<void(const Result&)>;

    // Results reach `deliver` on the thread of `receiver`, never after the
    // decoder is gone.
    PictureDecoder(QObject& receiver, Delivery deliver, std::size_t budgetBytes);
    ~PictureDecoder();
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    // The decoded picture when in hand (it then counts as used last).
    std::optional<QImage> cached(const Request& request);
    // Replaces what is waiting by `requests`, the first decoded first; what
    // is in hand already is not decoded again.
    void want(std::vector<Request> requests);
    // The file changed on disk: its decoded copies go.
    void forget(const std::string& file);
    std::size_t heldBytes() const;
    // Nothing waits and nothing is being decoded.
    bool idle() const;

    // What the thread does for one request; throws nothing.
    static QImage decode(const Request& request);

private:
    struct Held {
        Request request;
        QImage image;
    };

    void run();
    void keep(const Request& request, const QImage& image);

    QObject& receiver_;
    Delivery deliver_;
    const std::size_t budget_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Request> waiting_;
    // Most recently used first.
    std::list<Held> held_;
    std::size_t heldBytes_ = 0;
    // Bumped by forget(): a decode that began before it is not kept.
    std::uint64_t generation_ = 0;
    bool stopping_ = false;
    bool decoding_ = false;
    std::thread thread_;
};

} // namespace zob
