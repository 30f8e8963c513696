#pragma once

#include "catalogue/loadstatuslists.h"

#include <QDialog>
#include <QUrl>
#include <functional>

class QMainWindow;
class QTabWidget;

namespace zob {

class AppContext;
class ArchiveImageView;
class ArchiveListView;
class DebugPanel;
class LoadStatStrips;
class MainMenus;
class Navigator;
class PictureViewer;
class SeriesContentsView;
class SeriesController;
class SplashHolder;
class StartupSequence;
class TConfigForm;
class TImageForm;
class WorkerEvents;

// What the window takes from the world around it; tests replace each part.
struct BrowserEnvironment {
    // Year and month "now": the start month and the Archive menu.
    MonthClock clock = currentYearMonth;
    // Shows a dialog modally and returns its result.
    std::function<int(QDialog&)> runModal;
    // The application is told to end without the close request (start-up
    // abandoned).
    std::function<void()> terminate;
    // The window has closed for good: the message loop may end.
    std::function<void()> closed;
    // The desktop's "open" of an address or a folder.
    std::function<void(const QUrl&)> openUrl;
};

// The rooms of the main window that its helper objects share: the context,
// the views and the helpers themselves. The window makes every part and
// outlives them all; each helper keeps its own state private and reaches the
// others only through their public interfaces.
struct MainParts {
    AppContext& context;
    BrowserEnvironment& environment;
    QMainWindow& window;

    QTabWidget* tabs = nullptr;
    ArchiveImageView* imageView = nullptr;
    ArchiveListView* listView = nullptr;
    SeriesContentsView* contentsView = nullptr;
    LoadStatStrips* strips = nullptr;

    MainMenus* menus = nullptr;
    SplashHolder* splash = nullptr;
    Navigator* navigator = nullptr;
    SeriesController* series = nullptr;
    WorkerEvents* events = nullptr;
    StartupSequence* startup = nullptr;
    DebugPanel* debugPanel = nullptr;

    // The other windows, made after the main window.
    TConfigForm* configForm = nullptr;
    TImageForm* imageForm = nullptr;
    // Made when first asked for.
    PictureViewer* pictureViewer = nullptr;

    bool sideViewerVisible() const;
    void showInSideViewer(const std::string& file) const;
    // The picture viewer, brought up at picture `pictureNumber` of `shown`.
    void viewPictures(const SeriesPtr& shown, Resolution resolution, int pictureNumber);
};

// The pointer says the window is busy until `setBusyCursor(false)`, however
// often it was set.
void setBusyCursor(bool busy);

} // namespace zob
