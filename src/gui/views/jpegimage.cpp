#include "gui/views/jpegimage.h"

#include "platform/jpegdecode.h"

#include <memory>

namespace zob {
namespace {

using PixelBuffer = std::vector<std::uint8_t>;

void freePixels(void* pixels) {
    const std::unique_ptr<PixelBuffer> owned(static_cast<PixelBuffer*>(pixels));
}

} // namespace

QImage loadJpegImage(const std::string& path, int minWidth, int minHeight) {
    DecodedImage decoded = decodeJpeg(path, minWidth, minHeight);
    if (decoded.pixels.empty()) {
        return QImage(decoded.width, decoded.height, QImage::Format_RGB32);
    }
    // The image adopts the decoder's buffer instead of copying it; the buffer
    // goes when the last QImage sharing it does.
    auto pixels = std::make_unique<PixelBuffer>(std::move(decoded.pixels));
    uchar* const data = pixels->data();
    QImage image(data, decoded.width, decoded.height, decoded.width * 4, QImage::Format_RGB32,
                 freePixels, pixels.get());
    pixels.release();
    return image;
}

} // namespace zob
