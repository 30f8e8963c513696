#include "demosite/jpegencoder.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <memory>
#include <stdexcept>
#include <vector>

namespace demosite {
namespace {

[[noreturn]] void throwOnError(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    throw std::runtime_error(std::string("jpeg encoder: ") + message);
}

// Owns the compressor and the buffer libjpeg allocates for its output.
struct Compressor {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    unsigned char* buffer = nullptr;
    unsigned long bufferSize = 0;

    Compressor() {
        info.err = jpeg_std_error(&errors);
        errors.error_exit = throwOnError;
        jpeg_create_compress(&info);
        jpeg_mem_dest(&info, &buffer, &bufferSize);
    }
    ~Compressor() {
        jpeg_destroy_compress(&info);
        std::free(buffer);
    }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
};

struct Colour {
    int red, green, blue;
};

Colour colourFrom(std::uint64_t bits) {
    return {static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
            static_cast<int>((bits >> 16) & 0xFF)};
}

unsigned char clampByte(int value) {
    return static_cast<unsigned char>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// A vertical gradient, diagonal bands and a bright ellipse standing in for a
// subject, with a little grain so the files have a realistic size.
void paintRow(std::vector<unsigned char>& row, int y, PictureSize size, std::uint64_t pattern,
              std::uint32_t& grain) {
    const Colour base = colourFrom(pattern);
    const Colour accent = colourFrom(pattern >> 24);
    const int bandWidth = 8 + static_cast<int>((pattern >> 48) % 40);
    const int shade = 255 - (y * 140) / size.height;
    const long centreX = size.width / 2;
    const long centreY = size.height / 2;
    const long radiusX = size.width / 3 + 1;
    const long radiusY = size.height / 4 + 1;
    const long dy = y - centreY;
    for (int x = 0; x < size.width; ++x) {
        const long dx = x - centreX;
        const bool inSubject = dx * dx * radiusY * radiusY + dy * dy * radiusX * radiusX <=
                               radiusX * radiusX * radiusY * radiusY;
        const bool inBand = ((x + y) / bandWidth) % 2 == 0;
        Colour colour = inSubject ? accent : base;
        const int light = inSubject ? 255 : (inBand ? shade : shade - 30);
        grain = grain * 1664525u + 1013904223u;
        const int noise = static_cast<int>((grain >> 24) % 7) - 3;
        auto* pixel = &row[static_cast<std::size_t>(x) * 3];
        pixel[0] = clampByte(colour.red * light / 255 + noise);
        pixel[1] = clampByte(colour.green * light / 255 + noise);
        pixel[2] = clampByte(colour.blue * light / 255 + noise);
    }
}

} // namespace

std::string makeJpeg(PictureSize size, std::uint64_t pattern) {
    if (size.width <= 0 || size.height <= 0) {
        throw std::runtime_error("jpeg encoder: empty picture");
    }
    Compressor compressor;
    jpeg_compress_struct& info = compressor.info;
    info.image_width = static_cast<JDIMENSION>(size.width);
    info.image_height = static_cast<JDIMENSION>(size.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);

    std::vector<unsigned char> row(static_cast<std::size_t>(size.width) * 3);
    auto grain = static_cast<std::uint32_t>(pattern ^ (pattern >> 32));
    while (info.next_scanline < info.image_height) {
        paintRow(row, static_cast<int>(info.next_scanline), size, pattern, grain);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    return std::string(reinterpret_cast<const char*>(compressor.buffer), compressor.bufferSize);
}

} // namespace demosite
