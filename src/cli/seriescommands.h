#pragma once

#include "catalogue/resolution.h"
#include "cli/commandrun.h"

#include <optional>
#include <string_view>

namespace zob {

// "high", "mid", "low" or "thumb" as the program numbers them.
std::optional<Resolution> resolutionNamed(std::string_view word);

// `zob fav add|remove NAME`, `zob bad add|remove NAME` and
// `zob delete NAME high|mid|low|thumb|all`: the series menu's commands, the
// command line being the confirmation. Print "NAME<TAB>STATUS".
int runFavCommand(const CommandRun& run);
int runBadCommand(const CommandRun& run);
int runDeleteCommand(const CommandRun& run);

} // namespace zob
