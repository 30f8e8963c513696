#include "gui/startupsequence.h"

#include "app/appcontext.h"
#include "app/archivemenu.h"
#include "app/startupsignin.h"
#include "catalogue/memberlists.h"
#include "catalogue/monthlyartlist.h"
#include "gui/debugpanel.h"
#include "gui/dialogs/configdialog.h"
#include "gui/dialogs/passwordform.h"
#include "gui/dialogs/splashform.h"
#include "gui/displaytext.h"
#include "gui/mainmenus.h"
#include "gui/mainparts.h"
#include "gui/navigator.h"
#include "gui/splashholder.h"
#include "gui/views/archiveimageview.h"
#include "gui/views/imageform.h"
#include "version.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <cstdio>

namespace zob {

namespace {

// The bad list loads behind the month already shown: the loader leaves the
// views alone and asks everything else of the navigator.
class BehindCurrentList : public ArchiveLoaderHost {
public:
    explicit BehindCurrentList(ArchiveLoaderHost& navigator) : navigator_(navigator) {}
    void closeMainWindow() override { navigator_.closeMainWindow(); }
    void setOfflineSearch(bool on) override { navigator_.setOfflineSearch(on); }

private:
    ArchiveLoaderHost& navigator_;
};

} // namespace

void StartupSequence::run() {
    Navigator& navigator = *parts_.navigator;
    // The window handles its events while pages load: an activation then
    // must not start a second start-up.
    if (navigator.crntArchive() || aborted_ || running_) {
        return;
    }
    started_ = true;
    running_ = true;
    const struct Done {
        bool& running;
        ~Done() { running = false; }
    } done{running_};
    AppContext& context = parts_.context;
    if (context.configInfo.dbgMemo != 0) {
        parts_.debugPanel->switchOn();
    }
    navigator.setOfflineMode(false);
    if (!signIn()) {
        aborted_ = true;
        parts_.environment.terminate();
        return;
    }
    parts_.imageView->clearTileSelection();
    if (context.offlineMode) {
        navigator.setOfflineMode(true);
    }
    const bool showSplash = !context.configInfo.noSplash;
    setBusyCursor(true);
    const bool loaded = loadLists(showSplash);
    setBusyCursor(false);
    if (!loaded) {
        return;
    }
    initWindowParts();
    // The splash is gone already when the month's last cover came (an empty
    // month reports it at once).
    if (TsplashForm* splash = parts_.splash->form(); showSplash && splash != nullptr) {
        splash->setProgress(20);
        splash->setMessage("initializing (get pics...)");
    } else {
        parts_.splash->release();
    }
    navigator.setOfflineMode(context.offlineMode);
}

bool StartupSequence::signIn() {
    StartupDialogs dialogs;
    dialogs.showConfigDialog = [this] {
        if (parts_.configForm != nullptr) {
            parts_.environment.runModal(*parts_.configForm);
        }
    };
    dialogs.askPassword = [this]() -> std::optional<std::string> {
        TPasswordForm form(&parts_.window);
        if (parts_.environment.runModal(form) != QDialog::Accepted) {
            return std::nullopt;
        }
        return fromDisplay(form.password());
    };
    return decideModeAndSignIn(parts_.context, dialogs).mode != StartMode::aborted;
}

bool StartupSequence::loadLists(bool showSplash) {
    Navigator& navigator = *parts_.navigator;
    if (showSplash) {
        parts_.splash->showMessage("initializing (get my favorites)");
    }
    loadMemberList(true);
    navigator.makeHistory();
    if (navigator.closeRequested()) {
        return false;
    }
    if (showSplash) {
        parts_.splash->showMessage("initializing (get monthly archive)");
    }
    const YearMonth now = parts_.environment.clock();
    navigator.setCrntMonth(now);
    if (const ArtListPtr shown = navigator.loadArchive(
            std::make_shared<monthlyArtList>(parts_.context.loadedArchives, now.year, now.month))) {
        navigator.showAsNew(shown);
    }
    if (navigator.closeRequested()) {
        return false;
    }
    // An empty month has already closed the splash; it is not made again.
    if (TsplashForm* splash = parts_.splash->form(); showSplash && splash != nullptr) {
        splash->setMessage("initializing (get badlist)");
    }
    loadMemberList(false);
    return true;
}

void StartupSequence::loadMemberList(bool favorites) {
    ArtListList& registry = parts_.context.loadedArchives;
    ArtListPtr list;
    ArtListPtr loaded;
    if (favorites) {
        list = std::make_shared<FavoriteArtList>(registry);
        loaded = parts_.navigator->loadArchive(list);
    } else {
        list = std::make_shared<BadArtList>(registry);
        BehindCurrentList host(*parts_.navigator);
        loaded = addLoadedArchive(parts_.context, list, host);
    }
    // A member list the loader gave up on stays in use, empty: status codes
    // and the series commands refer to it.
    (favorites ? registry.favoriteList : registry.badList) = loaded ? loaded : list;
}

void StartupSequence::initWindowParts() {
    char title[64];
    std::snprintf(title, sizeof title, "Zel-Ora Native Browser %d.%d%d", versionMajor, versionMinor,
                  versionRelease);
    parts_.window.setWindowTitle(title);
    const YearMonth now = parts_.environment.clock();
    parts_.navigator->setCrntMonth(now);
    MainMenus& menus = *parts_.menus;
    menus.appendMonthEntries(archiveMenuLayout(now.year, now.month, parts_.context.loadedArchives));
    const ArtListPtr& favorites = parts_.context.loadedArchives.favoriteList;
    menus.setFavoritesEntryEnabled(favorites && !favorites->empty());
    menus.checkResolutionEntry(parts_.context.configInfo.resolution);
    placeMainWindow();
}

void StartupSequence::placeMainWindow() {
    QMainWindow& window = parts_.window;
    const configInfoClass& config = parts_.context.configInfo;
    const QScreen* screen =
        window.screen() != nullptr ? window.screen() : QApplication::primaryScreen();
    const QRect work = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int sideWidth =
        parts_.imageForm != nullptr ? parts_.imageForm->frameGeometry().width() : 0;
    int w = window.frameGeometry().width();
    int h = window.frameGeometry().height();
    // A saved place is the frame's top left on the desktop, as it was saved;
    // only the first start's centred place counts from the work area.
    int x = config.mainX != -1 ? config.mainX
                               : work.left() + (work.width() - (sideWidth + w)) / 2 + sideWidth;
    if (x + w > work.left() + work.width()) {
        x = work.left() + work.width() - w;
    }
    int y = config.mainY != -1 ? config.mainY : work.top() + (work.height() - h) / 2;
    if (h > work.height()) {
        window.resize(window.width(), window.height() - (h - work.height()));
        h = work.height();
        y = work.top();
    }
    if (y + h > work.top() + work.height()) {
        y = work.top() + work.height() - h;
    }
    window.move(x, y);
    windowPlaced_ = true;
}

} // namespace zob
