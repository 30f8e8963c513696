// zobrowser: the desktop browser. No options: everything comes from
// ./ZObrowser.ini in the working folder.

#include "config/configinfo.h"
#include "gui/browserapp.h"
#include "gui/quitsignals.h"
#include "platform/folderlock.h"

#include <QMessageBox>
#include <csignal>
#include <exception>

int main(int argc, char** argv) {
    // A file-size limit must show up as a write error with its reason, not
    // kill the program in the middle of a picture.
    std::signal(SIGXFSZ, SIG_IGN);
    zob::BrowserApplication application(argc, argv);
    // The side viewer and the splash must not keep the program alive; the
    // main window ends the loop itself.
    QApplication::setQuitOnLastWindowClosed(false);
    try {
        zob::BrowserApp browser(std::filesystem::path(zob::iniFileName), nullptr, {});
        // A kill or the end of the session closes the window as Exit does.
        const zob::QuitSignals quitSignals([&browser] { browser.mainWindow().close(); });
        browser.mainWindow().show();
        const int status = QApplication::exec();
        browser.shutdown();
        return status;
    } catch (const zob::FolderLock::Busy& busy) {
        QMessageBox::warning(nullptr, "warning", QString::fromUtf8(busy.what()));
        return zob::folderBusyStatus;
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "fatal error", QString::fromUtf8(error.what()));
        return 1;
    }
}
