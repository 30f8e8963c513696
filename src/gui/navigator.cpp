#include "gui/navigator.h"

#include "app/appcontext.h"
#include "app/archivechoice.h"
#include "catalogue/memberlists.h"
#include "catalogue/monthlyartlist.h"
#include "download/seriesdownload.h"
#include "gui/besidewindow.h"
#include "gui/displaytext.h"
#include "gui/mainmenus.h"
#include "gui/mainparts.h"
#include "gui/seriesfilter.h"
#include "gui/splashholder.h"
#include "gui/views/archiveimageview.h"
#include "gui/views/contentsview.h"
#include "gui/views/listview.h"
#include "gui/views/loadstatstrip.h"
#include "gui/workerevents.h"
#include "search/offlinescan.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QTabWidget>
#include <QTimer>
#include <filesystem>

namespace zob {

Navigator::Navigator(MainParts& parts)
    : parts_(parts),
      lists_(parts.context, this, parts.environment.clock, &parts.strips->seriesOfStrips()) {}

Navigator::~Navigator() = default;

void Navigator::makeHistory() {
    history_ = std::make_unique<historyList>(parts_.context.configInfo.historyCount, *this);
}

// --- lists

void Navigator::archiveMenuSelect(QAction& entry) {
    if (loading_) {
        return;
    }
    zob::setBusyCursor(true);
    const std::optional<ArchiveChoice> choice = chooseArchiveEntry(fromDisplay(entry.text()));
    if (choice &&
        (choice->entry == ArchiveEntry::month || choice->entry == ArchiveEntry::archivePage)) {
        crntMonth_ = {choice->year, choice->month};
    }
    const ArtListPtr list = choice ? lists_.listFor(*choice) : nullptr;
    if (!list || (crntArchive_ && crntArchive_->isSame(*list))) {
        zob::setBusyCursor(false);
        return;
    }
    const AppContext& context = parts_.context;
    if (!choice->kind.empty() && !context.offlineMode && !context.configInfo.noSplash) {
        parts_.splash->showMessage(QString("loading (%1...)").arg(toDisplay(choice->kind)));
    }
    if (const ArtListPtr loaded = loadArchive(list)) {
        showAsNew(loaded);
    }
    zob::setBusyCursor(false);
    showImagePage();
    clearSelection();
}

ArtListPtr Navigator::loadArchive(ArtListPtr list) {
    return addLoadedArchive(parts_.context, std::move(list), *this);
}

void Navigator::showAsNew(const ArtListPtr& list) {
    if (history_) {
        history_->addEntry(list, parts_.imageView->scrollPosition(), true);
    }
    setCrntArchive(list, 0);
}

void Navigator::setCrntArchive(const ArtListPtr& list, std::int32_t scroll) {
    if (!list) {
        return;
    }
    if (filterBase_ && !applyingFilter_ && list != crntArchive_) {
        // Another list is shown: the filter was the old one's.
        filterBase_.reset();
        parts_.menus->clearFilterField();
    }
    AppContext& context = parts_.context;
    context.dbgLog("setCrntArchive", true);
    ArchiveImageView& tiles = *parts_.imageView;
    tiles.initcrntArchiveLogos();
    parts_.strips->hideLoadStats();
    tiles.hideLogoSelection();
    tiles.setWarning({});
    if (list->empty()) {
        showEmptyArchiveWarning(*list);
    }
    crntArchive_ = list;
    const QString caption = toDisplay(list->caption());
    tiles.ImageViewLabel->setText(caption);
    parts_.listView->setCaption(caption);
    if (history_) {
        history_->refreshHistoryMenu();
    }
    list->rebuild();
    WindowMessenger& messenger = parts_.events->messenger();
    startLogoDownload(*list, messenger, context.offlineMode, context.downloadEnv());
    parts_.listView->fillArchiveGrid();
    messenger.send(WindowMessage::updateThreadCount(
        static_cast<std::int32_t>(context.managerRegistry.size())));
    tiles.setScrollPosition(scroll);
}

void Navigator::showEmptyArchiveWarning(const ArtList& list) {
    QString text = "You don't have downloaded this";
    if (dynamic_cast<const FavoriteArtList*>(&list) != nullptr ||
        dynamic_cast<const BadArtList*>(&list) != nullptr) {
        text = "You don't have my favorite list";
    } else if (const auto* month = dynamic_cast<const monthlyArtList*>(&list)) {
        text = QString("You don't have %1/%2 archives").arg(month->year).arg(month->month);
    } else if (dynamic_cast<const loadingArtList*>(&list) != nullptr) {
        text = "You don't have downloaded yet";
    } else if (const auto* status = dynamic_cast<const statBaseArtList*>(&list)) {
        switch (status->status()) {
        case LoadStatus::downloaded:
            text = "You don't have downloaded yet";
            break;
        case LoadStatus::stopped:
            text = "You don't stop any download";
            break;
        case LoadStatus::notDownloaded:
            text = "You already ALL archives";
            break;
        }
    }
    parts_.imageView->setWarning(text);
    setListMenusEnabled(true);
    if (history_) {
        history_->updateHistoryButtons();
    }
}

// --- page loads

void Navigator::runPageWork(const std::function<void()>& work) {
    loading_ = true;
    parts_.menus->setLoadRunning(true);
    // With no list shown there is nothing to go back to: the start-up's
    // loads run to their end.
    if (crntArchive_) {
        parts_.splash->offerCancel([this] { cancelLoad(); });
    }
    {
        // The load ends here however the work ended.
        const struct LoadEnd {
            Navigator& navigator;
            ~LoadEnd() {
                navigator.loading_ = false;
                navigator.parts_.splash->offerCancel({});
                navigator.parts_.menus->setLoadRunning(false);
            }
        } end{*this};
        runBesideTheWindow(work);
    }
    if (parts_.context.pageLoadCancel) {
        restoreShownList();
    }
    if (closeAfterLoad_) {
        closeAfterLoad_ = false;
        // Once the load's callers have unwound.
        QTimer::singleShot(0, &parts_.window, [this] { parts_.window.close(); });
    }
}

void Navigator::cancelLoad() {
    if (loading_) {
        parts_.context.dbgLog("page load cancelled", true);
        parts_.context.pageLoadCancel = true;
    }
}

void Navigator::closeAfterLoad() {
    closeAfterLoad_ = true;
    cancelLoad();
}

void Navigator::restoreShownList() {
    parts_.splash->release();
    zob::setBusyCursor(false);
    if (crntArchive_) {
        setCrntArchive(crntArchive_, scrollBeforeLoad_);
    }
    setListMenusEnabled(true);
}

// --- the filter

void Navigator::applyFilter(const QString& text) {
    if (loading_ || (!crntArchive_ && !filterBase_)) {
        return;
    }
    applyingFilter_ = true;
    if (text.trimmed().isEmpty()) {
        if (filterBase_) {
            const ArtListPtr base = std::exchange(filterBase_, nullptr);
            setCrntArchive(base, filterBaseScroll_);
        }
    } else {
        if (!filterBase_) {
            filterBase_ = crntArchive_;
            filterBaseScroll_ = parts_.imageView->scrollPosition();
        }
        setCrntArchive(std::make_shared<FilteredArtList>(filterBase_, seriesFilter(text)), 0);
    }
    applyingFilter_ = false;
}

// --- the history

void Navigator::back() {
    if (history_ && !loading_) {
        histBackwardClick(*history_, *this);
    }
}

void Navigator::forward() {
    if (history_ && !loading_) {
        histForwardClick(*history_, *this);
    }
}

void Navigator::historyMenuClick(QAction& entry) {
    const int position = parts_.menus->historyPosition(entry);
    if (!history_ || position < 0 || loading_) {
        return;
    }
    const AppContext& context = parts_.context;
    zob::historyMenuClick(*history_, static_cast<std::size_t>(position), *this,
                          !context.offlineMode, context.configInfo.noSplash);
}

// --- the mode

void Navigator::setOfflineMode(bool on) {
    parts_.context.offlineMode = on;
    parts_.menus->setOfflineSearch(on);
    parts_.menus->setOfflineSearchEnabled(!on);
    parts_.menus->showMode(on);
}

void Navigator::toggleMode() {
    if (loading_) {
        return;
    }
    setOfflineMode(!parts_.context.offlineMode);
    if (!crntArchive_) {
        return;
    }
    // The loader may hand back an earlier month or give up; the list shown
    // stays the one the user had.
    loadArchive(crntArchive_);
    setCrntArchive(crntArchive_, 0);
}

// --- searches

SearchEnv Navigator::searchEnv() {
    AppContext& context = parts_.context;
    OfflineScanSettings scan;
    scan.today = parts_.environment.clock;
    scan.progress = context.configInfo.noSplash ? nullptr : this;
    scan.temporaryFile = std::filesystem::current_path() / "srchTmp.csv";
    scan.debugLog = &context.debugLog;
    return SearchEnv{
        context, *this, *history_, context.searchKeyInfo, *this, parts_.menus->offlineSearch(),
        scan};
}

void Navigator::searchModel(const SeriesPtr& series, const QString& entryName) {
    if (series && history_ && !loading_) {
        SearchEnv env = searchEnv();
        ppSearchModelClick(env, series, searchEntryModelIndex(entryName.toStdString()));
    }
}

void Navigator::searchPhotographer(const SeriesPtr& series) {
    if (series && history_ && !loading_) {
        SearchEnv env = searchEnv();
        ppSearchPhotoClick(env, series);
    }
}

// --- what the loader, the history and the searches ask

void Navigator::clearViewsForLoad() {
    scrollBeforeLoad_ = parts_.imageView->scrollPosition();
    parts_.imageView->setWarning({});
    parts_.imageView->initcrntArchiveLogos();
    parts_.strips->hideLoadStats();
}

void Navigator::closeMainWindow() {
    closeRequested_ = true;
    parts_.window.close();
}

void Navigator::setOfflineSearch(bool on) {
    parts_.menus->setOfflineSearch(on);
}

std::int32_t Navigator::tileScrollPosition() const {
    return parts_.imageView->scrollPosition();
}

void Navigator::setBusyCursor(bool busy) {
    zob::setBusyCursor(busy);
}

void Navigator::clearSelection() {
    parts_.imageView->clearTileSelection();
    parts_.contentsView->clearThumbSelection();
    parts_.menus->selectionCleared();
}

void Navigator::setListMenusEnabled(bool enabled) {
    parts_.menus->setListMenusEnabled(enabled);
}

void Navigator::showSplash(const std::string& message) {
    parts_.splash->showMessage(toDisplay(message));
}

void Navigator::showImagePage() {
    if (QWidget* page = parts_.tabs->currentWidget()) {
        page->setFocus();
    }
    parts_.tabs->setCurrentWidget(parts_.imageView);
}

void Navigator::showNotFoundLabel() {
    parts_.imageView->ImageViewLabel->setText("NOT FOUND");
}

void Navigator::setMenuEntries(const std::vector<HistoryMenuEntry>& entries) {
    parts_.menus->setHistoryEntries(entries);
}

void Navigator::setButtons(bool backEnabled, bool forwardEnabled) {
    parts_.menus->setHistoryButtons(backEnabled, forwardEnabled);
}

void Navigator::showProgressText(const std::string& text) {
    if (!parts_.context.configInfo.noSplash) {
        parts_.splash->showText(toDisplay(text));
    }
}

} // namespace zob
