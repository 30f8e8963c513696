#include "gui/zobrowsermain.h"

#include "app/appcontext.h"
#include "gui/debugpanel.h"
#include "gui/dialogs/configdialog.h"
#include "gui/dialogs/splashform.h"
#include "gui/mainmenus.h"
#include "gui/navigator.h"
#include "gui/seriescontroller.h"
#include "gui/splashholder.h"
#include "gui/startupsequence.h"
#include "gui/viewrequests.h"
#include "gui/views/imageform.h"
#include "gui/views/loadstatstrip.h"
#include "gui/workerevents.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QTabWidget>
#include <QTimer>
#include <QWheelEvent>
#include <chrono>

namespace zob {

namespace {

// How long the pictures in hand may take once the user asked to close.
constexpr std::chrono::milliseconds closeGrace{5'000};

BrowserEnvironment withDefaults(BrowserEnvironment environment) {
    if (!environment.clock) {
        environment.clock = currentYearMonth;
    }
    if (!environment.runModal) {
        environment.runModal = [](QDialog& dialog) { return dialog.exec(); };
    }
    if (!environment.terminate) {
        environment.terminate = [] { QCoreApplication::exit(0); };
    }
    if (!environment.closed) {
        environment.closed = [] { QCoreApplication::quit(); };
    }
    if (!environment.openUrl) {
        environment.openUrl = [](const QUrl& address) { QDesktopServices::openUrl(address); };
    }
    return environment;
}

} // namespace

TZoBrowserMain::TZoBrowserMain(AppContext& context, BrowserEnvironment environment)
    : environment_(withDefaults(std::move(environment))), parts_{context, environment_, *this} {
    setObjectName("ZoBrowserMain");
    setMinimumSize(320, 340);
    resize(581, 758);

    buildTabs();
    splash_ = std::make_unique<SplashHolder>();
    parts_.splash = splash_.get();
    events_ = std::make_unique<WorkerEvents>(parts_);
    parts_.events = events_.get();
    navigator_ = std::make_unique<Navigator>(parts_);
    parts_.navigator = navigator_.get();
    series_ = std::make_unique<SeriesController>(parts_);
    parts_.series = series_.get();
    debugPanel_ = std::make_unique<DebugPanel>(parts_, parts_.imageView);
    parts_.debugPanel = debugPanel_.get();
    menus_ = std::make_unique<MainMenus>(parts_, WindowActions{[this] { close(); },
                                                               [this] { configBtnClick(); },
                                                               [this] { ImageBtnClick(); }});
    parts_.menus = menus_.get();
    startup_ = std::make_unique<StartupSequence>(parts_);
    parts_.startup = startup_.get();

    // FormCreate: the size and place the settings remember. The place is the
    // frame's top left, as move() takes it and as it is saved.
    const configInfoClass& config = context.configInfo;
    resize(std::max(320, config.mainWidth), std::max(340, config.mainHeight));
    if (config.mainX != -1 || config.mainY != -1) {
        move(config.mainX, config.mainY);
    }
    parts_.tabs->setCurrentWidget(parts_.imageView);
    // The keys move on the wall from the start.
    parts_.imageView->setFocus();
    menus_->setStoredResolution(config.resolution);
    menus_->setOfflineSearch(false);
    // List pages load beside the window, which keeps painting meanwhile.
    context.runPageWork = [this](const std::function<void()>& work) {
        navigator_->runPageWork(work);
    };
    qApp->installEventFilter(this);
}

TZoBrowserMain::~TZoBrowserMain() {
    qApp->removeEventFilter(this);
    parts_.context.runPageWork = nullptr;
    waitForWorkers();
    // The views go while the parts they ask are still there.
    std::unique_ptr<QWidget> views(takeCentralWidget());
}

void TZoBrowserMain::buildTabs() {
    viewRequests_ = std::make_unique<ViewRequests>(parts_);
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName("mainTab");
    parts_.tabs = tabs;
    parts_.imageView = new ArchiveImageView(*viewRequests_);
    parts_.listView = new ArchiveListView(*viewRequests_, parts_.context.debugLog);
    parts_.listView->setObjectName("ListSheet");
    parts_.contentsView = new SeriesContentsView(*viewRequests_);
    tabs->addTab(parts_.imageView, "Image View");
    tabs->addTab(parts_.listView, "List View");
    tabs->addTab(parts_.contentsView, "Series Contents");
    setCentralWidget(tabs);
    connect(tabs, &QTabWidget::currentChanged, this, [this](int index) { mainTabChange(index); });
    strips_ = std::make_unique<LoadStatStrips>(*parts_.imageView->archiveBox);
    parts_.strips = strips_.get();
    parts_.imageView->afterLayout = [this] {
        strips_->hideLoadStats();
        strips_->placeLoadStats(navigator_ ? navigator_->crntArchive().get() : nullptr);
    };
}

void TZoBrowserMain::attachWindows(TConfigForm& configForm, TImageForm& imageForm) {
    parts_.configForm = &configForm;
    parts_.imageForm = &imageForm;
    imageForm.setMainWindow(this);
    // The viewer's own close box hides it: "Side view" follows.
    imageForm.installEventFilter(this);
}

void TZoBrowserMain::FormActivate() {
    startup_->run();
}

bool TZoBrowserMain::FormCloseQuery() {
    configInfoClass& config = parts_.context.configInfo;
    if (!config.noSplash) {
        splash_->showTerminating();
    }
    ManagerRegistry& registry = parts_.context.managerRegistry;
    if (!registry.isForceQuitSet()) {
        parts_.context.loadedArchives.saveAll();
    }
    if (!registry.isForceQuitSet() && !registry.empty()) {
        // The pictures in hand may finish; a transfer that stalls is not
        // waited for beyond this.
        QTimer::singleShot(closeGrace, this, [&registry] { registry.abortTransfers(); });
    }
    registry.setForceQuit();
    config.mainWidth = width();
    config.mainHeight = height();
    config.mainX = pos().x();
    config.mainY = pos().y();
    return registry.empty();
}

void TZoBrowserMain::waitForWorkers() {
    events_->waitForWorkers();
}

void TZoBrowserMain::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (navigator_->loading()) {
        // The load stops first; nothing it fetched is kept.
        navigator_->closeAfterLoad();
        event->ignore();
        return;
    }
    if (!FormCloseQuery()) {
        // The last manager to end closes the window again.
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
    splash_->release();
    environment_.closed();
}

void TZoBrowserMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!startup_->started()) {
        // The start-up runs once the window is on screen and the loop runs.
        QTimer::singleShot(0, this, [this] { FormActivate(); });
    }
}

void TZoBrowserMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && startup_ &&
        startup_->started()) {
        FormActivate();
    }
}

void TZoBrowserMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // Where the platform first puts the window is not the user's choice:
    // the settings remember places only once the start-up has placed it.
    if (startup_ && startup_->windowPlaced()) {
        // The frame's place, not the client area's: move() restores it.
        WM_move(pos().x(), pos().y());
    }
}

void TZoBrowserMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutViews();
}

void TZoBrowserMain::layoutViews() {
    parts_.context.configInfo.mainWidth = width();
    parts_.context.configInfo.mainHeight = height();
    parts_.listView->layoutForMainResize();
    if (debugPanel_) {
        debugPanel_->place(parts_.imageView->height());
    }
}

bool TZoBrowserMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parts_.imageForm && event->type() == QEvent::Hide) {
        menus_->setSideViewChecked(false);
    }
    if (event->type() == QEvent::Wheel) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this) {
            WM_mouseWheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && navigator_->loading() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        // Escape in a question asked meanwhile is that question's.
        auto* widget = qobject_cast<QWidget*>(watched);
        const QWidget* window = widget != nullptr ? widget->window() : nullptr;
        if (window == this || qobject_cast<const TsplashForm*>(window) != nullptr) {
            navigator_->cancelLoad();
            return true;
        }
    }
    // Pasting into the window does nothing.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        auto* widget = qobject_cast<QWidget*>(watched);
        return widget != nullptr && widget->window() == this;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TZoBrowserMain::WM_move(int x, int y) {
    configInfoClass& config = parts_.context.configInfo;
    TImageForm* viewer = parts_.imageForm;
    if (viewer != nullptr && viewer->isVisible()) {
        viewer->move(x - viewer->frameGeometry().width() - 5, frameGeometry().top());
        config.sideX = viewer->x();
        config.sideY = viewer->y();
    }
    config.mainX = x;
    config.mainY = y;
}

void TZoBrowserMain::WM_mouseWheel(int delta) {
    QWidget* page = parts_.tabs->currentWidget();
    if (page == parts_.imageView) {
        parts_.imageView->wheelScroll(delta);
    } else if (page == parts_.listView) {
        parts_.listView->wheelScroll(delta);
    }
}

void TZoBrowserMain::mainTabChange(int index) {
    QWidget* page = parts_.tabs->widget(index);
    if (page == parts_.imageView && parts_.imageView->selectionPending()) {
        parts_.imageView->tabShown();
        return;
    }
    navigator_->clearSelection();
}

void TZoBrowserMain::configBtnClick() {
    if (parts_.configForm != nullptr) {
        environment_.runModal(*parts_.configForm);
    }
    // Whatever closed the dialog, its offline box acted at once. Going back
    // online is the mode label's business.
    if (parts_.context.configInfo.offline) {
        navigator_->setOfflineMode(true);
    }
}

void TZoBrowserMain::ImageBtnClick() {
    TImageForm* viewer = parts_.imageForm;
    if (viewer == nullptr) {
        return;
    }
    if (viewer->isVisible()) {
        viewer->hide();
        menus_->setSideViewChecked(false);
        return;
    }
    viewer->move(frameGeometry().left() - viewer->frameGeometry().width() - 5,
                 frameGeometry().top());
    viewer->show();
    menus_->setSideViewChecked(true);
}

} // namespace zob
