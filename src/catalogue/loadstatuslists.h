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

// A view over every month's catalogue: the series whose files on disk pass
// the kind's filter. Never stored, never fetched. Only the first build
// reads the months' catalogue files; later builds merge the months loaded
// in this run, so they stay cheap.
class statBaseArtList : public ArtList {
public:
    std::string siteFolder() const override { return {}; }
    std::string csvFileName() const override { return {}; }
    std::string pageFileName() const override { return {}; }
    // None: the list never asks the site for a page, so the loader never
    // needs an empty twin to parse one into.
    std::shared_ptr<ArtList> cloneEmpty() const override { return nullptr; }
    void rebuild() override;
    // Equal to a list of the same kind only.
    bool isSame(const ArtList& other) const override;
    bool load() override;
    bool hasPrevious() const override { return true; }
    std::string menuCaption() const override { return caption(); }

    virtual bool accepts(const SeriesRec& record) const = 0;

protected:
    // Only the kinds' `create` can make one: a list is always built once
    // before anyone sees it.
    class BuildKey {
        BuildKey() = default;
        friend class statBaseArtList;
    };

    statBaseArtList(ArtListList& registry, DebugLog& debugLog, ProgressDisplay* progress,
                    MonthClock today);

    template <class Kind>
    static std::shared_ptr<Kind> makeBuilt(ArtListList& registry, DebugLog& debugLog,
                                           ProgressDisplay* progress, MonthClock today) {
        auto list =
            std::make_shared<Kind>(BuildKey{}, registry, debugLog, progress, std::move(today));
        // Built after construction: the merge copies records into the list,
        // and they must know their owner.
        list->firstBuild();
        return list;
    }

private:
    void firstBuild();
    void mergeMonth(const monthlyArtList& month);
    void keepAccepted();
    void logMerge(const char* source, const monthlyArtList& month);

    DebugLog& debugLog_;
    ProgressDisplay* progress_;
    MonthClock today_;
    bool building_ = false;
};

// Series complete in some resolution with nothing half-done.
class loadedArtList final : public statBaseArtList {
public:
    static std::shared_ptr<loadedArtList> create(ArtListList& registry, DebugLog& debugLog,
                                                 ProgressDisplay* progress = nullptr,
                                                 MonthClock today = currentYearMonth);
    loadedArtList(BuildKey key, ArtListList& registry, DebugLog& debugLog,
                  ProgressDisplay* progress, MonthClock today);

    bool accepts(const SeriesRec& record) const override;
    std::string caption() const override;
};

// Series with a resolution started and not finished (running ones too).
class stoppedArtList final : public statBaseArtList {
public:
    static std::shared_ptr<stoppedArtList> create(ArtListList& registry, DebugLog& debugLog,
                                                  ProgressDisplay* progress = nullptr,
                                                  MonthClock today = currentYearMonth);
    stoppedArtList(BuildKey key, ArtListList& registry, DebugLog& debugLog,
                   ProgressDisplay* progress, MonthClock today);

    bool accepts(const SeriesRec& record) const override;
    std::string caption() const override;
};

// Series with no picture on disk at all; movies always.
class notLoadArtList final : public statBaseArtList {
public:
    static std::shared_ptr<notLoadArtList> create(ArtListList& registry, DebugLog& debugLog,
                                                  ProgressDisplay* progress = nullptr,
                                                  MonthClock today = currentYearMonth);
    notLoadArtList(BuildKey key, ArtListList& registry, DebugLog& debugLog,
                   ProgressDisplay* progress, MonthClock today);

    bool accepts(const SeriesRec& record) const override;
    std::string caption() const override;
};

} // namespace zob
