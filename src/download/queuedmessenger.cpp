#include "download/queuedmessenger.h"

namespace zob {

QueuedMessenger::QueuedMessenger(Handler handler)
    : owner_(std::this_thread::get_id()), handler_(std::move(handler)) {}

QueuedMessenger::~QueuedMessenger() {
    close();
    // A released sender still reads our members on its way out of `send`.
    std::unique_lock lock(mutex_);
    handled_.wait(lock, [this] { return waitingSenders_ == 0; });
}

void QueuedMessenger::setHandler(Handler handler) {
    handler_ = std::move(handler);
}

void QueuedMessenger::send(const WindowMessage& message) {
    if (std::this_thread::get_id() == owner_) {
        if (handler_) {
            handler_(message);
        }
        return;
    }
    Entry entry{&message};
    std::unique_lock lock(mutex_);
    if (closed_) {
        return;
    }
    queue_.push_back(&entry);
    ++waitingSenders_;
    arrived_.notify_all();
    handled_.wait(lock, [&] { return entry.handled || closed_; });
    --waitingSenders_;
    if (closed_) {
        handled_.notify_all();
    }
}

bool QueuedMessenger::processOne(std::chrono::milliseconds timeout) {
    Entry* entry = nullptr;
    {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, timeout, [this] { return !queue_.empty(); })) {
            return false;
        }
        entry = queue_.front();
        queue_.pop_front();
    }
    // The sender waits until we mark the entry, so message and entry stay
    // valid while the handler runs without our lock (it may send itself). A
    // handler that throws still releases its sender.
    struct Release {
        QueuedMessenger& self;
        Entry& entry;
        ~Release() {
            {
                const std::lock_guard lock(self.mutex_);
                entry.handled = true;
            }
            self.handled_.notify_all();
        }
    } release{*this, *entry};
    if (handler_) {
        handler_(*entry->message);
    }
    return true;
}

bool QueuedMessenger::processUntil(const std::function<bool()>& done,
                                   std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left <= std::chrono::milliseconds::zero()) {
            return done();
        }
        processOne(left);
    }
    return true;
}

std::size_t QueuedMessenger::pending() const {
    const std::lock_guard lock(mutex_);
    return queue_.size();
}

void QueuedMessenger::close() {
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
        queue_.clear();
    }
    handled_.notify_all();
}

} // namespace zob
