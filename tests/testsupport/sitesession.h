#pragma once

#include "app/appcontext.h"
#include "app/archiveloader.h"
#include "demosite/demosite.h"
#include "platform/scriptedprompt.h"
#include "testsupport/filetesting.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace zob::testing {

// The demo site with a fixed "today", so expectations never depend on the clock.
inline demosite::SiteOptions fixedSiteOptions() {
    demosite::SiteOptions options;
    options.todayYear = 2008;
    options.todayMonth = 3;
    options.todayDay = 15;
    return options;
}

// Tests of one suite share one demo site, started before the first of them.
class DemoSiteSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        site_ = std::make_unique<demosite::DemoSite>(fixedSiteOptions());
        site_->start();
    }
    static void TearDownTestSuite() { site_.reset(); }

    static demosite::DemoSite& site() { return *site_; }

private:
    inline static std::unique_ptr<demosite::DemoSite> site_;
};

// A loader host that records what the loader asked of the window.
class RecordingHost : public ArchiveLoaderHost {
public:
    void clearViewsForLoad() override { ++clears; }
    void closeMainWindow() override { ++closeRequests; }
    void setOfflineSearch(bool on) override { offlineSearch = on; }

    int clears = 0;
    int closeRequests = 0;
    bool offlineSearch = false;
};

// A working folder with a settings file pointing at a site, and the
// program's context made from it: what a run of the program starts with.
class SiteSession {
public:
    explicit SiteSession(const std::string& baseUrl, const std::string& password = "demo") {
        writeBytes(folder.path() / "ZObrowser.ini", "[user]\nlogin=demo\npassword=" + password +
                                                        "\n[env]\nlocal=" + localFolder().string() +
                                                        "\n[debug]\ndbgHost=" + baseUrl +
                                                        "\n[net]\nretries=0\n");
        context = std::make_unique<AppContext>(folder.path() / "ZObrowser.ini", prompt);
        HttpRequestSettings request = context->defaultHttp.requestSettings();
        request.basicAuth = true;
        request.userName = "demo";
        request.password = password;
        context->defaultHttp.setRequestSettings(request);
    }

    std::filesystem::path localFolder() const { return folder.path() / "Zel-Ora"; }
    std::filesystem::path indexFolder() const { return localFolder() / "00index"; }
    ArtListList& registry() { return context->loadedArchives; }

    ScratchFolder folder;
    ScriptedPrompt prompt;
    RecordingHost host;
    std::unique_ptr<AppContext> context;
};

} // namespace zob::testing
