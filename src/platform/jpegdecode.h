#pragma once

// JPEG covers and thumbnails, decoded with libjpeg-turbo. Large pictures are
// shrunk while decoding (DCT scaling), which costs a fraction of a full decode.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <vector>

namespace zob {

// A file that is not a readable JPEG: corrupt, truncated, empty or missing.
// The message names the file.
class JpegError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct JpegSize {
    int width = 0;
    int height = 0;
};

// The picture's size as its header states it; nothing when the file is
// missing, empty or no JPEG. Reads the header only.
std::optional<JpegSize> jpegNaturalSize(const std::filesystem::path& file);

// Pixels in rows of width * 4 bytes, each pixel blue, green, red, 0xFF: the
// memory layout of a 32-bit 0xffRRGGBB pixel on a little-endian machine.
struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// Decodes at the smallest of the scales 1/1, 1/2, 1/4, 1/8 that still gives at
// least minWidth x minHeight (0, 0: full size). Grey-scale files come out as
// grey RGB. Throws JpegError for a file that cannot be decoded; libjpeg's
// recoverable warnings are tolerated.
DecodedImage decodeJpeg(const std::filesystem::path& file, int minWidth = 0, int minHeight = 0);

} // namespace zob
