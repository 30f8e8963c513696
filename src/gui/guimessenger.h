#pragma once

#include "download/windowmessenger.h"

#include <QObject>
#include <functional>

namespace zob {

// Delivers every worker message to the window's handler on the window's
// thread through Qt's blocking queued call: the sender sleeps until the
// handler has returned, so the handler may read what the message refers to
// without further locking. Sent from the window's own thread, the handler
// runs at once (a blocking call to one's own thread would never return).
//
// A queue of our own that spins before sleeping was measured against this
// (bench_tilewallfill): it won no wall time and cost more processor time.
class GuiMessenger : public QObject, public WindowMessenger {
    Q_OBJECT
public:
    using Handler = std::function<void(const WindowMessage&)>;

    // Lives on the thread that creates it: the window's.
    explicit GuiMessenger(Handler handler, QObject* parent = nullptr);

    void send(const WindowMessage& message) override;

private:
    Handler handler_;
};

} // namespace zob
