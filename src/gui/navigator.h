#pragma once

#include "app/archivelists.h"
#include "app/archiveloader.h"
#include "app/searchcommands.h"
#include "search/history.h"

#include <QString>
#include <functional>
#include <memory>

class QAction;

namespace zob {

struct MainParts;

// Which list is shown: the Archive menu's choice, the history, the searches,
// the mode switch. It answers the loader, the history and the searches in
// the window's name.
class Navigator : public ArchiveLoaderHost,
                  public SearchWindow,
                  public HistoryView,
                  public ProgressDisplay {
public:
    explicit Navigator(MainParts& parts);
    ~Navigator() override;

    ArtListPtr crntArchive() const override { return crntArchive_; }
    int crntYear() const { return crntMonth_.year; }
    int crntMonth() const { return crntMonth_.month; }
    void setCrntMonth(YearMonth month) { crntMonth_ = month; }
    // None until the start-up has made it.
    historyList* browseHistory() const { return history_.get(); }
    void makeHistory();
    // The loader asked the window to close: the start-up goes no further.
    bool closeRequested() const { return closeRequested_; }

    // --- lists
    void archiveMenuSelect(QAction& entry);
    ArtListPtr loadArchive(ArtListPtr list);
    // The list becomes current with its history entry.
    void showAsNew(const ArtListPtr& list);
    void setCrntArchive(const ArtListPtr& list, std::int32_t scroll) override;

    // --- page loads: they run beside the window, one at a time
    void runPageWork(const std::function<void()>& work);
    bool loading() const { return loading_; }
    // Escape, or the splash's cancel: the list shown before stays.
    void cancelLoad();
    // The window closes once the load under way has stopped.
    void closeAfterLoad();

    // --- the filter: the series of the current list that hold `text`; an
    // empty text shows the whole list again where it was scrolled to.
    void applyFilter(const QString& text);

    // --- the history
    void back();
    void forward();
    void historyMenuClick(QAction& entry);

    // --- the mode
    // Every way into or out of offline mode comes here, so the mode label
    // always tells the mode.
    void setOfflineMode(bool on);
    void toggleMode();

    // --- searches for a series' model or photographer
    void searchModel(const SeriesPtr& series, const QString& entryName);
    void searchPhotographer(const SeriesPtr& series);

    // HistoryWindow, also asked by the window's other parts
    void clearSelection() override;
    void setListMenusEnabled(bool enabled) override;
    void showImagePage() override;

private:
    // ArchiveLoaderHost
    void clearViewsForLoad() override;
    void closeMainWindow() override;
    void setOfflineSearch(bool on) override;
    // HistoryWindow
    std::int32_t tileScrollPosition() const override;
    void setBusyCursor(bool busy) override;
    void showSplash(const std::string& message) override;
    // SearchWindow
    void showNotFoundLabel() override;
    // HistoryView
    void setMenuEntries(const std::vector<HistoryMenuEntry>& entries) override;
    void setButtons(bool backEnabled, bool forwardEnabled) override;
    // ProgressDisplay
    void showProgressText(const std::string& text) override;

    void showEmptyArchiveWarning(const ArtList& list);
    SearchEnv searchEnv();

    // A load cancelled after the views were cleared: they show the current
    // list again, where they were.
    void restoreShownList();

    MainParts& parts_;
    ArchiveLists lists_;
    std::unique_ptr<historyList> history_;
    ArtListPtr crntArchive_;
    YearMonth crntMonth_{};
    bool closeRequested_ = false;
    bool loading_ = false;
    bool closeAfterLoad_ = false;
    // The list the filter narrows, and its scroll; none while no filter applies.
    ArtListPtr filterBase_;
    std::int32_t filterBaseScroll_ = 0;
    bool applyingFilter_ = false;
    // The tile box's scroll when the views were cleared for a load.
    std::int32_t scrollBeforeLoad_ = 0;
};

} // namespace zob
