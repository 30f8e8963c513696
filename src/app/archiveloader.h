#pragma once

#include "catalogue/artlist.h"

namespace zob {

class AppContext;

// What the loader asks of the window that shows the lists.
class ArchiveLoaderHost {
public:
    virtual ~ArchiveLoaderHost() = default;
    // Before a load: the tiles of the old list go, the strips hide, the
    // empty-list text empties.
    virtual void clearViewsForLoad() {}
    // The loader cannot go on (login expired, network failure, termination
    // chosen): the main window closes as on a close request.
    virtual void closeMainWindow() = 0;
    virtual void setOfflineSearch(bool on) = 0;
};

// Brings `list` up to date and registers it: the already loaded equal list
// is used instead when there is one; the local catalogue is read; when online
// and the list asks for it, its page is fetched, parsed and merged. A month
// the site does not have walks back month by month; offline, an empty month
// walks back to the latest one with a local catalogue (down to December
// 2002). The page's fetch and scan go through the context's page worker when
// it has one. Returns the list shown, or none when the loader gave up, the
// load was cancelled (the context's pageLoadCancel: nothing merged, nothing
// saved) or the window is closing. Catalogue conversion errors reach the
// caller.
ArtListPtr addLoadedArchive(AppContext& context, ArtListPtr list, ArchiveLoaderHost& host);

} // namespace zob
