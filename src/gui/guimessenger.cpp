#include "gui/guimessenger.h"

#include <QThread>
#include <chrono>
#include <thread>

namespace zob {

namespace {

// Long enough for a worker to prepare its next report, short enough that an
// idle window does not notice.
constexpr auto windowPatience = std::chrono::microseconds(200);
constexpr auto workerPatience = std::chrono::microseconds(200);

} // namespace

GuiMessenger::GuiMessenger(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

void GuiMessenger::send(const WindowMessage& message) {
    if (QThread::currentThread() == thread()) {
        handler_(message);
        return;
    }
    // The worker waits here: the handler may read what the message refers to
    // without further locking.
    Waiting waiting{&message};
    std::unique_lock lock(mutex_);
    waiting_.push_back(&waiting);
    if (!draining_) {
        draining_ = true;
        QMetaObject::invokeMethod(this, &GuiMessenger::drain, Qt::QueuedConnection);
    }
    const auto until = std::chrono::steady_clock::now() + workerPatience;
    while (!waiting.handled && std::chrono::steady_clock::now() < until) {
        lock.unlock();
        std::this_thread::yield();
        lock.lock();
    }
    answered_.wait(lock, [&] { return waiting.handled; });
}

GuiMessenger::Waiting* GuiMessenger::nextWaiting(bool waitAMoment) {
    const auto until = std::chrono::steady_clock::now() + windowPatience;
    std::unique_lock lock(mutex_);
    for (;;) {
        if (!waiting_.empty()) {
            Waiting* next = waiting_.front();
            waiting_.pop_front();
            return next;
        }
        if (!waitAMoment || std::chrono::steady_clock::now() >= until) {
            draining_ = false;
            return nullptr;
        }
        lock.unlock();
        std::this_thread::yield();
        lock.lock();
    }
}

void GuiMessenger::drain() {
    bool handledOne = false;
    try {
        while (Waiting* waiting = nextWaiting(handledOne)) {
            // The sender is released whatever the handler does.
            struct Answer {
                GuiMessenger& messenger;
                Waiting& waiting;
                ~Answer() {
                    {
                        const std::lock_guard lock(messenger.mutex_);
                        waiting.handled = true;
                    }
                    messenger.answered_.notify_all();
                }
            } answer{*this, *waiting};
            handler_(*waiting->message);
            handledOne = true;
        }
    } catch (...) {
        // The error goes on to the application's handler; the messages still
        // waiting get a drain of their own.
        const std::lock_guard lock(mutex_);
        draining_ = !waiting_.empty();
        if (draining_) {
            QMetaObject::invokeMethod(this, &GuiMessenger::drain, Qt::QueuedConnection);
        }
        throw;
    }
}

} // namespace zob
