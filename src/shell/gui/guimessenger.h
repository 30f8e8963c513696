#pragma once

#include "download/windowmessenger.h"

#include <QObject>
#include <functional>

namespace zob {

// Delivers every worker message to the window's handler on the window's
// thread and lets the sender wait until the handler has returned. Sent from
// the window's own thread, the handler runs at once.
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
