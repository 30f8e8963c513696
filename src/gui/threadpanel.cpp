#include "gui/threadpanel.h"

#include "site/transferpool.h"

namespace zob {

ThreadPanel::ThreadPanel() {
    setObjectName("Status");
    ticker_.setInterval(1000);
    QObject::connect(&ticker_, &QTimer::timeout, this, [this] { showRate(); });
}

QString ThreadPanel::countText() const {
    return liveManagers_ == 0 ? QString() : QString("%1 Threads").arg(liveManagers_);
}

void ThreadPanel::setThreadCount(int liveManagers) {
    const bool wasRunning = liveManagers_ > 0;
    liveManagers_ = liveManagers;
    setText(countText());
    if (liveManagers_ > 0 && !wasRunning) {
        lastBytes_ = TransferPool::process().bytesReceived();
        lastTime_ = std::chrono::steady_clock::now();
        ticker_.start();
    } else if (liveManagers_ == 0) {
        ticker_.stop();
    }
}

void ThreadPanel::showRate() {
    const std::uint64_t bytes = TransferPool::process().bytesReceived();
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - lastTime_).count();
    if (seconds > 0) {
        const double megabytesPerSecond =
            static_cast<double>(bytes - lastBytes_) / seconds / (1024.0 * 1024.0);
        setText(countText() + QString(" %1 MB/s").arg(megabytesPerSecond, 0, 'f', 1));
    }
    lastBytes_ = bytes;
    lastTime_ = now;
}

} // namespace zob
