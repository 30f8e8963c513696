#include "gui/mainparts.h"

#include "gui/views/imageform.h"

#include <QApplication>

namespace zob {

bool MainParts::sideViewerVisible() const {
    return imageForm != nullptr && imageForm->isVisible();
}

void MainParts::showInSideViewer(const std::string& file) const {
    if (imageForm != nullptr) {
        imageForm->setImage(file);
    }
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
