#include "demosite/jpegencoder.h"
#include "gui/views/jpegimage.h"
#include "gui/views/logotile.h"
#include "gui/views/namedbitmaps.h"
#include "platform/jpegdecode.h"
#include "testsupport/filetesting.h"
#include "testsupport/screenshots.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

using namespace zob;

constexpr QRgb plain = 0xFF6496FA; // red 100, green 150, blue 250

std::string coverBytes(std::uint64_t pattern = 0x00C0FFEE'4080A0ull) {
    return demosite::makeJpeg({113, 170}, pattern);
}

QImage filled(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Where the marks of a tile go, from the same font the tile uses.
struct MarkRow {
    int y = 0;
    int letterWidth = 0;
};
MarkRow markRow(const QImage& tile, const QString& letters) {
    QFont font = QGuiApplication::font();
    font.setPointSize(14);
    font.setBold(true);
    const QFontMetrics metrics(font, &tile);
    return {tile.height() - metrics.height() - 6 + (metrics.height() - 18) / 2,
            metrics.horizontalAdvance(letters)};
}

// True when the opaque part of the mark lies at (x, y) of the tile.
::testing::AssertionResult markAt(const QImage& tile, int x, int y, std::string_view mark,
                                  std::string_view mask) {
    const QImage& markImage = namedBitmap(mark);
    const QImage& maskImage = namedBitmap(mask);
    for (int row = 0; row < 18; ++row) {
        for (int column = 0; column < 18; ++column) {
            if (maskImage.pixel(column, row) == 0xFF000000 &&
                tile.pixel(x + column, y + row) != markImage.pixel(column, row)) {
                return ::testing::AssertionFailure()
                       << mark << " differs at " << column << ", " << row;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(SplitStatusCode, LettersAndMarks) {
    const StatusMarks favorite = splitStatusCode("TLm-F");
    EXPECT_EQ(favorite.letters, "TLm");
    EXPECT_TRUE(favorite.favorite);
    EXPECT_FALSE(favorite.bad);
    EXPECT_EQ(favorite.markWidth, 18);

    const StatusMarks both = splitStatusCode("tlmhFB");
    EXPECT_EQ(both.letters, "tlmh");
    EXPECT_TRUE(both.favorite && both.bad);
    EXPECT_EQ(both.markWidth, 36);

    const StatusMarks nothing = splitStatusCode("----");
    EXPECT_TRUE(nothing.letters.isEmpty());
    EXPECT_FALSE(nothing.favorite || nothing.bad);
    EXPECT_EQ(nothing.markWidth, 0);

    const StatusMarks onlyBad = splitStatusCode("----B");
    EXPECT_TRUE(onlyBad.letters.isEmpty());
    EXPECT_TRUE(onlyBad.bad);
    EXPECT_EQ(onlyBad.markWidth, 18);
}

TEST(ChooseBrightenSteps, EvenLiftUnlessTheAreaIsReddish) {
    const auto expectSteps = [](BrightenSteps steps, int red, int green, int blue) {
        EXPECT_EQ(steps.red, red);
        EXPECT_EQ(steps.green, green);
        EXPECT_EQ(steps.blue, blue);
    };
    expectSteps(chooseBrightenSteps(100, 100, 100), 8, 8, 8);
    // Black is not "more than half of red" either: it takes the reddish branch.
    expectSteps(chooseBrightenSteps(0, 0, 0), 0, 8, 8);
    // Red at least twice blue: red stays, blue rises by the difference / 8.
    expectSteps(chooseBrightenSteps(20, 100, 200), 0, 8, 22);
    expectSteps(chooseBrightenSteps(100, 30, 240), 0, 26, 17);
    // Exactly twice counts as reddish; a small difference is raised to 8.
    expectSteps(chooseBrightenSteps(50, 100, 100), 0, 8, 8);
    expectSteps(chooseBrightenSteps(40, 90, 100), 0, 8, 8);
}

TEST(BrightenBox, FollowsTheFactorTableAndSaturates) {
    QImage image = filled(30, 40, plain);
    brightenBox(image, 4, 14, 3, 5, {8, 8, 8});

    // Rows 0 .. 24 of the box, columns 3 .. 8 inclusive.
    const int expectedFactors[] = {1, 3, 5, 6, 7, 8, 8, 8, 8, 8, 8, 8, 8,
                                   8, 8, 8, 8, 8, 8, 8, 7, 6, 5, 3, 1};
    for (int i = 0; i < 25; ++i) {
        const int lift = 8 * expectedFactors[i];
        EXPECT_EQ(image.pixel(3, 4 + i), qRgb(100 + lift, 150 + lift, 255)) << "row " << i;
        EXPECT_EQ(image.pixel(8, 4 + i), image.pixel(3, 4 + i)) << "row " << i;
    }
    EXPECT_EQ(image.pixel(2, 10), plain) << "left of the box";
    EXPECT_EQ(image.pixel(9, 10), plain) << "right of the box";
    EXPECT_EQ(image.pixel(5, 3), plain) << "above the box";
    EXPECT_EQ(image.pixel(5, 29), plain) << "below the box";
    EXPECT_EQ(brightenFactor(25), 8);

    QImage reddish = filled(20, 40, qRgb(250, 10, 10));
    brightenBox(reddish, 0, 14, 0, 5, {0, 30, 8});
    EXPECT_EQ(reddish.pixel(0, 5), qRgb(250, 250, 74));
    EXPECT_EQ(reddish.pixel(0, 0), qRgb(250, 40, 18));
}

TEST(BrightenBox, StaysInsideASmallImage) {
    QImage image = filled(6, 5, plain);
    brightenBox(image, -3, 14, 2, 60, {8, 8, 8});
    EXPECT_EQ(image.pixel(1, 0), plain);
    EXPECT_EQ(image.pixel(2, 0), qRgb(100 + 48, 150 + 48, 255)) << "row 3 of the box";
    EXPECT_EQ(image.pixel(5, 4), qRgb(100 + 64, 150 + 64, 255));
}

TEST(DrawMark, ShowsTheTargetWhereTheMarkIsTransparent) {
    const QRgb background = qRgb(10, 200, 30);
    QImage target = filled(40, 30, background);
    drawMark(target, 5, 6, "FAVORITE", "FAVORITE_MASK");

    const QImage& mark = namedBitmap("FAVORITE");
    const QImage& mask = namedBitmap("FAVORITE_MASK");
    int opaque = 0;
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 18; ++x) {
            const bool isOpaque = mask.pixel(x, y) == qRgb(0, 0, 0);
            opaque += isOpaque ? 1 : 0;
            EXPECT_EQ(target.pixel(5 + x, 6 + y), isOpaque ? mark.pixel(x, y) : background)
                << x << ", " << y;
        }
    }
    EXPECT_GT(opaque, 0);
    EXPECT_LT(opaque, 18 * 18);
    EXPECT_EQ(target.pixel(4, 6), background);
    EXPECT_EQ(target.pixel(23, 23), background);
}

TEST(DrawMark, IsClippedAtTheEdges) {
    QImage target = filled(10, 10, qRgb(255, 255, 255));
    drawMark(target, -9, -9, "BADMARK", "BADMARK_MASK");
    drawMark(target, 5, 5, "BADMARK", "BADMARK_MASK");
    drawMark(target, 12, 0, "BADMARK", "BADMARK_MASK");
    // The centre of the mark's circle lands on (0, 0); the far ones only clip.
    EXPECT_NE(target.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(9, 0), qRgb(255, 255, 255));
}

class LogoTile : public ::testing::Test {
protected:
    void SetUp() override { writeBytes(cover, coverBytes()); }
    QImage tile(std::string_view code) const { return buildLogoTile(cover.string(), code); }

    ScratchFolder folder;
    std::filesystem::path cover = folder / "cover.jpg";
};

TEST_F(LogoTile, DashesAloneLeaveTheCoverUntouched) {
    const QImage original = loadJpegImage(cover.string());
    const QImage composed = tile("----");
    EXPECT_EQ(composed.size(), QSize(113, 170));
    EXPECT_EQ(composed, original);
    EXPECT_EQ(tile(""), original);
}

TEST_F(LogoTile, FavoriteAndBadMarksStandTwentyPixelsApart) {
    const QImage both = tile("----FB");
    const MarkRow row = markRow(both, "");
    EXPECT_TRUE(markAt(both, 12, row.y, "FAVORITE", "FAVORITE_MASK"));
    EXPECT_TRUE(markAt(both, 32, row.y, "BADMARK", "BADMARK_MASK"));

    // Alone, the bad mark takes the first place.
    const QImage bad = tile("----B");
    EXPECT_TRUE(markAt(bad, 12, row.y, "BADMARK", "BADMARK_MASK"));
    EXPECT_FALSE(markAt(bad, 32, row.y, "BADMARK", "BADMARK_MASK"));
}

TEST_F(LogoTile, LettersGoOnALightenedBoxBeforeTheMarks) {
    const QImage original = loadJpegImage(cover.string());
    const QImage composed = tile("TLm-F");
    ASSERT_EQ(composed.size(), original.size());
    const MarkRow row = markRow(composed, "TLm");
    EXPECT_TRUE(markAt(composed, 10 + row.letterWidth + 2, row.y, "FAVORITE", "FAVORITE_MASK"));

    // The bottom row of the box (factor 8 on a grey-ish cover) is lighter everywhere.
    const int lastBoxRow = composed.height() - 2;
    const int boxRight = 10 + row.letterWidth + 18;
    for (int x = 10; x <= boxRight; ++x) {
        EXPECT_GE(qGray(composed.pixel(x, lastBoxRow)), qGray(original.pixel(x, lastBoxRow))) << x;
    }
    EXPECT_EQ(composed.pixel(9, lastBoxRow), original.pixel(9, lastBoxRow));
    EXPECT_EQ(composed.pixel(boxRight + 1, lastBoxRow), original.pixel(boxRight + 1, lastBoxRow));
    EXPECT_EQ(composed.pixel(50, 20), original.pixel(50, 20)) << "the top stays as it was";

    int letterPixels = 0;
    for (int y = row.y - 4; y < composed.height(); ++y) {
        for (int x = 10; x < 10 + row.letterWidth; ++x) {
            const QColor colour = composed.pixelColor(x, y);
            letterPixels += colour.red() > 150 && colour.green() < 60 && colour.blue() < 60;
        }
    }
    EXPECT_GT(letterPixels, 30) << "dark red letters";
}

TEST_F(LogoTile, ACoverSmallerThanTheBoxIsComposedSafely) {
    writeBytes(cover, demosite::makeJpeg({20, 12}, 7));
    const QImage composed = tile("TLMH-FB");
    EXPECT_EQ(composed.size(), QSize(20, 12));
}

TEST_F(LogoTile, AnUndecodableCoverThrows) {
    writeBytes(cover, "<html>404</html>");
    EXPECT_THROW(tile("TL--"), JpegError);
}

TEST_F(LogoTile, Screenshot) {
    const QImage composed = tile("TLm-FB");
    const QImage plainTile = tile("tl--");
    const QImage placeholder = noLogoImage("Summer Window");
    QImage sheet(3 * 113 * 3 + 40, 170 * 3, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        painter.drawImage(QRect(0, 0, 339, 510), composed);
        painter.drawImage(QRect(359, 0, 339, 510), plainTile);
        painter.drawImage(QRect(718, 0, 339, 510), placeholder);
    }
    QLabel label;
    label.setPixmap(QPixmap::fromImage(sheet));
    label.resize(sheet.size());
    zob::testing::saveScreenshot(label, "tile_composed");
}

TEST(LoadJpegImage, AgreesWithQtsOwnDecoder) {
    ScratchFolder folder;
    writeBytes(folder / "cover.jpg", coverBytes(0x55AA3311'2299CCull));
    const QImage ours = loadJpegImage((folder / "cover.jpg").string());
    const QImage theirs = QImage(QString::fromStdString((folder / "cover.jpg").string()));
    ASSERT_FALSE(theirs.isNull());
    EXPECT_EQ(ours.format(), QImage::Format_RGB32);
    ASSERT_EQ(ours.size(), theirs.size());
    for (const QPoint point : {QPoint(0, 0), QPoint(56, 85), QPoint(112, 169), QPoint(30, 140)}) {
        const QColor a = ours.pixelColor(point);
        const QColor b = theirs.pixelColor(point);
        EXPECT_NEAR(a.red(), b.red(), 6);
        EXPECT_NEAR(a.green(), b.green(), 6);
        EXPECT_NEAR(a.blue(), b.blue(), 6);
    }
    const QImage small = loadJpegImage((folder / "cover.jpg").string(), 50, 80);
    EXPECT_EQ(small.size(), QSize(57, 85));
}

// The title's pixels: where the image differs from the bare placeholder.
QRect titleArea(const QImage& image, const QImage& bare) {
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != bare.pixel(x, y)) {
                area |= QRect(x, y, 1, 1);
            }
        }
    }
    return area;
}

TEST(Placeholders, TitleIsCentredBelowThePicture) {
    const QRect archive = titleArea(noLogoImage("Mira"), namedBitmap("NOIMG_ARCHIVE"));
    ASSERT_FALSE(archive.isEmpty());
    EXPECT_GE(archive.top(), 120);
    EXPECT_LT(archive.top(), 130);
    EXPECT_NEAR(archive.center().x(), 113 / 2, 3);

    const QRect series = titleArea(noSeriesImage("Mira"), namedBitmap("NOIMG_SERIES"));
    ASSERT_FALSE(series.isEmpty());
    EXPECT_GE(series.top(), 110);
    EXPECT_LT(series.top(), 120);
    EXPECT_NEAR(series.center().x(), 130 / 2, 3);
    EXPECT_EQ(noSeriesImage("x").size(), QSize(130, 130));

    // A title wider than the card keeps clear of both edges and its border.
    const QString longTitle = "An Extraordinarily Long Afternoon by the Lake";
    const QRect cut = titleArea(noLogoImage(longTitle), namedBitmap("NOIMG_ARCHIVE"));
    EXPECT_GE(cut.left(), 2);
    EXPECT_LE(cut.right(), 113 - 3);
    EXPECT_GT(cut.width(), 113 / 2) << "the title's beginning still shows";
}

} // namespace
