#pragma once

#include "catalogue/seriesrec.h"
#include "download/downloadenv.h"
#include "download/threadmanager.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zob {

class DownloadFile;
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
//
// Several pictures are fetched side by side (over the process's shared
// connections); their results are counted, reported and told to the user
// strictly in picture order, exactly as if they had come one after the other.
class ImageGetThread final : public myActionThread {
public:
    ImageGetThread(SeriesPtr seriesRecord, Resolution r, bool offlineMode, const DownloadEnv& env);

    std::string_view className() const override { return "ImageGetThread"; }

    // Site failures in a row after which the run gives up on the site.
    static constexpr int siteFailureLimit = 5;
    // Pictures in hand per connection the process may open: more than one,
    // so that a picture waiting to be asked again (a busy site says "in a
    // second") holds up neither the connections nor the pictures after it.
    static constexpr int picturesPerConnection = 4;
    // How many pictures a job has in hand at once.
    static std::size_t picturesInHand();

    const SeriesPtr series;
    const Resolution resolution;
    const bool offline;

private:
    enum class Outcome { stored, notFound, siteError, endRun, noMidRes };

    // What getting one picture brought, before it is counted.
    struct Fetched {
        Outcome outcome = Outcome::stored;
        bool onDisk = false;   // it was there already: nothing was fetched
        bool archived = false; // the address form asked
        std::string message;   // for the user, shown when the picture is settled
        // A fetched picture waits here until it is settled: one the run never
        // gets to (it ended before) never appears.
        std::unique_ptr<DownloadFile> ready;
        std::string localFile;
    };

    void run() override;
    // Takes jobs until the manager has none left (true) or the run ends
    // before that (false).
    bool workThroughJobs(HttpClient& http);
    // Picture `job` on disk: already there or fetched. Safe on any thread:
    // it leaves the manager, the window and the user alone.
    Fetched obtainPicture(std::int32_t job, HttpClient& http);
    // Offline: the picture is there or (count unknown) the pictures end.
    Outcome offlinePicture(std::int32_t job);
    // Counts and reports a fetched picture, in picture order; a "not found"
    // asked under an address form the series has left since is asked again.
    Outcome settleFetched(std::int32_t job, Fetched fetched, HttpClient& http);
    // Counts one job's outcome and tells the window; false when the run ends
    // with it. `siteFailures` counts site errors in a row.
    bool settleJob(std::int32_t job, Outcome outcome, int& siteFailures);
    // Steps through one missing picture, trying the archive address for
    // picture 1 when the series' own address does not have it.
    Fetched fetchPicture(std::int32_t job, HttpClient& http);
    // A picture just stored from the address form `archived`: switches the
    // series to the archive or moves the file to where the series is now.
    void keepStoredPicture(std::int32_t job, bool archived, const std::string& localFile);
    void log(const std::string& text, bool append) const;

    DownloadEnv env_;
};

} // namespace zob
