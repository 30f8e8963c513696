#pragma once

#include "demosite/calendar.h"
#include "demosite/favoriteset.h"
#include "demosite/series.h"
#include "demosite/siteoptions.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace demosite {

struct NamedId {
    std::string name;
    int id = 0;
};

struct Model {
    std::string name;
    int id = 0;
    int countryId = 0;
};

struct MonthContent {
    int year = 0, month = 0;
    std::vector<const Series*> series; // page order: newest first
    bool complete() const;             // the month's last day has a series
    std::string pagePath() const;      // "/members/gallery/YYYY/YYYYMM.html"
};

// Everything the site holds, generated once from the options. Apart from the
// favorites nothing changes afterwards, so references into it stay valid for
// the site's life and may be read from any thread.
class SiteContent {
public:
    explicit SiteContent(const SiteOptions& options);
    SiteContent(const SiteContent&) = delete;
    SiteContent& operator=(const SiteContent&) = delete;

    unsigned seed() const { return seedValue; }
    CalendarDate today() const { return todayDate; }

    // Monthly series oldest month first, then the index archive page's series.
    const std::vector<Series>& allSeries() const { return seriesList; }
    std::vector<const Series*> select(const std::function<bool(const Series&)>& wanted) const;
    const Series* seriesByName(std::string_view name) const;
    const Series* seriesByKey(std::string_view key) const;
    const Series* seriesByFavoriteId(int favoriteId) const;

    const std::vector<MonthContent>& months() const { return monthList; } // oldest first
    const MonthContent* month(int year, int month) const; // none outside the site's range
    const std::vector<const Series*>& archivePage() const { return archiveList; }
    const std::vector<const Series*>& bestOf() const { return bestOfList; } // rank 1 first

    std::vector<const Series*> favorites() const; // page order: latest addition first
    bool isFavorite(const Series& series) const;
    bool addFavorite(int favoriteId);    // false for an unknown id or one already present
    bool removeFavorite(int favoriteId); // false when it was no favorite

    const std::vector<Model>& models() const { return modelList; }
    const std::vector<NamedId>& photographers() const { return photographerList; }
    const std::vector<NamedId>& countries() const { return countryList; }
    // Search tables by name, letter case ignored; -1 for a name the site does not know.
    int modelId(std::string_view name) const;
    int photographerId(std::string_view name) const;
    // Search answers, newest first. Names compare without regard to letter case.
    std::vector<const Series*> seriesOfModel(int modelId) const;
    std::vector<const Series*> seriesOfPhotographer(int photographerId) const;
    std::vector<const Series*> seriesOfCountry(int countryId) const;
    std::vector<const Series*> seriesNamed(std::string_view modelOrPhotographer) const;

    // Pixel sizes of what the site serves.
    PictureSize pictureSize(const Series& series, int resolution, int number) const;
    static PictureSize coverSize() { return {113, 170}; }
    static PictureSize logoSize() { return {400, 600}; }

private:
    unsigned seedValue;
    CalendarDate todayDate;
    std::vector<Series> seriesList;
    std::vector<MonthContent> monthList;
    std::vector<const Series*> archiveList;
    std::vector<const Series*> bestOfList;
    std::vector<const Series*> newestFirst; // monthly and archive series, newest date first
    std::vector<Model> modelList;
    std::vector<NamedId> photographerList;
    std::vector<NamedId> countryList;
    std::map<std::string, const Series*, std::less<>> byName;
    std::map<std::string, const Series*, std::less<>> byKey;
    std::map<int, const Series*> byFavoriteId;
    FavoriteSet favoriteIds;
};

} // namespace demosite
