#pragma once

#include "catalogue/seriesrec.h"

#include <optional>

namespace zob {

class AppContext;

// The series menu's commands on the data, the same for the window and the
// command line; each front end asks for confirmation its own way first.

// Deletes the series' pictures of resolution `r`, or of every resolution
// when none is given (high first, thumbnails last), and takes the state
// from what is left on disk.
void deleteSeriesPictures(SeriesRec& series, std::optional<Resolution> r);

// Asks both of the series' jobs to stop after the picture in hand.
void stopSeriesDownloads(const SeriesRec& series);

// The favorites (on the site too when online) and the bad list (on disk
// only). Adding what is there changes nothing; removing takes every copy.
void addToFavorites(AppContext& context, const SeriesPtr& series);
void removeFromFavorites(AppContext& context, const SeriesPtr& series);
void addToBadList(AppContext& context, const SeriesPtr& series);
void removeFromBadList(AppContext& context, const SeriesPtr& series);

} // namespace zob
