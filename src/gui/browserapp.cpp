#include "gui/browserapp.h"

#include "app/appcontext.h"
#include "gui/dialogs/configdialog.h"
#include "gui/dialogs/messageboxprompt.h"
#include "gui/dialogs/passwordform.h"
#include "gui/displaytext.h"
#include "gui/views/imageform.h"
#include "platform/folderlock.h"
#include "site/sitenames.h"

#include <QMessageBox>
#include <exception>

namespace zob {

BrowserApplication::BrowserApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool BrowserApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        QMessageBox::warning(nullptr, "error", QString::fromUtf8(error.what()));
    }
    return false;
}

BrowserApp::BrowserApp(const std::filesystem::path& iniPath, UserPrompt* prompt,
                       BrowserEnvironment environment) {
    if (prompt == nullptr) {
        ownPrompt_ = std::make_unique<MessageBoxPrompt>();
        prompt = ownPrompt_.get();
    }
    context_ = std::make_unique<AppContext>(iniPath, *prompt);
    folderLock_ =
        std::make_unique<FolderLock>(context_->loadedArchives.localPath(indexFolderName), false);
    main_ = std::make_unique<TZoBrowserMain>(*context_, std::move(environment));
    config_ = std::make_unique<TConfigForm>(context_->configInfo, main_.get());
    image_ = std::make_unique<TImageForm>(context_->configInfo, context_->debugLog, main_.get());
    password_ = std::make_unique<TPasswordForm>(main_.get());
    main_->attachWindows(*config_, *image_);
}

BrowserApp::~BrowserApp() {
    try {
        shutdown();
    } catch (...) {
        // Nothing may escape a destructor; shutdown already told the user.
    }
}

void BrowserApp::shutdown() {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    main_->waitForWorkers();
    try {
        context_->configInfo.saveToIni();
    } catch (const std::exception& error) {
        context_->prompt.showMessage("error",
                                     std::string("The settings were not saved: ") + error.what());
    }
}

} // namespace zob
