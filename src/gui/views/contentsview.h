#pragma once

#include "catalogue/seriesrec.h"
#include "gui/views/imagetile.h"
#include "gui/views/livetiles.h"

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <cstddef>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;

namespace zob {

class UserPrompt;

// What the series contents tab asks of the main window.
class ContentsViewHost {
public:
    virtual ~ContentsViewHost() = default;
    virtual Resolution crntResolution() const = 0;
    virtual bool sideViewerVisible() const = 0;
    // Loads the side viewer's picture, visible or not.
    virtual void showInSideViewer(const std::string& file) = 0;
    // A thumbnail became the selection: Edit > Copy becomes available.
    virtual void thumbSelected() = 0;
    // Enter on a thumbnail whose picture is not on disk: the side viewer,
    // shown if hidden, tries it.
    virtual void openPicture(const std::string& file) = 0;
    // Enter or a double click on a thumbnail whose picture is on disk: the
    // picture viewer at that picture.
    virtual void viewPictures(const SeriesPtr& series, int pictureNumber) = 0;
    // The desktop's "open" of a web address, in the default browser.
    virtual void openUrl(const std::string& address) = 0;
    // The desktop's "open" of a local folder, in the file manager.
    virtual void openFolder(const std::string& folder) = 0;
    virtual UserPrompt& prompt() = 0;
};

class SeriesContentsView;

// One thumbnail of the contents series: its picture number (from 1), its
// picture centred in the thumbnail square, and the mouse.
class ThumbTile : public ImageTile {
    Q_OBJECT
public:
    static constexpr int side = 130;

    ThumbTile(SeriesContentsView& view, int pictureNumber, QWidget* parent);
    int pictureNumber() const { return pictureNumber_; }

protected:
    void clicked(QPoint position) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    SeriesContentsView& view_;
    int pictureNumber_;
};

// The "Series Contents" tab: the title and summary of one series and its
// thumbnails as they arrive.
class SeriesContentsView : public QWidget {
    Q_OBJECT
public:
    static constexpr int cellWidth = 140;
    static constexpr int cellHeight = 140;
    static constexpr int margin = 5;

    explicit SeriesContentsView(ContentsViewHost& host, QWidget* parent = nullptr);

    QLabel* ImageTitleLabel = nullptr;
    QLabel* imageTitleDetail = nullptr;
    QScrollArea* seriesBox = nullptr;
    QPushButton* OpenDirBtn = nullptr;
    QMenu* seriesPopup = nullptr;
    QAction* spOpenUrl = nullptr;
    QAction* spOpenURLPict = nullptr;
    // Shows as a coloured frame around the selected thumbnail.
    QLabel* thumbBackdrop = nullptr;

    // --- the series shown
    const SeriesPtr& contentsSeries() const { return contentsSeries_; }
    void setContentsSeries(SeriesPtr series);
    // The title, and the summary just right of it.
    void setTitleDetail(const SeriesRec& series);

    // --- thumbnails
    void initThumbnails();
    // Adds the thumbnail of picture `pictureNumber` (from 1) of `series`;
    // reports for any other series than the contents series are ignored, and
    // a second report for one picture replaces its thumbnail.
    void showThumbnail(const SeriesPtr& series, int pictureNumber);
    // Thumbnails are made only in view and a screen around it: the two
    // lookups give null for the others.
    std::size_t thumbnailCount() const { return arrivals_.size(); }
    // The i-th picture reported, in the order the reports came.
    ThumbTile* thumbnail(std::size_t i) const;
    ThumbTile* thumbnailOf(int pictureNumber) const;
    // The scrolled contents of the box: thumbnails and backdrop live there.
    QWidget* thumbContents() const { return contents_; }
    int columns() const;

    // --- selection (positions are 0-based cells)
    void selectThumb(int position);
    void hideThumbSelection();
    void clearThumbSelection();
    bool thumbIsSelected() const { return thumbSelected_; }
    int selectedThumb() const { return selectedPosition_; }
    int pictureNumberUnderCursor() const;

    // --- handlers
    void SeriesImgClick(int position);
    void SeriesThumbMouseMove(int pictureNumber);
    // Its picture in the picture viewer when on disk, else in the side viewer.
    void openThumb(int pictureNumber);
    void OpenDirBtnClick();
    // Names the picture under the pointer in the menu, then shows it.
    void ppSeriesPopup(QPoint globalPos);
    void spOpenUrlClick();
    void spOpenURLPictClick();
    int popupPictureNumber() const { return popupPictureNumber_; }

    void wheelScroll(int delta);
    void layoutForResize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Arrows, Home, End, Page Up and Down move the selection; Enter opens its
    // picture; the menu keys give the menu at it.
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QImage thumbImage(const SeriesRec& series, int pictureNumber) const;
    void placeThumb(ThumbTile& thumb);
    void syncThumbsToView();
    ThumbTile* makeThumb(std::size_t slot);
    void growContents();
    int lastPictureNumber() const;
    // What a click on an unselected thumbnail does.
    void chooseThumb(int position);
    void moveSelectionTo(int position);
    void scrollToThumb(int position);
    void popupMenuFor(int pictureNumber, QPoint globalPos);
    bool popupMenuAtSelection();

    ContentsViewHost& host_;
    QWidget* contents_ = nullptr;
    SeriesPtr contentsSeries_;
    // Slot k holds picture k + 1.
    LiveTiles<ThumbTile> thumbs_;
    std::vector<bool> reported_;
    std::vector<int> arrivals_;
    bool thumbSelected_ = false;
    int selectedPosition_ = 0;
    int popupPictureNumber_ = 0;
};

} // namespace zob
