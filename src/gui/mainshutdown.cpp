// The close request and the end of the workers.

#include "app/appcontext.h"
#include "catalogue/artlistlist.h"
#include "gui/dialogs/splashform.h"
#include "gui/zobrowsermain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>

namespace zob {

namespace {

// How long the pictures in hand may take once the user asked to close.
constexpr std::chrono::milliseconds closeGrace{5'000};

} // namespace

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
    if (!registry.isForceQuitSet() && !registry.empty()) {
        // The pictures in hand may finish; a transfer that stalls is not
        // waited for beyond this.
        QTimer::singleShot(closeGrace, this, [&registry] { registry.abortTransfers(); });
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
    // The window is gone: nothing a worker still fetches can be shown.
    registry.abortTransfers();
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
