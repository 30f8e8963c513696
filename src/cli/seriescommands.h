#pragma once

#include "catalogue/artlist.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zob {

class ArtListList;
class CliSession;
class TerminalPrompt;

// "high", "mid", "low" or "thumb" as the program numbers them.
std::optional<int> resolutionNamed(std::string_view word);

// The list that shows a series by its name: the month of "KEY_YYYYMM", the
// index archive page for "KEY_archive"; none for any other form.
ArtListPtr homeListOf(ArtListList& registry, std::string_view name);

// Loads the series' home list as the browser would (fetching the month when
// needed) and returns its record; none when the list or the series is not
// there.
SeriesPtr loadSeries(CliSession& session, const std::string& name);

// `zob fav add|remove NAME`, `zob bad add|remove NAME` and
// `zob delete NAME high|mid|low|thumb|all`: the series menu's commands, the
// command line being the confirmation. Print "NAME<TAB>STATUS".
int runFavCommand(const std::vector<std::string>& arguments, const std::filesystem::path& iniPath,
                  TerminalPrompt& prompt, std::ostream& out);
int runBadCommand(const std::vector<std::string>& arguments, const std::filesystem::path& iniPath,
                  TerminalPrompt& prompt, std::ostream& out);
int runDeleteCommand(const std::vector<std::string>& arguments,
                     const std::filesystem::path& iniPath, TerminalPrompt& prompt,
                     std::ostream& out);

} // namespace zob
