#include "gui/views/namedbitmaps.h"
#include "testsupport/screenshots.h"

#include <QLabel>
#include <QPainter>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace {

using zob::namedBitmap;

struct Named {
    const char* name;
    QSize size;
};
constexpr Named allBitmaps[] = {{"NOIMG_ARCHIVE", {113, 170}}, {"NOIMG_SERIES", {130, 130}},
                                {"FAVORITE", {18, 18}},        {"FAVORITE_MASK", {18, 18}},
                                {"BADMARK", {18, 18}},         {"BADMARK_MASK", {18, 18}},
                                {"STAT_IMG", {8, 20}}};

TEST(NamedBitmaps, SizesFormatAndCache) {
    for (const Named& named : allBitmaps) {
        const QImage& image = namedBitmap(named.name);
        EXPECT_EQ(image.size(), named.size) << named.name;
        EXPECT_EQ(image.format(), QImage::Format_RGB32) << named.name;
        EXPECT_EQ(&namedBitmap(std::string(named.name)), &image) << "drawn once";
    }
    EXPECT_THROW(namedBitmap("NOIMG"), std::out_of_range);
    EXPECT_THROW(namedBitmap("favorite"), std::out_of_range);
}

// Mask black where the mark is opaque and white elsewhere; the mark black
// where transparent and never black where opaque, or the AND/OR copy would
// punch holes.
void expectMarkAndMaskAgree(const char* markName, const char* maskName) {
    const QImage& mark = namedBitmap(markName);
    const QImage& mask = namedBitmap(maskName);
    int opaque = 0;
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 18; ++x) {
            const QRgb maskPixel = mask.pixel(x, y);
            ASSERT_TRUE(maskPixel == qRgb(0, 0, 0) || maskPixel == qRgb(255, 255, 255))
                << maskName << " " << x << ", " << y;
            if (maskPixel == qRgb(255, 255, 255)) {
                EXPECT_EQ(mark.pixel(x, y), qRgb(0, 0, 0)) << markName << " " << x << ", " << y;
            } else {
                ++opaque;
            }
        }
    }
    // Clearly visible, yet not a square block.
    EXPECT_GT(opaque, 18 * 18 / 3) << markName;
    EXPECT_LT(opaque, 18 * 18 * 9 / 10) << markName;
}

TEST(NamedBitmaps, MarksFollowTheMaskConvention) {
    expectMarkAndMaskAgree("FAVORITE", "FAVORITE_MASK");
    expectMarkAndMaskAgree("BADMARK", "BADMARK_MASK");
    // The heart is red at its middle.
    const QColor heart = namedBitmap("FAVORITE").pixelColor(9, 9);
    EXPECT_GT(heart.red(), 150);
    EXPECT_LT(heart.green(), 80);
}

TEST(NamedBitmaps, PlaceholdersKeepTheTitleLineClear) {
    // Callers write the title from y 120 (archive) and 110 (series) down.
    const auto expectPlainRows = [](const char* name, int from, int to) {
        const QImage& image = namedBitmap(name);
        for (int y = from; y <= to; ++y) {
            const QColor colour = image.pixelColor(image.width() / 2, y);
            EXPECT_GT(colour.lightness(), 190) << name << " row " << y;
            for (int x = 4; x < image.width() - 4; ++x) {
                ASSERT_EQ(image.pixel(x, y), image.pixel(4, y)) << name << " " << x << ", " << y;
            }
        }
    };
    expectPlainRows("NOIMG_ARCHIVE", 108, 140);
    expectPlainRows("NOIMG_SERIES", 98, 126);
}

TEST(NamedBitmaps, Screenshot) {
    constexpr int gap = 12;
    QImage sheet(113 + 130 + 5 * (18 * 4) + 8 * 4 + 8 * gap, 170, QImage::Format_RGB32);
    sheet.fill(QColor(90, 110, 130));
    {
        QPainter painter(&sheet);
        int x = 0;
        for (const Named& named : allBitmaps) {
            const QImage& image = namedBitmap(named.name);
            const int scale = image.width() < 50 ? 4 : 1;
            painter.drawImage(QRect(x, 0, image.width() * scale, image.height() * scale), image);
            x += image.width() * scale + gap;
        }
    }
    QLabel label;
    label.setPixmap(QPixmap::fromImage(sheet));
    label.resize(sheet.size());
    zob::testing::saveScreenshot(label, "bitmaps");
}

} // namespace
