#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zob {

class ArtListList;

// One month entry of the Archive menu.
struct ArchiveMonthEntry {
    int year = 0;
    int month = 0;
    std::string caption; // "2008/03", with " *" when its catalogue is on disk
    bool enabled = true;
};

struct ArchiveYearMenu {
    int year = 0;
    std::vector<ArchiveMonthEntry> months; // latest first
};

// The month part of the Archive menu for a start in `year`/`month`: the
// months of this year back from the current one at top level (at least six,
// reaching into last year early in the year), then one submenu per earlier
// year down to the site's first, then the index archive's entry.
struct ArchiveMenuLayout {
    std::vector<ArchiveMonthEntry> topLevel;
    std::vector<ArchiveYearMenu> years;
    std::string archiveCaption; // "archive 1", with " *" when that list is loaded
};

// `hasCatalogue(year, month)`: the month's catalogue file is on disk and not
// empty. Old years (six and more back) offer only the months we have: the
// site no longer serves their pages.
ArchiveMenuLayout archiveMenuLayout(int year, int month,
                                    const std::function<bool(int, int)>& hasCatalogue,
                                    bool archiveLoaded);

// The same, asking the registry's folder for the catalogues and loaded lists.
ArchiveMenuLayout archiveMenuLayout(int year, int month, ArtListList& registry);

} // namespace zob
