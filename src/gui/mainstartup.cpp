// The start-up of the main window: mode decision, sign-in, the three lists
// every run needs, the Archive menu and the window's place.

#include "app/appcontext.h"
#include "app/archivemenu.h"
#include "app/startupsignin.h"
#include "catalogue/memberlists.h"
#include "catalogue/monthlyartlist.h"
#include "gui/dialogs/configdialog.h"
#include "gui/dialogs/passwordform.h"
#include "gui/dialogs/splashform.h"
#include "gui/displaytext.h"
#include "gui/views/imageform.h"
#include "gui/zobrowsermain.h"
#include "version.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolButton>
#include <QWidgetAction>
#include <cstdio>

namespace zob {

void TZoBrowserMain::FormActivate() {
    if (crntArchive_ || startAborted_) {
        return;
    }
    started_ = true;
    if (context_.configInfo.dbgMemo != 0) {
        switchDebugLogOn();
    }
    context_.offlineMode = false;
    setOfflineSearch(false);
    mOfflineSearch->setEnabled(true);
    const bool showSplash = !context_.configInfo.noSplash;

    StartupDialogs dialogs;
    dialogs.showConfigDialog = [this] {
        if (configForm_ != nullptr) {
            environment_.runModal(*configForm_);
        }
    };
    dialogs.askPassword = [this]() -> std::optional<std::string> {
        TPasswordForm form(this);
        if (environment_.runModal(form) != QDialog::Accepted) {
            return std::nullopt;
        }
        return fromDisplay(form.password());
    };
    const StartupOutcome outcome = decideModeAndSignIn(context_, dialogs);
    if (outcome.mode == StartMode::aborted) {
        startAborted_ = true;
        environment_.terminate();
        return;
    }
    imageView->clearTileSelection();
    if (context_.offlineMode) {
        goOffline();
    }

    setBusyCursor(true);
    if (showSplash) {
        setSplashMessage("initializing (get my favorites)");
    }
    loadMemberLists(true);
    browseHistory_ = std::make_unique<historyList>(context_.configInfo.historyCount, *this);
    if (closeRequested_) {
        setBusyCursor(false);
        return;
    }

    if (showSplash) {
        setSplashMessage("initializing (get monthly archive)");
    }
    const YearMonth now = environment_.clock();
    crntYear_ = now.year;
    crntMonth_ = now.month;
    const ArtListPtr shown =
        loadArchive(std::make_shared<monthlyArtList>(context_.loadedArchives, now.year, now.month));
    if (shown) {
        browseHistory_->addEntry(shown, imageView->scrollPosition(), true);
        setCrntArchive(shown, 0);
    }
    if (closeRequested_) {
        setBusyCursor(false);
        return;
    }

    // An empty month has already closed the splash; it is not made again.
    if (showSplash && splashForm_) {
        splashForm_->setMessage("initializing (get badlist)");
    }
    loadMemberLists(false);
    setBusyCursor(false);
    initWindowParts();
    // The splash is gone already when the month's last cover came (an empty
    // month reports it at once).
    if (showSplash && splashForm_) {
        splashForm_->setProgress(20);
        splashForm_->setMessage("initializing (get pics...)");
    } else {
        releaseSplash();
    }
    setOfflineMode(context_.offlineMode);
}

namespace {

// The bad list loads behind the month already shown: the loader leaves the
// views alone and asks everything else of the window.
class BehindCurrentList : public ArchiveLoaderHost {
public:
    explicit BehindCurrentList(ArchiveLoaderHost& window) : window_(window) {}
    void closeMainWindow() override { window_.closeMainWindow(); }
    void setOfflineSearch(bool on) override { window_.setOfflineSearch(on); }

private:
    ArchiveLoaderHost& window_;
};

} // namespace

void TZoBrowserMain::loadMemberLists(bool favorites) {
    ArtListList& registry = context_.loadedArchives;
    ArtListPtr list;
    ArtListPtr loaded;
    if (favorites) {
        list = std::make_shared<FavoriteArtList>(registry);
        loaded = loadArchive(list);
    } else {
        list = std::make_shared<BadArtList>(registry);
        BehindCurrentList host(*this);
        loaded = addLoadedArchive(context_, list, host);
    }
    // A member list the loader gave up on stays in use, empty: status codes
    // and the series commands refer to it.
    (favorites ? registry.favoriteList : registry.badList) = loaded ? loaded : list;
}

void TZoBrowserMain::switchDebugLogOn() {
    dbgBtn->setVisible(true);
    dbgSaveBtn->setVisible(true);
    for (QAction* action : findChildren<QAction*>()) {
        // The tool bar shows its widgets through their actions.
        if (auto* widgetAction = qobject_cast<QWidgetAction*>(action)) {
            if (widgetAction->defaultWidget() == dbgBtn ||
                widgetAction->defaultWidget() == dbgSaveBtn) {
                action->setVisible(true);
            }
        }
    }
    layoutViews();
    context_.debugLog.switchOn();
    context_.debugLog.setChangeListener([this] {
        // Any thread may write; the box is refreshed on the window's thread,
        // once for a burst of lines.
        if (!debugRefreshQueued_.exchange(true)) {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    debugRefreshQueued_ = false;
                    refreshDebugMemo();
                },
                Qt::QueuedConnection);
        }
    });
    context_.dbgLog("test", true);
}

void TZoBrowserMain::refreshDebugMemo() {
    QString text;
    for (const std::string& line : context_.debugLog.lines()) {
        text += toDisplay(line);
        text += '\n';
    }
    dbgMemo->setPlainText(text);
    dbgMemo->moveCursor(QTextCursor::End);
}

void TZoBrowserMain::initWindowParts() {
    char title[64];
    std::snprintf(title, sizeof title, "Zel-Ora Native Browser %d.%d%d", versionMajor, versionMinor,
                  versionRelease);
    setWindowTitle(title);
    const YearMonth now = environment_.clock();
    crntYear_ = now.year;
    crntMonth_ = now.month;
    appendMonthEntries();
    const ArtListPtr& favorites = context_.loadedArchives.favoriteList;
    mFavorite->setEnabled(favorites && !favorites->empty());
    switch (context_.configInfo.resolution) {
    case 0:
        mResHigh->setChecked(true);
        break;
    case 1:
        mResMiddle->setChecked(true);
        break;
    case 2:
        mResLow->setChecked(true);
        break;
    default:
        mResThumb->setChecked(true);
        break;
    }
    placeMainWindow();
}

void TZoBrowserMain::placeMainWindow() {
    const configInfoClass& config = context_.configInfo;
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QApplication::primaryScreen();
    const QRect work = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int sideWidth = imageForm_ != nullptr ? imageForm_->frameGeometry().width() : 0;
    int w = frameGeometry().width();
    int h = frameGeometry().height();
    int x = config.mainX != -1 ? config.mainX : (work.width() - (sideWidth + w)) / 2 + sideWidth;
    if (x + w > work.width()) {
        x = work.width() - w;
    }
    int y = config.mainY != -1 ? config.mainY : (work.height() - h) / 2;
    if (h > work.height()) {
        resize(width(), height() - (h - work.height()));
        h = work.height();
        y = 0;
    }
    if (y + h > work.height()) {
        y = work.height() - h;
    }
    move(work.left() + x, work.top() + y);
    windowPlaced_ = true;
}

void TZoBrowserMain::appendMonthEntries() {
    if (monthEntriesBuilt_) {
        return;
    }
    monthEntriesBuilt_ = true;
    const ArchiveMenuLayout layout =
        archiveMenuLayout(crntYear_, crntMonth_, context_.loadedArchives);
    const auto entry = [this](QMenu* menu, const ArchiveMonthEntry& month) {
        QAction* action = menu->addAction(QString::fromStdString(month.caption));
        action->setEnabled(month.enabled);
        connect(action, &QAction::triggered, this, [this, action] { archiveMenuSelect(*action); });
    };
    for (const ArchiveMonthEntry& month : layout.topLevel) {
        entry(mArchive, month);
    }
    for (const ArchiveYearMenu& year : layout.years) {
        QMenu* sub = mArchive->addMenu(QString::number(year.year));
        for (const ArchiveMonthEntry& month : year.months) {
            entry(sub, month);
        }
    }
    entry(mArchive, ArchiveMonthEntry{1, 1, layout.archiveCaption, true});
}

void TZoBrowserMain::goOffline() {
    context_.offlineMode = true;
    setOfflineSearch(true);
    mOfflineSearch->setEnabled(false);
}

void TZoBrowserMain::setOfflineMode(bool on) {
    context_.offlineMode = on;
    setOfflineSearch(on);
    mOfflineSearch->setEnabled(!on);
    statusPanel->clear();
    modeStr->setText(on ? "OFFLINE" : "");
}

void TZoBrowserMain::setOfflineSearch(bool on) {
    offlineSearch_ = on;
    mOfflineSearch->setChecked(on);
}

} // namespace zob
