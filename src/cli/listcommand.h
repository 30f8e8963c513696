#pragma once

#include "cli/commandrun.h"

#include <ostream>

namespace zob {

class ArtList;

// `zob list month YYYY/MM | archive N | favorites | bad | bestof |
// downloaded | stopped | notloaded`: starts up as the browser does, loads
// the list exactly as the archive loader does, saves the changed catalogues
// and prints the list. Returns the exit status: 0 a list was shown, 2 the
// loader gave up, 3 start-up aborted or the loader asked to close, 64 bad
// arguments.
int runListCommand(const CommandRun& run);

// "# caption", then per series: name, date, title, model, photographer,
// specs text and status code, separated by tabs. Every text is printed as
// the window shows it, made safe for a terminal.
void printList(const ArtList& list, std::ostream& out);

} // namespace zob
