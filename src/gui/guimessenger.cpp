#include "gui/guimessenger.h"

#include <QThread>

namespace zob {

GuiMessenger::GuiMessenger(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

void GuiMessenger::send(const WindowMessage& message) {
    if (QThread::currentThread() == thread()) {
        handler_(message);
        return;
    }
    // The message stays on the sender's stack while it waits. Should the
    // handler throw, or the messenger go first, the call event is still
    // destroyed, and that releases the sender.
    QMetaObject::invokeMethod(
        this, [this, &message] { handler_(message); }, Qt::BlockingQueuedConnection);
}

} // namespace zob
