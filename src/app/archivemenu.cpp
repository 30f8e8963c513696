#include "app/archivemenu.h"

#include "catalogue/artlistlist.h"
#include "catalogue/monthlyartlist.h"

#include <cstdio>

namespace zob {

namespace {

constexpr int minimumTopLevelEntries = 6;
// Years this far back (and further) list only the months kept on disk.
constexpr int yearsBackWithoutSite = 6;

ArchiveMonthEntry monthEntry(int year, int month, bool hasFile, bool enabled) {
    char caption[16];
    std::snprintf(caption, sizeof caption, "%4.4d/%2.2d", year, month);
    return ArchiveMonthEntry{year, month, std::string(caption) + (hasFile ? " *" : ""), enabled};
}

} // namespace

ArchiveMenuLayout archiveMenuLayout(int year, int month,
                                    const std::function<bool(int, int)>& hasCatalogue,
                                    bool archiveLoaded) {
    ArchiveMenuLayout layout;
    int y = year;
    int m = month;
    while (y >= firstSiteYear &&
           (y == year || static_cast<int>(layout.topLevel.size()) < minimumTopLevelEntries)) {
        layout.topLevel.push_back(monthEntry(y, m, hasCatalogue(y, m), true));
        if (--m == 0) {
            m = 12;
            --y;
        }
    }
    // The first year below the current one may have lost its latest months
    // to the top level.
    for (int sub = year - 1; sub >= firstSiteYear; --sub) {
        ArchiveYearMenu menu{sub, {}};
        const int latest = sub == y ? m : 12;
        for (int mm = latest; mm >= 1; --mm) {
            const bool hasFile = hasCatalogue(sub, mm);
            const bool enabled = sub > year - yearsBackWithoutSite || hasFile;
            menu.months.push_back(monthEntry(sub, mm, hasFile, enabled));
        }
        layout.years.push_back(std::move(menu));
    }
    layout.archiveCaption = std::string("archive 1") + (archiveLoaded ? " *" : "");
    return layout;
}

ArchiveMenuLayout archiveMenuLayout(int year, int month, ArtListList& registry) {
    const auto hasCatalogue = [&registry](int y, int m) {
        return monthlyArtList(registry, y, m).hasFile();
    };
    const monthlyArtList archive(registry, 1, 1);
    return archiveMenuLayout(year, month, hasCatalogue, registry.indexOfSame(archive) >= 0);
}

} // namespace zob
