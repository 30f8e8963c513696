#pragma once

#include "catalogue/artlist.h"
#include "catalogue/artlistlist.h"
#include "config/configinfo.h"
#include "site/sitenames.h"
#include "testsupport/filetesting.h"

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

// Small list kinds and a registry over a scratch local folder, for the tests
// of the catalogue base. The program's own kinds are tested on their own.

namespace zob::cataloguetest {

inline constexpr const char* testBaseUrl = "http://127.0.0.1:9";

// A month of the gallery, stored as YYYYMM.csv.
class MonthList : public ArtList {
public:
    MonthList(ArtListList& registry, int yearValue, int monthValue)
        : ArtList(registry), year(yearValue), month(monthValue) {
        siteSection = "gallery";
    }

    std::string siteFolder() const override {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%4.4d", year);
        return digits;
    }
    std::string csvFileName() const override { return monthlyCsvName(year, month); }
    std::string pageFileName() const override { return monthlyPageName(year, month); }
    std::shared_ptr<ArtList> cloneEmpty() const override {
        return std::make_shared<MonthList>(registry(), year, month);
    }
    bool isSame(const ArtList& other) const override {
        const auto* month2 = dynamic_cast<const MonthList*>(&other);
        return month2 != nullptr && month2->year == year && month2->month == month;
    }
    std::string caption() const override { return csvFileName(); }
    std::string menuCaption() const override { return csvFileName(); }

    int year;
    int month;
};

// A list whose names are whatever the test says; equal by its file name.
class NamedList : public ArtList {
public:
    struct Names {
        std::string csv;
        std::string section;
        std::string folder;
        std::string page;
        std::string query;
    };
    NamedList(ArtListList& registry, Names names) : ArtList(registry), names_(std::move(names)) {
        siteSection = names_.section;
    }

    std::string siteFolder() const override { return names_.folder; }
    std::string csvFileName() const override { return names_.csv; }
    std::string pageFileName() const override { return names_.page; }
    std::string query() const override { return names_.query; }
    std::shared_ptr<ArtList> cloneEmpty() const override {
        return std::make_shared<NamedList>(registry(), names_);
    }
    bool isSame(const ArtList& other) const override {
        const auto* named = dynamic_cast<const NamedList*>(&other);
        return named != nullptr && named->names_.csv == names_.csv;
    }
    std::string caption() const override { return names_.csv; }
    std::string menuCaption() const override { return names_.csv; }

private:
    Names names_;
};

// A registry whose local folder is a fresh scratch folder.
class CatalogueWorld {
public:
    CatalogueWorld() : config(configInfoClass::defaults(scratch / "ZObrowser.ini")) {
        config.local = scratch.path().string();
    }

    std::shared_ptr<MonthList> month(int year, int monthValue) {
        return std::make_shared<MonthList>(registry, year, monthValue);
    }
    std::shared_ptr<NamedList> named(std::string csv) {
        return std::make_shared<NamedList>(registry,
                                           NamedList::Names{std::move(csv), {}, {}, {}, {}});
    }
    std::string indexFile(std::string_view name) const {
        return (scratch / "00index" / name).string();
    }

    ScratchFolder scratch;
    configInfoClass config;
    ArtListList registry{testBaseUrl, config};
};

// A gallery series of `list` as a page would give it.
inline SeriesPtr addGallery(ArtList& list, const std::string& name, std::int32_t count = 24,
                            std::string title = "Title") {
    list.addParsed(std::move(title), "/members/gallery/2008/" + name + "/", "2008/03/01",
                   "Ann & Bea", "BY Carl", "/members/gallery/2008/" + name + "/cover.jpg", count,
                   -1, -1);
    return list.item(list.size() - 1);
}

// The names of a list's series, in order.
inline std::vector<std::string> namesOf(const ArtList& list) {
    std::vector<std::string> names;
    for (const SeriesPtr& record : list.records()) {
        names.push_back(record->name);
    }
    return names;
}

} // namespace zob::cataloguetest
