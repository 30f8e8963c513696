#include "download/threadmanager.h"

#include "platform/threadinfo.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <string>
#include <system_error>

namespace zob {

// --- ManagerRegistry

std::size_t ManagerRegistry::size() const {
    const std::lock_guard lock(managerLock);
    return managerRegistry.size();
}

void ManagerRegistry::setForceQuit(bool on) {
    const std::lock_guard lock(managerLock);
    forceQuit = on;
    if (on) {
        for (const auto& manager : managerRegistry) {
            manager->stopFlag_ = true;
        }
    }
}

bool ManagerRegistry::isForceQuitSet() const {
    const std::lock_guard lock(managerLock);
    return forceQuit;
}

namespace {

// Moves every registration of `manager` into `dropped`, so that no manager
// is ever destroyed (and joined) while the lock is held.
bool takeOut(std::vector<std::shared_ptr<threadManagerNg>>& registry,
             const threadManagerNg* manager,
             std::vector<std::shared_ptr<threadManagerNg>>& dropped) {
    bool found = false;
    for (auto it = registry.begin(); it != registry.end();) {
        if (it->get() == manager) {
            dropped.push_back(std::move(*it));
            it = registry.erase(it);
            found = true;
        } else {
            ++it;
        }
    }
    return found;
}

} // namespace

void ManagerRegistry::removeFromRegistry(const threadManagerNg* manager) {
    std::vector<std::shared_ptr<threadManagerNg>> dropped;
    const std::lock_guard lock(managerLock);
    takeOut(managerRegistry, manager, dropped);
}

// --- threadManagerNg

std::shared_ptr<threadManagerNg> threadManagerNg::create(ManagerRegistry& registry,
                                                         std::int32_t workerCount,
                                                         const WorkerFactory& makeWorker) {
    if (registry.size() >= ManagerRegistry::liveLimit) {
        return nullptr;
    }
    auto manager = std::make_shared<threadManagerNg>(Key{}, registry);
    manager->doneLParam = manager;
    for (std::int32_t i = 0; i < workerCount; ++i) {
        std::unique_ptr<myActionThread> worker = makeWorker();
        if (!worker) {
            throw std::invalid_argument("worker factory gave no worker");
        }
        worker->manager = manager.get();
        manager->workers.push_back(std::move(worker));
    }

    const std::string className =
        manager->workers.empty() ? std::string() : std::string(manager->workers[0]->className());
    manager->log("---create(" + std::to_string(workerCount) + ", " + className, true);
    for (std::size_t i = 0; i < manager->workers.size(); ++i) {
        manager->log("thread[" + std::to_string(i) +
                         "]Create:" + std::to_string(manager->workers[i]->handle()),
                     true);
    }
    manager->log("---end", true);

    {
        // Checked again: another thread may have taken the last place meanwhile.
        const std::lock_guard lock(registry.managerLock);
        if (registry.managerRegistry.size() < ManagerRegistry::liveLimit) {
            registry.managerRegistry.push_back(manager);
            return manager;
        }
    }
    return nullptr;
}

threadManagerNg::threadManagerNg(Key, ManagerRegistry& registry) : registry_(registry) {
    ++registry_.unfinished_;
}

threadManagerNg::~threadManagerNg() {
    // A manager dropped without ever running has nothing more to say.
    markFinished();
    for (const auto& worker : workers) {
        std::thread& thread = worker->thread_;
        if (!thread.joinable()) {
            continue;
        }
        if (thread.get_id() == std::this_thread::get_id()) {
            // That worker dropped the last reference on its way out and
            // touches nothing of ours any more.
            thread.detach();
        } else {
            thread.join();
        }
    }
}

void threadManagerNg::start(std::int32_t n) {
    std::vector<std::shared_ptr<threadManagerNg>> dropped;
    std::size_t resumed = 0;
    std::string failure;
    bool endsAtOnce = false;
    bool quitCompleted = false;
    {
        // Every worker is started and counted before any of them can take a
        // job or end: they all need this lock first.
        const std::lock_guard lock(registry_.managerLock);
        if (started_) {
            return;
        }
        started_ = true;
        if (n > 0) {
            lastJob = 0;
            jobCount = n;
            for (const auto& worker : workers) {
                try {
                    worker->resume(shared_from_this());
                } catch (const std::system_error& error) {
                    failure = error.what();
                    break;
                }
                ++runningCount;
                ++resumed;
            }
        }
        if (runningCount == 0) {
            endsAtOnce = true;
            quitCompleted = leaveRegistry(dropped);
        }
    }
    for (std::size_t i = 0; i < resumed; ++i) {
        log("start thread(" + std::to_string(i) + ")", false);
    }
    if (!failure.empty()) {
        log("start failed: " + failure, true);
    }
    if (endsAtOnce) {
        sendEndMessages(quitCompleted);
    }
}

std::optional<std::int32_t> threadManagerNg::getJob() {
    const std::lock_guard lock(registry_.managerLock);
    if (jobCount - lastJob >= 1 && !stopRequested && !registry_.forceQuit) {
        return ++lastJob;
    }
    return std::nullopt;
}

bool threadManagerNg::repJob(std::int32_t job, bool ok) {
    if (ok) {
        {
            const std::lock_guard lock(registry_.managerLock);
            maxOkJob = std::max(maxOkJob, job);
            failCount = 0;
        }
        log("repJob:value=" + std::to_string(job), false);
        return false;
    }
    const std::lock_guard lock(registry_.managerLock);
    ++failCount;
    if (failLimit != 0 && failCount >= failLimit) {
        // Jobs already handed out run on; only the numbers above the last
        // success are withheld.
        jobCount = maxOkJob;
        return true;
    }
    return false;
}

void threadManagerNg::setJobCount(std::int32_t n) {
    const std::lock_guard lock(registry_.managerLock);
    jobCount = n;
}

void threadManagerNg::setFailLimit(std::int32_t n) {
    const std::lock_guard lock(registry_.managerLock);
    failLimit = n;
}

void threadManagerNg::stopJob() {
    {
        const std::lock_guard lock(registry_.managerLock);
        stopRequested = true;
    }
    stopFlag_ = true;
    log("stop job", false);
}

void threadManagerNg::join() {
    for (const auto& worker : workers) {
        std::thread& thread = worker->thread_;
        if (!thread.joinable()) {
            continue;
        }
        if (thread.get_id() == std::this_thread::get_id()) {
            throw std::logic_error("a worker cannot join its own manager");
        }
        thread.join();
    }
}

threadManagerNg::Counters threadManagerNg::counters() const {
    const std::lock_guard lock(registry_.managerLock);
    return {lastJob, jobCount, stopRequested, runningCount, maxOkJob, failCount, failLimit};
}

void threadManagerNg::threadFinished(myActionThread& worker) {
    std::vector<std::shared_ptr<threadManagerNg>> dropped;
    bool last = false;
    bool quitCompleted = false;
    {
        const std::lock_guard lock(registry_.managerLock);
        --runningCount;
        if (runningCount == 0) {
            last = true;
            quitCompleted = leaveRegistry(dropped);
        }
        worker.manager = nullptr;
    }
    if (last) {
        sendEndMessages(quitCompleted);
    }
}

bool threadManagerNg::leaveRegistry(std::vector<std::shared_ptr<threadManagerNg>>& dropped) {
    // Only the manager that actually empties the registry may announce the
    // end of a shutdown, so the window hears it once.
    const bool left = takeOut(registry_.managerRegistry, this, dropped);
    return left && registry_.forceQuit && registry_.managerRegistry.empty();
}

void threadManagerNg::sendEndMessages(bool quitCompleted) {
    if (window == nullptr) {
        markFinished();
        return;
    }
    const std::shared_ptr<threadManagerNg> self = shared_from_this();
    window->send(WindowMessage::done(doneMessage, doneWParam, doneLParam.lock()));
    if (quitCompleted) {
        window->send(WindowMessage::forceQuitCompleted());
    }
    window->send(WindowMessage::freeThreadMngrNg(doneWParam, self));
    markFinished();
}

void threadManagerNg::markFinished() {
    if (!finished_.exchange(true)) {
        --registry_.unfinished_;
    }
}

void threadManagerNg::log(const std::string& text, bool append) const {
    registry_.debugLog.dbgLog(text, append);
}

// --- myActionThread

namespace {

std::uint32_t nextWorkerHandle() {
    static std::atomic<std::uint32_t> last{0};
    return ++last;
}

} // namespace

myActionThread::myActionThread() : handle_(nextWorkerHandle()) {}

void myActionThread::notify(const WindowMessage& message) const {
    if (manager != nullptr && manager->window != nullptr) {
        manager->window->send(message);
    }
}

void myActionThread::resume(std::shared_ptr<threadManagerNg> owner) {
    thread_ = std::thread([this, keepAlive = std::move(owner)]() mutable {
        threadMain(*keepAlive);
        // Possibly the last reference: the manager, and this worker with it,
        // may go here, so nothing of `this` is touched any more.
        keepAlive.reset();
    });
}

void myActionThread::threadMain(threadManagerNg& owner) {
    threadId_.store(currentThreadId());
    try {
        run();
    } catch (const std::exception& error) {
        // The manager must still hear of the end, or the window would wait
        // for it forever.
        owner.log(std::string("run failed: ") + error.what(), true);
    } catch (...) {
        owner.log("run failed", true);
    }
    owner.threadFinished(*this);
}

} // namespace zob
