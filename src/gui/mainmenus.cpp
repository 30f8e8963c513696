#include "gui/mainmenus.h"

#include "app/appcontext.h"
#include "app/archivemenu.h"
#include "app/seriesmenu.h"
#include "gui/debugpanel.h"
#include "gui/displaytext.h"
#include "gui/mainparts.h"
#include "gui/navigator.h"
#include "gui/seriescontroller.h"
#include "gui/threadpanel.h"
#include "gui/views/seriespopup.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

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

// Offline stands out; online stays quiet but readable, so the label's double
// click can be found. The style names the label: a bare "color" would reach its
// tooltip too and draw it in the label's colours.
void showModeText(QLabel& label, bool offline) {
    label.setText(offline ? "OFFLINE" : "online");
    label.setStyleSheet(
        offline ? "QLabel#modeStr { color: rgb(204, 0, 0); font-weight: bold; padding-left: 8px; }"
                : "QLabel#modeStr { color: rgb(128, 128, 128); padding-left: 8px; }");
}

QMenu* namedMenu(QMainWindow& window, const char* caption, const char* name) {
    QMenu* menu = window.menuBar()->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

QAction* namedEntry(QMenu* menu, const char* caption, const char* name,
                    const char* keys = nullptr) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (keys != nullptr) {
        action->setShortcut(QKeySequence(keys));
    }
    return action;
}

// The entries the program offers for the look of its menus and does not act on.
QAction* disabledEntry(QMenu* menu, const char* caption, const char* name,
                       const char* keys = nullptr) {
    QAction* action = namedEntry(menu, caption, name, keys);
    action->setEnabled(false);
    return action;
}

// Backspace belongs to a text box that has the keyboard, even a read-only
// one (the debug log).
bool textFieldHasFocus() {
    const QWidget* focus = QApplication::focusWidget();
    return qobject_cast<const QLineEdit*>(focus) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(focus) != nullptr ||
           qobject_cast<const QTextEdit*>(focus) != nullptr;
}

} // namespace

MainMenus::MainMenus(MainParts& parts, WindowActions actions)
    : parts_(parts), actions_(std::move(actions)) {
    buildFileAndEdit();
    mArchive_ = namedMenu(parts_.window, "&Archive", "mArchive");
    buildArchiveMenu();
    mHistory_ = namedMenu(parts_.window, "&History", "mHistory");
    historyGroup_ = new QActionGroup(this);
    historyGroup_->setExclusive(true);
    buildResMenu();
    buildOptionMenu();
    buildToolBar();
    buildStatusBar();
}

void MainMenus::buildFileAndEdit() {
    QMenu* file = namedMenu(parts_.window, "&File", "mFile");
    QAction* exit = namedEntry(file, "Exit", "mExit", "Ctrl+Q");
    connect(exit, &QAction::triggered, this, [this] { actions_.close(); });

    QMenu* edit = namedMenu(parts_.window, "&Edit", "mEdit");
    disabledEntry(edit, "Undo", "mUndo", "Ctrl+Z");
    disabledEntry(edit, "Cut", "mCut", "Ctrl+X");
    mCopy_ = disabledEntry(edit, "Copy", "mCopy", "Ctrl+C");
    connect(mCopy_, &QAction::triggered, this, [this] { parts_.series->copySelection(); });
    disabledEntry(edit, "Paste", "mPaste", "Ctrl+V");
    edit->addSeparator();
    QAction* configure = namedEntry(edit, "Configure...", "mConfig");
    connect(configure, &QAction::triggered, this, [this] { actions_.configure(); });
}

QAction* MainMenus::archiveEntry(QMenu* menu, const QString& caption) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, this,
            [this, action] { parts_.navigator->archiveMenuSelect(*action); });
    return action;
}

void MainMenus::buildArchiveMenu() {
    mFavorite_ = archiveEntry(mArchive_, "&My favorites");
    mFavorite_->setObjectName("mFavorite");
    archiveEntry(mArchive_, "&Bad list");
    archiveEntry(mArchive_, "Be&st of ZEL");
    mArchive_->addSeparator();
    QMenu* byStatus = mArchive_->addMenu("By &load status");
    archiveEntry(byStatus, "Downloading");
    archiveEntry(byStatus, "Downloaded");
    archiveEntry(byStatus, "Stopping or loading");
    archiveEntry(byStatus, "Not downloaded");
    mArchive_->addSeparator();
}

void MainMenus::appendMonthEntries(const ArchiveMenuLayout& layout) {
    if (monthEntriesBuilt_) {
        return;
    }
    monthEntriesBuilt_ = true;
    const auto entry = [this](QMenu* menu, const ArchiveMonthEntry& month) {
        archiveEntry(menu, QString::fromStdString(month.caption))->setEnabled(month.enabled);
    };
    for (const ArchiveMonthEntry& month : layout.topLevel) {
        entry(mArchive_, month);
    }
    for (const ArchiveYearMenu& year : layout.years) {
        QMenu* sub = mArchive_->addMenu(QString::number(year.year));
        for (const ArchiveMonthEntry& month : year.months) {
            entry(sub, month);
        }
    }
    entry(mArchive_, ArchiveMonthEntry{1, 1, layout.archiveCaption, true});
}

void MainMenus::buildResMenu() {
    QMenu* res = namedMenu(parts_.window, "&Res", "mRes");
    resGroup_ = new QActionGroup(this);
    const auto entry = [this, res](const char* caption, const char* name, const char* keys) {
        QAction* action = namedEntry(res, caption, name, keys);
        action->setCheckable(true);
        resGroup_->addAction(action);
        connect(action, &QAction::triggered, this, [this, action] { resEntryChosen(*action); });
        resEntries_.push_back(action);
    };
    // In the order of the stored numbers.
    entry("&High res", "mResHigh", "Ctrl+H");
    entry("&Middle res", "mResMiddle", "Ctrl+M");
    entry("&Low res", "mResLow", "Ctrl+L");
    entry("&Thumb only", "mResThumb", "Ctrl+T");
    checkResolutionEntry(2);
}

void MainMenus::checkResolutionEntry(int number) {
    const bool known = number >= 0 && number < static_cast<int>(resEntries_.size());
    resEntries_.at(known ? static_cast<std::size_t>(number) : resEntries_.size() - 1)
        ->setChecked(true);
}

void MainMenus::resEntryChosen(QAction& entry) {
    entry.setChecked(true);
    for (std::size_t k = 0; k < resEntries_.size(); ++k) {
        if (resEntries_[k] == &entry) {
            storedResolution_ = static_cast<int>(k);
        }
    }
}

Resolution MainMenus::resolution() const {
    // Any other stored number is downloaded at low resolution.
    return resolutionNumbered(storedResolution_).value_or(resLow);
}

void MainMenus::buildOptionMenu() {
    mOption_ = namedMenu(parts_.window, "&Option", "mOption");
    disabledEntry(mOption_, "Reload", "mReload");
    disabledEntry(mOption_, "Sync favorites", "mSyncFavorites");
    disabledEntry(mOption_, "Offline mode", "mOfflineMode");
    mSideView_ = namedEntry(mOption_, "Side view", "mSideView", "Ctrl+S");
    mSideView_->setCheckable(true);
    connect(mSideView_, &QAction::triggered, this, [this] { actions_.toggleSideView(); });
    mOption_->addSeparator();
    mAddToFavorite_ = disabledEntry(mOption_, "Add to favorite", "mAddToFavorite");
    connect(mAddToFavorite_, &QAction::triggered, this,
            [this] { parts_.series->toggleFavorite(); });
    mAddToBad_ = disabledEntry(mOption_, "Add to bad list", "mAddToBad");
    connect(mAddToBad_, &QAction::triggered, this, [this] { parts_.series->toggleBad(); });
    mOption_->addSeparator();
    mOfflineSearch_ = namedEntry(mOption_, "Search as Offline", "mOfflineSearch");
    mOfflineSearch_->setCheckable(true);
    connect(mOfflineSearch_, &QAction::triggered, this,
            [this] { setOfflineSearch(!offlineSearch_); });
    mSearchSameModel_ = disabledEntry(mOption_, "Search same model", "mSearchSameModel");
    connect(mSearchSameModel_, &QAction::triggered, this,
            [this] { parts_.series->seriesCommand(SeriesCommand::searchModel, 5, "srch1"); });
    mSearchSamePhoto_ = disabledEntry(mOption_, "Search same photographer", "mSearchSamePhoto");
    connect(mSearchSamePhoto_, &QAction::triggered, this,
            [this] { parts_.series->seriesCommand(SeriesCommand::searchPhoto, 6, {}); });
}

void MainMenus::buildToolBar() {
    QToolBar* bar = parts_.window.addToolBar("tools");
    bar->setObjectName("toolBar");
    bar->setMovable(false);
    bar->setFloatable(false);
    const auto button = [this, bar](const QString& caption, const char* name, const QString& hint,
                                    std::function<void()> command) {
        auto* b = new QToolButton(bar);
        b->setObjectName(name);
        b->setText(caption);
        b->setToolTip(hint);
        b->setStatusTip(hint);
        connect(b, &QToolButton::clicked, this, std::move(command));
        bar->addWidget(b);
        return b;
    };
    histBackward_ = button("<", "histBackward", "Back (Alt+Left, Backspace)",
                           [this] { parts_.navigator->back(); });
    histBackward_->setIcon(parts_.window.style()->standardIcon(QStyle::SP_ArrowBack));
    histBackward_->setEnabled(false);
    histForward_ =
        button(">", "histForward", "Forward (Alt+Right)", [this] { parts_.navigator->forward(); });
    histForward_->setIcon(parts_.window.style()->standardIcon(QStyle::SP_ArrowForward));
    histForward_->setEnabled(false);
    addHistoryKeys();
    bar->addSeparator();
    button("Img", "imageBtn", "Sideview On/Off", [this] { actions_.toggleSideView(); });
    button("Dbg", "dbgBtn", "Show or hide the debug log", [this] { parts_.debugPanel->toggle(); });
    button("DbgSave", "dbgSaveBtn", "Save the debug log to dbg.log",
           [this] { parts_.debugPanel->save(); });
    // QToolBar hides its widgets through their actions.
    bar->actions().at(bar->actions().size() - 1)->setVisible(false);
    bar->actions().at(bar->actions().size() - 2)->setVisible(false);
    bar->addSeparator();
    modeStr_ = new ModeLabel([this] { parts_.navigator->toggleMode(); }, bar);
    modeStr_->setObjectName("modeStr");
    modeStr_->setMinimumWidth(80);
    modeStr_->setToolTip("Double-click to switch between online and offline");
    showModeText(*modeStr_, parts_.context.offlineMode);
    bar->addWidget(modeStr_);
    buildFilterField(*bar);
}

void MainMenus::buildFilterField(QToolBar& bar) {
    // Pushed to the right end of the bar.
    auto* gap = new QWidget(&bar);
    gap->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar.addWidget(gap);
    filterField_ = new QLineEdit(&bar);
    filterField_->setObjectName("filterField");
    filterField_->setPlaceholderText("Filter (Ctrl+F)");
    filterField_->setToolTip("Shows only the series whose title, model or photographer holds "
                             "this text");
    filterField_->setClearButtonEnabled(true);
    filterField_->setFixedWidth(170);
    bar.addWidget(filterField_);
    connect(filterField_, &QLineEdit::textChanged, this,
            [this](const QString& text) { parts_.navigator->applyFilter(text); });
    // Escape in the field clears it and gives the keys back to the views.
    auto* leave = new QShortcut(QKeySequence(Qt::Key_Escape), filterField_, nullptr, nullptr,
                                Qt::WidgetShortcut);
    connect(leave, &QShortcut::activated, this, [this] {
        filterField_->clear();
        parts_.tabs->currentWidget()->setFocus();
    });
    auto* find = new QShortcut(QKeySequence::Find, &parts_.window);
    connect(find, &QShortcut::activated, this, [this] {
        filterField_->setFocus();
        filterField_->selectAll();
    });
}

void MainMenus::clearFilterField() {
    const QSignalBlocker quiet(filterField_);
    filterField_->clear();
}

void MainMenus::addHistoryKeys() {
    // The keys press the buttons, so they do nothing while a button is grey.
    const auto key = [this](const QKeySequence& keys, QToolButton* button, bool notWhileTyping) {
        auto* shortcut = new QShortcut(keys, &parts_.window);
        connect(shortcut, &QShortcut::activated, button, [button, notWhileTyping] {
            if (!notWhileTyping || !textFieldHasFocus()) {
                button->click();
            }
        });
    };
    key(QKeySequence(Qt::ALT | Qt::Key_Left), histBackward_, false);
    key(QKeySequence(Qt::Key_Back), histBackward_, false);
    key(QKeySequence(Qt::Key_Backspace), histBackward_, true);
    key(QKeySequence(Qt::ALT | Qt::Key_Right), histForward_, false);
    key(QKeySequence(Qt::Key_Forward), histForward_, false);
}

void MainMenus::buildStatusBar() {
    statusPanel_ = new ThreadPanel;
    statusPanel_->setFixedWidth(150);
    parts_.window.statusBar()->addPermanentWidget(statusPanel_);
    parts_.window.statusBar()->setObjectName("StatusBar1");
}

void MainMenus::showDebugButtons() {
    auto* bar = parts_.window.findChild<QToolBar*>("toolBar");
    for (QAction* action : bar->actions()) {
        const QWidget* widget = bar->widgetForAction(action);
        if (widget != nullptr &&
            (widget->objectName() == "dbgBtn" || widget->objectName() == "dbgSaveBtn")) {
            action->setVisible(true);
        }
    }
}

void MainMenus::setListMenusEnabled(bool enabled) {
    listMenusEnabled_ = enabled;
    applyListEntries();
}

void MainMenus::setLoadRunning(bool running) {
    loadRunning_ = running;
    applyListEntries();
}

void MainMenus::applyListEntries() {
    const bool lists = listMenusEnabled_ && !loadRunning_;
    mArchive_->setEnabled(lists);
    mHistory_->setEnabled(lists);
    mArchive_->menuAction()->setEnabled(lists);
    mHistory_->menuAction()->setEnabled(lists);
    histBackward_->setEnabled(backEnabled_ && !loadRunning_);
    histForward_->setEnabled(forwardEnabled_ && !loadRunning_);
}

void MainMenus::setFavoritesEntryEnabled(bool enabled) {
    mFavorite_->setEnabled(enabled);
}

void MainMenus::setHistoryEntries(const std::vector<HistoryMenuEntry>& entries) {
    QList<QAction*> actions = mHistory_->actions();
    while (actions.size() > static_cast<qsizetype>(entries.size())) {
        QAction* first = actions.takeFirst();
        mHistory_->removeAction(first);
        historyGroup_->removeAction(first);
        first->deleteLater();
    }
    while (actions.size() < static_cast<qsizetype>(entries.size())) {
        QAction* action = mHistory_->addAction("dummy");
        action->setObjectName("dummy");
        action->setCheckable(true);
        historyGroup_->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, action] { parts_.navigator->historyMenuClick(*action); });
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

void MainMenus::setHistoryButtons(bool backEnabled, bool forwardEnabled) {
    backEnabled_ = backEnabled;
    forwardEnabled_ = forwardEnabled;
    applyListEntries();
}

int MainMenus::historyPosition(const QAction& entry) const {
    return static_cast<int>(mHistory_->actions().indexOf(&entry));
}

void MainMenus::setOfflineSearch(bool on) {
    offlineSearch_ = on;
    mOfflineSearch_->setChecked(on);
}

void MainMenus::setOfflineSearchEnabled(bool enabled) {
    mOfflineSearch_->setEnabled(enabled);
}

void MainMenus::showMode(bool offline) {
    statusPanel_->clear();
    showModeText(*modeStr_, offline);
}

QString MainMenus::modeText() const {
    return modeStr_->text();
}

void MainMenus::showSeriesEntries(const SeriesPtr& series) {
    const ArtListList& registry = parts_.context.loadedArchives;
    const bool favorite = registry.favoriteList && registry.favoriteList->indexOfName(*series) >= 0;
    const bool bad = registry.badList && registry.badList->indexOfName(*series) >= 0;
    replaceModelSearchEntry(series);
    mSearchSamePhoto_->setEnabled(true);
    mSearchSamePhoto_->setText(toDisplay("Search photographer:" + series->photographer));
    mAddToFavorite_->setEnabled(true);
    mAddToFavorite_->setText(favorite ? "Remove from My Favorite" : "Add to My Favorite");
    mAddToBad_->setEnabled(true);
    mAddToBad_->setText(bad ? "Remove from Bad List" : "Add to Bad List");
}

void MainMenus::replaceModelSearchEntry(const SeriesPtr& series) {
    // The Option menu's model search is made anew for the selected series.
    const SeriesMenu model = buildSeriesMenu(
        seriesMenuInput(*series, resolution(), parts_.context.offlineMode, offlineSearch_));
    QAction* fresh = SeriesPopup::buildModelSearchItem(
        model, mOption_, [this](SeriesCommand command, int tag, const QString& name) {
            parts_.series->seriesCommand(command, tag, name);
        });
    mOption_->insertAction(mSearchSameModel_, fresh);
    mOption_->removeAction(mSearchSameModel_);
    // Gone later, but no longer found by its name.
    mSearchSameModel_->setObjectName({});
    if (QMenu* submenu = mSearchSameModel_->menu()) {
        submenu->setObjectName({});
        submenu->deleteLater();
    } else {
        mSearchSameModel_->deleteLater();
    }
    mSearchSameModel_ = fresh;
    mSearchSameModel_->setEnabled(true);
}

void MainMenus::hideSeriesEntries() {
    mSearchSameModel_->setEnabled(false);
    mSearchSamePhoto_->setEnabled(false);
    mAddToFavorite_->setEnabled(false);
    mAddToBad_->setEnabled(false);
}

void MainMenus::selectionCleared() {
    mAddToFavorite_->setEnabled(false);
    mAddToBad_->setEnabled(false);
    mSearchSameModel_->setEnabled(false);
    mCopy_->setEnabled(false);
}

void MainMenus::setCopyEnabled(bool enabled) {
    mCopy_->setEnabled(enabled);
}

void MainMenus::setSideViewChecked(bool checked) {
    mSideView_->setChecked(checked);
}

void MainMenus::showSideView() {
    if (!parts_.sideViewerVisible()) {
        actions_.toggleSideView();
    }
}

void MainMenus::setThreadCount(int liveManagers) {
    statusPanel_->setThreadCount(liveManagers);
}

QString MainMenus::threadStatusText() const {
    return statusPanel_->text();
}

} // namespace zob
