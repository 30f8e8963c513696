#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zob {

// The lists an Archive menu entry can stand for.
enum class ArchiveEntry {
    favorites,
    badList,
    downloading,
    downloaded,
    stopped,
    notDownloaded,
    bestOf,
    archivePage,
    month,
};

struct ArchiveChoice {
    ArchiveEntry entry = ArchiveEntry::month;
    // For a month: its year and month; for an archive page: year 1 and the page.
    int year = 0;
    int month = 0;
    // What the splash window says is being loaded ("get monthly archive"), or empty.
    std::string kind;
};

// Reads an Archive menu caption ("&My favorites", "2008/03 *", "archive 1",
// ...) as the menu handler does: its first "&" removed, matched by its
// beginning. Nothing when a month caption does not hold a year and month.
std::optional<ArchiveChoice> chooseArchiveEntry(std::string_view caption);

} // namespace zob
