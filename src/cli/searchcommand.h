#pragma once

#include "catalogue/artlist.h"
#include "cli/commandrun.h"

#include <cstdint>
#include <string>

namespace zob {

// `zob search model NAME [K]` and `zob search photographer NAME`: finds the
// series NAME as every command does, then searches for the series of its
// K-th model (from 1) or of its photographer as the series menu does, and
// prints the result list. `--offline`, like offline mode, scans the local
// catalogues instead of asking the site. Returns 0 when series were found,
// 2 when none were (or the series is unknown), 3 when start-up aborted or
// the loader asked to close, 64 for bad arguments.
int runSearchCommand(const CommandRun& run);

class CliSession;

// The list such a search finds for the series `seriesName`, registered; null
// when none was found, with the exit status in `status`.
ArtListPtr searchList(CliSession& session, const std::string& seriesName, bool byModel,
                      std::int32_t modelIndex, bool offline, int& status);

} // namespace zob
