#pragma once

#include "catalogue/loadstatuslists.h"

#include <filesystem>
#include <string>

namespace zob {

class ArtList;
class DebugLog;

struct OfflineScanSettings {
    // The walk starts at this month and ends with January 2004.
    MonthClock today = currentYearMonth;
    // Told the month being read; may be none.
    ProgressDisplay* progress = nullptr;
    // Where the matching lines are gathered to be read back as a list:
    // "srchTmp.csv" in the working folder. Always removed afterwards.
    std::filesystem::path temporaryFile;
    // May be none.
    DebugLog* debugLog = nullptr;
};

// Fills `list` with every series of the local monthly catalogue files whose
// line holds `searchName` (letter case counts, anywhere in the line; an empty
// name matches nothing), without asking the site. True when a line matched.
// Months without a file are skipped; a bad matching line throws
// CatalogueError from the list's file reading, as any catalogue file does.
bool offlineScan(ArtList& list, const std::string& searchName, const OfflineScanSettings& settings);

} // namespace zob
