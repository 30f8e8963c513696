// Opening a series and the commands of the series menu, the Edit menu's
// Copy and the searches from the menus.

#include "app/appcontext.h"
#include "app/searchcommands.h"
#include "app/seriesactions.h"
#include "catalogue/artlistlist.h"
#include "catalogue/memberlists.h"
#include "download/seriesdownload.h"
#include "download/threadmanager.h"
#include "gui/displaytext.h"
#include "gui/views/contentsview.h"
#include "gui/views/imageform.h"
#include "gui/views/loadstatstrip.h"
#include "gui/views/seriespopup.h"
#include "gui/zobrowsermain.h"
#include "search/offlinescan.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QUrl>
#include <filesystem>

namespace zob {

// --- opening a series

void TZoBrowserMain::openSeries(const SeriesPtr& series, Resolution resolution) {
    if (!series) {
        return;
    }
    if (series->isMovie) {
        openUrl(series->resolutionUrl(crntResolution()));
        return;
    }
    if (contentsView->contentsSeries() == series && series->pictureJob) {
        context_.prompt.showMessage("", "Cannot Download now. Please wait");
        setBusyCursor(false);
        return;
    }
    contentsView->setContentsSeries(series);
    setBusyCursor(true);
    mainTab->setCurrentWidget(contentsView);
    clearSelection();
    if (series->loadingRes.load() == 0 && crntArchive_) {
        const int index = crntArchive_->indexOfName(*series);
        strips_->create(series, index < 0 ? 0 : index);
        if (index < 0) {
            strips_->placeLoadStats(crntArchive_.get());
        }
    }
    showSeriesContents(series, resolution);
}

void TZoBrowserMain::showSeriesContents(const SeriesPtr& series, Resolution resolution) {
    if (!context_.offlineMode) {
        fetchLogos(*series, true, true, context_.fetchEnv());
    }
    showInSideViewer(series->localLogoFile(false));
    setBusyCursor(false);
    // The application-starting pointer stays until the pictures are complete.
    QApplication::setOverrideCursor(Qt::BusyCursor);
    contentsView->setTitleDetail(*series);
    contentsView->initThumbnails();
    startDownload(*series, resolution, messenger(), context_.offlineMode, context_.downloadEnv());
    messenger().send(WindowMessage::updateThreadCount(
        static_cast<std::int32_t>(context_.managerRegistry.size())));
    imageView->updateLogoHint(*series);
}

void TZoBrowserMain::openSeriesAtCurrentResolution(const SeriesPtr& series) {
    openSeries(series, crntResolution());
}

void TZoBrowserMain::openUrl(const std::string& address) {
    environment_.openUrl(QUrl(QString::fromStdString(address)));
}

void TZoBrowserMain::openFolder(const std::string& folder) {
    environment_.openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
}

// --- the series menu

void TZoBrowserMain::buildSeriesPopup(const SeriesPtr& series) {
    commandTarget_ = series;
    seriesPopup_->apply(buildSeriesMenu(
        seriesMenuInput(*series, crntResolution(), context_.offlineMode, offlineSearch_)));
}

void TZoBrowserMain::popupSeriesMenu(const SeriesPtr& series, QPoint globalPos) {
    buildSeriesPopup(series);
    seriesPopup_->menu()->popup(globalPos);
}

QMenu* TZoBrowserMain::archivePopup() const {
    return seriesPopup_->menu();
}

void TZoBrowserMain::seriesCommand(SeriesCommand command, int tag, const QString& entryName) {
    switch (command) {
    case SeriesCommand::openUrl:
        openSeriesUrl();
        break;
    case SeriesCommand::load:
    case SeriesCommand::resume:
        ppLoadAction(tag);
        break;
    case SeriesCommand::stopOrDelete:
        ppStopOrDeleteAction(tag);
        break;
    case SeriesCommand::remove:
        ppDeleteAction(tag);
        break;
    case SeriesCommand::addFavorite:
        ppAddToFavoriteClick();
        break;
    case SeriesCommand::removeFavorite:
        ppRemoveFromFavoriteClick();
        break;
    case SeriesCommand::addBad:
        ppAddToBadClick();
        break;
    case SeriesCommand::removeBad:
        ppRemoveFromBadClick();
        break;
    case SeriesCommand::searchModel:
        ppSearchModelClick(entryName);
        break;
    case SeriesCommand::searchPhoto:
        ppSearchPhotoClick();
        break;
    case SeriesCommand::showPics:
        // Offered because the current resolution is all on disk: that is
        // the one to show.
        openSeries(commandTarget_, crntResolution());
        break;
    }
}

void TZoBrowserMain::openSeriesUrl() {
    if (commandTarget_) {
        openUrl(commandTarget_->resolutionUrl(crntResolution()));
    }
}

void TZoBrowserMain::ppLoadAction(int tag) {
    openSeries(commandTarget_, tagToResolution(tag));
}

void TZoBrowserMain::ppStopOrDeleteAction(int tag) {
    const SeriesPtr series = commandTarget_;
    if (!series) {
        return;
    }
    const PromptAnswer answer = context_.prompt.askYesNoCancel(
        "confirmation",
        "Are you sure to Stop&Delete ALL PICTURES?\r  YES   = Stop and Delete\r  NO    = Only "
        "Stop Downloading\r  CANCEL= Continue to Download",
        PromptAnswer::No);
    if (answer == PromptAnswer::Cancel) {
        return;
    }
    stopSeriesDownloads(*series);
    if (answer == PromptAnswer::Yes) {
        // The pictures in hand still arrive after the stop; deleting now
        // would leave them behind. The files go once the downloads ended.
        pendingDeletes_.push_back({series, tagToResolution(tag)});
        deletePendingPictures(*series);
    }
}

void TZoBrowserMain::deletePendingPictures(const SeriesRec& series) {
    if (series.loadingRes.load() != 0) {
        return;
    }
    for (auto it = pendingDeletes_.begin(); it != pendingDeletes_.end();) {
        if (it->series.get() != &series) {
            ++it;
            continue;
        }
        it->series->deletePictures(it->resolution);
        deleteSeriesPictures(*it->series, resThumb);
        refreshSeriesViews(series);
        it = pendingDeletes_.erase(it);
    }
}

void TZoBrowserMain::ppDeleteAction(int tag) {
    const SeriesPtr series = commandTarget_;
    if (!series || context_.prompt.askYesNo("confirmation", "Are you sure to DELETE pictures?") !=
                       PromptAnswer::Yes) {
        return;
    }
    // The thumbnails' entry is "ALL PICS": every resolution goes.
    const Resolution resolution = tagToResolution(tag);
    deleteSeriesPictures(*series,
                         resolution == resThumb ? std::nullopt : std::optional(resolution));
    refreshSeriesViews(*series);
}

void TZoBrowserMain::ppAddToFavoriteClick() {
    const SeriesPtr series = commandTarget_;
    auto* favorites = dynamic_cast<FavoriteArtList*>(context_.loadedArchives.favoriteList.get());
    if (!series || favorites == nullptr) {
        return;
    }
    addToFavorites(context_, series);
    mFavorite->setEnabled(!favorites->empty());
    refreshSeriesMarks(*series);
}

void TZoBrowserMain::ppRemoveFromFavoriteClick() {
    const SeriesPtr series = commandTarget_;
    auto* favorites = dynamic_cast<FavoriteArtList*>(context_.loadedArchives.favoriteList.get());
    if (!series || favorites == nullptr) {
        return;
    }
    removeFromFavorites(context_, series);
    mFavorite->setEnabled(!favorites->empty());
    if (crntArchive_ == context_.loadedArchives.favoriteList) {
        setCrntArchive(crntArchive_, 0);
    } else {
        refreshSeriesMarks(*series);
    }
}

void TZoBrowserMain::ppAddToBadClick() {
    auto* bad = dynamic_cast<BadArtList*>(context_.loadedArchives.badList.get());
    if (commandTarget_ && bad != nullptr) {
        addToBadList(context_, commandTarget_);
        refreshSeriesMarks(*commandTarget_);
    }
}

void TZoBrowserMain::ppRemoveFromBadClick() {
    auto* bad = dynamic_cast<BadArtList*>(context_.loadedArchives.badList.get());
    if (commandTarget_ && bad != nullptr) {
        removeFromBadList(context_, commandTarget_);
        refreshSeriesMarks(*commandTarget_);
    }
}

void TZoBrowserMain::refreshSeriesViews(const SeriesRec& series) {
    imageView->refreshLogoTile(series);
    imageView->updateLogoHint(series);
    listView->updateImgsCell(series);
}

void TZoBrowserMain::refreshSeriesMarks(const SeriesRec& series) {
    refreshSeriesViews(series);
    if (imageView->tileIsSelected() && crntArchive_ &&
        imageView->selectedIndex() < crntArchive_->size() &&
        crntArchive_->item(imageView->selectedIndex()).get() == &series) {
        tileSelected(crntArchive_->item(imageView->selectedIndex()));
    }
}

void TZoBrowserMain::mCopyClick() {
    QString text;
    if (imageView->tileIsSelected() && crntArchive_ &&
        imageView->selectedIndex() < crntArchive_->size()) {
        text = QString::fromStdString(
            crntArchive_->item(imageView->selectedIndex())->resolutionUrl(crntResolution()));
    } else if (contentsView->thumbIsSelected() && contentsView->contentsSeries()) {
        text = QString::fromStdString(contentsView->contentsSeries()->pictureHtmlUrl(
            crntResolution(), contentsView->selectedThumb() + 1));
    } else {
        return;
    }
    QApplication::clipboard()->setText(text);
}

// --- searches

SearchEnv TZoBrowserMain::searchEnv() {
    OfflineScanSettings scan;
    scan.today = environment_.clock;
    scan.progress = context_.configInfo.noSplash ? nullptr : this;
    scan.temporaryFile = std::filesystem::current_path() / "srchTmp.csv";
    scan.debugLog = &context_.debugLog;
    return SearchEnv{context_,       *this, *browseHistory_, context_.searchKeyInfo, *this,
                     offlineSearch_, scan};
}

void TZoBrowserMain::ppSearchModelClick(const QString& entryName) {
    if (commandTarget_ && browseHistory_) {
        SearchEnv env = searchEnv();
        zob::ppSearchModelClick(env, commandTarget_,
                                searchEntryModelIndex(entryName.toStdString()));
    }
}

void TZoBrowserMain::ppSearchPhotoClick() {
    if (commandTarget_ && browseHistory_) {
        SearchEnv env = searchEnv();
        zob::ppSearchPhotoClick(env, commandTarget_);
    }
}

void TZoBrowserMain::showNotFoundLabel() {
    imageView->ImageViewLabel->setText("NOT FOUND");
}

} // namespace zob
