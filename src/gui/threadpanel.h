#pragma once

#include <QLabel>
#include <QTimer>
#include <chrono>
#include <cstdint>

namespace zob {

// The status bar's panel for the downloads under way: "2 Threads", and once
// a second while they run the rate all transfers receive, "2 Threads 1.4 MB/s".
class ThreadPanel : public QLabel {
public:
    ThreadPanel();

    void setThreadCount(int liveManagers);

private:
    void showRate();
    QString countText() const;

    QTimer ticker_;
    int liveManagers_ = 0;
    std::uint64_t lastBytes_ = 0;
    std::chrono::steady_clock::time_point lastTime_;
};

} // namespace zob
