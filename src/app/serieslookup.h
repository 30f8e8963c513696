#pragma once

#include "catalogue/loadstatuslists.h"
#include "catalogue/seriesrec.h"

#include <optional>
#include <string>

namespace zob {

class AppContext;
class ArchiveLoaderHost;

// What a search for a series by name found: the record, or where it looked.
struct SeriesLookup {
    SeriesPtr series;
    // "not in the local catalogue; give --month YYYY/MM to load its month
    // from the site" and the like, when nothing was found.
    std::string notFound;
};

// Finds the series `name` wherever the program knows it, in this order:
//   1. the lists already loaded (the favorites and the bad list at least);
//   2. every local catalogue file, newest month first, then the archive
//      pages (a file is read only when its text names the series);
//   3. online, the month `month` names, or else the one the name's last part
//      gives ("_YYYYMM", "_YYYYMMDD", "_archive" for the archive page),
//      loaded from the site as the Archive menu would.
// Nothing in the site's naming promises a date in a name, so the local
// catalogue comes first. Catalogue errors of a file that holds the series
// reach the caller.
SeriesLookup findSeriesNamed(AppContext& context, ArchiveLoaderHost& host, const std::string& name,
                             std::optional<YearMonth> month);

} // namespace zob
