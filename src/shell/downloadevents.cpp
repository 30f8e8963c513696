#include "shell/downloadevents.h"

#include "catalogue/artlistlist.h"
#include "download/threadmanager.h"
#include "shell/debuglog.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace zob {

namespace {

bool fileHasContent(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) &&
           std::filesystem::file_size(path, error) > 0 && !error;
}

} // namespace

void DeferredJoins::keep(std::shared_ptr<threadManagerNg> manager) {
    if (manager) {
        managers_.push_back(std::move(manager));
    }
}

std::size_t DeferredJoins::drain() {
    // Swap first: a join may take a while, and nothing kept later must be
    // released unjoined by the clear.
    std::vector<std::shared_ptr<threadManagerNg>> joining;
    joining.swap(managers_);
    for (const auto& manager : joining) {
        manager->join();
    }
    return joining.size();
}

void thumbnailJobEnded(SeriesRec& series) {
    series.scanLocalFiles();
}

void pictureJobEnded(SeriesRec& series) {
    series.scanLocalFiles();
    const std::filesystem::path cover = series.localLogoFile(false);
    if (!fileHasContent(cover)) {
        return;
    }
    // A missing series folder means nothing arrived to show it for; the copy
    // is a nicety for file managers, so its failure is not reported.
    std::error_code ignored;
    std::filesystem::copy_file(cover, series.folderPictureFile(),
                               std::filesystem::copy_options::overwrite_existing, ignored);
}

void seriesSpecUpdated(const SeriesRec& series, const ArtListList& lists, DebugLog& log) {
    log.dbgLog("Upd:" + series.title + "-" + std::to_string(series.photoCount.load()), false);
    for (std::size_t i = 0; i < lists.size(); ++i) {
        ArtList& list = *lists.list(i);
        if (list.indexOfName(series) >= 0) {
            list.saved = false;
        }
    }
}

std::size_t managerFreed(const WindowMessage& message, ManagerRegistry& registry,
                         DeferredJoins& joins) {
    const std::shared_ptr<threadManagerNg>& manager = message.manager;
    if (manager) {
        registry.removeFromRegistry(manager.get());
        if (const SeriesPtr& series = message.series) {
            if (series->thumbJob == manager) {
                series->detachJobs(SeriesRec::JobKind::thumbnail);
            }
            if (series->pictureJob == manager) {
                series->detachJobs(SeriesRec::JobKind::picture);
            }
        }
        joins.keep(manager);
    }
    return registry.size();
}

} // namespace zob
