#include "catalogue/loadstatuslists.h"

#include "catalogue/artlistlist.h"
#include "catalogue/monthlyartlist.h"
#include "shell/debuglog.h"

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
                                 ProgressDisplay* progress, MonthClock today)
    : ArtList(registry), debugLog_(debugLog), progress_(progress), today_(std::move(today)) {}

void statBaseArtList::firstBuild() {
    building_ = true;
    struct ClearOnExit {
        bool& flag;
        ~ClearOnExit() { flag = false; }
    } clearOnExit{building_};
    rebuild();
}

bool statBaseArtList::isSame(const ArtList& other) const {
    return typeid(other) == typeid(*this);
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

// --- the three kinds

std::shared_ptr<loadedArtList> loadedArtList::create(ArtListList& registry, DebugLog& debugLog,
                                                     ProgressDisplay* progress, MonthClock today) {
    return makeBuilt<loadedArtList>(registry, debugLog, progress, std::move(today));
}

loadedArtList::loadedArtList(BuildKey, ArtListList& registry, DebugLog& debugLog,
                             ProgressDisplay* progress, MonthClock today)
    : statBaseArtList(registry, debugLog, progress, std::move(today)) {}

bool loadedArtList::accepts(const SeriesRec& record) const {
    return record.loadedRes != 0 && record.partialRes == 0;
}

std::string loadedArtList::caption() const {
    return "Downloaded series";
}

std::shared_ptr<stoppedArtList> stoppedArtList::create(ArtListList& registry, DebugLog& debugLog,
                                                       ProgressDisplay* progress,
                                                       MonthClock today) {
    return makeBuilt<stoppedArtList>(registry, debugLog, progress, std::move(today));
}

stoppedArtList::stoppedArtList(BuildKey, ArtListList& registry, DebugLog& debugLog,
                               ProgressDisplay* progress, MonthClock today)
    : statBaseArtList(registry, debugLog, progress, std::move(today)) {}

bool stoppedArtList::accepts(const SeriesRec& record) const {
    return record.partialRes != 0;
}

std::string stoppedArtList::caption() const {
    return "Stopped series";
}

std::shared_ptr<notLoadArtList> notLoadArtList::create(ArtListList& registry, DebugLog& debugLog,
                                                       ProgressDisplay* progress,
                                                       MonthClock today) {
    return makeBuilt<notLoadArtList>(registry, debugLog, progress, std::move(today));
}

notLoadArtList::notLoadArtList(BuildKey, ArtListList& registry, DebugLog& debugLog,
                               ProgressDisplay* progress, MonthClock today)
    : statBaseArtList(registry, debugLog, progress, std::move(today)) {}

bool notLoadArtList::accepts(const SeriesRec& record) const {
    return record.loadedRes == 0 && record.partialRes == 0;
}

std::string notLoadArtList::caption() const {
    return "No downloaded series";
}

} // namespace zob
