#pragma once

#include "download/downloadtesting.h"

#include <gtest/gtest.h>

namespace zob::downloadtest {

// One registry, one test window on the test thread and a gated job desk.
// Managers made through `make` are ended and joined when the test is over,
// whatever state a failed test left them in.
class ManagerTest : public ::testing::Test {
protected:
    ManagerTest() { log.switchOn(); }
    ~ManagerTest() override {
        registry.setForceQuit();
        desk.openAll();
        // Nobody processes messages any more: let blocked workers through.
        window.messenger.close();
        for (const auto& manager : managers) {
            manager->join();
        }
    }

    std::shared_ptr<threadManagerNg> make(std::int32_t workers,
                                          const threadManagerNg::WorkerFactory& factory) {
        auto manager = threadManagerNg::create(registry, workers, factory);
        if (manager) {
            manager->window = &window.messenger;
            managers.push_back(manager);
        }
        return manager;
    }
    std::shared_ptr<threadManagerNg> make(std::int32_t workers = 1) {
        return make(workers, deskWorkers(desk));
    }

    DebugLog log;
    ManagerRegistry registry{log};
    TestWindow window{registry};
    JobDesk desk{true};
    std::vector<std::shared_ptr<threadManagerNg>> managers;
};

} // namespace zob::downloadtest
