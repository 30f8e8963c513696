#include "demosite/jpegencoder.h"
#include "platform/jpegdecode.h"
#include "testsupport/filetesting.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using zob::DecodedImage;
using zob::decodeJpeg;
using zob::JpegError;
using zob::jpegNaturalSize;

// A flat picture of one colour (components 3) or one grey (components 1), at
// the best quality so the decoded values stay within a step or two.
std::string flatJpeg(int width, int height, std::vector<unsigned char> colour) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = static_cast<int>(colour.size());
    info.in_color_space = colour.size() == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row;
    for (int x = 0; x < width; ++x) {
        row.insert(row.end(), colour.begin(), colour.end());
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

std::string cover() {
    return demosite::makeJpeg({113, 170}, 0x1234'5678'9ABCull);
}

// Blue, green, red, fourth byte of pixel (x, y).
std::vector<int> pixelAt(const DecodedImage& image, int x, int y) {
    const auto* pixel =
        &image.pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                       static_cast<std::size_t>(x)) *
                      4];
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

void expectNear(const std::vector<int>& actual, const std::vector<int>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], 2) << "byte " << i;
    }
}

TEST(JpegNaturalSize, ComesFromTheHeaderAlone) {
    ScratchFolder folder;
    const std::string bytes = cover();
    writeBytes(folder / "cover.jpg", bytes);
    // Cut inside the picture data: the header is whole, the picture is not.
    writeBytes(folder / "cut.jpg", bytes.substr(0, bytes.size() * 2 / 3));

    for (const char* name : {"cover.jpg", "cut.jpg"}) {
        const auto size = jpegNaturalSize(folder / name);
        ASSERT_TRUE(size.has_value()) << name;
        EXPECT_EQ(size->width, 113);
        EXPECT_EQ(size->height, 170);
    }
    EXPECT_THROW(decodeJpeg(folder / "cut.jpg"), JpegError);
}

TEST(JpegNaturalSize, NothingForMissingEmptyOrForeignFiles) {
    ScratchFolder folder;
    writeBytes(folder / "empty.jpg", "");
    writeBytes(folder / "page.jpg", "<html>not found</html>\n");
    writeBytes(folder / "soi-only.jpg", "\xFF\xD8");

    for (const char* name : {"missing.jpg", "empty.jpg", "page.jpg", "soi-only.jpg"}) {
        EXPECT_FALSE(jpegNaturalSize(folder / name).has_value()) << name;
    }
}

TEST(DecodeJpeg, PixelsAreBlueGreenRedThenOpaque) {
    ScratchFolder folder;
    writeBytes(folder / "red.jpg", flatJpeg(16, 8, {255, 0, 0}));
    writeBytes(folder / "green.jpg", flatJpeg(16, 8, {0, 255, 0}));
    writeBytes(folder / "mixed.jpg", flatJpeg(16, 8, {40, 120, 200}));

    const DecodedImage red = decodeJpeg(folder / "red.jpg");
    ASSERT_EQ(red.width, 16);
    ASSERT_EQ(red.height, 8);
    ASSERT_EQ(red.pixels.size(), 16u * 8u * 4u);
    expectNear(pixelAt(red, 5, 3), {0, 0, 255, 255});
    expectNear(pixelAt(decodeJpeg(folder / "green.jpg"), 15, 7), {0, 255, 0, 255});
    const DecodedImage mixed = decodeJpeg(folder / "mixed.jpg");
    for (int y = 0; y < mixed.height; ++y) {
        for (int x = 0; x < mixed.width; ++x) {
            ASSERT_EQ(pixelAt(mixed, x, y)[3], 255) << "fourth byte must be opaque";
        }
    }
    expectNear(pixelAt(mixed, 0, 0), {200, 120, 40, 255});
}

TEST(DecodeJpeg, GreyScaleFilesComeOutAsGreyColour) {
    ScratchFolder folder;
    writeBytes(folder / "grey.jpg", flatJpeg(40, 30, {100}));

    const DecodedImage grey = decodeJpeg(folder / "grey.jpg");
    ASSERT_EQ(grey.width, 40);
    ASSERT_EQ(grey.height, 30);
    expectNear(pixelAt(grey, 39, 29), {100, 100, 100, 255});
    // Scaling works on grey files too.
    const DecodedImage small = decodeJpeg(folder / "grey.jpg", 5, 4);
    EXPECT_EQ(small.width, 5);
    EXPECT_EQ(small.height, 4);
}

class DecodeScale : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<ScratchFolder>();
        writeBytes(*folder / "big.jpg", flatJpeg(4000, 6000, {90, 140, 60}));
        writeBytes(*folder / "cover.jpg", cover());
    }
    static void TearDownTestSuite() { folder.reset(); }

    static DecodedImage decode(const char* name, int minWidth, int minHeight) {
        return decodeJpeg(*folder / name, minWidth, minHeight);
    }
    static inline std::unique_ptr<ScratchFolder> folder;
};

TEST_F(DecodeScale, UsesTheSmallestScaleThatStillCoversTheRequest) {
    struct Case {
        int minWidth, minHeight, width, height;
    };
    const Case cases[] = {
        {500, 750, 500, 750},    // exactly 1/8
        {501, 750, 1000, 1500},  // one pixel more: 1/4
        {500, 751, 1000, 1500},  // the height decides as well
        {1, 1, 500, 750},        // never smaller than 1/8
        {1001, 0, 2000, 3000},   // 1/2
        {2001, 3000, 4000, 6000} // only full size is enough
    };
    for (const Case& c : cases) {
        const DecodedImage image = decode("big.jpg", c.minWidth, c.minHeight);
        EXPECT_EQ(image.width, c.width) << c.minWidth << " x " << c.minHeight;
        EXPECT_EQ(image.height, c.height) << c.minWidth << " x " << c.minHeight;
        EXPECT_EQ(image.pixels.size(),
                  static_cast<std::size_t>(c.width) * static_cast<std::size_t>(c.height) * 4);
    }
    expectNear(pixelAt(decode("big.jpg", 500, 750), 250, 700), {60, 140, 90, 255});
}

TEST_F(DecodeScale, ScaledSizesRoundUp) {
    // 113 / 8 and 170 / 8 round up to 15 x 22, which covers 15 x 22.
    const DecodedImage eighth = decode("cover.jpg", 15, 22);
    EXPECT_EQ(eighth.width, 15);
    EXPECT_EQ(eighth.height, 22);
    const DecodedImage whole = decode("cover.jpg", 0, 0);
    EXPECT_EQ(whole.width, 113);
    EXPECT_EQ(whole.height, 170);
    const DecodedImage tooLarge = decode("cover.jpg", 400, 600);
    EXPECT_EQ(tooLarge.width, 113) << "asking for more than the picture gives the picture";
}

TEST(DecodeJpeg, BrokenFilesThrowAnErrorNamingTheFile) {
    ScratchFolder folder;
    const std::string bytes = cover();
    std::string badHeader = bytes;
    for (std::size_t i = 2; i < 60; ++i) {
        badHeader[i] = '\x00';
    }
    writeBytes(folder / "empty.jpg", "");
    writeBytes(folder / "text.jpg", "GIF89a or anything else");
    writeBytes(folder / "half.jpg", bytes.substr(0, bytes.size() / 2));
    writeBytes(folder / "headless.jpg", bytes.substr(0, 300));
    writeBytes(folder / "bad-header.jpg", badHeader);

    for (const char* name :
         {"missing.jpg", "empty.jpg", "text.jpg", "half.jpg", "headless.jpg", "bad-header.jpg"}) {
        try {
            decodeJpeg(folder / name, 50, 50);
            ADD_FAILURE() << name << " decoded";
        } catch (const JpegError& error) {
            EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
        }
    }
    // Nothing was left in a bad state: the next good file decodes.
    writeBytes(folder / "good.jpg", bytes);
    EXPECT_EQ(decodeJpeg(folder / "good.jpg").width, 113);
}

TEST(DecodeJpeg, DamagedPictureDataIsAWarningNotAnError) {
    ScratchFolder folder;
    std::string damaged = cover();
    // Garble a stretch of the coded picture (no 0xFF, so no false markers).
    for (std::size_t i = damaged.size() / 2; i < damaged.size() / 2 + 40; ++i) {
        damaged[i] = '\x55';
    }
    writeBytes(folder / "damaged.jpg", damaged);

    const DecodedImage image = decodeJpeg(folder / "damaged.jpg");
    EXPECT_EQ(image.width, 113);
    EXPECT_EQ(image.height, 170);
}

} // namespace
