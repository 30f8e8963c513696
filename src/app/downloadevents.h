#pragma once

#include "catalogue/seriesrec.h"
#include "download/windowmessages.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace zob {

class ArtListList;
class DebugLog;
class ManagerRegistry;
class threadManagerNg;
class UserPrompt;

// What the window's download handlers change in the data, apart from the
// views. The GUI's handlers call these first and then repaint; `zob
// download` calls them alone.

// Managers whose free message has been handled but whose worker threads may
// still be on their way out. Their worker is blocked in the very send that
// runs the handler, so the handler cannot join; the owner of the message loop
// drains this holder once handlers have returned.
class DeferredJoins {
public:
    void keep(std::shared_ptr<threadManagerNg> manager);
    // Joins and releases every manager kept so far; returns how many.
    std::size_t drain();
    std::size_t size() const { return managers_.size(); }

private:
    std::vector<std::shared_ptr<threadManagerNg>> managers_;
};

// WM_loadedThumbAll: the download state again from the files on disk.
void thumbnailJobEnded(SeriesRec& series);

// WM_loadedLargeAll: the download state from the disk; the large cover, when
// there is one, becomes the folder picture file managers show for the folder.
// A copy that fails is told to the user, and the old folder picture stays.
void pictureJobEnded(SeriesRec& series, UserPrompt& prompt);

// WM_updateSpec: a worker changed the photo count. Traces it in place and
// marks every registered list holding the series for the next save.
void seriesSpecUpdated(const SeriesRec& series, const ArtListList& lists, DebugLog& log);

// WM_freeThreadMngrNg: the manager leaves the registry and its series, and
// waits in `joins`. Returns the live managers left, for WM_updateThreadCount.
std::size_t managerFreed(const WindowMessage& message, ManagerRegistry& registry,
                         DeferredJoins& joins);

} // namespace zob
