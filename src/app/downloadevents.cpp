#include "app/downloadevents.h"

#include "catalogue/artlistlist.h"
#include "download/downloadfile.h"
#include "download/threadmanager.h"
#include "platform/atomicfile.h"
#include "platform/debuglog.h"
#include "platform/userprompt.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace zob {

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

void pictureJobEnded(SeriesRec& series, UserPrompt& prompt) {
    series.scanLocalFiles();
    const std::string cover = series.localLogoFile(false);
    const std::string folder = series.localSeriesFolder();
    // A missing series folder means nothing arrived to show it for.
    if (!hasContent(cover) || !std::filesystem::is_directory(folder)) {
        return;
    }
    std::ifstream in(cover, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    try {
        if (!in || bytes.empty()) {
            throw std::system_error(errno != 0 ? errno : EIO, std::generic_category(),
                                    "cannot read \"" + cover + "\"");
        }
        // Through a temporary file and a rename, so the folder picture is
        // never half a picture.
        writeFileAtomically(series.folderPictureFile(), bytes);
    } catch (const std::system_error& error) {
        prompt.showMessage("", "The folder picture was not stored: " + std::string(error.what()));
    }
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
