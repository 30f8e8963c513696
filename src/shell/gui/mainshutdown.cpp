// The close request and the end of the workers.

#include "catalogue/artlistlist.h"
#include "shell/appcontext.h"
#include "shell/gui/splashform.h"
#include "shell/gui/zobrowsermain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>

namespace zob {

bool TZoBrowserMain::FormCloseQuery() {
    configInfoClass& config = context_.configInfo;
    if (!config.noSplash) {
        if (!splashForm_) {
            splashForm_ = std::make_unique<TsplashForm>();
        }
        splashForm_->showTerminating();
    }
    ManagerRegistry& registry = context_.managerRegistry;
    if (!registry.isForceQuitSet()) {
        context_.loadedArchives.saveAll();
    }
    registry.setForceQuit();
    config.mainWidth = width();
    config.mainHeight = height();
    config.mainX = geometry().x();
    config.mainY = geometry().y();
    return registry.empty();
}

void TZoBrowserMain::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (!FormCloseQuery()) {
        // The last manager to end closes the window again.
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
    releaseSplash();
    environment_.closed();
}

void TZoBrowserMain::waitForWorkers() {
    ManagerRegistry& registry = context_.managerRegistry;
    registry.setForceQuit();
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
