#pragma once

#include "catalogue/artlist.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zob {

class configInfoClass;

// Every list loaded in this run, and what the records need of the run: the
// members base URL, the local folder, the favorites and the bad list. It
// decides which lists are the same list and makes the same series one shared
// record everywhere.
class ArtListList {
public:
    ArtListList(std::string baseUrl, const configInfoClass& config);
    // Lists may outlive the registry; they stop reporting changes to it.
    ~ArtListList();
    ArtListList(const ArtListList&) = delete;
    ArtListList& operator=(const ArtListList&) = delete;

    // --- addresses
    std::string membersUrl() const;
    std::string siteUrl(std::string_view relative) const;
    // The local folder setting is read at each call: the dialog may change it.
    std::string localPath(std::string_view relative) const;

    // --- the registered lists
    std::size_t size() const { return lists_.size(); }
    const ArtListPtr& list(std::size_t i) const { return lists_.at(i); }
    int indexOfSame(const ArtList& list) const;
    // The first registered record of the same series, in list order.
    SeriesPtr findSeries(const SeriesRec& record) const;
    // Registers `list` unless an equal one is there; returns the registered one.
    ArtListPtr registerList(ArtListPtr list);
    // Replaces every record of `list` whose series a registered list already
    // holds by the registered record, which takes over known values.
    void shareRecords(ArtList& list);
    void saveAll();

    std::string baseUrl;
    // Set at start-up; the status codes of records mark membership in them.
    ArtListPtr favoriteList;
    ArtListPtr badList;

private:
    friend class ArtList;
    // Every occurrence of a name in the registered lists, in scan order;
    // rebuilt after any registered list changed. Most names occur once, so
    // the first occurrence is kept in place.
    struct Occurrence {
        const ArtList* list;
        SeriesPtr record;
    };
    struct Occurrences {
        Occurrence first;
        std::vector<Occurrence> later;
    };
    // Keys view the names of the records held in the entries.
    using NameIndex = std::unordered_map<std::string_view, Occurrences>;
    const NameIndex& nameIndex() const;
    void addToIndex(const ArtList& list) const;
    void registeredListChanged() { indexValid_ = false; }

    const configInfoClass& config_;
    std::vector<ArtListPtr> lists_;
    mutable NameIndex index_;
    mutable bool indexValid_ = true;
};

} // namespace zob
