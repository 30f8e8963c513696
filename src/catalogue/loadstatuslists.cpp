#include "catalogue/loadstatuslists.h"

#include "catalogue/artlistlist.h"
#include "catalogue/monthlyartlist.h"
#include "platform/debuglog.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <typeinfo>

namespace zob {

YearMonth currentYearMonth() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return YearMonth{local.tm_year + 1900, local.tm_mon + 1};
}

// --- the downloading list

loadingArtList::loadingArtList(ArtListList& registry, const std::vector<SeriesPtr>* strips)
    : ArtList(registry), strips_(strips) {
    rebuild();
}

std::shared_ptr<ArtList> loadingArtList::cloneEmpty() const {
    return std::make_shared<loadingArtList>(registry());
}

void loadingArtList::rebuild() {
    if (strips_ == nullptr) {
        return;
    }
    clear();
    // addRecord may swap a strip's record for the registered one, so a run
    // of strips is recognised by either.
    const SeriesRec* lastGiven = nullptr;
    for (const SeriesPtr& series : *strips_) {
        if (!series) {
            continue;
        }
        if (series.get() == lastGiven || (!empty() && series == item(size() - 1))) {
            continue;
        }
        lastGiven = series.get();
        SeriesPtr record = series;
        addRecord(record);
    }
}

bool loadingArtList::isSame(const ArtList& other) const {
    return dynamic_cast<const loadingArtList*>(&other) != nullptr;
}

bool loadingArtList::load() {
    rebuild();
    return !empty();
}

std::string loadingArtList::caption() const {
    return "Currently downloading series";
}

// --- the load-status base

statBaseArtList::statBaseArtList(ArtListList& registry, DebugLog& debugLog,
                                 ProgressDisplay* progress, MonthClock today, LoadStatus status,
                                 std::string caption, Filter filter)
    : ArtList(registry), debugLog_(debugLog), progress_(progress), today_(std::move(today)),
      status_(status), caption_(std::move(caption)), filter_(std::move(filter)) {}

std::shared_ptr<statBaseArtList> statBaseArtList::create(ArtListList& registry, DebugLog& debugLog,
                                                         ProgressDisplay* progress,
                                                         MonthClock today, LoadStatus status,
                                                         std::string caption, Filter filter) {
    // The constructor is private; this local class lends it to make_shared.
    struct Constructible : statBaseArtList {
        Constructible(ArtListList& r, DebugLog& d, ProgressDisplay* p, MonthClock t, LoadStatus s,
                      std::string c, Filter f)
            : statBaseArtList(r, d, p, std::move(t), s, std::move(c), std::move(f)) {}
    };
    std::shared_ptr<statBaseArtList> list =
        std::make_shared<Constructible>(registry, debugLog, progress, std::move(today), status,
                                        std::move(caption), std::move(filter));
    list->firstBuild();
    return list;
}

void statBaseArtList::firstBuild() {
    building_ = true;
    struct ClearOnExit {
        bool& flag;
        ~ClearOnExit() { flag = false; }
    } clearOnExit{building_};
    rebuild();
}

bool statBaseArtList::isSame(const ArtList& other) const {
    const auto* status = dynamic_cast<const statBaseArtList*>(&other);
    return status != nullptr && status->status_ == status_;
}

bool statBaseArtList::load() {
    rebuild();
    return !empty();
}

void statBaseArtList::rebuild() {
    const YearMonth today = today_();
    const auto month = std::make_shared<monthlyArtList>(registry(), today.year, today.month);
    // The walk ends with January of the year after the site's first; the
    // first year's months are left out.
    do {
        mergeMonth(*month);
        keepAccepted();
        month->prevMonth();
    } while (month->year > firstSiteYear);
}

void statBaseArtList::mergeMonth(const monthlyArtList& month) {
    if (const int same = registry().indexOfSame(month); same >= 0) {
        mergeFrom(*registry().list(static_cast<std::size_t>(same)));
        logMerge("mem", month);
        return;
    }
    std::error_code error;
    if (!building_ || !std::filesystem::is_regular_file(month.csvPath(), error)) {
        return;
    }
    if (progress_ != nullptr) {
        char text[64];
        std::snprintf(text, sizeof text, "check %d/%d archive ... ", month.year, month.month);
        progress_->showProgressText(text);
    }
    // A fresh list each time: it is read only for this merge and is not
    // registered, so later builds do not see it.
    const ArtListPtr fromFile = month.cloneEmpty();
    fromFile->load();
    mergeFrom(*fromFile);
    logMerge("file", month);
}

void statBaseArtList::keepAccepted() {
    std::vector<SeriesPtr> kept;
    kept.reserve(size());
    for (const SeriesPtr& record : records()) {
        if (accepts(*record)) {
            kept.push_back(record);
        }
    }
    if (kept.size() == size()) {
        return;
    }
    clear();
    for (SeriesPtr& record : kept) {
        append(std::move(record));
    }
}

void statBaseArtList::logMerge(const char* source, const monthlyArtList& month) {
    char text[96];
    std::snprintf(text, sizeof text, "marged:%d %s (%d/%d)", static_cast<int>(size()), source,
                  month.year, month.month);
    debugLog_.dbgLog(text, true);
}

// --- the three lists

std::shared_ptr<statBaseArtList> loadedArtList(ArtListList& registry, DebugLog& debugLog,
                                               ProgressDisplay* progress, MonthClock today) {
    return statBaseArtList::create(
        registry, debugLog, progress, std::move(today), LoadStatus::downloaded, "Downloaded series",
        [](const SeriesRec& record) { return record.loadedRes != 0 && record.partialRes == 0; });
}

std::shared_ptr<statBaseArtList> stoppedArtList(ArtListList& registry, DebugLog& debugLog,
                                                ProgressDisplay* progress, MonthClock today) {
    return statBaseArtList::create(registry, debugLog, progress, std::move(today),
                                   LoadStatus::stopped, "Stopped series",
                                   [](const SeriesRec& record) { return record.partialRes != 0; });
}

std::shared_ptr<statBaseArtList> notLoadArtList(ArtListList& registry, DebugLog& debugLog,
                                                ProgressDisplay* progress, MonthClock today) {
    return statBaseArtList::create(
        registry, debugLog, progress, std::move(today), LoadStatus::notDownloaded,
        "No downloaded series",
        [](const SeriesRec& record) { return record.loadedRes == 0 && record.partialRes == 0; });
}

} // namespace zob
