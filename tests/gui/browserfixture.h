#pragma once

// A whole browser on the demo site: settings in a scratch folder, a scripted
// prompt, a fixed clock and dialogs that are recorded instead of shown.

#include "app/appcontext.h"
#include "catalogue/loadstatuslists.h"
#include "gui/browserapp.h"
#include "gui/mainmenus.h"
#include "gui/navigator.h"
#include "gui/seriescontroller.h"
#include "gui/splashholder.h"
#include "gui/startupsequence.h"
#include "gui/workerevents.h"
#include "platform/scriptedprompt.h"
#include "testsupport/filetesting.h"
#include "testsupport/sitesession.h"
#include "testsupport/windowparts.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QTest>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zob::testing {

class BrowserFixture : public DemoSiteSuite {
protected:
    void SetUp() override {
        site().setFaults({});
        site().clearRequests();
    }

    // The settings file: login and password, the local folder, the site;
    // `debugKeys` join the debug section, `sections` follow it.
    void writeSettings(const std::string& user, const std::string& debugKeys = {},
                       const std::string& sections = {}) {
        writeBytes(iniPath(), user + "[env]\nlocal=" + localFolder().string() +
                                  "\n[debug]\ndbgHost=" + site().baseUrl() + "\n" + debugKeys +
                                  sections);
    }
    void writeOnlineSettings(const std::string& debugKeys = {}) {
        writeSettings("[user]\nlogin=demo\npassword=demo\n", debugKeys);
    }

    std::filesystem::path iniPath() const { return folder.path() / "ZObrowser.ini"; }
    std::filesystem::path localFolder() const { return folder.path() / "Zel-Ora"; }

    // Makes the program's windows, as the program does at start.
    void makeBrowser(int year = 2008, int month = 3) {
        BrowserEnvironment environment;
        environment.clock = [year, month] { return YearMonth{year, month}; };
        environment.runModal = [this](QDialog& dialog) {
            modalDialogs.push_back(dialog.metaObject()->className());
            return modalAnswer ? modalAnswer(dialog) : int(QDialog::Rejected);
        };
        environment.terminate = [this] { ++terminateRequests; };
        environment.closed = [this] { ++closedCount; };
        // Addresses and folders are recorded, not handed to a desktop.
        environment.openUrl = [this](const QUrl& address) { openedUrls.push_back(address); };
        app = std::make_unique<BrowserApp>(iniPath(), &prompt, std::move(environment));
    }

    // Makes the browser and runs its start-up to the end.
    void start(int year = 2008, int month = 3) {
        makeBrowser(year, month);
        window().show();
        window().FormActivate();
    }

    TZoBrowserMain& window() { return app->mainWindow(); }
    AppContext& context() { return app->context(); }

    // Handles the workers' messages until `done` holds (at most 20 s).
    static bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 20'000); }

    // Every cover of the current list has become a tile.
    bool tilesComplete() {
        const ArtListPtr list = window().navigator().crntArchive();
        // Covers may be reported out of order: the job must have ended too.
        return list && imageView(window())->tileCount() == list->size() &&
               window().splash().form() == nullptr && context().managerRegistry.unfinished() == 0;
    }

    // The entry of the Archive menu (or one of its submenus) with this caption.
    QAction* archiveEntry(const QString& caption) {
        return findAction(part<QMenu>(window(), "mArchive"), caption);
    }
    static QAction* findAction(QMenu* menu, const QString& caption) {
        for (QAction* action : menu->actions()) {
            if (action->text() == caption) {
                return action;
            }
            if (action->menu() != nullptr) {
                if (QAction* found = findAction(action->menu(), caption)) {
                    return found;
                }
            }
        }
        return nullptr;
    }

    void TearDown() override {
        if (app) {
            app->shutdown();
        }
        app.reset();
    }

    ScratchFolder folder;
    ScriptedPrompt prompt{PromptAnswer::Ok};
    std::unique_ptr<BrowserApp> app;
    std::vector<std::string> modalDialogs;
    std::function<int(QDialog&)> modalAnswer;
    std::vector<QUrl> openedUrls;
    int terminateRequests = 0;
    int closedCount = 0;
};

} // namespace zob::testing
