#include "shell/gui/guimessenger.h"

#include <QThread>

namespace zob {

GuiMessenger::GuiMessenger(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

void GuiMessenger::send(const WindowMessage& message) {
    if (QThread::currentThread() == thread()) {
        handler_(message);
        return;
    }
    // The worker waits here: the handler may read what the message refers to
    // without further locking.
    QMetaObject::invokeMethod(
        this, [this, &message] { handler_(message); }, Qt::BlockingQueuedConnection);
}

} // namespace zob
