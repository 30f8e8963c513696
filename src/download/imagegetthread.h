#pragma once

#include "catalogue/seriesrec.h"
#include "download/downloadenv.h"
#include "download/threadmanager.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zob {

class HttpClient;

// The worker of a series download: job j is picture j of one resolution.
// It skips pictures on disk, stores the others, tells the window after each
// one and shortens the series' count when the site has fewer pictures.
//
// Only the site saying a picture does not exist counts towards that cut. A
// picture the site fails to deliver this time is skipped (and counts as one
// that exists); after several such failures in a row the site is taken to
// be down and the run ends. A picture this machine cannot store (a full
// disk, a file-size limit, no permission) ends the run at once, since every
// later one would fail the same way. Neither changes the count.
class ImageGetThread final : public myActionThread {
public:
    ImageGetThread(SeriesPtr seriesRecord, Resolution r, bool offlineMode, const DownloadEnv& env);

    std::string_view className() const override { return "ImageGetThread"; }

    // Site failures in a row after which the run gives up on the site.
    static constexpr int siteFailureLimit = 5;

    const SeriesPtr series;
    const Resolution resolution;
    const bool offline;

private:
    enum class Outcome { stored, notFound, siteError, endRun };

    void run() override;
    // Takes jobs until the manager has none left (true) or the run ends
    // before that (false).
    bool workThroughJobs(HttpClient& http);
    // Picture `job` on disk: already there, fetched, or (offline) the end of
    // the pictures there are.
    Outcome obtainPicture(std::int32_t job, HttpClient& http);
    // Counts one job's outcome and tells the window; false when the run ends
    // with it. `siteFailures` counts site errors in a row.
    bool settleJob(std::int32_t job, Outcome outcome, int& siteFailures);
    // Steps through one missing picture, trying the archive address for
    // picture 1 when the series' own address does not have it.
    Outcome fetchPicture(std::int32_t job, HttpClient& http);
    // A picture just stored from the address form `archived`: switches the
    // series to the archive or moves the file to where the series is now.
    void keepStoredPicture(std::int32_t job, bool archived, const std::string& localFile);
    void log(const std::string& text, bool append) const;

    DownloadEnv env_;
};

} // namespace zob
