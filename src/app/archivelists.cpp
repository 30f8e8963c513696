#include "app/archivelists.h"

#include "app/appcontext.h"
#include "catalogue/artlistlist.h"
#include "catalogue/memberlists.h"
#include "catalogue/monthlyartlist.h"

namespace zob {

ArchiveLists::ArchiveLists(AppContext& context, ProgressDisplay* progress, MonthClock clock,
                           const std::vector<SeriesPtr>* strips)
    : context_(context), progress_(progress), clock_(std::move(clock)), strips_(strips) {}

ArtListPtr ArchiveLists::listFor(const ArchiveChoice& choice) {
    ArtListList& registry = context_.loadedArchives;
    DebugLog& log = context_.debugLog;
    switch (choice.entry) {
    case ArchiveEntry::favorites:
        return registry.favoriteList;
    case ArchiveEntry::badList:
        return registry.badList;
    case ArchiveEntry::downloading:
        if (!loading_) {
            loading_ = std::make_shared<loadingArtList>(registry, strips_);
        }
        return loading_;
    case ArchiveEntry::downloaded:
        if (!loaded_) {
            loaded_ = loadedArtList(registry, log, progress_, clock_);
        }
        return loaded_;
    case ArchiveEntry::stopped:
        if (!stopped_) {
            stopped_ = stoppedArtList(registry, log, progress_, clock_);
        }
        return stopped_;
    case ArchiveEntry::notDownloaded:
        if (!notLoaded_) {
            notLoaded_ = notLoadArtList(registry, log, progress_, clock_);
        }
        return notLoaded_;
    case ArchiveEntry::bestOf:
        if (!bestOf_) {
            bestOf_ = std::make_shared<bestOfZelOraArtList>(registry);
        }
        return bestOf_;
    case ArchiveEntry::archivePage:
    case ArchiveEntry::month:
        return std::make_shared<monthlyArtList>(registry, choice.year, choice.month);
    }
    return nullptr;
}

} // namespace zob
