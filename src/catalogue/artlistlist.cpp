#include "catalogue/artlistlist.h"

#include "config/configinfo.h"
#include "site/joining.h"
#include "site/sitenames.h"

#include <exception>

namespace zob {

ArtListList::ArtListList(std::string baseUrlValue, const configInfoClass& config)
    : baseUrl(std::move(baseUrlValue)), config_(config) {}

ArtListList::~ArtListList() {
    for (const ArtListPtr& list : lists_) {
        list->registered_ = false;
    }
}

std::string ArtListList::membersUrl() const {
    return joinUrl(baseUrl, membersPath);
}

std::string ArtListList::siteUrl(std::string_view relative) const {
    return relative.starts_with('/') ? joinUrl(baseUrl, relative) : joinUrl(membersUrl(), relative);
}

std::string ArtListList::localPath(std::string_view relative) const {
    return joinPath(config_.local, relative);
}

int ArtListList::indexOfSame(const ArtList& list) const {
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        if (lists_[i]->isSame(list)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

SeriesPtr ArtListList::findSeries(const SeriesRec& record) const {
    const NameIndex& index = nameIndex();
    const auto found = index.find(record.name);
    return found == index.end() ? nullptr : found->second.first.record;
}

ArtListPtr ArtListList::registerList(ArtListPtr list) {
    if (const int same = indexOfSame(*list); same >= 0) {
        return lists_[static_cast<std::size_t>(same)];
    }
    shareRecords(*list);
    lists_.push_back(list);
    list->registered_ = true;
    // The new list comes last in scan order, so a valid index only grows.
    if (indexValid_) {
        addToIndex(*list);
    }
    return list;
}

void ArtListList::shareRecords(ArtList& list) {
    const NameIndex& index = nameIndex();
    if (index.empty()) {
        return;
    }
    // Position by position this replays a walk over every registered record
    // in order: each registered record of the name that is not the one now in
    // place takes over what that one knows and then takes its place. Only the
    // order of records of one name matters, and the index keeps exactly that.
    bool replaced = false;
    for (std::size_t j = 0; j < list.records_.size(); ++j) {
        const auto found = index.find(list.records_[j]->name);
        if (found == index.end()) {
            continue;
        }
        const auto takePlace = [&](const Occurrence& occurrence) {
            SeriesPtr& current = list.records_[j];
            if (occurrence.list == &list || occurrence.record == current) {
                return;
            }
            occurrence.record->takeKnownValues(*current);
            current = occurrence.record;
            replaced = true;
        };
        takePlace(found->second.first);
        for (const Occurrence& occurrence : found->second.later) {
            takePlace(occurrence);
        }
    }
    // The records were replaced in place, past the list's own mutators.
    if (replaced) {
        list.contentsChanged();
    }
}

void ArtListList::saveAll() {
    // One list that cannot be written must not cost the others their changes.
    std::exception_ptr firstFailure;
    for (const ArtListPtr& list : lists_) {
        try {
            list->save();
        } catch (...) {
            if (!firstFailure) {
                firstFailure = std::current_exception();
            }
        }
    }
    if (firstFailure) {
        std::rethrow_exception(firstFailure);
    }
}

const ArtListList::NameIndex& ArtListList::nameIndex() const {
    if (!indexValid_) {
        index_.clear();
        std::size_t records = 0;
        for (const ArtListPtr& list : lists_) {
            records += list->size();
        }
        index_.reserve(records);
        for (const ArtListPtr& list : lists_) {
            addToIndex(*list);
        }
        indexValid_ = true;
    }
    return index_;
}

void ArtListList::addToIndex(const ArtList& list) const {
    for (const SeriesPtr& record : list.records_) {
        const Occurrence occurrence{&list, record};
        if (const auto [entry, added] =
                index_.try_emplace(record->name, Occurrences{occurrence, {}});
            !added) {
            entry->second.later.push_back(occurrence);
        }
    }
}

} // namespace zob
