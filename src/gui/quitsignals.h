#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace zob {

// Turns SIGINT, SIGTERM and SIGHUP into a close request on the window's
// thread, so a session that ends or a `kill` still saves the lists and the
// settings. One instance per process.
class QuitSignals : public QObject {
public:
    explicit QuitSignals(std::function<void()> onQuit, QObject* parent = nullptr);
    ~QuitSignals() override;

    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

private:
    std::function<void()> onQuit_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace zob
