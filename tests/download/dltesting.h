#pragma once

#include "catalogue/artlistlist.h"
#include "catalogue/monthlyartlist.h"
#include "download/downloadtesting.h"
#include "download/imagegetthread.h"
#include "testsupport/sitesession.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// A picture or cover download against the demo site, with the test thread
// standing in for the main window.

namespace zob::dltest {

using downloadtest::patience;
namespace fs = std::filesystem;

// Records every message and, like the main window, releases a manager on its
// free message: out of the registry, detached from its series, and joined
// only once the handler has returned.
class DlWindow {
public:
    explicit DlWindow(ManagerRegistry& registry) : registry_(registry) {
        messenger.setHandler([this](const WindowMessage& message) { handle(message); });
    }
    ~DlWindow() { joinFreed(); }

    // Handles messages until `count` more managers have been freed, then
    // joins them.
    bool runUntilFreed(std::size_t count) {
        const std::size_t target = freedCount_ + count;
        const bool done = messenger.processUntil([&] { return freedCount_ >= target; }, patience);
        joinFreed();
        return done;
    }

    std::vector<WindowMessage> of(std::uint16_t id) const {
        std::vector<WindowMessage> found;
        std::copy_if(received.begin(), received.end(), std::back_inserter(found),
                     [id](const WindowMessage& m) { return m.id == id; });
        return found;
    }
    // The second parameters of every message with `id`, in order.
    std::vector<std::int32_t> numbersOf(std::uint16_t id) const {
        std::vector<std::int32_t> numbers;
        for (const WindowMessage& message : of(id)) {
            numbers.push_back(message.picture);
        }
        return numbers;
    }

    QueuedMessenger messenger;
    std::vector<WindowMessage> received;

private:
    void handle(const WindowMessage& message) {
        received.push_back(message);
        if (message.id != WM_freeThreadMngrNg) {
            return;
        }
        registry_.removeFromRegistry(message.manager.get());
        if (message.series) {
            if (message.series->thumbJob == message.manager) {
                message.series->detachJobs(SeriesRec::JobKind::thumbnail);
            }
            if (message.series->pictureJob == message.manager) {
                message.series->detachJobs(SeriesRec::JobKind::picture);
            }
        }
        freed_.push_back(message.manager);
        ++freedCount_;
    }
    void joinFreed() {
        for (const auto& manager : freed_) {
            manager->join();
        }
        freed_.clear();
    }

    ManagerRegistry& registry_;
    std::vector<std::shared_ptr<threadManagerNg>> freed_;
    std::size_t freedCount_ = 0;
};

class DlTest : public zob::testing::DemoSiteSuite {
protected:
    void SetUp() override {
        site().setFaults({});
        site().clearRequests();
        session = std::make_unique<zob::testing::SiteSession>(site().baseUrl());
        context().debugLog.switchOn();
        window = std::make_unique<DlWindow>(context().managerRegistry);
    }
    void TearDown() override {
        window.reset();
        site().setFaults({});
    }

    AppContext& context() { return *session->context; }
    ArtListList& registry() { return session->registry(); }
    DownloadEnv env() { return context().downloadEnv(); }
    fs::path local() const { return session->localFolder(); }

    // The first gallery of the site that `wanted` accepts.
    const demosite::Series& gallery(const std::function<bool(const demosite::Series&)>& wanted) {
        for (const demosite::Series* series :
             site().content().select([&](const demosite::Series& s) {
                 return !s.isMovie && !s.onArchivePage && wanted(s);
             })) {
            return *series;
        }
        throw std::runtime_error("the demo site has no such series");
    }
    static bool plain(const demosite::Series& s) {
        return !s.lastPicturesMissing && !s.noMidRes && !s.archiveOnly;
    }

    // The series as its month's page lists it, in a list of that month.
    SeriesPtr record(const demosite::Series& series) {
        if (!list || list->year != series.year || list->month != series.month) {
            list = std::make_shared<monthlyArtList>(registry(), series.year, series.month);
        }
        list->addParsed(series.title, series.folderPath, series.date, series.modelText,
                        series.photographer, series.coverPath, series.announcedPhotos, -1, -1);
        return list->records().back();
    }

    // One picture job of resolution `r`, run to its end.
    void runJob(const SeriesPtr& series, Resolution r, bool offline = false) {
        const DownloadEnv downloadEnv = env();
        auto manager = threadManagerNg::create(context().managerRegistry, 1, [&] {
            return std::make_unique<ImageGetThread>(series, r, offline, downloadEnv);
        });
        ASSERT_NE(manager, nullptr);
        manager->window = &window->messenger;
        manager->doneMessage = r == resThumb ? WM_loadedThumbAll : WM_loadedLargeAll;
        manager->doneWParam = series;
        manager->start(series->photoCount);
        manager.reset();
        ASSERT_TRUE(window->runUntilFreed(1));
    }

    // Picture files 1..count of resolution `r`, written as a finished run would.
    static void putPictures(const SeriesRec& series, Resolution r, int from, int to) {
        for (int n = from; n <= to; ++n) {
            const fs::path file = series.localPictureFile(r, n);
            fs::create_directories(file.parent_path());
            writeBytes(file, "picture " + std::to_string(n));
        }
    }
    static int picturesOnDisk(const SeriesRec& series, Resolution r, int upTo) {
        int found = 0;
        for (int n = 1; n <= upTo; ++n) {
            std::error_code error;
            found += fs::file_size(series.localPictureFile(r, n), error) > 0 && !error ? 1 : 0;
        }
        return found;
    }
    // Requests the site saw whose target contains `part`.
    std::size_t requestsFor(const std::string& part) const {
        const auto all = site().requests();
        return static_cast<std::size_t>(std::count_if(all.begin(), all.end(), [&](const auto& r) {
            return r.target.find(part) != std::string::npos;
        }));
    }
    std::size_t logCount(const std::string& line) const {
        const auto texts = downloadtest::logTexts(session->context->debugLog);
        return static_cast<std::size_t>(std::count(texts.begin(), texts.end(), line));
    }
    std::vector<std::string> shownTexts() const {
        std::vector<std::string> texts;
        for (const auto& shown : session->prompt.shown()) {
            texts.push_back(shown.text);
        }
        return texts;
    }

    std::unique_ptr<zob::testing::SiteSession> session;
    std::unique_ptr<DlWindow> window;
    std::shared_ptr<monthlyArtList> list;
};

} // namespace zob::dltest
