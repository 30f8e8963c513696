#pragma once

#include "download/queuedmessenger.h"
#include "download/threadmanager.h"
#include "platform/threadinfo.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

// A stand-in main window and scriptable workers for the download engine's
// tests. Every wait is bounded, so a broken engine fails a test instead of
// hanging it.

namespace zob::downloadtest {

using namespace std::chrono_literals;

inline constexpr std::chrono::milliseconds patience = 30s;

// Polls `condition` until it holds or `patience` has passed.
inline bool eventually(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// The test thread plays the main window: it records every message and, like
// the real window, answers the free message by dropping the manager from the
// registry and sending itself the new thread count.
class TestWindow {
public:
    explicit TestWindow(ManagerRegistry& registry) : registry_(registry) {
        messenger.setHandler([this](const WindowMessage& message) { handle(message); });
    }

    bool processUntilFreed(std::size_t count) {
        return messenger.processUntil([&] { return freed() >= count; }, patience);
    }
    std::size_t freed() const { return countOf(WM_freeThreadMngrNg); }
    std::size_t countOf(std::uint16_t id) const {
        return static_cast<std::size_t>(std::count_if(
            received.begin(), received.end(), [id](const WindowMessage& m) { return m.id == id; }));
    }
    std::vector<std::string> names() const {
        std::vector<std::string> all;
        for (const WindowMessage& message : received) {
            all.push_back(windowMessageName(message.id));
        }
        return all;
    }
    // Index of the first message with `id` about `manager`; -1 when none.
    int indexOf(std::uint16_t id, const threadManagerNg* manager) const {
        for (std::size_t i = 0; i < received.size(); ++i) {
            if (received[i].id == id && received[i].manager.get() == manager) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    QueuedMessenger messenger;
    std::vector<WindowMessage> received;

private:
    void handle(const WindowMessage& message) {
        received.push_back(message);
        if (message.id == WM_freeThreadMngrNg) {
            registry_.removeFromRegistry(message.manager.get());
            messenger.send(
                WindowMessage::updateThreadCount(static_cast<std::int32_t>(registry_.size())));
        }
    }

    ManagerRegistry& registry_;
};

// Where test workers take their jobs: it records every job taken and, when
// gated, holds each job "in hand" until the test hands out a pass.
class JobDesk {
public:
    struct Taken {
        std::uint32_t worker;
        std::int32_t job;
    };

    explicit JobDesk(bool gated) : gated_(gated) {}

    void took(std::uint32_t worker, std::int32_t job) {
        const std::lock_guard lock(mutex_);
        taken_.push_back({worker, job});
        changed_.notify_all();
    }
    // Waits (bounded) for a pass; a gated worker holds its job meanwhile.
    void waitForPass() {
        std::unique_lock lock(mutex_);
        if (!gated_) {
            return;
        }
        changed_.wait_for(lock, patience, [this] { return passes_ > 0 || open_; });
        if (passes_ > 0) {
            --passes_;
        }
    }
    void pass(int count = 1) {
        const std::lock_guard lock(mutex_);
        passes_ += count;
        changed_.notify_all();
    }
    void openAll() {
        const std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    bool waitForTaken(std::size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, patience, [&] { return taken_.size() >= count; });
    }
    std::vector<Taken> taken() const {
        const std::lock_guard lock(mutex_);
        return taken_;
    }

private:
    const bool gated_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Taken> taken_;
    int passes_ = 0;
    bool open_ = false;
};

// Takes jobs until there are none, reports each with the outcome `outcome`
// gives and tells the window like a picture worker does.
class DeskWorker final : public myActionThread {
public:
    explicit DeskWorker(JobDesk& desk, std::function<bool(std::int32_t)> outcome = {})
        : desk_(desk), outcome_(std::move(outcome)) {}
    ~DeskWorker() override {
        if (destroyed_ != nullptr) {
            destroyed_->store(true);
        }
    }

    std::string_view className() const override { return "DeskWorker"; }
    void signalDestruction(std::atomic<bool>& flag) { destroyed_ = &flag; }

private:
    void run() override {
        setCurrentThreadName("DeskWorker");
        while (const std::optional<std::int32_t> job = manager->getJob()) {
            desk_.took(handle(), *job);
            desk_.waitForPass();
            manager->repJob(*job, outcome_ ? outcome_(*job) : true);
            notify(WindowMessage::loadedLarge(nullptr, *job));
        }
    }

    JobDesk& desk_;
    std::function<bool(std::int32_t)> outcome_;
    std::atomic<bool>* destroyed_ = nullptr;
};

inline threadManagerNg::WorkerFactory deskWorkers(JobDesk& desk) {
    return [&desk] { return std::make_unique<DeskWorker>(desk); };
}

// The debug log's lines without their thread ids: "* text" for appended
// lines, "= text" for lines kept in place.
inline std::vector<std::string> logTexts(const DebugLog& log) {
    std::vector<std::string> texts;
    for (const std::string& line : log.lines()) {
        const bool appended = !line.empty() && line[0] == '*';
        const std::size_t id = line.find_first_not_of(" *");
        const std::size_t text = line.find(' ', id) + 1;
        texts.push_back((appended ? "* " : "= ") + line.substr(text));
    }
    return texts;
}

} // namespace zob::downloadtest
