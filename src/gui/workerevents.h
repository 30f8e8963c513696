#pragma once

#include "app/downloadevents.h"
#include "download/windowmessenger.h"

#include <QObject>
#include <chrono>
#include <functional>
#include <memory>

namespace zob {

struct MainParts;

// The workers' messages: each is handled on the window's thread while its
// sender waits, and the workers that ended are joined once their last
// message has been answered.
class WorkerEvents : public QObject {
    Q_OBJECT
public:
    explicit WorkerEvents(MainParts& parts);
    ~WorkerEvents() override;

    WindowMessenger& messenger() { return *messenger_; }
    // Told how long each message's handler took (benchmarks).
    using HandlerTimer = std::function<void(const WindowMessage&, std::chrono::nanoseconds)>;
    void setHandlerTimer(HandlerTimer timer) { handlerTimer_ = std::move(timer); }
    void handleWindowMessage(const WindowMessage& message);
    // Handles messages until every manager has said its last word, then
    // joins what is left. Safe to call more than once.
    void waitForWorkers();

private:
    void onLoadedLogo(std::int32_t index, bool large);
    // The picture viewer follows the series it shows as it downloads.
    void tellPictureViewer(const SeriesRec& series, int pictureNumber);
    void onListCoversIn();
    void onJobEnded(const WindowMessage& message);
    void onUpdateSpec(const SeriesPtr& series);
    void drainJoinsLater();

    MainParts& parts_;
    std::unique_ptr<WindowMessenger> messenger_;
    HandlerTimer handlerTimer_;
    DeferredJoins joins_;
    bool drainQueued_ = false;
};

} // namespace zob
