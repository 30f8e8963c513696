#pragma once

#include "cli/commandrun.h"

namespace zob {

// `zob download --list KIND [ARGS] [R]`: queues every series of the list not
// complete at R and runs the whole queue, `parallelSeries` series at a time,
// printing each series' outcome line as it ends and an overall bar on a
// terminal. Ctrl-C leaves the unfinished series queued. Exit 0 when every
// queued series is complete, 4 when some are not, 130 after Ctrl-C.
int runListDownload(const CommandRun& run);

// `zob queue [clear]`: prints the saved queue, or empties it.
int runQueueCommand(const CommandRun& run);

} // namespace zob
