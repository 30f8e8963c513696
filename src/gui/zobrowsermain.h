#pragma once

#include "gui/mainparts.h"

#include <QMainWindow>
#include <memory>

namespace zob {

class ViewRequests;

// The browser's main window. It makes the views and the helper objects that
// do the work (menus, navigation, series commands, worker messages, start-up)
// and passes its own events on to them; what the lists and downloads do
// lives in the application layer.
class TZoBrowserMain : public QMainWindow {
    Q_OBJECT
public:
    TZoBrowserMain(AppContext& context, BrowserEnvironment environment);
    ~TZoBrowserMain() override;

    // The other windows, made after this one.
    void attachWindows(TConfigForm& configForm, TImageForm& imageForm);

    // Runs the start-up once (the first activation, and again while no list
    // became current).
    void FormActivate();
    // The close request: lists saved once, downloads asked to stop, refused
    // while any manager lives.
    bool FormCloseQuery();
    // Handles worker messages until every manager has said its last word,
    // then joins what is left. Safe to call more than once.
    void waitForWorkers();

    // --- the window's parts
    MainMenus& menus() const { return *menus_; }
    Navigator& navigator() const { return *navigator_; }
    SeriesController& series() const { return *series_; }
    WorkerEvents& events() const { return *events_; }
    SplashHolder& splash() const { return *splash_; }
    StartupSequence& startup() const { return *startup_; }
    LoadStatStrips& loadStatStrips() const { return *strips_; }

    // --- what the window itself does with a move and the wheel
    void WM_move(int x, int y);
    void WM_mouseWheel(int delta);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTabs();
    void layoutViews();
    void mainTabChange(int index);
    void ImageBtnClick();
    void configBtnClick();

    BrowserEnvironment environment_;
    MainParts parts_;
    std::unique_ptr<ViewRequests> viewRequests_;
    std::unique_ptr<LoadStatStrips> strips_;
    std::unique_ptr<SplashHolder> splash_;
    std::unique_ptr<WorkerEvents> events_;
    std::unique_ptr<Navigator> navigator_;
    std::unique_ptr<SeriesController> series_;
    std::unique_ptr<DebugPanel> debugPanel_;
    std::unique_ptr<MainMenus> menus_;
    std::unique_ptr<StartupSequence> startup_;
    bool closing_ = false;
};

} // namespace zob
