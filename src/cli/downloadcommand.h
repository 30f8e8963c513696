#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace zob {

class TerminalPrompt;

// `zob download NAME [high|mid|low|thumb]`: opens the series as the browser
// does (covers first when online, then its thumbnail and picture jobs) and
// waits for both jobs. Progress goes to stderr; the last line on `out` is
// "NAME<TAB>STATUS<TAB>PHOTOS". Exit 0 when the resolution is complete on
// disk, 4 when not, 2 for an unknown series, 130 after Ctrl-C.
int runDownloadCommand(const std::vector<std::string>& arguments,
                       const std::filesystem::path& iniPath, TerminalPrompt& prompt,
                       std::ostream& out);

} // namespace zob
