// Choosing, loading and showing the current list; the history's commands.

#include "app/appcontext.h"
#include "app/archivechoice.h"
#include "catalogue/loadstatuslists.h"
#include "catalogue/memberlists.h"
#include "catalogue/monthlyartlist.h"
#include "download/seriesdownload.h"
#include "gui/dialogs/splashform.h"
#include "gui/displaytext.h"
#include "gui/views/loadstatstrip.h"
#include "gui/zobrowsermain.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QProgressBar>
#include <QTabWidget>
#include <QToolButton>

namespace zob {

ArtListPtr TZoBrowserMain::listForArchiveEntry(const QString& caption, std::string& kind) {
    const std::optional<ArchiveChoice> choice = chooseArchiveEntry(fromDisplay(caption));
    if (!choice) {
        return nullptr;
    }
    kind = choice->kind;
    ArtListList& registry = context_.loadedArchives;
    DebugLog& log = context_.debugLog;
    switch (choice->entry) {
    case ArchiveEntry::favorites:
        return registry.favoriteList;
    case ArchiveEntry::badList:
        return registry.badList;
    case ArchiveEntry::downloading:
        if (!loadingList_) {
            loadingList_ = std::make_shared<loadingArtList>(registry, &strips_->seriesOfStrips());
        }
        return loadingList_;
    case ArchiveEntry::downloaded:
        if (!loadedList_) {
            loadedList_ = loadedArtList(registry, log, this, environment_.clock);
        }
        return loadedList_;
    case ArchiveEntry::stopped:
        if (!stoppedList_) {
            stoppedList_ = stoppedArtList(registry, log, this, environment_.clock);
        }
        return stoppedList_;
    case ArchiveEntry::notDownloaded:
        if (!notLoadList_) {
            notLoadList_ = notLoadArtList(registry, log, this, environment_.clock);
        }
        return notLoadList_;
    case ArchiveEntry::bestOf:
        if (!bestOfList_) {
            bestOfList_ = std::make_shared<bestOfZelOraArtList>(registry);
        }
        return bestOfList_;
    case ArchiveEntry::archivePage:
    case ArchiveEntry::month:
        crntYear_ = choice->year;
        crntMonth_ = choice->month;
        return std::make_shared<monthlyArtList>(registry, choice->year, choice->month);
    }
    return nullptr;
}

void TZoBrowserMain::archiveMenuSelect(QAction& entry) {
    setBusyCursor(true);
    std::string kind;
    const ArtListPtr list = listForArchiveEntry(entry.text(), kind);
    if (!list || (crntArchive_ && crntArchive_->isSame(*list))) {
        setBusyCursor(false);
        return;
    }
    if (!kind.empty() && !context_.offlineMode && !context_.configInfo.noSplash) {
        setSplashMessage(QString("loading (%1...)").arg(toDisplay(kind)));
    }
    if (const ArtListPtr loaded = loadArchive(list)) {
        if (browseHistory_) {
            browseHistory_->addEntry(loaded, imageView->scrollPosition(), true);
        }
        setCrntArchive(loaded, 0);
    }
    setBusyCursor(false);
    showImagePage();
    clearSelection();
}

ArtListPtr TZoBrowserMain::loadArchive(ArtListPtr list) {
    return addLoadedArchive(context_, std::move(list), *this);
}

void TZoBrowserMain::clearViewsForLoad() {
    imageView->setWarning({});
    imageView->initcrntArchiveLogos();
    strips_->hideLoadStats();
}

void TZoBrowserMain::closeMainWindow() {
    closeRequested_ = true;
    close();
}

void TZoBrowserMain::setCrntArchive(const ArtListPtr& list, std::int32_t scroll) {
    if (!list) {
        return;
    }
    context_.dbgLog("setCrntArchive", true);
    imageView->initcrntArchiveLogos();
    strips_->hideLoadStats();
    imageView->hideLogoSelection();
    imageView->setWarning({});
    if (list->empty()) {
        showEmptyArchiveWarning(*list);
    }
    crntArchive_ = list;
    const QString caption = toDisplay(list->caption());
    imageView->ImageViewLabel->setText(caption);
    listView->setCaption(caption);
    if (browseHistory_) {
        browseHistory_->refreshHistoryMenu();
    }
    list->rebuild();
    startLogoDownload(*list, messenger(), context_.offlineMode, context_.downloadEnv());
    listView->fillArchiveGrid();
    messenger().send(WindowMessage::updateThreadCount(
        static_cast<std::int32_t>(context_.managerRegistry.size())));
    imageView->setScrollPosition(scroll);
}

void TZoBrowserMain::showEmptyArchiveWarning(const ArtList& list) {
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
    imageView->setWarning(text);
    setListMenusEnabled(true);
    if (browseHistory_) {
        browseHistory_->updateHistoryButtons();
    }
}

void TZoBrowserMain::toggleMode() {
    setOfflineMode(!context_.offlineMode);
    if (!crntArchive_) {
        return;
    }
    // The loader may hand back an earlier month or give up; the list shown
    // stays the one the user had.
    loadArchive(crntArchive_);
    setCrntArchive(crntArchive_, 0);
}

// --- history

void TZoBrowserMain::histBackwardClick() {
    if (browseHistory_) {
        zob::histBackwardClick(*browseHistory_, *this);
    }
}

void TZoBrowserMain::histForwardClick() {
    if (browseHistory_) {
        zob::histForwardClick(*browseHistory_, *this);
    }
}

void TZoBrowserMain::historyMenuClick(QAction& entry) {
    if (!browseHistory_) {
        return;
    }
    const int position = static_cast<int>(mHistory->actions().indexOf(&entry));
    if (position < 0) {
        return;
    }
    zob::historyMenuClick(*browseHistory_, static_cast<std::size_t>(position), *this,
                          !context_.offlineMode, context_.configInfo.noSplash);
}

void TZoBrowserMain::setMenuEntries(const std::vector<HistoryMenuEntry>& entries) {
    QList<QAction*> actions = mHistory->actions();
    while (actions.size() > static_cast<qsizetype>(entries.size())) {
        QAction* first = actions.takeFirst();
        mHistory->removeAction(first);
        historyGroup_->removeAction(first);
        first->deleteLater();
    }
    while (actions.size() < static_cast<qsizetype>(entries.size())) {
        QAction* action = mHistory->addAction("dummy");
        action->setObjectName("dummy");
        action->setCheckable(true);
        historyGroup_->addAction(action);
        connect(action, &QAction::triggered, this, [this, action] { historyMenuClick(*action); });
        actions.append(action);
    }
    for (std::size_t k = 0; k < entries.size(); ++k) {
        QAction* action = actions.at(static_cast<qsizetype>(k));
        action->setText(toDisplay(entries[k].caption));
        if (entries[k].checked) {
            action->setChecked(true);
        }
    }
}

void TZoBrowserMain::setButtons(bool backEnabled, bool forwardEnabled) {
    histBackward->setEnabled(backEnabled);
    histForward->setEnabled(forwardEnabled);
}

std::int32_t TZoBrowserMain::tileScrollPosition() const {
    return imageView->scrollPosition();
}

void TZoBrowserMain::setBusyCursor(bool busy) {
    if (busy) {
        if (QApplication::overrideCursor() == nullptr) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    } else {
        while (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
    }
}

void TZoBrowserMain::clearSelection() {
    imageView->clearTileSelection();
    contentsView->clearThumbSelection();
    mAddToFavorite->setEnabled(false);
    mAddToBad->setEnabled(false);
    mSearchSameModel->setEnabled(false);
    mCopy->setEnabled(false);
}

void TZoBrowserMain::setListMenusEnabled(bool enabled) {
    mArchive->setEnabled(enabled);
    mHistory->setEnabled(enabled);
    mArchive->menuAction()->setEnabled(enabled);
    mHistory->menuAction()->setEnabled(enabled);
}

void TZoBrowserMain::showSplash(const std::string& message) {
    setSplashMessage(toDisplay(message));
}

void TZoBrowserMain::showImagePage() {
    if (QWidget* page = mainTab->currentWidget()) {
        page->setFocus();
    }
    mainTab->setCurrentWidget(imageView);
}

void TZoBrowserMain::showProgressText(const std::string& text) {
    if (context_.configInfo.noSplash) {
        return;
    }
    setSplashMessage(toDisplay(text));
    splashForm_->ProgressBar1->hide();
}

void TZoBrowserMain::setSplashMessage(const QString& text) {
    if (!splashForm_) {
        splashForm_ = std::make_unique<TsplashForm>();
    }
    splashForm_->ProgressBar1->show();
    splashForm_->setMessage(text);
}

void TZoBrowserMain::releaseSplash() {
    if (splashForm_) {
        splashForm_->hide();
        // The caller may be inside a handler that still uses the window.
        splashForm_.release()->deleteLater();
    }
}

} // namespace zob
