#pragma once

#include "app/archiveloader.h"
#include "app/downloadevents.h"
#include "app/searchcommands.h"
#include "catalogue/loadstatuslists.h"
#include "gui/views/archiveimageview.h"
#include "gui/views/contentsview.h"
#include "gui/views/listview.h"
#include "gui/views/seriespopup.h"
#include "search/history.h"

#include <QMainWindow>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QDialog;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTabWidget;
class QToolButton;
class QUrl;

namespace zob {

class AppContext;
class GuiMessenger;
class LoadStatStrips;
class TConfigForm;
class TImageForm;
class TsplashForm;

// What the window takes from the world around it; tests replace each part.
struct BrowserEnvironment {
    // Year and month "now": the start month and the Archive menu.
    MonthClock clock = currentYearMonth;
    // Shows a dialog modally and returns its result.
    std::function<int(QDialog&)> runModal;
    // The application is told to end without the close request (start-up
    // abandoned).
    std::function<void()> terminate;
    // The window has closed for good: the message loop may end.
    std::function<void()> closed;
    // The desktop's "open" of an address or a folder.
    std::function<void(const QUrl&)> openUrl;
};

// The browser's main window. It owns the views and the view state, and wires
// the menus, the tool bar and the worker messages to them; what the lists and
// downloads do lives in the core.
class TZoBrowserMain : public QMainWindow,
                       public ArchiveLoaderHost,
                       public SearchWindow,
                       public HistoryView,
                       public ProgressDisplay,
                       public ArchiveImageViewHost,
                       public ListViewHost,
                       public ContentsViewHost {
    Q_OBJECT
public:
    TZoBrowserMain(AppContext& context, BrowserEnvironment environment);
    ~TZoBrowserMain() override;

    // The other windows, made after this one.
    void attachWindows(TConfigForm& configForm, TImageForm& imageForm);

    // --- start-up
    // Runs the start-up once (the first activation, and again while no list
    // became current).
    void FormActivate();
    bool startAborted() const { return startAborted_; }
    void initWindowParts();

    // --- navigation
    void archiveMenuSelect(QAction& entry);
    ArtListPtr loadArchive(ArtListPtr list);
    void setCrntArchive(const ArtListPtr& list, std::int32_t scroll) override;
    void showEmptyArchiveWarning(const ArtList& list);
    void toggleMode();

    // --- worker messages
    WindowMessenger& messenger();
    // Told how long each worker message's handler took (benchmarks).
    using HandlerTimer = std::function<void(const WindowMessage&, std::chrono::nanoseconds)>;
    void setHandlerTimer(HandlerTimer timer) { handlerTimer_ = std::move(timer); }
    void handleWindowMessage(const WindowMessage& message);
    void WM_move(int x, int y);
    void WM_mouseWheel(int delta);

    // --- shutdown
    // The close request: lists saved once, downloads asked to stop, refused
    // while any manager lives.
    bool FormCloseQuery();
    // Handles worker messages until every manager has said its last word,
    // then joins what is left. Safe to call more than once.
    void waitForWorkers();

    // --- a series and its menu
    void openSeries(const SeriesPtr& series, Resolution resolution);
    void showSeriesContents(const SeriesPtr& series, Resolution resolution);
    void buildSeriesPopup(const SeriesPtr& series);
    QMenu* archivePopup() const;
    const SeriesPtr& commandTarget() const { return commandTarget_; }
    void seriesCommand(SeriesCommand command, int tag, const QString& entryName);
    void openSeriesUrl();
    void ppLoadAction(int tag);
    void ppStopOrDeleteAction(int tag);
    void ppDeleteAction(int tag);
    void ppAddToFavoriteClick();
    void ppRemoveFromFavoriteClick();
    void ppAddToBadClick();
    void ppRemoveFromBadClick();
    void ppSearchModelClick(const QString& entryName);
    void ppSearchPhotoClick();
    void mCopyClick();
    LoadStatStrips& loadStatStrips() const { return *strips_; }

    // --- commands
    void setOfflineMode(bool on);
    void setOfflineSearch(bool on) override;
    void histBackwardClick();
    void histForwardClick();
    void historyMenuClick(QAction& entry);
    void mResClick(QAction& entry);
    void configBtnClick();
    void ImageBtnClick();
    void dbgBtnClick();
    void dbgSaveBtnClick();
    Resolution crntResolution() const override;

    // --- state, for the views and tests
    ArtListPtr crntArchive() const override { return crntArchive_; }
    bool offlineMode() const override;
    bool offlineSearch() const { return offlineSearch_; }
    historyList* browseHistory() const { return browseHistory_.get(); }
    TsplashForm* splashForm() const { return splashForm_.get(); }
    int crntYear() const { return crntYear_; }
    int crntMonth() const { return crntMonth_; }
    QString threadStatusText() const;
    QString modeText() const;

    // --- widgets, named as the user knows them
    QTabWidget* mainTab = nullptr;
    ArchiveImageView* imageView = nullptr;
    ArchiveListView* listView = nullptr;
    SeriesContentsView* contentsView = nullptr;
    QWidget* contentsSheet = nullptr;
    QPlainTextEdit* dbgMemo = nullptr;
    QMenu* mArchive = nullptr;
    QMenu* mHistory = nullptr;
    QMenu* mRes = nullptr;
    QMenu* mOption = nullptr;
    QAction* mFavorite = nullptr;
    QAction* mExit = nullptr;
    QAction* mCopy = nullptr;
    QAction* mConfig = nullptr;
    QAction* mResHigh = nullptr;
    QAction* mResMiddle = nullptr;
    QAction* mResLow = nullptr;
    QAction* mResThumb = nullptr;
    QAction* mSideView = nullptr;
    QAction* mAddToFavorite = nullptr;
    QAction* mAddToBad = nullptr;
    QAction* mOfflineSearch = nullptr;
    QAction* mSearchSameModel = nullptr;
    QAction* mSearchSamePhoto = nullptr;
    QAction* mSyncFavorites = nullptr;
    QToolButton* histBackward = nullptr;
    QToolButton* histForward = nullptr;
    QToolButton* imageBtn = nullptr;
    QToolButton* dbgBtn = nullptr;
    QToolButton* dbgSaveBtn = nullptr;
    QLabel* modeStr = nullptr;
    QLabel* statusPanel = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ArchiveLoaderHost
    void clearViewsForLoad() override;
    void closeMainWindow() override;
    // HistoryWindow
    std::int32_t tileScrollPosition() const override;
    void setBusyCursor(bool busy) override;
    void clearSelection() override;
    void setListMenusEnabled(bool enabled) override;
    void showSplash(const std::string& message) override;
    void showImagePage() override;
    // SearchWindow
    void showNotFoundLabel() override;
    // HistoryView
    void setMenuEntries(const std::vector<HistoryMenuEntry>& entries) override;
    void setButtons(bool backEnabled, bool forwardEnabled) override;
    // ProgressDisplay
    void showProgressText(const std::string& text) override;
    // ArchiveImageViewHost and ListViewHost
    FetchEnv fetchEnv() override;
    const configInfoClass& config() const override;
    bool sideViewerVisible() const override;
    void showInSideViewer(const std::string& file) override;
    void tileSelected(const SeriesPtr& series) override;
    void tileDeselected() override;
    void selectTileFromGrid(std::size_t index) override;
    void openSeriesAtCurrentResolution(const SeriesPtr& series) override;
    void showContentsPage() override;
    void popupSeriesMenu(const SeriesPtr& series, QPoint globalPos) override;
    UserPrompt& prompt() override;
    // ContentsViewHost
    void thumbSelected() override;
    void openUrl(const std::string& address) override;
    void openFolder(const std::string& folder) override;

    void buildMenus();
    void buildArchiveMenu();
    void buildToolBar();
    void buildStatusBar();
    void buildTabs();
    void appendMonthEntries();
    void goOffline();
    void switchDebugLogOn();
    void refreshDebugMemo();
    void placeMainWindow();
    void setSplashMessage(const QString& text);
    void releaseSplash();
    void loadMemberLists(bool favorites);
    ArtListPtr listForArchiveEntry(const QString& caption, std::string& kind);
    void onLoadedLogo(std::int32_t index, bool large);
    void onJobEnded(const WindowMessage& message);
    void onUpdateSpec(const SeriesPtr& series);
    void drainJoinsLater();
    // The series' tile, its hint and its row show its state again.
    void refreshSeriesViews(const SeriesRec& series);
    // The same, and the Option menu follows the selected tile's marks.
    void refreshSeriesMarks(const SeriesRec& series);
    // Stop and Delete: the files go once the stopped downloads have ended.
    void deletePendingPictures(const SeriesRec& series);
    void replaceOptionModelEntry(const SeriesPtr& series);
    SearchEnv searchEnv();
    void mainTabChange(int index);
    void layoutViews();

    AppContext& context_;
    BrowserEnvironment environment_;
    std::unique_ptr<GuiMessenger> messenger_;
    HandlerTimer handlerTimer_;
    DeferredJoins joins_;
    bool drainQueued_ = false;
    std::atomic<bool> debugRefreshQueued_{false};

    TConfigForm* configForm_ = nullptr;
    TImageForm* imageForm_ = nullptr;
    std::unique_ptr<TsplashForm> splashForm_;
    std::unique_ptr<historyList> browseHistory_;

    ArtListPtr crntArchive_;
    ArtListPtr loadingList_;
    ArtListPtr loadedList_;
    ArtListPtr stoppedList_;
    ArtListPtr notLoadList_;
    ArtListPtr bestOfList_;
    std::unique_ptr<LoadStatStrips> strips_;
    SeriesPopup* seriesPopup_ = nullptr;
    // The series the menus' series commands act on.
    SeriesPtr commandTarget_;
    struct PendingDelete {
        SeriesPtr series;
        Resolution resolution = resHigh;
    };
    std::vector<PendingDelete> pendingDeletes_;

    int crntYear_ = 0;
    int crntMonth_ = 0;
    int storedResolution_ = 2;
    bool offlineSearch_ = false;
    bool startAborted_ = false;
    bool started_ = false;
    bool closeRequested_ = false;
    bool closing_ = false;
    bool windowPlaced_ = false;
    QActionGroup* resGroup_ = nullptr;
    QActionGroup* historyGroup_ = nullptr;
    QAction* archiveSeparator_ = nullptr;
    bool monthEntriesBuilt_ = false;
};

} // namespace zob
