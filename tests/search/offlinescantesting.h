#pragma once

#include "catalogue/artlistlist.h"
#include "catalogue/listtesting.h"
#include "catalogue/loadstatuslists.h"
#include "catalogue/monthlyartlist.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Monthly catalogue files written the way the program writes them, for the
// offline scan to read.

namespace zob::offlinescantest {

struct SeriesLine {
    // Two parts joined by "_"; the month is appended: "ann_01_200803".
    std::string key;
    std::string model;
    std::string photographer = "Carl Weber";
    std::int32_t favoriteId = -1;
    std::int32_t modelId = -1;
};

// Writes the catalogue file of a month holding `series` in order; an empty
// list writes a file with the header alone.
inline void writeMonth(ArtListList& registry, int year, int month,
                       const std::vector<SeriesLine>& series) {
    const auto list = std::make_shared<monthlyArtList>(registry, year, month);
    char date[16];
    std::snprintf(date, sizeof date, "%04d/%02d/01", year, month);
    char yearMonth[16];
    std::snprintf(yearMonth, sizeof yearMonth, "%04d%02d", year, month);
    const std::string folder = "/members/gallery/" + std::to_string(year) + "/";
    for (const SeriesLine& line : series) {
        const std::string name = line.key + "_" + yearMonth;
        list->addParsed("Title of " + name, folder + name + "/", date, line.model,
                        line.photographer, folder + name + "/cover.jpg", 24, line.favoriteId,
                        line.modelId);
    }
    list->save(list->csvPath());
}

// Remembers every text it was told.
class RecordingProgress : public ProgressDisplay {
public:
    void showProgressText(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

inline MonthClock fixedMonth(int year, int month) {
    return [year, month] { return YearMonth{year, month}; };
}

} // namespace zob::offlinescantest
