#include "site/transferpool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <curl/curl.h>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace zob {

namespace {

// One caller waiting for its transfer.
struct Waiter {
    CURL* easy;
    bool done = false;
    CURLcode code = CURLE_OK;
};

constexpr int defaultConnectionLimit = 4;
// The longest the loop sleeps without a wake-up: new transfers wake it, so
// this only bounds how late a changed limit is seen on an idle pool.
constexpr int idlePollMs = 1000;

} // namespace

struct TransferPool::Impl {
    Impl() : multi(curl_multi_init()) {
        if (multi == nullptr) {
            throw std::runtime_error("no HTTP transfer pool could be created");
        }
        loop = std::thread([this] { drive(); });
    }

    ~Impl() {
        {
            const std::lock_guard guard(lock);
            stopping = true;
            curl_multi_wakeup(multi);
        }
        finished.notify_all();
        loop.join();
        curl_multi_cleanup(multi);
    }

    void drive();
    int startNew();
    void applyLimit();
    void finishDone();
    void finish(Waiter& waiter, CURLcode code);
    void abandonAll();
    void closeIdleIfAsked();
    // Wakes the loop; the handle is only ever replaced under the lock.
    void wake() {
        const std::lock_guard guard(lock);
        curl_multi_wakeup(multi);
    }

    CURLM* multi;
    std::mutex lock;
    std::condition_variable finished;
    std::vector<Waiter*> incoming; // guarded by lock
    bool stopping = false;         // guarded by lock
    bool closeIdle = false;        // guarded by lock
    std::uint64_t closeRounds = 0; // guarded by lock
    std::vector<Waiter*> running;  // the loop's own
    std::atomic<int> limit{defaultConnectionLimit};
    int appliedLimit = 0;
    std::atomic<std::int64_t> intervalMs{0};
    std::atomic<std::uint64_t> bandwidth{0};
    std::chrono::steady_clock::time_point nextStart; // the loop's own
    std::vector<Waiter*> delayed;                    // the loop's own: waiting for their start
    std::atomic<std::uint64_t> opened{0};
    std::atomic<std::uint64_t> received{0};
    std::thread loop;
};

void TransferPool::Impl::finish(Waiter& waiter, CURLcode code) {
    {
        const std::lock_guard guard(lock);
        waiter.code = code;
        waiter.done = true;
    }
    finished.notify_all();
}

void TransferPool::Impl::applyLimit() {
    const long wanted = std::max(1, limit.load());
    if (wanted == appliedLimit) {
        return;
    }
    curl_multi_setopt(multi, CURLMOPT_MAX_TOTAL_CONNECTIONS, wanted);
    curl_multi_setopt(multi, CURLMOPT_MAX_HOST_CONNECTIONS, wanted);
    curl_multi_setopt(multi, CURLMOPT_MAXCONNECTS, wanted);
    appliedLimit = static_cast<int>(wanted);
}

// Starts what has come in, as far as the request interval lets it; the
// milliseconds until the next delayed start is due (or idlePollMs).
int TransferPool::Impl::startNew() {
    {
        const std::lock_guard guard(lock);
        delayed.insert(delayed.end(), incoming.begin(), incoming.end());
        incoming.clear();
    }
    const auto interval = std::chrono::milliseconds(intervalMs.load());
    std::size_t started = 0;
    for (; started < delayed.size(); ++started) {
        const auto now = std::chrono::steady_clock::now();
        if (interval.count() > 0 && now < nextStart) {
            break;
        }
        nextStart = now + interval;
        Waiter* waiter = delayed[started];
        curl_easy_setopt(waiter->easy, CURLOPT_PRIVATE, static_cast<void*>(waiter));
        if (curl_multi_add_handle(multi, waiter->easy) != CURLM_OK) {
            finish(*waiter, CURLE_FAILED_INIT);
            continue;
        }
        running.push_back(waiter);
    }
    delayed.erase(delayed.begin(), delayed.begin() + static_cast<std::ptrdiff_t>(started));
    if (delayed.empty()) {
        return idlePollMs;
    }
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
        nextStart - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<std::int64_t>(wait.count(), 1, idlePollMs));
}

void TransferPool::Impl::finishDone() {
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
        if (message->msg != CURLMSG_DONE) {
            continue;
        }
        CURL* easy = message->easy_handle;
        const CURLcode code = message->data.result;
        void* owner = nullptr;
        curl_easy_getinfo(easy, CURLINFO_PRIVATE, &owner);
        long connects = 0;
        if (curl_easy_getinfo(easy, CURLINFO_NUM_CONNECTS, &connects) == CURLE_OK) {
            opened += static_cast<std::uint64_t>(std::max(0L, connects));
        }
        curl_multi_remove_handle(multi, easy);
        auto* waiter = static_cast<Waiter*>(owner);
        std::erase(running, waiter);
        finish(*waiter, code);
    }
}

// Kept-alive connections stay open until the handle goes, so an idle pool
// closes them by starting on a fresh handle: a site stopping (a test's) need
// not wait for them to time out.
void TransferPool::Impl::closeIdleIfAsked() {
    {
        const std::lock_guard guard(lock);
        if (!closeIdle) {
            return;
        }
        if (running.empty() && delayed.empty() && incoming.empty()) {
            if (CURLM* fresh = curl_multi_init()) {
                curl_multi_cleanup(multi);
                multi = fresh;
                appliedLimit = 0;
            }
        }
        closeIdle = false;
        ++closeRounds;
    }
    finished.notify_all();
}

void TransferPool::Impl::abandonAll() {
    for (Waiter* waiter : running) {
        curl_multi_remove_handle(multi, waiter->easy);
        finish(*waiter, CURLE_ABORTED_BY_CALLBACK);
    }
    running.clear();
    for (Waiter* waiter : delayed) {
        finish(*waiter, CURLE_ABORTED_BY_CALLBACK);
    }
    delayed.clear();
    std::vector<Waiter*> waiting;
    {
        const std::lock_guard guard(lock);
        waiting.swap(incoming);
    }
    for (Waiter* waiter : waiting) {
        finish(*waiter, CURLE_ABORTED_BY_CALLBACK);
    }
}

void TransferPool::Impl::drive() {
    for (;;) {
        {
            const std::lock_guard guard(lock);
            if (stopping) {
                break;
            }
        }
        applyLimit();
        const int pollMs = startNew();
        int active = 0;
        curl_multi_perform(multi, &active);
        finishDone();
        closeIdleIfAsked();
        curl_multi_poll(multi, nullptr, 0, pollMs, nullptr);
    }
    abandonAll();
}

TransferPool& TransferPool::process() {
    static TransferPool pool;
    return pool;
}

TransferPool::TransferPool() : impl_(std::make_unique<Impl>()) {}

TransferPool::~TransferPool() = default;

void TransferPool::setConnectionLimit(int limit) {
    impl_->limit = std::max(1, limit);
    impl_->wake();
}

void TransferPool::closeIdleConnections() {
    std::unique_lock guard(impl_->lock);
    const std::uint64_t round = impl_->closeRounds;
    impl_->closeIdle = true;
    curl_multi_wakeup(impl_->multi);
    impl_->finished.wait(guard,
                         [this, round] { return impl_->closeRounds != round || impl_->stopping; });
}

int TransferPool::connectionLimit() const {
    return impl_->limit;
}

void TransferPool::setRequestInterval(std::chrono::milliseconds interval) {
    impl_->intervalMs = std::max<std::int64_t>(0, interval.count());
    impl_->wake();
}

void TransferPool::setBandwidthLimit(std::uint64_t bytesPerSecond) {
    impl_->bandwidth = bytesPerSecond;
}

std::uint64_t TransferPool::bandwidthShare() const {
    const std::uint64_t limit = impl_->bandwidth;
    // Each of the connections gets an equal part: simple, and exact while all are busy.
    return limit == 0 ? 0
                      : std::max<std::uint64_t>(1, limit / static_cast<std::uint64_t>(
                                                               std::max(1, impl_->limit.load())));
}

int TransferPool::run(void* easyHandle) {
    Waiter waiter{static_cast<CURL*>(easyHandle)};
    {
        const std::lock_guard guard(impl_->lock);
        if (impl_->stopping) {
            return CURLE_ABORTED_BY_CALLBACK;
        }
        impl_->incoming.push_back(&waiter);
        curl_multi_wakeup(impl_->multi);
    }
    std::unique_lock guard(impl_->lock);
    impl_->finished.wait(guard, [&waiter] { return waiter.done; });
    return waiter.code;
}

std::uint64_t TransferPool::connectionsOpened() const {
    return impl_->opened;
}

std::uint64_t TransferPool::bytesReceived() const {
    return impl_->received;
}

void TransferPool::countReceived(std::uint64_t bytes) {
    impl_->received += bytes;
}

} // namespace zob
