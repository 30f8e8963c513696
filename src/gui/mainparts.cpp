#include "gui/mainparts.h"

#include "app/appcontext.h"
#include "gui/views/imageform.h"
#include "gui/views/pictureviewer.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>

namespace zob {

bool MainParts::sideViewerVisible() const {
    return imageForm != nullptr && imageForm->isVisible();
}

void MainParts::showInSideViewer(const std::string& file) const {
    if (imageForm != nullptr) {
        imageForm->setImage(file);
    }
}

void MainParts::viewPictures(const SeriesPtr& shown, Resolution resolution, int pictureNumber) {
    if (pictureViewer == nullptr) {
        // A window of its own that goes with the main window.
        pictureViewer = new PictureViewer(&window);
        // Most of the screen the main window is on, in its middle.
        if (const QScreen* screen = window.screen()) {
            const QRect area = screen->availableGeometry();
            pictureViewer->resize(area.size() * 4 / 5);
            pictureViewer->move(area.center() - pictureViewer->rect().center());
        }
    }
    pictureViewer->setSlideshowInterval(std::chrono::seconds(context.configInfo.slideshowSeconds));
    pictureViewer->showPictures(shown, resolution, pictureNumber);
    pictureViewer->show();
    pictureViewer->raise();
    pictureViewer->activateWindow();
}

void setBusyCursor(bool busy) {
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

} // namespace zob
