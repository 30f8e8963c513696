#include "gui/seriescontroller.h"

#include "app/appcontext.h"
#include "app/seriesactions.h"
#include "catalogue/memberlists.h"
#include "download/seriesdownload.h"
#include "download/threadmanager.h"
#include "gui/mainmenus.h"
#include "gui/mainparts.h"
#include "gui/navigator.h"
#include "gui/views/archiveimageview.h"
#include "gui/views/contentsview.h"
#include "gui/views/listview.h"
#include "gui/views/loadstatstrip.h"
#include "gui/views/seriespopup.h"
#include "gui/workerevents.h"

#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenu>
#include <QTabWidget>
#include <QUrl>

namespace zob {

SeriesController::SeriesController(MainParts& parts)
    : parts_(parts),
      popup_(new SeriesPopup([this](SeriesCommand command, int tag,
                                    const QString& name) { seriesCommand(command, tag, name); },
                             &parts.window)) {}

// --- opening a series

void SeriesController::openSeries(const SeriesPtr& series, Resolution resolution) {
    if (!series) {
        return;
    }
    if (series->isMovie) {
        openUrlOf(series);
        return;
    }
    SeriesContentsView& contents = *parts_.contentsView;
    if (contents.contentsSeries() == series && series->pictureJob) {
        parts_.context.prompt.showMessage("", "Cannot Download now. Please wait");
        setBusyCursor(false);
        return;
    }
    contents.setContentsSeries(series);
    setBusyCursor(true);
    parts_.tabs->setCurrentWidget(&contents);
    parts_.navigator->clearSelection();
    const ArtListPtr shown = parts_.navigator->crntArchive();
    if (series->loadingRes.load() == 0 && shown) {
        const int index = shown->indexOfName(*series);
        parts_.strips->create(series, index < 0 ? 0 : index);
        if (index < 0) {
            parts_.strips->placeLoadStats(shown.get());
        }
    }
    showSeriesContents(series, resolution);
}

void SeriesController::showSeriesContents(const SeriesPtr& series, Resolution resolution) {
    AppContext& context = parts_.context;
    if (!context.offlineMode) {
        fetchLogos(*series, true, true, context.fetchEnv());
    }
    parts_.showInSideViewer(series->localLogoFile(false));
    setBusyCursor(false);
    // The application-starting pointer stays until the pictures are complete.
    QApplication::setOverrideCursor(Qt::BusyCursor);
    parts_.contentsView->setTitleDetail(*series);
    parts_.contentsView->initThumbnails();
    WindowMessenger& messenger = parts_.events->messenger();
    startDownload(*series, resolution, messenger, context.offlineMode, context.downloadEnv());
    messenger.send(WindowMessage::updateThreadCount(
        static_cast<std::int32_t>(context.managerRegistry.size())));
    parts_.imageView->updateLogoHint(*series);
}

void SeriesController::openUrlOf(const SeriesPtr& series) const {
    const std::string address = series->resolutionUrl(parts_.menus->resolution());
    parts_.environment.openUrl(QUrl(QString::fromStdString(address)));
}

// --- the series menu

void SeriesController::buildSeriesPopup(const SeriesPtr& series) {
    commandTarget_ = series;
    popup_->apply(buildSeriesMenu(seriesMenuInput(*series, parts_.menus->resolution(),
                                                  parts_.context.offlineMode,
                                                  parts_.menus->offlineSearch())));
}

void SeriesController::popupSeriesMenu(const SeriesPtr& series, QPoint globalPos) {
    buildSeriesPopup(series);
    popup_->menu()->popup(globalPos);
}

QMenu* SeriesController::archivePopup() const {
    return popup_->menu();
}

void SeriesController::seriesCommand(SeriesCommand command, int tag, const QString& entryName) {
    switch (command) {
    case SeriesCommand::openUrl:
        if (commandTarget_) {
            openUrlOf(commandTarget_);
        }
        break;
    case SeriesCommand::load:
    case SeriesCommand::resume:
        openSeries(commandTarget_, tagToResolution(tag));
        break;
    case SeriesCommand::stopOrDelete:
        stopOrDelete(tagToResolution(tag));
        break;
    case SeriesCommand::remove:
        deletePictures(tagToResolution(tag));
        break;
    case SeriesCommand::addFavorite:
        addFavorite();
        break;
    case SeriesCommand::removeFavorite:
        removeFavorite();
        break;
    case SeriesCommand::addBad:
        addBad();
        break;
    case SeriesCommand::removeBad:
        removeBad();
        break;
    case SeriesCommand::searchModel:
        parts_.navigator->searchModel(commandTarget_, entryName);
        break;
    case SeriesCommand::searchPhoto:
        parts_.navigator->searchPhotographer(commandTarget_);
        break;
    case SeriesCommand::showPics:
        // Offered because the current resolution is all on disk: that is
        // the one to show, in the external viewer's stead when none is set.
        if (parts_.context.configInfo.viewerCmd.empty()) {
            parts_.viewPictures(commandTarget_, parts_.menus->resolution(), 1);
        } else {
            openSeries(commandTarget_, parts_.menus->resolution());
        }
        break;
    }
}

void SeriesController::stopOrDelete(Resolution resolution) {
    const SeriesPtr series = commandTarget_;
    if (!series) {
        return;
    }
    const PromptAnswer answer = parts_.context.prompt.askYesNoCancel(
        "confirmation",
        "Are you sure to Stop&Delete ALL PICTURES?\rYES\tStop and Delete\rNO\tOnly Stop "
        "Downloading\rCANCEL\tContinue to Download",
        PromptAnswer::No);
    if (answer == PromptAnswer::Cancel) {
        return;
    }
    stopSeriesDownloads(*series);
    if (answer == PromptAnswer::Yes) {
        // The pictures in hand still arrive after the stop; deleting now
        // would leave them behind. The files go once the downloads ended.
        pendingDeletes_.push_back({series, resolution});
        deletePendingPictures(*series);
    }
}

void SeriesController::deletePendingPictures(const SeriesRec& series) {
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

void SeriesController::deletePictures(Resolution resolution) {
    const SeriesPtr series = commandTarget_;
    if (!series || parts_.context.prompt.askYesNo(
                       "confirmation", "Are you sure to DELETE pictures?") != PromptAnswer::Yes) {
        return;
    }
    // The thumbnails' entry is "ALL PICS": every resolution goes.
    deleteSeriesPictures(*series,
                         resolution == resThumb ? std::nullopt : std::optional(resolution));
    refreshSeriesViews(*series);
}

// --- favorites and the bad list

void SeriesController::toggleFavorite() {
    const ArtListPtr& favorites = parts_.context.loadedArchives.favoriteList;
    if (commandTarget_ && favorites && favorites->indexOfName(*commandTarget_) >= 0) {
        removeFavorite();
    } else {
        addFavorite();
    }
}

void SeriesController::toggleBad() {
    const ArtListPtr& bad = parts_.context.loadedArchives.badList;
    if (commandTarget_ && bad && bad->indexOfName(*commandTarget_) >= 0) {
        removeBad();
    } else {
        addBad();
    }
}

void SeriesController::addFavorite() {
    if (const SeriesPtr series = commandTarget_; series && hasFavoritesList()) {
        addToFavorites(parts_.context, series);
        favoritesChanged(*series);
    }
}

void SeriesController::removeFavorite() {
    if (const SeriesPtr series = commandTarget_; series && hasFavoritesList()) {
        removeFromFavorites(parts_.context, series);
        favoritesChanged(*series);
    }
}

bool SeriesController::hasFavoritesList() const {
    return dynamic_cast<const FavoriteArtList*>(parts_.context.loadedArchives.favoriteList.get()) !=
           nullptr;
}

void SeriesController::favoritesChanged(const SeriesRec& series) {
    const ArtListPtr& favorites = parts_.context.loadedArchives.favoriteList;
    parts_.menus->setFavoritesEntryEnabled(!favorites->empty());
    // Shown, the favorites list drops or gains the series at once.
    const ArtListPtr shown = parts_.navigator->crntArchive();
    if (shown == favorites && favorites->indexOfName(series) < 0) {
        parts_.navigator->setCrntArchive(shown, 0);
    } else {
        refreshSeriesMarks(series);
    }
}

void SeriesController::addBad() {
    if (commandTarget_ && hasBadList()) {
        addToBadList(parts_.context, commandTarget_);
        refreshSeriesMarks(*commandTarget_);
    }
}

void SeriesController::removeBad() {
    if (commandTarget_ && hasBadList()) {
        removeFromBadList(parts_.context, commandTarget_);
        refreshSeriesMarks(*commandTarget_);
    }
}

bool SeriesController::hasBadList() const {
    return dynamic_cast<const BadArtList*>(parts_.context.loadedArchives.badList.get()) != nullptr;
}

// --- the selection and the views

void SeriesController::tileSelected(const SeriesPtr& series) {
    commandTarget_ = series;
    parts_.menus->setCopyEnabled(true);
    parts_.listView->selectSeriesRow(*series);
    parts_.listView->showSmallCover(*series);
    parts_.menus->showSeriesEntries(series);
}

void SeriesController::refreshSeriesViews(const SeriesRec& series) const {
    parts_.imageView->refreshLogoTile(series);
    parts_.imageView->updateLogoHint(series);
    parts_.listView->updateImgsCell(series);
}

void SeriesController::refreshSeriesMarks(const SeriesRec& series) {
    refreshSeriesViews(series);
    const ArchiveImageView& tiles = *parts_.imageView;
    const ArtListPtr shown = parts_.navigator->crntArchive();
    if (tiles.tileIsSelected() && shown && tiles.selectedIndex() < shown->size() &&
        shown->item(tiles.selectedIndex()).get() == &series) {
        tileSelected(shown->item(tiles.selectedIndex()));
    }
}

void SeriesController::copySelection() const {
    const ArchiveImageView& tiles = *parts_.imageView;
    const SeriesContentsView& contents = *parts_.contentsView;
    const ArtListPtr shown = parts_.navigator->crntArchive();
    const Resolution resolution = parts_.menus->resolution();
    QString text;
    if (tiles.tileIsSelected() && shown && tiles.selectedIndex() < shown->size()) {
        text =
            QString::fromStdString(shown->item(tiles.selectedIndex())->resolutionUrl(resolution));
    } else if (contents.thumbIsSelected() && contents.contentsSeries()) {
        text = QString::fromStdString(
            contents.contentsSeries()->pictureHtmlUrl(resolution, contents.selectedThumb() + 1));
    } else {
        return;
    }
    QApplication::clipboard()->setText(text);
}

} // namespace zob
