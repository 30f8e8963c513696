#pragma once

#include "app/archivechoice.h"
#include "catalogue/artlist.h"
#include "catalogue/loadstatuslists.h"

#include <vector>

namespace zob {

class AppContext;

// The list each Archive menu entry stands for, the same for the window and
// the command line. The lists that are costly to gather (the load-status
// lists) or never stored (best-of) are made once and kept for the run.
class ArchiveLists {
public:
    // `progress` is told of the first build of a load-status list; `strips`
    // are the window's load-status strips, for the "Downloading" list (none
    // on the command line, where that list stays empty).
    ArchiveLists(AppContext& context, ProgressDisplay* progress, MonthClock clock,
                 const std::vector<SeriesPtr>* strips = nullptr);

    // The list of `choice`; a month or archive page is a fresh list each
    // time, for the loader to bring up to date.
    ArtListPtr listFor(const ArchiveChoice& choice);

private:
    AppContext& context_;
    ProgressDisplay* progress_;
    MonthClock clock_;
    const std::vector<SeriesPtr>* strips_;
    ArtListPtr loading_;
    ArtListPtr loaded_;
    ArtListPtr stopped_;
    ArtListPtr notLoaded_;
    ArtListPtr bestOf_;
};

} // namespace zob
