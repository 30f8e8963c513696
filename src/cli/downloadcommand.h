#pragma once

#include "catalogue/seriesrec.h"
#include "cli/commandrun.h"

#include <cstdint>
#include <ostream>

namespace zob {

// `zob download NAME [high|mid|low|thumb]`: opens the series as the browser
// does (covers first when online, then its thumbnail and picture jobs) and
// waits for both jobs. Progress goes to stderr; the last line on stdout is
// "NAME<TAB>STATUS<TAB>PHOTOS", with the count of missing pictures. Exit 0
// when every picture of the resolution and every thumbnail is on disk, 4
// when not, 2 for an unknown series, 130 after Ctrl-C.
// With --list, the series of a list go through the download queue instead.
int runDownloadCommand(const CommandRun& run);

// The last line of a series' download: "NAME<TAB>STATUS<TAB>PHOTOS", and the
// count of pictures still missing when there are any.
void printOutcome(const SeriesRec& series, std::ostream& out, std::int32_t missing = 0);

} // namespace zob
