#pragma once

#include "catalogue/filteredartlist.h"

#include <QString>

namespace zob {

// The text as the filter compares it: case folded, accents dropped
// ("Élodie" and "elodie" are the same).
QString foldedForFilter(const QString& text);

// Keeps the series whose title, model or photographer contains `text`,
// compared folded.
FilteredArtList::Keep seriesFilter(const QString& text);

} // namespace zob
