#pragma once

#include "catalogue/artlist.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zob {

class DebugLog;
class monthlyArtList;

// A year and month of the calendar.
struct YearMonth {
    std::int32_t year = 0;
    std::int32_t month = 0;
};

// Where the merge walk starts; tests pass a fixed month.
using MonthClock = std::function<YearMonth()>;

// This month by the local clock.
YearMonth currentYearMonth();

// Shows what a long first build is doing (the splash window does).
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    // Hides any progress bar and shows `text` at once.
    virtual void showProgressText(const std::string& text) = 0;
};

// The series downloading now, in the order of the window's load-status
// strips. Never stored, never fetched: it is recomputed from the strips.
class loadingArtList final : public ArtList {
public:
    // `strips`: the series of the strips in order, or none; it must outlive
    // the list. The list is built from it at once.
    explicit loadingArtList(ArtListList& registry, const std::vector<SeriesPtr>* strips = nullptr);

    std::string siteFolder() const override { return {}; }
    std::string csvFileName() const override { return {}; }
    std::string pageFileName() const override { return {}; }
    std::shared_ptr<ArtList> cloneEmpty() const override;
    // Consecutive strips of one series give one entry.
    void rebuild() override;
    bool isSame(const ArtList& other) const override;
    bool load() override;
    bool hasPrevious() const override { return true; }
    std::string caption() const override;
    std::string menuCaption() const override { return caption(); }

private:
    const std::vector<SeriesPtr>* strips_;
};

// Which series a load-status list gathers.
enum class LoadStatus {
    downloaded,    // complete in some resolution with nothing half-done
    stopped,       // a resolution started and not finished (running ones too)
    notDownloaded, // no picture on disk at all; movies always
};

// A view over every month's catalogue: the series whose files on disk pass
// the list's filter. Never stored, never fetched. Only the first build
// reads the months' catalogue files; later builds merge the months loaded
// in this run, so they stay cheap. Made by loadedArtList, stoppedArtList
// and notLoadArtList.
class statBaseArtList : public ArtList {
public:
    using Filter = std::function<bool(const SeriesRec&)>;

    std::string siteFolder() const override { return {}; }
    std::string csvFileName() const override { return {}; }
    std::string pageFileName() const override { return {}; }
    // None: the list never asks the site for a page, so the loader never
    // needs an empty twin to parse one into.
    std::shared_ptr<ArtList> cloneEmpty() const override { return nullptr; }
    void rebuild() override;
    // Equal to a list of the same status only.
    bool isSame(const ArtList& other) const override;
    bool load() override;
    bool hasPrevious() const override { return true; }
    std::string caption() const override { return caption_; }
    std::string menuCaption() const override { return caption(); }

    LoadStatus status() const { return status_; }
    bool accepts(const SeriesRec& record) const { return filter_(record); }

    // Built once before anyone sees it: the merge copies records into the
    // list, and they must know their owner.
    static std::shared_ptr<statBaseArtList> create(ArtListList& registry, DebugLog& debugLog,
                                                   ProgressDisplay* progress, MonthClock today,
                                                   LoadStatus status, std::string caption,
                                                   Filter filter);

private:
    statBaseArtList(ArtListList& registry, DebugLog& debugLog, ProgressDisplay* progress,
                    MonthClock today, LoadStatus status, std::string caption, Filter filter);

    void firstBuild();
    void mergeMonth(const monthlyArtList& month);
    void keepAccepted();
    void logMerge(const char* source, const monthlyArtList& month);

    DebugLog& debugLog_;
    ProgressDisplay* progress_;
    MonthClock today_;
    const LoadStatus status_;
    const std::string caption_;
    const Filter filter_;
    bool building_ = false;
};

// "Downloaded series": complete in some resolution with nothing half-done.
std::shared_ptr<statBaseArtList> loadedArtList(ArtListList& registry, DebugLog& debugLog,
                                               ProgressDisplay* progress = nullptr,
                                               MonthClock today = currentYearMonth);
// "Stopped series": a resolution started and not finished.
std::shared_ptr<statBaseArtList> stoppedArtList(ArtListList& registry, DebugLog& debugLog,
                                                ProgressDisplay* progress = nullptr,
                                                MonthClock today = currentYearMonth);
// "No downloaded series": nothing on disk at all; movies always.
std::shared_ptr<statBaseArtList> notLoadArtList(ArtListList& registry, DebugLog& debugLog,
                                                ProgressDisplay* progress = nullptr,
                                                MonthClock today = currentYearMonth);

} // namespace zob
