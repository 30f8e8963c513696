#pragma once

#include "catalogue/resolution.h"
#include "catalogue/seriesrec.h"
#include "search/history.h"

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QToolBar;
class QMenu;
class QToolButton;

namespace zob {

struct ArchiveMenuLayout;
struct MainParts;

// The commands of the menus that belong to the window itself.
struct WindowActions {
    std::function<void()> close;
    std::function<void()> configure;
    std::function<void()> toggleSideView;
};

// The menu bar, the tool bar and the status bar of the main window, with the
// state only they keep (the resolution chosen, the offline-search box). The
// commands go to the window's helpers; everything else asks through the
// methods below. Every menu, entry and button has an object name, the one the
// user's manual gives it ("mArchive", "mResLow", "histBackward", ...).
class ThreadPanel;

class MainMenus : public QObject {
    Q_OBJECT
public:
    MainMenus(MainParts& parts, WindowActions actions);

    // --- the Archive and History menus
    // The months and the archive page, once (later calls do nothing).
    void appendMonthEntries(const ArchiveMenuLayout& layout);
    void setListMenusEnabled(bool enabled);
    void setFavoritesEntryEnabled(bool enabled);
    void setHistoryEntries(const std::vector<HistoryMenuEntry>& entries);
    void setHistoryButtons(bool backEnabled, bool forwardEnabled);
    // While a page loads, nothing that would start another one can be chosen.
    void setLoadRunning(bool running);
    // The entry's place in the History menu; -1 when it is not there.
    int historyPosition(const QAction& entry) const;

    // --- the Res menu: a stored number out of range checks "Thumb only" and
    // downloads at low resolution.
    void setStoredResolution(int number) { storedResolution_ = number; }
    void checkResolutionEntry(int number);
    Resolution resolution() const;

    // --- the Option menu, the mode label and the status panel
    bool offlineSearch() const { return offlineSearch_; }
    void setOfflineSearch(bool on);
    // Offline the search can only be offline: its entry goes grey.
    void setOfflineSearchEnabled(bool enabled);
    void showMode(bool offline);
    QString modeText() const;
    // The entries that act on the selected series follow it.
    void showSeriesEntries(const SeriesPtr& series);
    void hideSeriesEntries();
    // Nothing is selected any more: Copy and the series entries go grey.
    void selectionCleared();
    void setCopyEnabled(bool enabled);
    void setSideViewChecked(bool checked);
    // The side viewer shows; nothing changes when it does already.
    void showSideView();

    // --- the filter field: a new list shown empties it
    void clearFilterField();

    // --- the tool bar's debug buttons and the status bar
    void showDebugButtons();
    void setThreadCount(int liveManagers);
    QString threadStatusText() const;

private:
    void buildFileAndEdit();
    void buildArchiveMenu();
    void buildResMenu();
    void buildOptionMenu();
    void buildToolBar();
    void buildStatusBar();
    void buildFilterField(QToolBar& bar);
    void addHistoryKeys();
    QAction* archiveEntry(QMenu* menu, const QString& caption);
    void resEntryChosen(QAction& entry);
    void replaceModelSearchEntry(const SeriesPtr& series);
    // What the lists and the history asked for, less what a load forbids.
    void applyListEntries();

    MainParts& parts_;
    WindowActions actions_;
    int storedResolution_ = 2;
    bool offlineSearch_ = false;
    bool monthEntriesBuilt_ = false;
    bool loadRunning_ = false;
    bool listMenusEnabled_ = true;
    bool backEnabled_ = false;
    bool forwardEnabled_ = false;

    QMenu* mArchive_ = nullptr;
    QMenu* mHistory_ = nullptr;
    QMenu* mOption_ = nullptr;
    QAction* mFavorite_ = nullptr;
    QAction* mCopy_ = nullptr;
    std::vector<QAction*> resEntries_;
    QAction* mSideView_ = nullptr;
    QAction* mAddToFavorite_ = nullptr;
    QAction* mAddToBad_ = nullptr;
    QAction* mOfflineSearch_ = nullptr;
    QAction* mSearchSameModel_ = nullptr;
    QAction* mSearchSamePhoto_ = nullptr;
    QToolButton* histBackward_ = nullptr;
    QToolButton* histForward_ = nullptr;
    QLabel* modeStr_ = nullptr;
    QLineEdit* filterField_ = nullptr;
    ThreadPanel* statusPanel_ = nullptr;
    QActionGroup* resGroup_ = nullptr;
    QActionGroup* historyGroup_ = nullptr;
};

} // namespace zob
