#pragma once

#include "download/windowmessages.h"
#include "download/windowmessenger.h"
#include "platform/debuglog.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

namespace zob {

class myActionThread;
class threadManagerNg;

// Every live download manager of a run, the one lock that guards them all and
// the shutdown flag. The program's context owns one.
//
// It must outlive the workers of its managers: at shutdown the window sets
// `forceQuit` and waits for WM_forceQuitCompleted before it goes away. A
// manager that left the registry just before the last one may still be
// sending its done and free messages then, so the window keeps handling
// messages (or closes its messenger) before it joins what it holds.
class ManagerRegistry {
public:
    // With this many live managers no further one is made; the starters ask
    // the user to wait instead.
    static constexpr std::size_t liveLimit = 30;

    explicit ManagerRegistry(DebugLog& log) : debugLog(log) {}

    ManagerRegistry(const ManagerRegistry&) = delete;
    ManagerRegistry& operator=(const ManagerRegistry&) = delete;

    // Live managers: created and not yet ended. The window shows it as its
    // thread count and refuses to close while it is above 0.
    std::size_t size() const;
    bool empty() const { return size() == 0; }

    // Once set, no manager hands out another job.
    void setForceQuit(bool on = true);
    bool isForceQuitSet() const;

    // For a program that can wait no longer (a second Ctrl-C, or a stalled
    // transfer at shutdown): every transfer of the workers, and of any client
    // tied to this flag, ends within about a second, and none starts.
    void abortTransfers() { abortTransfers_ = true; }
    const std::atomic<bool>& abortFlag() const { return abortTransfers_; }

    // Drops every registration of `manager` (null is ignored).
    void removeFromRegistry(const threadManagerNg* manager);

    // Managers made and not yet through their end messages: a manager leaves
    // the registry before it sends them, so a window that goes away must keep
    // handling messages until this reaches 0.
    std::size_t unfinished() const { return unfinished_.load(); }

    DebugLog& debugLog;

private:
    friend class threadManagerNg;

    // Held only while the registry or a manager's counters are read or
    // changed; never while a message is sent or the log is written, because
    // the window thread may be waiting for it while a worker reports.
    mutable std::mutex managerLock;
    std::vector<std::shared_ptr<threadManagerNg>> managerRegistry;
    bool forceQuit = false;
    std::atomic<std::size_t> unfinished_{0};
    std::atomic<bool> abortTransfers_{false};
};

// The job scheduler behind one download: numbers jobs 1..n, hands the next
// one to whichever of its workers asks, cuts the range after repeated
// failures, and tells the window when its last worker has ended: the done
// message, WM_forceQuitCompleted when it was the last manager of a shutdown,
// then WM_freeThreadMngrNg, always in that order.
//
// Lifetime: made by `create`, owned by the registry while alive and by its
// running workers. After the free message the window releases it and, once
// that handler has returned, joins it (`join`).
class threadManagerNg : public std::enable_shared_from_this<threadManagerNg> {
    struct Key {
        explicit Key() = default;
    };

public:
    using WorkerFactory = std::function<std::unique_ptr<myActionThread>()>;

    // A consistent copy of the counters, taken under the lock.
    struct Counters {
        std::int32_t lastJob;
        std::int32_t jobCount;
        bool stopRequested;
        std::int32_t runningCount;
        std::int32_t maxOkJob;
        std::int32_t failCount;
        std::int32_t failLimit;
    };

    // A registered manager with `workerCount` workers from `makeWorker`, not
    // yet running; nullptr when `liveLimit` managers are alive.
    static std::shared_ptr<threadManagerNg>
    create(ManagerRegistry& registry, std::int32_t workerCount, const WorkerFactory& makeWorker);

    threadManagerNg(Key, ManagerRegistry& registry);
    // Joins the workers' threads; on a worker's own thread (it dropped the
    // last reference) that one thread is let go instead.
    ~threadManagerNg();

    threadManagerNg(const threadManagerNg&) = delete;
    threadManagerNg& operator=(const threadManagerNg&) = delete;

    // Starts every worker on jobs 1..n. With nothing to run (n <= 0, or no
    // worker) the manager ends at once: it leaves the registry and sends its
    // end messages from the calling thread. A second start does nothing.
    void start(std::int32_t n);

    // --- for the workers
    // The next job number, or nothing once the range is used up, the job was
    // stopped or the program is quitting.
    std::optional<std::int32_t> getJob();
    // Reports a job; true when this failure cut the range back to the last
    // successful job.
    bool repJob(std::int32_t job, bool ok);
    void setJobCount(std::int32_t n);
    // Consecutive failures that cut the range; 0 never cuts.
    void setFailLimit(std::int32_t n);

    // Workers finish the job in hand and get no further one; a fetch waiting
    // to retry gives up at once.
    void stopJob();
    // Set by stopJob and by the registry's force quit, for the workers'
    // clients to see while they wait to retry.
    const std::atomic<bool>& stopFlag() const { return stopFlag_; }

    // Waits for every worker thread to end. Never call it from a handler of
    // one of this manager's own messages: its worker is waiting for that
    // handler to return. Call it while holding a reference.
    void join();

    Counters counters() const;
    std::size_t workerCount() const { return workers.size(); }
    myActionThread& worker(std::size_t i) const { return *workers.at(i); }

private:
    friend class myActionThread;
    friend class ManagerRegistry;

    void threadFinished(myActionThread& worker);
    // Under the lock: leaves the registry; true when that emptied it during
    // a shutdown.
    bool leaveRegistry(std::vector<std::shared_ptr<threadManagerNg>>& dropped);
    void sendEndMessages(bool quitCompleted);
    void markFinished();
    void log(const std::string& text, bool append) const;

    ManagerRegistry& registry_;

    // Guarded by the registry's managerLock.
    std::int32_t lastJob = 0;
    std::int32_t jobCount = 0;
    bool stopRequested = false;
    std::int32_t runningCount = 0;
    std::int32_t maxOkJob = 0;
    std::int32_t failCount = 0;
    std::int32_t failLimit = 1;
    std::vector<std::unique_ptr<myActionThread>> workers;
    bool started_ = false;
    std::atomic<bool> finished_{false};
    std::atomic<bool> stopFlag_{false};

public:
    // Filled by the creator before `start`, read-only afterwards.
    std::uint16_t doneMessage = WM_loadedMonthlyAll;
    SeriesPtr doneWParam;
    std::weak_ptr<threadManagerNg> doneLParam; // the manager itself unless changed
    WindowMessenger* window = nullptr;
};

// The base of every worker kind. A worker runs on its own thread from its
// manager's `start`; `run` loops on `manager->getJob()` and returns when it
// gets none. The base then reports the end to the manager, so `run` must
// not. Workers name their threads for debuggers themselves, at the top of
// `run`.
class myActionThread {
public:
    virtual ~myActionThread() = default;

    myActionThread(const myActionThread&) = delete;
    myActionThread& operator=(const myActionThread&) = delete;

    // Shown in the manager's creation trace.
    virtual std::string_view className() const = 0;

    // A number unique among the workers of this process, fixed at creation;
    // names the worker in traces and in temporary file names.
    std::uint32_t handle() const { return handle_; }
    // The system's id of the worker's thread; 0 until it has started.
    std::uint32_t threadId() const { return threadId_.load(); }

    // Set when the manager makes the worker; cleared when its end has been
    // reported. Only the worker's own thread uses it once started.
    threadManagerNg* manager = nullptr;

protected:
    myActionThread();

    virtual void run() = 0;

    // Sends `message` to the manager's window and waits for its handler.
    void notify(const WindowMessage& message) const;

private:
    friend class threadManagerNg;

    void resume(std::shared_ptr<threadManagerNg> owner);
    void threadMain(threadManagerNg& owner);

    const std::uint32_t handle_;
    std::atomic<std::uint32_t> threadId_{0};
    std::thread thread_;
};

} // namespace zob
