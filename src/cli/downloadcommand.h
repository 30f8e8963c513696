#pragma once

#include "cli/commandrun.h"

namespace zob {

// `zob download NAME [high|mid|low|thumb]`: opens the series as the browser
// does (covers first when online, then its thumbnail and picture jobs) and
// waits for both jobs. Progress goes to stderr; the last line on stdout is
// "NAME<TAB>STATUS<TAB>PHOTOS", with the count of missing pictures. Exit 0
// when every picture of the resolution and every thumbnail is on disk, 4
// when not, 2 for an unknown series, 130 after Ctrl-C.
int runDownloadCommand(const CommandRun& run);

} // namespace zob
