#include "config/configinfo.h"
#include "demosite/jpegencoder.h"
#include "gui/views/imagefit.h"
#include "gui/views/imageform.h"
#include "gui/views/pictureview.h"
#include "platform/debuglog.h"
#include "platform/jpegdecode.h"
#include "testsupport/filetesting.h"
#include "testsupport/screenshots.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace {

using namespace zob;
namespace fs = std::filesystem;

// Encoding a large picture takes a moment; every test that needs one shares it.
const std::string& largeJpeg() {
    static const std::string bytes = demosite::makeJpeg({4000, 6000}, 0x5EED'0001ull);
    return bytes;
}

void sendMouse(QWidget& target, QEvent::Type type, QPoint position, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(position), QPointF(target.mapToGlobal(position)), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &event);
}

void click(QWidget& target, QPoint position) {
    sendMouse(target, QEvent::MouseButtonPress, position, Qt::LeftButton, Qt::LeftButton);
    sendMouse(target, QEvent::MouseButtonRelease, position, Qt::LeftButton, Qt::NoButton);
}

class ImageFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.switchOn();
        // A window of the design size, whatever the test screen's work area.
        form.resize(525, 675);
    }

    fs::path writeJpeg(const std::string& name, int width, int height,
                       std::uint64_t pattern = 7) const {
        const fs::path path = scratch / name;
        fs::create_directories(path.parent_path());
        writeBytes(path, demosite::makeJpeg({width, height}, pattern));
        return path;
    }

    fs::path writeLarge(const std::string& name) const {
        const fs::path path = scratch / name;
        writeBytes(path, largeJpeg());
        return path;
    }

    long linesWith(const std::string& text) const {
        const std::vector<std::string> lines = log.lines();
        return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
    }

    void showAt(int x, int y) {
        form.move(x, y);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    ScratchFolder scratch;
    configInfoClass config = configInfoClass::defaults(scratch / "ZObrowser.ini");
    DebugLog log;
    TImageForm form{config, log};
};

TEST_F(ImageFormTest, SameFileIsNotLoadedTwice) {
    const fs::path file = writeJpeg("a.jpg", 800, 1200);
    form.setImage(file.string());
    EXPECT_EQ(form.currentFile(), file.string());
    EXPECT_EQ(form.FileNameLabel->text(), QString::fromStdString(file.string()));
    EXPECT_EQ(linesWith("enter setImage: "), 1);
    EXPECT_EQ(linesWith("before LoadFromFile: "), 1);
    EXPECT_EQ(linesWith("after adjustImage: "), 1);

    form.setImage(file.string());
    EXPECT_EQ(linesWith("enter setImage: "), 1);
    EXPECT_EQ(linesWith("before LoadFromFile: "), 1);

    // The file may have been downloaded again: asked for, it is read again.
    form.updateImage();
    EXPECT_EQ(linesWith("before LoadFromFile: "), 2);

    form.setImage(writeJpeg("b.jpg", 300, 200).string());
    EXPECT_EQ(linesWith("before LoadFromFile: "), 3);
}

TEST_F(ImageFormTest, MissingAndEmptyFilesWarnUntilThePictureArrives) {
    const fs::path file = scratch / "late.jpg";
    form.setImage(file.string());
    EXPECT_FALSE(form.WarnLabel->isHidden());
    EXPECT_EQ(form.WarnLabel->text(), "The image hasn't loaded yet.");
    EXPECT_EQ(form.WarnLabel->x(), (form.width() - form.WarnLabel->width()) / 2);
    EXPECT_TRUE(form.LargeLogoImg->image().isNull());
    EXPECT_EQ(linesWith("before LoadFromFile"), 0);

    // While a warning shows, the same path is looked at again.
    writeBytes(file, "");
    form.setImage(file.string());
    EXPECT_EQ(form.WarnLabel->text(), "Image is corrupted");
    EXPECT_FALSE(form.WarnLabel->isHidden());
    EXPECT_TRUE(form.LargeLogoImg->image().isNull());

    writeBytes(file, demosite::makeJpeg({800, 1200}, 3));
    form.setImage(file.string());
    EXPECT_TRUE(form.WarnLabel->isHidden());
    EXPECT_FALSE(form.LargeLogoImg->image().isNull());
    EXPECT_EQ(form.LargeLogoImg->geometry(), QRect(89, 20, 436, 655));

    // A picture that disappears takes its picture with it.
    fs::remove(file);
    form.updateImage();
    EXPECT_EQ(form.WarnLabel->text(), "The image hasn't loaded yet.");
    EXPECT_TRUE(form.LargeLogoImg->image().isNull());
}

TEST_F(ImageFormTest, UndecodableFileReachesTheCaller) {
    const fs::path file = scratch / "broken.jpg";
    writeBytes(file, "<html>not found</html>");
    EXPECT_THROW(form.setImage(file.string()), JpegError);
    EXPECT_TRUE(form.LargeLogoImg->image().isNull());
}

TEST_F(ImageFormTest, LargePictureIsDecodedOnlyAsLargeAsItShows) {
    form.setImage(writeLarge("large.jpg").string());
    // Fitted to 436 x 655, which an eighth (500 x 750) still covers.
    EXPECT_EQ(form.LargeLogoImg->image().size(), QSize(500, 750));
    // Right-aligned, towards the main window.
    EXPECT_EQ(form.LargeLogoImg->geometry(), QRect(89, 20, 436, 655));

    // A larger window needs more pixels; a smaller one makes do.
    form.resize(1200, 1650);
    form.adjustImage();
    EXPECT_EQ(form.LargeLogoImg->size(), QSize(1086, 1630));
    EXPECT_EQ(form.LargeLogoImg->image().size(), QSize(2000, 3000));
    form.resize(300, 400);
    form.adjustImage();
    EXPECT_EQ(form.LargeLogoImg->image().size(), QSize(2000, 3000));
}

TEST_F(ImageFormTest, OriginalSizeShowsEveryPixelAndDrags) {
    form.setImage(writeLarge("large.jpg").string());
    showAt(300, 50);
    form.mnOriginal->trigger();
    EXPECT_EQ(form.LargeLogoImg->image().size(), QSize(4000, 6000));
    EXPECT_EQ(form.LargeLogoImg->geometry(),
              QRect(imagefit::centredOrigin({4000, 6000}, form.size()), QSize(4000, 6000)));

    QWidget& picture = *form.LargeLogoImg;
    const QPoint start = picture.pos();
    const QPoint press(2000, 3000);
    sendMouse(picture, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    // A wobble is no drag.
    sendMouse(picture, QEvent::MouseMove, press + QPoint(3, -3), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(picture.pos(), start);
    sendMouse(picture, QEvent::MouseMove, press + QPoint(40, -25), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(picture.pos(), start + QPoint(40, -25));
    // The picture moved with the pointer, so the press point is under it again.
    sendMouse(picture, QEvent::MouseMove, press + QPoint(5000, 5000), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(picture.pos(), QPoint(0, 20));
    sendMouse(picture, QEvent::MouseMove, press - QPoint(9000, 9000), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(picture.pos(), QPoint(form.width() - 4000, form.height() - 6000));

    // The release ends the drag and nothing else.
    const QSize window = form.size();
    sendMouse(picture, QEvent::MouseButtonRelease, press, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form.size(), window);
    EXPECT_EQ(picture.size(), QSize(4000, 6000));

    // Without the natural size nothing drags.
    form.resize(525, 675);
    click(picture, press);
    ASSERT_NE(picture.size(), QSize(4000, 6000));
    const QPoint fitted = picture.pos();
    sendMouse(picture, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(picture, QEvent::MouseMove, {60, 60}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(picture.pos(), fitted);
}

TEST_F(ImageFormTest, NaturalSizeSurvivesReloadsOnlyUnderThePointer) {
    form.setImage(writeLarge("large.jpg").string());
    showAt(100, 50);
    form.mnOriginal->trigger();

    QCursor::setPos(form.frameGeometry().center());
    if (QCursor::pos() != form.frameGeometry().center()) {
        GTEST_SKIP() << "this platform does not move the pointer";
    }
    form.updateImage();
    EXPECT_EQ(form.LargeLogoImg->size(), QSize(4000, 6000));
    EXPECT_EQ(form.LargeLogoImg->pos(), QPoint(form.width() - 4000, 20));

    QCursor::setPos(form.frameGeometry().bottomRight() + QPoint(50, 50));
    form.updateImage();
    EXPECT_EQ(form.LargeLogoImg->size(), QSize(436, 655));
    EXPECT_EQ(form.LargeLogoImg->image().size(), QSize(500, 750));
}

TEST_F(ImageFormTest, ClickFitsTheWindowToThePictureKeepingItsRightEdge) {
    QWidget mainWindow;
    mainWindow.resize(500, 400);
    form.setMainWindow(&mainWindow);
    form.setImage(writeLarge("large.jpg").string());
    showAt(200, 30);
    const int rightEdge = form.frameGeometry().right();
    const QSize screen = form.screen()->geometry().size();

    click(*form.LargeLogoImg, {20, 20});
    QTest::qWait(20);
    const std::optional<QSize> expected =
        imagefit::windowFitSize({4000, 6000}, screen.width() - mainWindow.frameGeometry().width(),
                                form.screen()->availableGeometry().height() -
                                    (form.frameGeometry().height() - form.height()) - 20);
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(form.size(), QSize(expected->width(), expected->height() + 20));
    EXPECT_EQ(form.LargeLogoImg->geometry(), QRect(QPoint(0, 20), *expected));
    EXPECT_EQ(form.frameGeometry().right(), rightEdge);
    EXPECT_GE(form.LargeLogoImg->image().width(), expected->width());
}

TEST_F(ImageFormTest, SmallPictureGetsItsOwnSize) {
    form.setImage(writeJpeg("small.jpg", 300, 200).string());
    showAt(400, 40);
    const int rightEdge = form.frameGeometry().right();
    click(*form.LargeLogoImg, {5, 5});
    QTest::qWait(20);
    EXPECT_EQ(form.size(), QSize(300, 220));
    EXPECT_EQ(form.LargeLogoImg->geometry(), QRect(0, 20, 300, 200));
    EXPECT_EQ(form.LargeLogoImg->image().size(), QSize(300, 200));
    EXPECT_EQ(form.frameGeometry().right(), rightEdge);
    EXPECT_EQ(form.frameGeometry().top(), 40);
}

TEST(ViewerArgumentsTest, FileIsOneArgumentInPlaceOfTheFirstPercentF) {
    const QString file = "/home/me/my pictures/a b.jpg";
    EXPECT_EQ(viewerArguments("%f", file), QStringList{file});
    EXPECT_EQ(viewerArguments("-view %f --fit", file), (QStringList{"-view", file, "--fit"}));
    // Only the first: a second "%f", in the same argument or a later one, stays.
    EXPECT_EQ(viewerArguments("--in=%f%f %f", file), (QStringList{"--in=" + file + "%f", "%f"}));
    EXPECT_EQ(viewerArguments("\"--title=my viewer\" %f", file),
              (QStringList{"--title=my viewer", file}));
    // Exact case, and no file when there is no place for it.
    EXPECT_EQ(viewerArguments("%F -x", file), (QStringList{"%F", "-x"}));
    EXPECT_EQ(viewerArguments("", file), QStringList{});
}

TEST_F(ImageFormTest, ExternalViewerGetsTheFileAndTheWindowStays) {
    // A viewer that writes its arguments, one a line, and renames the list
    // into place only when it is complete.
    const fs::path script = scratch / "viewer.sh";
    const fs::path written = scratch / "arguments.txt";
    writeBytes(script, "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                           (scratch / "arguments.tmp").string() + "\" && mv \"" +
                           (scratch / "arguments.tmp").string() + "\" \"" + written.string() +
                           "\"\n");
    config.viewerCmd = "/bin/sh";
    config.viewerParam = script.string() + " -view %f";

    const fs::path file = writeJpeg("my pictures/a b.jpg", 800, 1200);
    form.setImage(file.string());
    showAt(300, 30);
    const QRect window = form.geometry();
    const QRect picture = form.LargeLogoImg->geometry();

    click(*form.LargeLogoImg, {10, 10});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::exists(written) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(fs::exists(written)) << "the viewer did not run";
    EXPECT_EQ(readBytes(written), "-view\n" + file.string() + "\n");

    QTest::qWait(20);
    EXPECT_EQ(form.geometry(), window);
    EXPECT_EQ(form.LargeLogoImg->geometry(), picture);
}

TEST_F(ImageFormTest, Screenshot) {
    form.setImage(writeJpeg("2008/mira_kt0413_200803/lores/kt0413_012.jpg", 800, 1200,
                            0x1C00'E0A050'70A0D0ull)
                      .string());
    showAt(0, 0);
    // Showing the window does not move the picture away from the main window.
    EXPECT_EQ(form.LargeLogoImg->geometry(), QRect(89, 20, 436, 655));
    const QString path = zob::testing::saveScreenshot(form, "side_viewer");
    EXPECT_FALSE(QImage(path).isNull());
}

} // namespace
