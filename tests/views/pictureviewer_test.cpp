// The picture viewer: moving through a series, the scale, pictures arriving.

#include "catalogue/listtesting.h"
#include "demosite/jpegencoder.h"
#include "gui/views/pictureviewer.h"
#include "testsupport/screenshots.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace zob {
namespace {

using cataloguetest::addGallery;
using cataloguetest::CatalogueWorld;
using testing::saveScreenshot;

// An EXIF block whose orientation says "turn a quarter clockwise to view".
std::string quarterTurnExif() {
    const std::string tiff("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0", 26);
    const std::string body = std::string("Exif\0\0", 6) + tiff;
    std::string segment = "\xFF\xE1";
    segment += static_cast<char>((body.size() + 2) >> 8);
    segment += static_cast<char>((body.size() + 2) & 0xFF);
    return segment + body;
}

void writeJpeg(const std::string& file, demosite::PictureSize size, std::uint64_t pattern,
               bool quarterTurn = false) {
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    // The seeds of the benchmarks' covers: bright, varied pictures.
    std::string bytes = demosite::makeJpeg(size, 0x9E3779B97F4A7C15ull * pattern);
    if (quarterTurn) {
        bytes.insert(2, quarterTurnExif());
    }
    std::ofstream(file, std::ios::binary) << bytes;
}

void sendWheel(QWidget& target, int delta, Qt::KeyboardModifiers modifiers = {}) {
    const QPointF at(target.width() / 2.0, target.height() / 2.0);
    QWheelEvent event(at, target.mapToGlobal(at), {}, {0, delta}, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&target, &event);
}

class PictureViewerTest : public ::testing::Test {
protected:
    PictureViewerTest() {
        // Pictures 1 to 3 at mid resolution, 3 stored on its side; 4 and 5
        // only as thumbnails.
        for (int n = 1; n <= 5; ++n) {
            writeJpeg(series->localPictureFile(resThumb, n), {100, 75}, n);
        }
        writeJpeg(picture(1), {800, 600}, 11);
        writeJpeg(picture(2), {640, 480}, 12);
        writeJpeg(picture(3), {600, 400}, 13, true);
        viewer.resize(400, 300);
        viewer.show();
    }

    std::string picture(int n) const { return series->localPictureFile(resMid, n); }
    bool decoded() {
        return QTest::qWaitFor([this] { return !viewer.decoding(); }, 5000);
    }
    void key(Qt::Key pressed, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(&viewer, pressed, modifiers);
    }

    CatalogueWorld world;
    std::shared_ptr<cataloguetest::NamedList> list = world.named("list.csv");
    SeriesPtr series = addGallery(*list, "ab_cd_200803", 5, "Sunny");
    PictureViewer viewer;
};

TEST_F(PictureViewerTest, KeysWheelAndClicksMoveThroughTheSeries) {
    viewer.showPictures(series, resMid, 2);
    EXPECT_EQ(viewer.windowTitle(), "2/5 - Sunny");
    const std::vector<std::pair<Qt::Key, int>> steps{
        {Qt::Key_Right, 3}, {Qt::Key_End, 5},      {Qt::Key_Space, 5},    {Qt::Key_Home, 1},
        {Qt::Key_Left, 1},  {Qt::Key_PageDown, 2}, {Qt::Key_Backspace, 1}};
    for (const auto& [pressed, number] : steps) {
        key(pressed);
        EXPECT_EQ(viewer.pictureNumber(), number) << pressed;
    }
    sendWheel(viewer, -120);
    EXPECT_EQ(viewer.pictureNumber(), 2);
    QTest::mouseClick(&viewer, Qt::LeftButton, {}, QPoint(380, 150));
    EXPECT_EQ(viewer.pictureNumber(), 3);
    QTest::mouseClick(&viewer, Qt::LeftButton, {}, QPoint(20, 150));
    EXPECT_EQ(viewer.pictureNumber(), 2);
    QTest::mouseClick(&viewer, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_EQ(viewer.pictureNumber(), 2) << "the middle third turns no page";

    key(Qt::Key_S);
    EXPECT_TRUE(viewer.slideshowRunning());
    EXPECT_EQ(viewer.windowTitle(), "2/5 - Sunny (slideshow)");
    viewer.setSlideshowInterval(std::chrono::milliseconds(100));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !viewer.slideshowRunning(); }, 5000));
    EXPECT_EQ(viewer.pictureNumber(), 5) << "the slideshow stops at the last picture";

    key(Qt::Key_F11);
    EXPECT_TRUE(viewer.isFullScreen());
    key(Qt::Key_Escape);
    EXPECT_FALSE(viewer.isFullScreen());
    EXPECT_TRUE(viewer.isVisible());
    key(Qt::Key_Escape);
    EXPECT_FALSE(viewer.isVisible());
}

TEST_F(PictureViewerTest, FitsZoomsDragsAndTurnsAsTheCameraMeant) {
    viewer.showPictures(series, resMid, 1);
    ASSERT_TRUE(decoded());
    EXPECT_TRUE(viewer.fitted());
    EXPECT_EQ(viewer.shownImage().size(), QSize(400, 300)) << "decoded at the size it shows";
    saveScreenshot(viewer, "viewer_fitted");

    key(Qt::Key_1);
    ASSERT_TRUE(decoded());
    EXPECT_DOUBLE_EQ(viewer.scale(), 1.0);
    EXPECT_EQ(viewer.shownImage().size(), QSize(800, 600));
    saveScreenshot(viewer, "viewer_actual_size");
    key(Qt::Key_Plus);
    EXPECT_DOUBLE_EQ(viewer.scale(), 1.25);
    sendWheel(viewer, 120, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(viewer.scale(), 1.5625);
    key(Qt::Key_Minus);
    key(Qt::Key_Minus);
    EXPECT_DOUBLE_EQ(viewer.scale(), 1.0);
    const QImage before = viewer.grab().toImage();
    QTest::mousePress(&viewer, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseMove(&viewer, QPoint(260, 190));
    QTest::mouseRelease(&viewer, Qt::LeftButton, {}, QPoint(260, 190));
    EXPECT_NE(viewer.grab().toImage(), before) << "the picture follows the drag";
    EXPECT_EQ(viewer.pictureNumber(), 1) << "a drag is no click";
    QTest::mouseDClick(&viewer, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_TRUE(viewer.fitted());

    // Stored 600 x 400, viewed a quarter turned.
    viewer.goTo(3);
    ASSERT_TRUE(decoded());
    EXPECT_EQ(viewer.shownImage().size(), QSize(200, 300));
    EXPECT_LE(viewer.heldBytes(), PictureViewer::memoryBudget);
}

TEST_F(PictureViewerTest, AThumbnailStandsInUntilThePictureArrives) {
    viewer.showPictures(series, resMid, 4);
    ASSERT_TRUE(decoded());
    EXPECT_TRUE(viewer.showsStandIn());
    EXPECT_EQ(viewer.shownImage().size(), QSize(400, 300)) << "the thumbnail, blown up";

    writeJpeg(picture(4), {1600, 1200}, 14);
    viewer.pictureArrived(*series, 4);
    EXPECT_FALSE(viewer.showsStandIn());
    ASSERT_TRUE(decoded());
    EXPECT_EQ(viewer.shownImage().size(), QSize(400, 300));

    // A damaged picture says so instead of showing nothing.
    std::ofstream(picture(5), std::ios::binary) << "\xFF\xD8 not a picture";
    viewer.pictureArrived(*series, 5);
    viewer.goTo(5);
    ASSERT_TRUE(decoded());
    EXPECT_TRUE(viewer.shownImage().isNull());
}

} // namespace
} // namespace zob
