#pragma once

#include "catalogue/seriesrec.h"

namespace zob {

class ArtList;
class WindowMessenger;
struct DownloadEnv;
struct FetchEnv;

// Where a resolution of a series stands.
enum class JobState {
    none,        // nothing on disk and no download started
    downloading, // a job of this resolution is attached and running
    stopped,     // started and not complete, no job attached
    stopping,    // a job is attached and was asked to stop
    complete,    // every picture on disk
};

// Starts the thumbnail job and, unless r is the thumbnail resolution, the
// picture job of resolution r; a job already attached is not started again
// (the thumbnails on disk are announced once more instead). Leftovers of a
// dead run in the folders the jobs fill are removed first.
void startDownload(SeriesRec& series, Resolution r, WindowMessenger& window, bool offline,
                   const DownloadEnv& env);

// Fetches the series' missing small and/or large cover on the calling
// thread, trying the archive address for a small cover the series' own
// address does not have.
void fetchLogos(SeriesRec& series, bool small, bool large, const FetchEnv& env);

JobState resState(const SeriesRec& series, Resolution r);

// Fetches the missing covers of every series of the list in a worker (small
// ones first, then large ones), announcing each; an empty list announces
// (0, small) at once.
void startLogoDownload(ArtList& list, WindowMessenger& window, bool offline,
                       const DownloadEnv& env);

} // namespace zob
