// The handlers of the workers' messages: every one runs on the window's
// thread while its sender waits.

#include "app/appcontext.h"
#include "catalogue/artlistlist.h"
#include "gui/dialogs/splashform.h"
#include "gui/displaytext.h"
#include "gui/views/imageform.h"
#include "gui/views/loadstatstrip.h"
#include "gui/zobrowsermain.h"

#include <QLabel>
#include <QMenu>
#include <QTimer>

namespace zob {

void TZoBrowserMain::handleWindowMessage(const WindowMessage& message) {
    switch (message.id) {
    case WM_loadedThumb:
        if (message.series) {
            contentsView->showThumbnail(message.series, message.picture);
            strips_->updateLoadStat(*message.series);
        }
        break;
    case WM_loadedLarge:
        if (message.series) {
            strips_->updateLoadStat(*message.series);
        }
        // The picture under the pointer may be the one the viewer waits for.
        if (sideViewerVisible() && contentsView->pictureNumberUnderCursor() == message.picture) {
            imageForm_->updateImage();
        }
        break;
    case WM_loadedLogo:
        onLoadedLogo(message.listIndex, message.largeCover);
        break;
    case WM_loadedThumbAll:
    case WM_loadedLargeAll:
        onJobEnded(message);
        break;
    case WM_updateSpec:
        onUpdateSpec(message.series);
        break;
    case WM_updateThreadCount:
        statusPanel->setText(message.liveManagers == 0
                                 ? QString()
                                 : QString("%1 Threads").arg(message.liveManagers));
        break;
    case WM_loadedMonthlyAll:
        // The cover job's manager goes with the free message that follows.
        break;
    case WM_forceQuitCompleted:
        close();
        break;
    case WM_freeThreadMngrNg: {
        const std::size_t live = managerFreed(message, context_.managerRegistry, joins_);
        drainJoinsLater();
        handleWindowMessage(WindowMessage::updateThreadCount(static_cast<std::int32_t>(live)));
        break;
    }
    default:
        break;
    }
}

void TZoBrowserMain::onLoadedLogo(std::int32_t index, bool large) {
    const ArtListPtr list = crntArchive_;
    const auto count = static_cast<std::int32_t>(list ? list->size() : 0);
    if (large) {
        if (index >= 0 && index < count && imageForm_ != nullptr && imageForm_->isVisible() &&
            imageForm_->currentFile() ==
                list->item(static_cast<std::size_t>(index))->localLogoFile(false)) {
            imageForm_->updateImage();
        }
        return;
    }
    if (index >= 0 && index < count) {
        imageView->showSmallLogo(static_cast<std::size_t>(index));
        if (splashForm_) {
            splashForm_->setMessage("loading (get pics...)");
            splashForm_->setProgress(index * 80 / count + 20);
            splashForm_->repaint();
        }
    }
    if (index >= count - 1) {
        releaseSplash();
        strips_->placeLoadStats(list.get());
        setListMenusEnabled(true);
        if (browseHistory_) {
            imageView->setScrollPosition(browseHistory_->currentScroll());
        }
    }
}

void TZoBrowserMain::onJobEnded(const WindowMessage& message) {
    const SeriesPtr& series = message.series;
    if (!series) {
        return;
    }
    if (message.id == WM_loadedThumbAll) {
        thumbnailJobEnded(*series);
    } else {
        pictureJobEnded(*series, context_.prompt);
    }
    refreshSeriesViews(*series);
    if (message.id == WM_loadedLargeAll) {
        // The pointer the contents view set when the download started.
        setBusyCursor(false);
    }
    if (series->loadingRes.load() == 0) {
        strips_->removeLoadStat(*series);
        deletePendingPictures(*series);
    }
}

void TZoBrowserMain::onUpdateSpec(const SeriesPtr& series) {
    if (!series) {
        return;
    }
    seriesSpecUpdated(*series, context_.loadedArchives, context_.debugLog);
    if (contentsView->ImageTitleLabel->text() == toDisplay(series->title)) {
        contentsView->setTitleDetail(*series);
    }
    if (crntArchive_ && crntArchive_->indexOfName(*series) >= 0) {
        series->scanLocalFiles();
        imageView->updateLogoHint(*series);
        strips_->updateLoadStat(*series);
    }
}

void TZoBrowserMain::drainJoinsLater() {
    // The freed manager's worker waits in this very message; it is joined
    // once the handler has returned and the worker has gone.
    if (drainQueued_) {
        return;
    }
    drainQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        drainQueued_ = false;
        joins_.drain();
    });
}

} // namespace zob
