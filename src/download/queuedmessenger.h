#pragma once

#include "download/windowmessenger.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace zob {

// A window for programs without one (the command line, tests): the thread
// that constructs it owns the loop and runs the handler, from `processOne` or
// `processUntil` for other threads' messages and at once for its own.
class QueuedMessenger final : public WindowMessenger {
public:
    using Handler = std::function<void(const WindowMessage&)>;

    explicit QueuedMessenger(Handler handler = {});
    // Releases every sender still waiting (see `close`).
    ~QueuedMessenger() override;

    QueuedMessenger(const QueuedMessenger&) = delete;
    QueuedMessenger& operator=(const QueuedMessenger&) = delete;

    // Owner thread only, while nobody sends.
    void setHandler(Handler handler);

    // Blocks a foreign thread until the owner has handled the message; after
    // `close` it returns at once and the message is dropped.
    void send(const WindowMessage& message) override;

    // Owner thread: handles the oldest waiting message, waiting at most
    // `timeout` for one to arrive. False when none came.
    bool processOne(std::chrono::milliseconds timeout);
    // Owner thread: handles messages until `done` holds (checked before each
    // one) or `timeout` passes. Returns the last value of `done`.
    bool processUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

    // Messages waiting to be handled.
    std::size_t pending() const;

    // Owner thread: gives up on the loop. Waiting senders return without
    // their handler having run, and later sends return at once. For shutting
    // down after a failure, when nobody will process any more.
    void close();

private:
    struct Entry {
        const WindowMessage* message;
        bool handled = false;
    };

    const std::thread::id owner_;
    Handler handler_;
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::condition_variable handled_;
    std::deque<Entry*> queue_;
    std::size_t waitingSenders_ = 0;
    bool closed_ = false;
};

} // namespace zob
