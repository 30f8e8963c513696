#pragma once

#include "app/archiveloader.h"
#include "catalogue/artlistlist.h"
#include "catalogue/monthlyartlist.h"
#include "demosite/content.h"
#include "demosite/demosite.h"
#include "search/offlinescan.h"
#include "testsupport/sitesession.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace zob::searchtest {

// Collects the texts the splash would show.
class RecordingProgress : public ProgressDisplay {
public:
    void showProgressText(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

// The demo site's "today", for walks over the months.
inline YearMonth siteToday() {
    return {2008, 3};
}

inline OfflineScanSettings scanSettingsIn(const std::filesystem::path& folder,
                                          ProgressDisplay* progress = nullptr) {
    return OfflineScanSettings{siteToday, progress, folder / "srchTmp.csv", nullptr};
}

// A series of this month of the demo site: its record as the program has it
// after loading the month.
inline SeriesPtr loadedSeries(AppContext& context, ArchiveLoaderHost& host,
                              const demosite::Series& wanted) {
    const ArtListPtr month = addLoadedArchive(
        context,
        std::make_shared<monthlyArtList>(context.loadedArchives, wanted.year, wanted.month), host);
    if (!month) {
        return nullptr;
    }
    for (const SeriesPtr& series : month->records()) {
        if (series->name == wanted.name) {
            return series;
        }
    }
    return nullptr;
}

// A monthly series of the demo site with the wanted property, from March
// 2008 when it has one (its month is then the one scanned first); none when
// the site has no such series.
template <class Wanted>
const demosite::Series* siteSeries(const demosite::SiteContent& content, Wanted wanted) {
    for (const bool march : {true, false}) {
        const auto candidates = content.select([&](const demosite::Series& series) {
            return series.year > 2003 && (!march || (series.year == 2008 && series.month == 3)) &&
                   !series.archiveOnly && !series.isMovie && wanted(series);
        });
        if (!candidates.empty()) {
            return candidates.front();
        }
    }
    return nullptr;
}

inline std::vector<std::string> namesOf(const ArtList& list) {
    std::vector<std::string> names;
    for (const SeriesPtr& series : list.records()) {
        names.push_back(series->name);
    }
    return names;
}

inline std::vector<std::string> namesOf(const std::vector<const demosite::Series*>& found) {
    std::vector<std::string> names;
    for (const demosite::Series* series : found) {
        names.push_back(series->name);
    }
    return names;
}

} // namespace zob::searchtest
