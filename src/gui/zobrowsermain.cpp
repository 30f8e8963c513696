#include "gui/zobrowsermain.h"

#include "app/appcontext.h"
#include "gui/dialogs/configdialog.h"
#include "gui/dialogs/splashform.h"
#include "gui/guimessenger.h"
#include "gui/views/imageform.h"
#include "gui/views/loadstatstrip.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

namespace zob {

namespace {

// The mode label: a double click switches between online and offline.
class ModeLabel : public QLabel {
public:
    ModeLabel(std::function<void()> toggle, QWidget* parent)
        : QLabel(parent), toggle_(std::move(toggle)) {}

protected:
    void mouseDoubleClickEvent(QMouseEvent* /*event*/) override { toggle_(); }

private:
    std::function<void()> toggle_;
};

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
    : context_(context), environment_(withDefaults(std::move(environment))) {
    setObjectName("ZoBrowserMain");
    messenger_ = std::make_unique<GuiMessenger>([this](const WindowMessage& message) {
        if (!handlerTimer_) {
            handleWindowMessage(message);
            return;
        }
        const auto begin = std::chrono::steady_clock::now();
        handleWindowMessage(message);
        handlerTimer_(message, std::chrono::steady_clock::now() - begin);
    });
    setMinimumSize(320, 340);
    resize(581, 758);

    buildTabs();
    buildMenus();
    buildToolBar();
    buildStatusBar();

    // FormCreate: the size and place the settings remember.
    const configInfoClass& config = context_.configInfo;
    resize(std::max(320, config.mainWidth), std::max(340, config.mainHeight));
    if (config.mainX != -1 || config.mainY != -1) {
        move(config.mainX, config.mainY);
    }
    splashForm_ = std::make_unique<TsplashForm>();
    mainTab->setCurrentWidget(imageView);
    storedResolution_ = config.resolution;
    setOfflineSearch(false);
    qApp->installEventFilter(this);
}

TZoBrowserMain::~TZoBrowserMain() {
    qApp->removeEventFilter(this);
    waitForWorkers();
}

void TZoBrowserMain::attachWindows(TConfigForm& configForm, TImageForm& imageForm) {
    configForm_ = &configForm;
    imageForm_ = &imageForm;
    imageForm_->setMainWindow(this);
    // The viewer's own close box hides it: "Side view" follows.
    imageForm_->installEventFilter(this);
}

WindowMessenger& TZoBrowserMain::messenger() {
    return *messenger_;
}

bool TZoBrowserMain::offlineMode() const {
    return context_.offlineMode;
}

void TZoBrowserMain::buildTabs() {
    mainTab = new QTabWidget(this);
    mainTab->setObjectName("mainTab");
    imageView = new ArchiveImageView(*this);
    listView = new ArchiveListView(*this, context_.debugLog);
    contentsView = new SeriesContentsView(*this);
    contentsSheet = contentsView;
    mainTab->addTab(imageView, "Image View");
    mainTab->addTab(listView, "List View");
    mainTab->addTab(contentsSheet, "Series Contents");
    setCentralWidget(mainTab);
    connect(mainTab, &QTabWidget::currentChanged, this,
            [this](int index) { mainTabChange(index); });
    strips_ = std::make_unique<LoadStatStrips>(*imageView->archiveBox);
    imageView->afterLayout = [this] {
        strips_->hideLoadStats();
        strips_->placeLoadStats(crntArchive_.get());
    };
    seriesPopup_ =
        new SeriesPopup([this](SeriesCommand command, int tag,
                               const QString& name) { seriesCommand(command, tag, name); },
                        this);

    dbgMemo = new QPlainTextEdit("dbgMemo", imageView);
    dbgMemo->setObjectName("dbgMemo");
    dbgMemo->setReadOnly(true);
    dbgMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    dbgMemo->hide();
}

void TZoBrowserMain::buildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    mExit = file->addAction("Exit", this, [this] { close(); });
    mExit->setShortcut(QKeySequence("Ctrl+Q"));

    QMenu* edit = menuBar()->addMenu("&Edit");
    const auto disabledEntry = [](QMenu* menu, const char* caption, const char* keys) {
        QAction* action = menu->addAction(caption);
        if (keys != nullptr) {
            action->setShortcut(QKeySequence(keys));
        }
        action->setEnabled(false);
        return action;
    };
    disabledEntry(edit, "Undo", "Ctrl+Z");
    disabledEntry(edit, "Cut", "Ctrl+X");
    mCopy = disabledEntry(edit, "Copy", "Ctrl+C");
    connect(mCopy, &QAction::triggered, this, [this] { mCopyClick(); });
    disabledEntry(edit, "Paste", "Ctrl+V");
    edit->addSeparator();
    mConfig = edit->addAction("Configure...", this, [this] { configBtnClick(); });

    mArchive = menuBar()->addMenu("&Archive");
    buildArchiveMenu();

    mHistory = menuBar()->addMenu("&History");
    historyGroup_ = new QActionGroup(this);
    historyGroup_->setExclusive(true);

    mRes = menuBar()->addMenu("&Res");
    resGroup_ = new QActionGroup(this);
    const auto resEntry = [this](const char* caption, const char* keys) {
        QAction* action = mRes->addAction(caption);
        action->setShortcut(QKeySequence(keys));
        action->setCheckable(true);
        resGroup_->addAction(action);
        connect(action, &QAction::triggered, this, [this, action] { mResClick(*action); });
        return action;
    };
    mResHigh = resEntry("&High res", "Ctrl+H");
    mResMiddle = resEntry("&Middle res", "Ctrl+M");
    mResLow = resEntry("&Low res", "Ctrl+L");
    mResThumb = resEntry("&Thumb only", "Ctrl+T");
    mResLow->setChecked(true);

    mOption = menuBar()->addMenu("&Option");
    disabledEntry(mOption, "Reload", nullptr);
    mSyncFavorites = disabledEntry(mOption, "Sync favorites", nullptr);
    disabledEntry(mOption, "Offline mode", nullptr);
    mSideView = mOption->addAction("Side view", this, [this] { ImageBtnClick(); });
    mSideView->setShortcut(QKeySequence("Ctrl+S"));
    mSideView->setCheckable(true);
    mOption->addSeparator();
    mAddToFavorite = disabledEntry(mOption, "Add to favorite", nullptr);
    connect(mAddToFavorite, &QAction::triggered, this, [this] {
        const ArtListPtr& favorites = context_.loadedArchives.favoriteList;
        if (commandTarget_ && favorites && favorites->indexOfName(*commandTarget_) >= 0) {
            ppRemoveFromFavoriteClick();
        } else {
            ppAddToFavoriteClick();
        }
    });
    mAddToBad = disabledEntry(mOption, "Add to bad list", nullptr);
    connect(mAddToBad, &QAction::triggered, this, [this] {
        const ArtListPtr& bad = context_.loadedArchives.badList;
        if (commandTarget_ && bad && bad->indexOfName(*commandTarget_) >= 0) {
            ppRemoveFromBadClick();
        } else {
            ppAddToBadClick();
        }
    });
    mOption->addSeparator();
    mOfflineSearch = mOption->addAction("Search as Offline", this,
                                        [this] { setOfflineSearch(!offlineSearch_); });
    mOfflineSearch->setCheckable(true);
    mSearchSameModel = disabledEntry(mOption, "Search same model", nullptr);
    connect(mSearchSameModel, &QAction::triggered, this, [this] { ppSearchModelClick("srch1"); });
    mSearchSamePhoto = disabledEntry(mOption, "Search same photographer", nullptr);
    connect(mSearchSamePhoto, &QAction::triggered, this, [this] { ppSearchPhotoClick(); });
}

void TZoBrowserMain::buildArchiveMenu() {
    const auto entry = [this](QMenu* menu, const QString& caption) {
        QAction* action = menu->addAction(caption);
        connect(action, &QAction::triggered, this, [this, action] { archiveMenuSelect(*action); });
        return action;
    };
    mFavorite = entry(mArchive, "&My favorites");
    entry(mArchive, "&Bad list");
    entry(mArchive, "Be&st of ZEL");
    mArchive->addSeparator();
    QMenu* byStatus = mArchive->addMenu("By &load status");
    entry(byStatus, "Downloading");
    entry(byStatus, "Downloaded");
    entry(byStatus, "Stopping or loading");
    entry(byStatus, "Not downloaded");
    archiveSeparator_ = mArchive->addSeparator();
}

void TZoBrowserMain::buildToolBar() {
    QToolBar* bar = addToolBar("tools");
    bar->setObjectName("toolBar");
    bar->setMovable(false);
    bar->setFloatable(false);
    const auto button = [bar](const QString& caption, const QString& hint) {
        auto* b = new QToolButton(bar);
        b->setText(caption);
        b->setToolTip(hint);
        b->setStatusTip(hint);
        bar->addWidget(b);
        return b;
    };
    histBackward = button("<", "Back");
    histBackward->setObjectName("histBackward");
    histBackward->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    histBackward->setEnabled(false);
    connect(histBackward, &QToolButton::clicked, this, [this] { histBackwardClick(); });
    histForward = button(">", "Forward");
    histForward->setObjectName("histForward");
    histForward->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    histForward->setEnabled(false);
    connect(histForward, &QToolButton::clicked, this, [this] { histForwardClick(); });
    bar->addSeparator();
    imageBtn = button("Img", "Sideview On/Off");
    imageBtn->setObjectName("imageBtn");
    connect(imageBtn, &QToolButton::clicked, this, [this] { ImageBtnClick(); });
    dbgBtn = button("Dbg", "Show or hide the debug log");
    dbgBtn->setObjectName("dbgBtn");
    connect(dbgBtn, &QToolButton::clicked, this, [this] { dbgBtnClick(); });
    dbgSaveBtn = button("DbgSave", "Save the debug log to dbg.log");
    dbgSaveBtn->setObjectName("dbgSaveBtn");
    connect(dbgSaveBtn, &QToolButton::clicked, this, [this] { dbgSaveBtnClick(); });
    // QToolBar hides its widgets through their actions.
    bar->actions().at(bar->actions().size() - 1)->setVisible(false);
    bar->actions().at(bar->actions().size() - 2)->setVisible(false);
    bar->addSeparator();
    modeStr = new ModeLabel([this] { toggleMode(); }, bar);
    modeStr->setObjectName("modeStr");
    modeStr->setMinimumWidth(80);
    modeStr->setToolTip("Double-click to switch between online and offline");
    QFont bold = modeStr->font();
    bold.setBold(true);
    modeStr->setFont(bold);
    modeStr->setStyleSheet("color: rgb(204, 0, 0); padding-left: 8px;");
    bar->addWidget(modeStr);
}

void TZoBrowserMain::buildStatusBar() {
    statusPanel = new QLabel;
    statusPanel->setObjectName("Status");
    statusPanel->setFixedWidth(100);
    statusBar()->addPermanentWidget(statusPanel);
    statusBar()->setObjectName("StatusBar1");
}

QString TZoBrowserMain::threadStatusText() const {
    return statusPanel->text();
}

QString TZoBrowserMain::modeText() const {
    return modeStr->text();
}

void TZoBrowserMain::layoutViews() {
    context_.configInfo.mainWidth = width();
    context_.configInfo.mainHeight = height();
    listView->layoutForMainResize();
    if (dbgMemo->parentWidget() != nullptr) {
        dbgMemo->setGeometry(0, 31, dbgMemo->parentWidget()->width(),
                             std::max(0, imageView->height() - 15 - 31));
    }
}

void TZoBrowserMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutViews();
}

void TZoBrowserMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // Where the platform first puts the window is not the user's choice:
    // the settings remember places only once the start-up has placed it.
    if (windowPlaced_) {
        WM_move(geometry().x(), geometry().y());
    }
}

void TZoBrowserMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!started_) {
        // The start-up runs once the window is on screen and the loop runs.
        QTimer::singleShot(0, this, [this] { FormActivate(); });
    }
}

void TZoBrowserMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && started_) {
        FormActivate();
    }
}

bool TZoBrowserMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == imageForm_ && event->type() == QEvent::Hide) {
        mSideView->setChecked(false);
    }
    if (event->type() == QEvent::Wheel) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this) {
            WM_mouseWheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
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
    configInfoClass& config = context_.configInfo;
    if (imageForm_ != nullptr && imageForm_->isVisible()) {
        imageForm_->move(x - imageForm_->frameGeometry().width() - 5, frameGeometry().top());
        config.sideX = imageForm_->x();
        config.sideY = imageForm_->y();
    }
    config.mainX = x;
    config.mainY = y;
}

void TZoBrowserMain::WM_mouseWheel(int delta) {
    QWidget* page = mainTab->currentWidget();
    if (page == imageView) {
        imageView->wheelScroll(delta);
    } else if (page == listView) {
        listView->wheelScroll(delta);
    }
}

void TZoBrowserMain::mainTabChange(int index) {
    QWidget* page = mainTab->widget(index);
    if (page == imageView && imageView->selectionPending()) {
        imageView->tabShown();
        return;
    }
    clearSelection();
}

} // namespace zob
