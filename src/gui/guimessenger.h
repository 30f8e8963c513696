#pragma once

#include "download/windowmessenger.h"

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace zob {

// Delivers every worker message to the window's handler on the window's
// thread and lets the sender wait until the handler has returned. Sent from
// the window's own thread, the handler runs at once.
//
// Workers report in quick bursts (one message per cover or picture), each
// waiting for its answer. Waking a sleeping thread costs more than most
// handlers, so both sides wait a moment before they sleep: the window for the
// next message of the burst, the worker for its answer.
class GuiMessenger : public QObject, public WindowMessenger {
    Q_OBJECT
public:
    using Handler = std::function<void(const WindowMessage&)>;

    // Lives on the thread that creates it: the window's.
    explicit GuiMessenger(Handler handler, QObject* parent = nullptr);

    void send(const WindowMessage& message) override;

private:
    struct Waiting {
        const WindowMessage* message;
        bool handled = false;
    };

    // Window thread: handles what waits, then what comes within a moment.
    void drain();
    Waiting* nextWaiting(bool waitAMoment);

    Handler handler_;
    std::mutex mutex_;
    std::condition_variable answered_;
    std::deque<Waiting*> waiting_;
    // A drain is queued or running: senders need not wake the window.
    bool draining_ = false;
};

} // namespace zob
