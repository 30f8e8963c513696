#include "app/archivechoice.h"

#include "site/sitenames.h"

#include <algorithm>
#include <array>

namespace zob {

namespace {

std::optional<int> numberAt(std::string_view text, std::size_t position, std::size_t length) {
    if (position + length > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text.substr(position, length)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

struct FixedEntry {
    std::string_view prefix;
    ArchiveEntry entry;
    std::string_view kind;
};

// In the order the menu handler tries them; the first match wins.
constexpr std::array<FixedEntry, 7> fixedEntries{{
    {menuFavorites, ArchiveEntry::favorites, ""},
    {menuBadList, ArchiveEntry::badList, ""},
    {menuDownloading, ArchiveEntry::downloading, ""},
    {menuDownloaded, ArchiveEntry::downloaded, "downloaded list"},
    {menuStoppingOrLoading, ArchiveEntry::stopped, "stopped list"},
    {menuNotDownloaded, ArchiveEntry::notDownloaded, "not downloaded list"},
    {menuBestOf, ArchiveEntry::bestOf, "Best of Zel"},
}};

constexpr std::string_view monthlyKind = "get monthly archive";

} // namespace

std::optional<ArchiveChoice> chooseArchiveEntry(std::string_view caption) {
    std::string text(caption);
    if (const std::size_t amp = text.find('&'); amp != std::string::npos) {
        text.erase(amp, 1);
    }
    for (const FixedEntry& fixed : fixedEntries) {
        if (text.starts_with(fixed.prefix)) {
            return ArchiveChoice{fixed.entry, 0, 0, std::string(fixed.kind)};
        }
    }
    if (text.starts_with(menuArchive)) {
        // The page number is every digit after "archive " ("archive 12 *"
        // is page 12); pages are numbered from 1.
        const std::size_t end = std::min(text.find_first_not_of("0123456789", 8), text.size());
        const std::optional<int> page =
            end > 8 && end - 8 <= 4 ? numberAt(text, 8, end - 8) : std::nullopt;
        if (!page || *page < 1) {
            return std::nullopt;
        }
        return ArchiveChoice{ArchiveEntry::archivePage, 1, *page, std::string(monthlyKind)};
    }
    const std::optional<int> year = numberAt(text, 0, 4);
    const std::optional<int> month = numberAt(text, 5, 2);
    if (!year || !month || text[4] != '/' || *month < 1 || *month > 12) {
        return std::nullopt;
    }
    return ArchiveChoice{ArchiveEntry::month, *year, *month, std::string(monthlyKind)};
}

} // namespace zob
