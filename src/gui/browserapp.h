#pragma once

#include "gui/zobrowsermain.h"

#include <QApplication>
#include <filesystem>
#include <memory>

namespace zob {

class AppContext;
class FolderLock;
class MessageBoxPrompt;
class TConfigForm;
class TImageForm;
class TPasswordForm;
class UserPrompt;

// The application object: an error that escapes a handler is told to the
// user instead of ending the program.
class BrowserApplication : public QApplication {
public:
    BrowserApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// One run of the browser: the context and the windows, made in their order,
// and the one ordered end of it all.
class BrowserApp {
public:
    // `prompt` null: message boxes ask the user. Throws FolderLock::Busy
    // when another program works in the settings' local folder.
    BrowserApp(const std::filesystem::path& iniPath, UserPrompt* prompt,
               BrowserEnvironment environment);
    ~BrowserApp();

    BrowserApp(const BrowserApp&) = delete;
    BrowserApp& operator=(const BrowserApp&) = delete;

    // Every worker ends, then the settings are written. Runs once, whether
    // the window closed, the start-up was abandoned or the program is failing.
    void shutdown();

    AppContext& context() { return *context_; }
    TZoBrowserMain& mainWindow() { return *main_; }
    TConfigForm& configForm() { return *config_; }
    TImageForm& imageForm() { return *image_; }
    TPasswordForm& passwordForm() { return *password_; }

private:
    std::unique_ptr<MessageBoxPrompt> ownPrompt_;
    // Declared before the context: the folder stays ours until the context
    // has written its last file.
    std::unique_ptr<FolderLock> folderLock_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<TZoBrowserMain> main_;
    std::unique_ptr<TConfigForm> config_;
    std::unique_ptr<TImageForm> image_;
    std::unique_ptr<TPasswordForm> password_;
    bool shutDown_ = false;
};

} // namespace zob
