#include "gui/views/picturedecoder.h"

#include "gui/views/jpegimage.h"
#include "gui/views/viewerzoom.h"
#include "platform/exiforientation.h"
#include "platform/jpegdecode.h"

#include <QMetaObject>
#include <QTransform>
#include <algorithm>
#include <exception>

namespace zob {

namespace {

std::size_t bytesOf(const QImage& image) {
    return static_cast<std::size_t>(image.sizeInBytes());
}

QImage turned(const QImage& image, ExifOrientation orientation) {
    switch (orientation) {
    case ExifOrientation::mirrored:
        return image.mirrored(true, false);
    case ExifOrientation::halfTurn:
        return image.transformed(QTransform().rotate(180));
    case ExifOrientation::flipped:
        return image.mirrored(false, true);
    case ExifOrientation::transposed:
        return image.transformed(QTransform().rotate(90)).mirrored(true, false);
    case ExifOrientation::quarterClockwise:
        return image.transformed(QTransform().rotate(90));
    case ExifOrientation::transversed:
        return image.transformed(QTransform().rotate(270)).mirrored(true, false);
    case ExifOrientation::quarterAnticlockwise:
        return image.transformed(QTransform().rotate(270));
    case ExifOrientation::asStored:
        break;
    }
    return image;
}

} // namespace

PictureDecoder::PictureDecoder(QObject& receiver, Delivery deliver, std::size_t budgetBytes)
    : receiver_(receiver), deliver_(std::move(deliver)), budget_(budgetBytes),
      thread_([this] { run(); }) {}

PictureDecoder::~PictureDecoder() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.clear();
    }
    wake_.notify_all();
    thread_.join();
}

QImage PictureDecoder::decode(const Request& request) {
    try {
        const ExifOrientation orientation = jpegOrientation(request.file);
        const std::optional<JpegSize> natural = jpegNaturalSize(request.file);
        if (!natural) {
            return {};
        }
        // The stored picture lies on its side when viewing turns it a quarter.
        QSize box = request.box;
        if (swapsSides(orientation)) {
            box.transpose();
        }
        const QSize stored(natural->width, natural->height);
        const double scale =
            box.isEmpty() ? 1.0 : viewerzoom::fitScale(stored, box, request.enlarge);
        const QSize shown(std::max(1, qRound(stored.width() * scale)),
                          std::max(1, qRound(stored.height() * scale)));
        QImage image = loadJpegImage(request.file, std::min(shown.width(), stored.width()),
                                     std::min(shown.height(), stored.height()));
        if (image.size() != shown) {
            image = image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        return turned(image, orientation);
    } catch (const std::exception&) {
        return {};
    }
}

std::optional<QImage> PictureDecoder::cached(const Request& request) {
    const std::lock_guard lock(mutex_);
    const auto found = std::find_if(held_.begin(), held_.end(),
                                    [&](const Held& held) { return held.request == request; });
    if (found == held_.end()) {
        return std::nullopt;
    }
    held_.splice(held_.begin(), held_, found);
    return found->image;
}

void PictureDecoder::want(std::vector<Request> requests) {
    {
        const std::lock_guard lock(mutex_);
        waiting_.clear();
        for (Request& request : requests) {
            const bool inHand = std::any_of(held_.begin(), held_.end(), [&](const Held& held) {
                return held.request == request;
            });
            if (!inHand) {
                waiting_.push_back(std::move(request));
            }
        }
    }
    wake_.notify_all();
}

void PictureDecoder::forget(const std::string& file) {
    const std::lock_guard lock(mutex_);
    ++generation_;
    for (auto held = held_.begin(); held != held_.end();) {
        if (held->request.file == file) {
            heldBytes_ -= bytesOf(held->image);
            held = held_.erase(held);
        } else {
            ++held;
        }
    }
}

std::size_t PictureDecoder::heldBytes() const {
    const std::lock_guard lock(mutex_);
    return heldBytes_;
}

bool PictureDecoder::idle() const {
    const std::lock_guard lock(mutex_);
    return waiting_.empty() && !decoding_;
}

void PictureDecoder::keep(const Request& request, const QImage& image) {
    held_.push_front({request, image});
    heldBytes_ += bytesOf(image);
    // The newest stays even when it alone is over the budget: it is the one
    // on screen.
    while (heldBytes_ > budget_ && held_.size() > 1) {
        heldBytes_ -= bytesOf(held_.back().image);
        held_.pop_back();
    }
}

void PictureDecoder::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (stopping_) {
            return;
        }
        const Request request = waiting_.front();
        waiting_.pop_front();
        const std::uint64_t generation = generation_;
        decoding_ = true;
        lock.unlock();
        const QImage image = decode(request);
        lock.lock();
        decoding_ = false;
        if (stopping_) {
            return;
        }
        // A file forgotten meanwhile may have changed under the decoder: the
        // result is shown, as the newest there is, but not kept.
        if (!image.isNull() && generation == generation_) {
            keep(request, image);
        }
        QMetaObject::invokeMethod(
            &receiver_, [deliver = deliver_, result = Result{request, image}] { deliver(result); },
            Qt::QueuedConnection);
    }
}

} // namespace zob
