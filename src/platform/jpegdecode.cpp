#include "platform/jpegdecode.h"

#include <array>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>
#include <memory>
#include <string>

namespace zob {
namespace {

// libjpeg reports through these callbacks. Throwing from them unwinds through
// the library back to us, where RAII releases the decompressor and the file;
// the default handler would end the process instead. client_data holds the
// file's name for the message.
[[noreturn]] void throwFor(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX] = {};
    (*info->err->format_message)(info, message);
    throw JpegError(*static_cast<const std::string*>(info->client_data) + ": " + message);
}

void onError(j_common_ptr info) {
    throwFor(info);
}

// Warnings are recoverable, except running out of data: libjpeg would pad the
// rest of the picture with grey and call it a success.
void onMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
        throwFor(info);
    }
    if (level < 0) {
        ++info->err->num_warnings;
    }
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The decompressor with its header read. Creation and the steps that may
// throw are apart, so a throw never skips jpeg_destroy_decompress.
class Decompressor {
public:
    explicit Decompressor(const std::filesystem::path& path) : name_(path.string()) {
        info_.err = jpeg_std_error(&errors_);
        errors_.error_exit = onError;
        errors_.emit_message = onMessage;
        jpeg_create_decompress(&info_);
        info_.client_data = &name_;
    }
    ~Decompressor() { jpeg_destroy_decompress(&info_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct& readHeader(const std::filesystem::path& path) {
        file_.reset(std::fopen(path.c_str(), "rb"));
        if (!file_) {
            throw JpegError(name_ + ": cannot open the file");
        }
        jpeg_stdio_src(&info_, file_.get());
        jpeg_read_header(&info_, TRUE);
        return info_;
    }

private:
    std::string name_;
    jpeg_error_mgr errors_{};
    jpeg_decompress_struct info_{};
    std::unique_ptr<std::FILE, FileCloser> file_; // closed before info_ is destroyed
};

// Picks the strongest DCT scaling whose output is still large enough.
void chooseScale(jpeg_decompress_struct& info, int minWidth, int minHeight) {
    constexpr std::array<unsigned, 3> denominators = {8, 4, 2};
    info.scale_num = 1;
    for (const unsigned denominator : denominators) {
        info.scale_denom = denominator;
        jpeg_calc_output_dimensions(&info);
        if (static_cast<int>(info.output_width) >= minWidth &&
            static_cast<int>(info.output_height) >= minHeight) {
            return;
        }
    }
    info.scale_denom = 1;
}

} // namespace

std::optional<JpegSize> jpegNaturalSize(const std::filesystem::path& file) {
    try {
        Decompressor decompressor(file);
        const jpeg_decompress_struct& info = decompressor.readHeader(file);
        return JpegSize{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
    } catch (const JpegError&) {
        return std::nullopt;
    }
}

DecodedImage decodeJpeg(const std::filesystem::path& file, int minWidth, int minHeight) {
    Decompressor decompressor(file);
    jpeg_decompress_struct& info = decompressor.readHeader(file);
    // BGRA rather than BGRX: the same layout, but libjpeg-turbo then promises
    // 0xFF in the fourth byte, which a 0xffRRGGBB pixel needs.
    info.out_color_space = JCS_EXT_BGRA;
    if (minWidth > 0 || minHeight > 0) {
        chooseScale(info, minWidth, minHeight);
    }
    jpeg_start_decompress(&info);

    DecodedImage image;
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    const std::size_t stride = static_cast<std::size_t>(image.width) * 4;
    image.pixels.resize(stride * static_cast<std::size_t>(image.height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.pixels.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return image;
}

} // namespace zob
