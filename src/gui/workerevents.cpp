#include "gui/workerevents.h"

#include "app/appcontext.h"
#include "gui/dialogs/splashform.h"
#include "gui/displaytext.h"
#include "gui/guimessenger.h"
#include "gui/mainmenus.h"
#include "gui/mainparts.h"
#include "gui/navigator.h"
#include "gui/seriescontroller.h"
#include "gui/splashholder.h"
#include "gui/views/archiveimageview.h"
#include "gui/views/contentsview.h"
#include "gui/views/imageform.h"
#include "gui/views/loadstatstrip.h"
#include "gui/views/pictureviewer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

namespace zob {

WorkerEvents::WorkerEvents(MainParts& parts) : parts_(parts) {
    messenger_ = std::make_unique<GuiMessenger>([this](const WindowMessage& message) {
        if (!handlerTimer_) {
            handleWindowMessage(message);
            return;
        }
        const auto begin = std::chrono::steady_clock::now();
        handleWindowMessage(message);
        handlerTimer_(message, std::chrono::steady_clock::now() - begin);
    });
}

WorkerEvents::~WorkerEvents() = default;

void WorkerEvents::handleWindowMessage(const WindowMessage& message) {
    switch (message.id) {
    case WM_loadedThumb:
        if (message.series) {
            parts_.contentsView->showThumbnail(message.series, message.picture);
            parts_.strips->updateLoadStat(*message.series);
            tellPictureViewer(*message.series, message.picture);
        }
        break;
    case WM_loadedLarge:
        if (message.series) {
            parts_.strips->updateLoadStat(*message.series);
            tellPictureViewer(*message.series, message.picture);
        }
        // The picture under the pointer may be the one the viewer waits for.
        if (parts_.sideViewerVisible() &&
            parts_.contentsView->pictureNumberUnderCursor() == message.picture) {
            parts_.imageForm->updateImage();
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
        parts_.menus->setThreadCount(message.liveManagers);
        break;
    case WM_loadedMonthlyAll:
        // The cover job's manager goes with the free message that follows.
        break;
    case WM_forceQuitCompleted:
        parts_.window.close();
        break;
    case WM_freeThreadMngrNg: {
        const std::size_t live = managerFreed(message, parts_.context.managerRegistry, joins_);
        drainJoinsLater();
        parts_.menus->setThreadCount(static_cast<int>(live));
        break;
    }
    default:
        break;
    }
}

void WorkerEvents::tellPictureViewer(const SeriesRec& series, int pictureNumber) {
    if (parts_.pictureViewer != nullptr) {
        parts_.pictureViewer->pictureArrived(series, pictureNumber);
    }
}

void WorkerEvents::onLoadedLogo(std::int32_t index, bool large) {
    const ArtListPtr list = parts_.navigator->crntArchive();
    const auto count = static_cast<std::int32_t>(list ? list->size() : 0);
    TImageForm* viewer = parts_.imageForm;
    if (large) {
        if (index >= 0 && index < count && viewer != nullptr && viewer->isVisible() &&
            viewer->currentFile() ==
                list->item(static_cast<std::size_t>(index))->localLogoFile(false)) {
            viewer->updateImage();
        }
        return;
    }
    if (index >= 0 && index < count) {
        parts_.imageView->showSmallLogo(static_cast<std::size_t>(index));
        TsplashForm* splash = parts_.splash->form();
        const QString text = QStringLiteral("loading (get pics...)");
        const int progress = index * 80 / count + 20;
        // Drawn again only when it shows something new: a list of thousands
        // would spend its time repainting the same bar.
        if (splash != nullptr && (splash->message() != text || splash->progress() != progress)) {
            splash->setMessage(text);
            splash->setProgress(progress);
            splash->repaint();
        }
    }
    if (index >= count - 1) {
        onListCoversIn();
    }
}

void WorkerEvents::onListCoversIn() {
    parts_.splash->release();
    parts_.strips->placeLoadStats(parts_.navigator->crntArchive().get());
    parts_.menus->setListMenusEnabled(true);
    if (const historyList* history = parts_.navigator->browseHistory()) {
        parts_.imageView->setScrollPosition(history->currentScroll());
    }
}

void WorkerEvents::onJobEnded(const WindowMessage& message) {
    const SeriesPtr& series = message.series;
    if (!series) {
        return;
    }
    if (message.id == WM_loadedThumbAll) {
        thumbnailJobEnded(*series);
    } else {
        pictureJobEnded(*series, parts_.context.prompt);
    }
    parts_.series->refreshSeriesViews(*series);
    if (message.id == WM_loadedLargeAll) {
        // The pointer the contents view set when the download started.
        setBusyCursor(false);
    }
    if (series->loadingRes.load() == 0) {
        parts_.strips->removeLoadStat(*series);
        parts_.series->deletePendingPictures(*series);
    }
}

void WorkerEvents::onUpdateSpec(const SeriesPtr& series) {
    if (!series) {
        return;
    }
    AppContext& context = parts_.context;
    seriesSpecUpdated(*series, context.loadedArchives, context.debugLog);
    SeriesContentsView& contents = *parts_.contentsView;
    if (contents.ImageTitleLabel->text() == toDisplay(series->title)) {
        contents.setTitleDetail(*series);
    }
    const ArtListPtr shown = parts_.navigator->crntArchive();
    if (shown && shown->indexOfName(*series) >= 0) {
        series->scanLocalFiles();
        parts_.imageView->updateLogoHint(*series);
        parts_.strips->updateLoadStat(*series);
    }
}

void WorkerEvents::drainJoinsLater() {
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

void WorkerEvents::waitForWorkers() {
    ManagerRegistry& registry = parts_.context.managerRegistry;
    registry.setForceQuit();
    // The window is gone: nothing a worker still fetches can be shown.
    registry.abortTransfers();
    // Managers that left the registry may still be sending their last
    // messages; they are handled here until every one has said its last word.
    QElapsedTimer waited;
    waited.start();
    while (registry.unfinished() > 0 && waited.elapsed() < 120'000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        joins_.drain();
    }
    joins_.drain();
}

} // namespace zob
