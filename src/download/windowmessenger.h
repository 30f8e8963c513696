#pragma once

#include "download/windowmessages.h"

namespace zob {

// The one way from a worker to the main window. `send` is synchronous: it
// returns only after the window's handler for the message has run on the
// window's thread, so the handler may read whatever the message refers to
// while the sender waits. Sent from the window's own thread, the handler runs
// at once.
class WindowMessenger {
public:
    virtual ~WindowMessenger() = default;

    virtual void send(const WindowMessage& message) = 0;

protected:
    WindowMessenger() = default;
    WindowMessenger(const WindowMessenger&) = default;
    WindowMessenger& operator=(const WindowMessenger&) = default;
};

} // namespace zob
