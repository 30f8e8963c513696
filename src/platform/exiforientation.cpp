#include "platform/exiforientation.h"

#include <cstdint>
#include <fstream>
#include <string>

namespace zob {

namespace {

// Segments before the picture data hold the EXIF block; 256 KiB covers any
// camera's (an APP1 segment is at most 64 KiB, a few may come first).
constexpr std::size_t headerLimit = 256u << 10;

struct Reader {
    std::string_view bytes;
    bool bigEndian = false;

    bool has(std::size_t at, std::size_t count) const {
        return at <= bytes.size() && count <= bytes.size() - at;
    }
    unsigned byte(std::size_t at) const { return static_cast<unsigned char>(bytes[at]); }
    unsigned u16(std::size_t at) const {
        return bigEndian ? (byte(at) << 8) | byte(at + 1) : byte(at) | (byte(at + 1) << 8);
    }
    std::uint32_t u32(std::size_t at) const {
        const std::uint32_t high = u16(bigEndian ? at : at + 2);
        const std::uint32_t low = u16(bigEndian ? at + 2 : at);
        return (high << 16) | low;
    }
};

// The orientation entry of a TIFF block (the body of an EXIF segment after
// its "Exif\0\0" mark); asStored when it has none or is damaged.
ExifOrientation orientationInTiff(std::string_view tiff) {
    Reader tags{tiff};
    if (!tags.has(0, 8)) {
        return ExifOrientation::asStored;
    }
    if (tiff.substr(0, 2) == "MM") {
        tags.bigEndian = true;
    } else if (tiff.substr(0, 2) != "II") {
        return ExifOrientation::asStored;
    }
    const std::uint32_t directory = tags.u32(4);
    if (!tags.has(directory, 2)) {
        return ExifOrientation::asStored;
    }
    const unsigned entries = tags.u16(directory);
    for (unsigned i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + std::size_t{12} * i;
        if (!tags.has(entry, 12)) {
            break;
        }
        // Tag 0x0112, type SHORT (3), one value, kept in the entry itself.
        if (tags.u16(entry) == 0x0112 && tags.u16(entry + 2) == 3) {
            const unsigned value = tags.u16(entry + 8);
            return value >= 1 && value <= 8 ? static_cast<ExifOrientation>(value)
                                            : ExifOrientation::asStored;
        }
    }
    return ExifOrientation::asStored;
}

} // namespace

ExifOrientation jpegOrientationOf(std::string_view bytes) {
    Reader jpeg{bytes, true};
    if (!jpeg.has(0, 2) || jpeg.byte(0) != 0xFF || jpeg.byte(1) != 0xD8) {
        return ExifOrientation::asStored;
    }
    std::size_t at = 2;
    while (jpeg.has(at, 4) && jpeg.byte(at) == 0xFF) {
        const unsigned marker = jpeg.byte(at + 1);
        // The picture data begins: no EXIF block came before it.
        if (marker == 0xDA || marker == 0xD9) {
            break;
        }
        const std::size_t length = jpeg.u16(at + 2);
        if (length < 2 || !jpeg.has(at + 2, length)) {
            break;
        }
        const std::string_view body = bytes.substr(at + 4, length - 2);
        if (marker == 0xE1 && body.substr(0, 6) == std::string_view("Exif\0\0", 6)) {
            return orientationInTiff(body.substr(6));
        }
        at += 2 + length;
    }
    return ExifOrientation::asStored;
}

ExifOrientation jpegOrientation(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string head(headerLimit, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return jpegOrientationOf(head);
}

bool swapsSides(ExifOrientation orientation) {
    return static_cast<int>(orientation) >= 5;
}

} // namespace zob
