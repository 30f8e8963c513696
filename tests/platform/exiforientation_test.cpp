#include "platform/exiforientation.h"

#include <gtest/gtest.h>
#include <string>

namespace zob {
namespace {

// A JPEG head: SOI, one APP1 segment holding `tiff` after the EXIF mark, SOS.
std::string jpegWithExif(const std::string& tiff) {
    const std::string body = std::string("Exif\0\0", 6) + tiff;
    const std::size_t length = body.size() + 2;
    std::string jpeg = "\xFF\xD8\xFF\xE1";
    jpeg += static_cast<char>(length >> 8);
    jpeg += static_cast<char>(length & 0xFF);
    return jpeg + body + "\xFF\xDA";
}

// A TIFF block with one entry in its first directory.
std::string tiff(bool bigEndian, unsigned tag, unsigned type, unsigned value) {
    const auto u16 = [bigEndian](unsigned v) {
        const char high = static_cast<char>(v >> 8);
        const char low = static_cast<char>(v & 0xFF);
        return bigEndian ? std::string{high, low} : std::string{low, high};
    };
    std::string block = bigEndian ? "MM" : "II";
    block += u16(42);
    block += bigEndian ? std::string("\0\0\0\x08", 4) : std::string("\x08\0\0\0", 4);
    block += u16(1);
    block += u16(tag) + u16(type) +
             (bigEndian ? std::string("\0\0\0\x01", 4) : std::string("\x01\0\0\0", 4));
    block += u16(value) + u16(0);
    return block;
}

TEST(ExifOrientation, ReadsTheTagInEitherByteOrderAndFallsBackToAsStored) {
    EXPECT_EQ(jpegOrientationOf(jpegWithExif(tiff(false, 0x0112, 3, 6))),
              ExifOrientation::quarterClockwise);
    EXPECT_EQ(jpegOrientationOf(jpegWithExif(tiff(true, 0x0112, 3, 8))),
              ExifOrientation::quarterAnticlockwise);
    EXPECT_TRUE(swapsSides(ExifOrientation::quarterClockwise));
    EXPECT_FALSE(swapsSides(ExifOrientation::halfTurn));

    // No tag, a value out of range, another tag, no EXIF, no JPEG, cut short.
    EXPECT_EQ(jpegOrientationOf(jpegWithExif(tiff(false, 0x0112, 3, 9))),
              ExifOrientation::asStored);
    EXPECT_EQ(jpegOrientationOf(jpegWithExif(tiff(false, 0x010F, 3, 6))),
              ExifOrientation::asStored);
    EXPECT_EQ(jpegOrientationOf("\xFF\xD8\xFF\xDA"), ExifOrientation::asStored);
    EXPECT_EQ(jpegOrientationOf("GIF89a"), ExifOrientation::asStored);
    const std::string whole = jpegWithExif(tiff(false, 0x0112, 3, 6));
    for (std::size_t cut = 0; cut < whole.size() - 2; ++cut) {
        EXPECT_EQ(jpegOrientationOf(whole.substr(0, cut)), ExifOrientation::asStored) << cut;
    }
    EXPECT_EQ(jpegOrientation("/nonexistent/picture.jpg"), ExifOrientation::asStored);
}

} // namespace
} // namespace zob
