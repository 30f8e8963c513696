#pragma once

#include "app/downloadevents.h"
#include "catalogue/seriesrec.h"

#include <memory>
#include <vector>

namespace zob {

class AppContext;
class WindowMessenger;
class threadManagerNg;
struct WindowMessage;

// One series downloaded as the browser opens it, for a front end without the
// browser's views: its covers first when online, then its thumbnail job and
// its picture job, and the data side of the window's handlers for their
// messages (the state from the disk when a job ends, the changed count
// marked for saving, the managers released and joined).
class SeriesDownloadRun {
public:
    SeriesDownloadRun(AppContext& context, SeriesPtr series, Resolution r);

    // The small and large cover, when online, on the calling thread.
    void fetchCovers();
    // The two jobs (one for thumbnails only), on their own threads,
    // reporting to `window`.
    void startJobs(WindowMessenger& window);
    // Handles one message of the run's jobs; others are ignored.
    void handle(const WindowMessage& message);
    // Joins the managers whose last message has been handled. Never from a
    // handler: their worker waits in that very send.
    void joinEnded() { joins_.drain(); }

    // Both jobs ended and were released.
    bool ended() const { return !series_->thumbJob && !series_->pictureJob; }
    // Both jobs stop after the picture in hand.
    void stop();
    // Thumbnails and pictures of the resolution still missing on disk.
    std::int32_t missing() const;

    const SeriesPtr& series() const { return series_; }
    Resolution resolution() const { return resolution_; }

private:
    AppContext& context_;
    SeriesPtr series_;
    Resolution resolution_;
    DeferredJoins joins_;
    std::vector<std::shared_ptr<threadManagerNg>> jobs_;
};

} // namespace zob
