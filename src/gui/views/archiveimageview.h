#pragma once

#include "catalogue/artlist.h"
#include "gui/views/imagetile.h"
#include "gui/views/livetiles.h"
#include "gui/views/tileimagecache.h"
#include "gui/views/wallkeys.h"

#include <QImage>
#include <QLabel>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class QScrollArea;

namespace zob {

class configInfoClass;
class UserPrompt;
struct FetchEnv;

// What the tile wall asks of the main window.
class ArchiveImageViewHost {
public:
    virtual ~ArchiveImageViewHost() = default;
    virtual ArtListPtr crntArchive() const = 0;
    virtual bool offlineMode() const = 0;
    virtual FetchEnv fetchEnv() = 0;
    virtual const configInfoClass& config() const = 0;
    virtual bool sideViewerVisible() const = 0;
    // Loads the side viewer's picture, visible or not.
    virtual void showInSideViewer(const std::string& file) = 0;
    // A tile became the selection: the list view follows, the series menus
    // target it.
    virtual void tileSelected(const SeriesPtr& series) = 0;
    // The selection went by a second click: the series entries go grey.
    virtual void tileDeselected() = 0;
    virtual void openSeriesAtCurrentResolution(const SeriesPtr& series) = 0;
    virtual void popupSeriesMenu(const SeriesPtr& series, QPoint globalPos) = 0;
    virtual UserPrompt& prompt() = 0;
};

class ArchiveImageView;

// One cover tile: its composed picture, its hint and the mouse.
class LogoTile : public ImageTile {
    Q_OBJECT
public:
    LogoTile(ArchiveImageView& view, std::size_t index, QWidget* parent);
    std::size_t index() const { return index_; }

protected:
    void clicked(QPoint position) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    ArchiveImageView& view_;
    std::size_t index_;
};

// The "Image View" tab: the current list as a wall of cover tiles.
class ArchiveImageView : public QWidget {
    Q_OBJECT
public:
    static constexpr int cellWidth = 133;
    static constexpr int cellHeight = 190;
    static constexpr int margin = 10;
    // About 850 tiles of the usual size: several screens of the largest wall.
    static constexpr std::size_t tileImageBudget = 64u << 20;

    ArchiveImageView(ArchiveImageViewHost& host, QWidget* parent = nullptr);

    QLabel* ImageViewLabel = nullptr;
    QScrollArea* archiveBox = nullptr;
    QLabel* LogoWarning = nullptr;
    // Shows as a coloured frame around the selected tile.
    QLabel* selectionBackdrop = nullptr;

    void initcrntArchiveLogos();
    void showSmallLogo(std::size_t index);
    void placeLogoTile(std::size_t index);
    void refreshLogoTile(const SeriesRec& series);
    void updateLogoHint(const SeriesRec& series);
    void selectLogoTile(std::size_t index);
    void hideLogoSelection();
    // The tile flags only; the window clears the rest of the selection.
    void clearTileSelection();

    void setWarning(const QString& text);
    int scrollPosition() const;
    void setScrollPosition(int position);
    void wheelScroll(int delta);
    // The box follows the tab's height; tiles move only when the column
    // count changed.
    void layoutForResize();
    // Run after every layout of the box (the strips over the tiles follow).
    std::function<void()> afterLayout;
    // A row of the list view chose `index`: shown when this tab is next shown,
    // scrolled so that its row is centred now.
    void selectFromGrid(std::size_t index);
    // This tab became the visible one.
    void tabShown();

    // The scrolled contents of the tile box: tiles and strips live there.
    QWidget* tileContents() const { return contents_; }
    // The tiles announced so far (their series' covers were looked after).
    std::size_t tileCount() const { return tiles_.size(); }
    // Only tiles in view and a screen around it are made; null for the rest.
    LogoTile* tile(std::size_t index) const;
    int columns() const;
    bool tileIsSelected() const { return tileSelected_; }
    std::size_t selectedIndex() const { return selectedIndex_; }
    bool selectionPending() const { return selectionPending_; }
    // The series under the mouse pointer, or null.
    SeriesPtr seriesAtCursor() const;

    // --- the tiles' mouse
    void monthSmallLogoImgClick(std::size_t index);
    void monthSmallLogoImgDblClick(std::size_t index);
    void monthThumbMouseMove(std::size_t index);
    void tileContextMenu(QPoint globalPos);

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Arrows, Home, End, Page Up and Down move the selection; Enter opens its
    // series; the menu keys give its menu; a letter jumps by title.
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    SeriesPtr seriesAt(std::size_t index) const;
    // What a click on an unselected tile does.
    void chooseTile(std::size_t index, const SeriesPtr& series);
    // A key chose the tile: as a click, and the box and the status bar follow.
    void moveSelectionTo(std::size_t index);
    void scrollToTile(std::size_t index);
    bool popupMenuAtSelection();
    WallCells wallCells() const;
    int jumpTarget(const QString& letter) const;
    QImage tileImage(const SeriesRec& series) const;
    // The tile's picture, composed when the cache has let it go.
    QImage cachedTileImage(std::size_t index);
    void growContents();
    // Makes the announced tiles in view and a screen above and below it, and
    // lets go of the others, so a wall of any length costs a few screens.
    void syncTilesToView();
    LogoTile* makeTile(std::size_t index);

    ArchiveImageViewHost& host_;
    QWidget* contents_ = nullptr;
    // One slot per announced tile.
    LiveTiles<LogoTile> tiles_;
    // A wall of thousands keeps only the pictures of the tiles seen last.
    TileImageCache tileImages_{tileImageBudget};
    bool tileSelected_ = false;
    std::size_t selectedIndex_ = 0;
    bool selectionPending_ = false;
    int lastColumns_ = 0;
};

} // namespace zob
