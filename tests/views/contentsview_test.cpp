#include "catalogue/listtesting.h"
#include "demosite/jpegencoder.h"
#include "gui/views/contentsview.h"
#include "gui/views/logotile.h"
#include "gui/views/tilegeometry.h"
#include "platform/scriptedprompt.h"
#include "testsupport/screenshots.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zob {
namespace {

using cataloguetest::addGallery;
using cataloguetest::CatalogueWorld;

// Records what the view asked of the main window.
class FakeHost : public ContentsViewHost {
public:
    Resolution crntResolution() const override { return resolution; }
    bool sideViewerVisible() const override { return sideVisible; }
    void showInSideViewer(const std::string& file) override { sideFiles.push_back(file); }
    void thumbSelected() override { ++selections; }
    void openPicture(const std::string& file) override { openedPictures.push_back(file); }
    void viewPictures(const SeriesPtr& /*series*/, int pictureNumber) override {
        viewed.push_back(pictureNumber);
    }
    void openUrl(const std::string& address) override { urls.push_back(address); }
    void openFolder(const std::string& folder) override { folders.push_back(folder); }
    UserPrompt& prompt() override { return prompts; }

    Resolution resolution = resMid;
    bool sideVisible = true;
    std::vector<std::string> sideFiles;
    int selections = 0;
    std::vector<std::string> openedPictures;
    std::vector<int> viewed;
    std::vector<std::string> urls;
    std::vector<std::string> folders;
    ScriptedPrompt prompts;
};

// Mouse events go straight to the thumbnail: the offscreen platform turns a
// cursor move without a button into no event at all.
void sendMouse(QWidget* target, QEvent::Type type, QPoint point = {10, 10}) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, point, target->mapToGlobal(point), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void click(QWidget* target) {
    sendMouse(target, QEvent::MouseButtonPress);
    sendMouse(target, QEvent::MouseButtonRelease);
}

void writeThumbnail(const std::string& file, std::uint64_t pattern) {
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    std::ofstream(file, std::ios::binary) << demosite::makeJpeg({100, 130}, pattern);
}

class ContentsViewTest : public ::testing::Test {
protected:
    ContentsViewTest() {
        // Room for exactly four columns next to a vertical scroll bar.
        const int scrollBar = view.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        view.resize(4 * SeriesContentsView::cellWidth + scrollBar + 2 * frame() + 10, 400);
        view.show();
        QApplication::processEvents();
        view.setContentsSeries(series);
    }

    int frame() const { return view.seriesBox->frameWidth(); }
    void showThumbnails(int first, int last) {
        for (int n = first; n <= last; ++n) {
            view.showThumbnail(series, n);
        }
    }
    QScrollBar& scrollBar() { return *view.seriesBox->verticalScrollBar(); }
    std::string picture(int n) const { return series->localPictureFile(host.resolution, n); }
    QRect cell(int index) const {
        return tileRectFor(index, view.columns(), SeriesContentsView::cellWidth,
                           SeriesContentsView::cellHeight, SeriesContentsView::margin);
    }

    CatalogueWorld world;
    std::shared_ptr<cataloguetest::NamedList> list = world.named("list.csv");
    SeriesPtr series = addGallery(*list, "ab_cd_200803", 12, "Sunny Day");
    FakeHost host;
    SeriesContentsView view{host};
};

TEST_F(ContentsViewTest, WithoutAContentsSeriesNothingHappens) {
    SeriesContentsView fresh(host);
    EXPECT_EQ(fresh.ImageTitleLabel->text(), "Not Loaded");
    EXPECT_EQ(fresh.imageTitleDetail->text(), "*");
    const QList<QAction*> entries = fresh.seriesPopup->actions();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_TRUE(entries[1]->isSeparator());

    // Without a contents series every command keeps still.
    fresh.OpenDirBtnClick();
    fresh.spOpenUrlClick();
    fresh.spOpenURLPictClick();
    fresh.SeriesImgClick(0);
    fresh.SeriesThumbMouseMove(1);
    fresh.showThumbnail(series, 1);
    EXPECT_TRUE(host.prompts.shown().empty());
    EXPECT_TRUE(host.urls.empty());
    EXPECT_TRUE(host.folders.empty());
    EXPECT_TRUE(host.sideFiles.empty());
    EXPECT_EQ(fresh.thumbnailCount(), 0u);
}

TEST_F(ContentsViewTest, TitleDetailSitsTenPixelsRightOfTheTitle) {
    series->model = "A & B";
    series->photographer = "Ph";
    view.setTitleDetail(*series);
    EXPECT_EQ(view.ImageTitleLabel->text(), "Sunny Day");
    EXPECT_EQ(view.imageTitleDetail->text(), "(A & B/Ph  12  photos)");
    EXPECT_EQ(view.imageTitleDetail->x(),
              view.ImageTitleLabel->x() + view.ImageTitleLabel->width() + 10);
    EXPECT_EQ(view.imageTitleDetail->y(), 7);
    EXPECT_GE(view.ImageTitleLabel->width(),
              view.ImageTitleLabel->fontMetrics().horizontalAdvance("Sunny Day"));

    // A longer title pushes the summary along; the counts the site leaves
    // open read as such.
    const int before = view.imageTitleDetail->x();
    series->title = "A much longer title than before";
    series->photoCount = 999;
    view.setTitleDetail(*series);
    EXPECT_GT(view.imageTitleDetail->x(), before);
    EXPECT_EQ(view.imageTitleDetail->text(), "(A & B/Ph  ??? photos)");
    EXPECT_EQ(view.imageTitleDetail->width(), view.imageTitleDetail->sizeHint().width());
}

TEST_F(ContentsViewTest, ThumbnailsFillTheGridByPictureNumberAndTheBoxScrolls) {
    ASSERT_EQ(view.columns(), 4);
    view.showThumbnail(series, 5);
    ThumbTile* fifth = view.thumbnailOf(5);
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(fifth->parentWidget(), view.thumbContents());
    EXPECT_EQ(fifth->pos(), QPoint(5, 145)) << "second row, first column";
    EXPECT_EQ(fifth->size(), QSize(130, 130));
    EXPECT_TRUE(fifth->isVisible());

    showThumbnails(1, 4);
    showThumbnails(6, 20);
    ASSERT_EQ(view.thumbnailCount(), 20u);
    EXPECT_EQ(view.thumbnail(0), fifth) << "kept in the order they came";
    EXPECT_EQ(view.thumbnailOf(20)->pos(), QPoint(3 * 140 + 5, 4 * 140 + 5));
    EXPECT_GE(view.thumbContents()->height(), 5 * 140 + 5);
    EXPECT_GT(scrollBar().maximum(), 0) << "the contents must outgrow the box";
    EXPECT_EQ(view.columns(), 4) << "the scroll bar appearing keeps the columns";

    view.wheelScroll(-120);
    EXPECT_EQ(scrollBar().value(), 120);
    view.wheelScroll(120);
    EXPECT_EQ(scrollBar().value(), 0);

    // A long series makes thumbnails only in view and a screen around it.
    showThumbnails(21, 2000);
    EXPECT_EQ(view.thumbnailCount(), 2000u);
    EXPECT_EQ(view.thumbnailOf(2000), nullptr);
    scrollBar().setValue(scrollBar().maximum());
    ASSERT_NE(view.thumbnailOf(2000), nullptr);
    EXPECT_EQ(view.thumbnailOf(2000)->pos(), cell(1999).topLeft());
    EXPECT_EQ(view.thumbnailOf(1), nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_LT(view.thumbContents()->findChildren<ThumbTile*>().size(), 100);

    view.initThumbnails();
    EXPECT_EQ(view.thumbnailCount(), 0u);
    EXPECT_TRUE(view.thumbContents()->findChildren<ThumbTile*>().isEmpty());
    EXPECT_EQ(scrollBar().maximum(), 0);
}

TEST_F(ContentsViewTest, AReportWhileScrolledLandsInContentsCoordinates) {
    showThumbnails(2, 24);
    scrollBar().setValue(scrollBar().maximum());
    ASSERT_GT(scrollBar().value(), 140);

    view.showThumbnail(series, 1);
    ThumbTile* first = view.thumbnailOf(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->pos(), QPoint(5, 5));
    EXPECT_EQ(first->mapTo(view.seriesBox->viewport(), QPoint(0, 0)),
              QPoint(5, 5 - scrollBar().value()));
}

TEST_F(ContentsViewTest, LateAndRepeatedReportsKeepTheirOwnCellThroughAResize) {
    view.showThumbnail(series, 3);
    const QPointer<ThumbTile> earlier = view.thumbnailOf(3);
    view.showThumbnail(series, 1);
    view.showThumbnail(series, 3);
    view.showThumbnail(series, 2);

    EXPECT_EQ(view.thumbnailCount(), 3u);
    EXPECT_TRUE(earlier.isNull()) << "the repeated report replaces the thumbnail";
    EXPECT_EQ(view.thumbnail(0)->pictureNumber(), 3);
    for (int n = 1; n <= 3; ++n) {
        ASSERT_NE(view.thumbnailOf(n), nullptr);
        EXPECT_EQ(view.thumbnailOf(n)->pos(), cell(n - 1).topLeft()) << n;
    }

    view.resize(2 * 140 + 40, 300);
    ASSERT_EQ(view.columns(), 2);
    EXPECT_EQ(view.thumbnailOf(3)->pos(), QPoint(5, 145));
    EXPECT_EQ(view.thumbnailOf(2)->pos(), QPoint(145, 5));
    EXPECT_EQ(view.OpenDirBtn->geometry().right(), view.width() - 5 - 1);
    EXPECT_EQ(view.seriesBox->height(), view.height() - 31);
    EXPECT_EQ(view.seriesBox->width(), view.width());

    // Hovering any thumbnail shows its own picture.
    for (int n = 1; n <= 3; ++n) {
        sendMouse(view.thumbnailOf(n), QEvent::MouseMove);
        EXPECT_EQ(host.sideFiles.back(), picture(n));
    }
}

TEST_F(ContentsViewTest, ReportsForAnotherSeriesAddNothing) {
    const SeriesPtr other = addGallery(*list, "ef_gh_200803");
    view.showThumbnail(other, 1);
    view.showThumbnail(nullptr, 1);
    view.showThumbnail(series, 0);
    EXPECT_EQ(view.thumbnailCount(), 0u);
    EXPECT_TRUE(view.thumbContents()->findChildren<ThumbTile*>().isEmpty());
}

TEST_F(ContentsViewTest, MissingOrEmptyThumbnailsShowThePlaceholderWithTheTitle) {
    writeThumbnail(series->localPictureFile(resThumb, 1), 1);
    const std::string empty = series->localPictureFile(resThumb, 2);
    std::ofstream(empty).close();
    std::ofstream(series->localPictureFile(resThumb, 3)) << "not a picture";
    showThumbnails(1, 4);

    EXPECT_EQ(view.thumbnailOf(1)->image().size(), QSize(100, 130));
    const QImage placeholder = noSeriesImage("Sunny Day");
    for (int n = 2; n <= 4; ++n) {
        EXPECT_EQ(view.thumbnailOf(n)->image(), placeholder) << n;
    }
}

TEST_F(ContentsViewTest, ClickSelectsASecondClickOnlyDeselects) {
    showThumbnails(1, 8);
    scrollBar().setValue(0);

    click(view.thumbnailOf(6));
    EXPECT_EQ(host.sideFiles, std::vector<std::string>{picture(6)});
    EXPECT_TRUE(view.thumbIsSelected());
    EXPECT_EQ(view.selectedThumb(), 5);
    EXPECT_EQ(host.selections, 1);
    EXPECT_TRUE(view.thumbBackdrop->isVisible());
    EXPECT_EQ(view.thumbBackdrop->pos(), cell(5).topLeft() - QPoint(5, 5));
    EXPECT_EQ(view.thumbBackdrop->parentWidget(), view.thumbContents());
    EXPECT_EQ(view.thumbContents()->childAt(view.thumbnailOf(6)->geometry().center()),
              view.thumbnailOf(6))
        << "the backdrop lies behind the thumbnail";

    // While one is selected, hovering leaves the side viewer alone.
    sendMouse(view.thumbnailOf(2), QEvent::MouseMove);
    EXPECT_EQ(host.sideFiles.size(), 1u);

    click(view.thumbnailOf(6));
    EXPECT_FALSE(view.thumbIsSelected());
    EXPECT_FALSE(view.thumbBackdrop->isVisible());
    EXPECT_EQ(host.sideFiles.size(), 1u) << "the side viewer keeps its picture";

    click(view.thumbnailOf(2));
    click(view.thumbnailOf(3));
    EXPECT_EQ(host.sideFiles.back(), picture(3));
    EXPECT_EQ(view.selectedThumb(), 2);
    EXPECT_EQ(view.thumbBackdrop->pos(), cell(2).topLeft() - QPoint(5, 5));

    // The selection follows a resize into the cell's new place.
    view.resize(2 * 140 + 40, 300);
    EXPECT_EQ(view.thumbBackdrop->pos(), cell(2).topLeft() - QPoint(5, 5));
    EXPECT_TRUE(view.thumbBackdrop->isVisible());

    view.clearThumbSelection();
    EXPECT_FALSE(view.thumbIsSelected());
    EXPECT_FALSE(view.thumbBackdrop->isVisible());

    // Thumbnails only: the picture shown is the thumbnail file itself.
    host.resolution = resThumb;
    view.SeriesImgClick(0);
    EXPECT_EQ(host.sideFiles.back(), series->localPictureFile(resThumb, 1));
}

TEST_F(ContentsViewTest, HoverPreviewsOnlyIntoAVisibleSideViewer) {
    showThumbnails(1, 3);
    host.sideVisible = false;
    sendMouse(view.thumbnailOf(2), QEvent::MouseMove);
    EXPECT_TRUE(host.sideFiles.empty());

    host.sideVisible = true;
    sendMouse(view.thumbnailOf(2), QEvent::MouseMove);
    EXPECT_EQ(host.sideFiles, std::vector<std::string>{picture(2)});
}

TEST_F(ContentsViewTest, PopupOverAScrolledBoxNamesThePictureUnderThePointer) {
    series->title = "Tom & Jerry";
    showThumbnails(1, 24);
    scrollBar().setValue(280);
    ASSERT_EQ(scrollBar().value(), 280);

    // Second column of the visible first row: row 2 of the contents.
    QWidget* viewport = view.seriesBox->viewport();
    QCursor::setPos(viewport->mapToGlobal(QPoint(150, 10)));
    ASSERT_EQ(view.pictureNumberUnderCursor(), 10);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                view.thumbnailOf(10)->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(view.thumbnailOf(10), &menuEvent);

    EXPECT_TRUE(view.seriesPopup->isVisible());
    EXPECT_EQ(view.popupPictureNumber(), 10);
    EXPECT_EQ(view.spOpenUrl->text(), "Open URL:Tom && Jerry") << "'&' shown, not a mnemonic";
    EXPECT_EQ(view.spOpenURLPict->text(), "Open URL:pict #10");
    view.seriesPopup->hide();

    view.spOpenURLPict->trigger();
    view.spOpenUrl->trigger();
    EXPECT_EQ(host.urls, (std::vector<std::string>{series->pictureHtmlUrl(resMid, 10),
                                                   series->resolutionUrl(resMid)}));
}

TEST_F(ContentsViewTest, OpenDirOpensTheResolutionFolderOrWarns) {
    view.OpenDirBtn->click();
    EXPECT_EQ(host.prompts.shown(),
              (std::vector<ScriptedPrompt::Shown>{{ScriptedPrompt::Kind::Message, "warning",
                                                   "Directory is not found", PromptAnswer::Ok}}));
    EXPECT_TRUE(host.folders.empty());

    const std::filesystem::path folder = std::filesystem::path(picture(1)).parent_path();
    std::filesystem::create_directories(folder);
    view.OpenDirBtn->click();
    EXPECT_EQ(host.folders, std::vector<std::string>{folder.string() + "/"});
    EXPECT_EQ(host.prompts.shown().size(), 1u);

    // The folder follows the current resolution.
    host.resolution = resHigh;
    view.OpenDirBtnClick();
    EXPECT_EQ(host.folders.size(), 1u);
    EXPECT_EQ(host.prompts.shown().size(), 2u);
}

TEST_F(ContentsViewTest, KeysMoveTheSelectionOpenThePictureAndGiveTheMenu) {
    showThumbnails(1, 10); // rows 0-3, 4-7, 8-9; two rows in view
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_TRUE(host.openedPictures.empty()) << "nothing selected yet";

    // The first key selects the first thumbnail in view, the others move on.
    const std::vector<std::pair<Qt::Key, int>> steps{
        {Qt::Key_Right, 0}, {Qt::Key_Right, 1},    {Qt::Key_Down, 5},   {Qt::Key_Down, 9},
        {Qt::Key_Down, 9},  {Qt::Key_Left, 8},     {Qt::Key_Up, 4},     {Qt::Key_End, 9},
        {Qt::Key_Home, 0},  {Qt::Key_PageDown, 8}, {Qt::Key_PageUp, 0}, {Qt::Key_Down, 4}};
    for (const auto& [key, position] : steps) {
        QTest::keyClick(&view, key);
        ASSERT_TRUE(view.thumbIsSelected()) << key;
        EXPECT_EQ(view.selectedThumb(), position) << key;
        EXPECT_EQ(view.thumbBackdrop->pos(), cell(position).topLeft() - QPoint(5, 5)) << key;
        EXPECT_EQ(host.sideFiles.back(), picture(position + 1)) << key;
        // The box keeps the whole frame in view.
        const int top = view.thumbBackdrop->y() - scrollBar().value();
        EXPECT_GE(top, 0) << key;
        EXPECT_LE(top + 140, view.seriesBox->viewport()->height()) << key;
    }
    QTest::keyClick(&view, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(view.selectedThumb(), 4) << "a modified arrow is not a move";

    QTest::keyClick(&view, Qt::Key_Enter);
    EXPECT_EQ(host.openedPictures, std::vector<std::string>{picture(5)});
    // A picture on disk goes to the picture viewer, by key or double click.
    writeThumbnail(picture(5), 5);
    QTest::keyClick(&view, Qt::Key_Enter);
    sendMouse(view.thumbnailOf(5), QEvent::MouseButtonDblClick);
    EXPECT_EQ(host.viewed, (std::vector<int>{5, 5}));
    EXPECT_EQ(host.openedPictures.size(), 1u);

    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        QTest::keyClick(&view, key, modifiers);
        EXPECT_TRUE(view.seriesPopup->isVisible());
        EXPECT_EQ(view.popupPictureNumber(), 5);
        EXPECT_EQ(view.spOpenURLPict->text(), "Open URL:pict #5");
        EXPECT_TRUE(view.thumbnailOf(5)->geometry().contains(
            view.thumbContents()->mapFromGlobal(view.seriesPopup->pos())));
        view.seriesPopup->hide();
    }
}

TEST_F(ContentsViewTest, Screenshot) {
    series->model = "Ann & Bea";
    series->photographer = "Carl";
    view.setTitleDetail(*series);
    for (int n = 1; n <= 12; ++n) {
        if (n != 7) {
            writeThumbnail(series->localPictureFile(resThumb, n),
                           static_cast<std::uint64_t>(n) * 0x9E37'79B9'7F4A'7C15ull);
        }
    }
    view.resize(4 * 140 + 60, 480);
    showThumbnails(1, 12);
    view.SeriesImgClick(5);
    QApplication::processEvents();
    const QString path = testing::saveScreenshot(view, "contents_view");
    EXPECT_FALSE(QImage(path).isNull());
}

} // namespace
} // namespace zob
