#include "demosite/content.h"

#include "demosite/contentbuilder.h"
#include "demosite/random.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace demosite {
namespace {

bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool newerThan(const Series* a, const Series* b) {
    // The date text sorts like the date; series of the archive page are older
    // than every month, and their dates say so.
    return a->date > b->date;
}

} // namespace

bool MonthContent::complete() const {
    return !series.empty() && series.front()->day == daysInMonth(year, month);
}

std::string MonthContent::pagePath() const {
    char text[64];
    std::snprintf(text, sizeof text, "/members/gallery/%04d/%04d%02d.html", year, year, month);
    return text;
}

SiteContent::SiteContent(const SiteOptions& options)
    : seedValue(options.seed),
      todayDate(resolveToday(options.todayYear, options.todayMonth, options.todayDay)) {
    GeneratedContent generated = generateContent(options, todayDate);
    seriesList = std::move(generated.series);
    modelList = std::move(generated.models);
    photographerList = std::move(generated.photographers);
    countryList = std::move(generated.countries);
    favoriteIds.reset(generated.initialFavorites);

    for (int ordinal = monthOrdinal(options.firstYear, options.firstMonth);
         ordinal <= monthOrdinal(todayDate.year, todayDate.month); ++ordinal) {
        monthList.push_back({ordinal / 12, ordinal % 12 + 1, {}});
    }
    for (const Series& series : seriesList) {
        byName.emplace(series.name, &series);
        byKey.emplace(series.key, &series);
        byFavoriteId.emplace(series.favoriteId, &series);
        newestFirst.push_back(&series);
        if (series.onArchivePage) {
            archiveList.push_back(&series);
        } else {
            const auto ordinal = monthOrdinal(series.year, series.month) -
                                 monthOrdinal(options.firstYear, options.firstMonth);
            monthList[static_cast<std::size_t>(ordinal)].series.push_back(&series);
        }
    }
    for (MonthContent& month : monthList) {
        std::sort(month.series.begin(), month.series.end(), newerThan);
    }
    std::stable_sort(newestFirst.begin(), newestFirst.end(), newerThan);
    for (const std::string& name : generated.bestOfNames) {
        bestOfList.push_back(seriesByName(name));
    }
}

std::vector<const Series*>
SiteContent::select(const std::function<bool(const Series&)>& wanted) const {
    std::vector<const Series*> result;
    for (const Series& series : seriesList) {
        if (wanted(series)) {
            result.push_back(&series);
        }
    }
    return result;
}

const Series* SiteContent::seriesByName(std::string_view name) const {
    const auto found = byName.find(name);
    return found == byName.end() ? nullptr : found->second;
}

const Series* SiteContent::seriesByKey(std::string_view key) const {
    const auto found = byKey.find(key);
    return found == byKey.end() ? nullptr : found->second;
}

const Series* SiteContent::seriesByFavoriteId(int favoriteId) const {
    const auto found = byFavoriteId.find(favoriteId);
    return found == byFavoriteId.end() ? nullptr : found->second;
}

const MonthContent* SiteContent::month(int year, int month) const {
    if (monthList.empty() || month < 1 || month > 12) {
        return nullptr;
    }
    const int index =
        monthOrdinal(year, month) - monthOrdinal(monthList.front().year, monthList.front().month);
    if (index < 0 || index >= static_cast<int>(monthList.size())) {
        return nullptr;
    }
    return &monthList[static_cast<std::size_t>(index)];
}

std::vector<const Series*> SiteContent::favorites() const {
    std::vector<const Series*> result;
    for (const int id : favoriteIds.ids()) {
        result.push_back(seriesByFavoriteId(id));
    }
    return result;
}

bool SiteContent::isFavorite(const Series& series) const {
    return favoriteIds.contains(series.favoriteId);
}

bool SiteContent::addFavorite(int favoriteId) {
    return seriesByFavoriteId(favoriteId) != nullptr && favoriteIds.add(favoriteId);
}

bool SiteContent::removeFavorite(int favoriteId) {
    return favoriteIds.remove(favoriteId);
}

int SiteContent::modelId(std::string_view name) const {
    const auto found = std::find_if(modelList.begin(), modelList.end(), [name](const Model& model) {
        return sameLetters(model.name, name);
    });
    return found == modelList.end() ? -1 : found->id;
}

int SiteContent::photographerId(std::string_view name) const {
    const auto found = std::find_if(
        photographerList.begin(), photographerList.end(),
        [name](const NamedId& photographer) { return sameLetters(photographer.name, name); });
    return found == photographerList.end() ? -1 : found->id;
}

std::vector<const Series*> SiteContent::seriesOfModel(int modelId) const {
    std::vector<const Series*> result;
    std::copy_if(newestFirst.begin(), newestFirst.end(), std::back_inserter(result),
                 [modelId](const Series* series) {
                     return std::find(series->modelIds.begin(), series->modelIds.end(), modelId) !=
                            series->modelIds.end();
                 });
    return result;
}

std::vector<const Series*> SiteContent::seriesOfPhotographer(int photographerId) const {
    std::vector<const Series*> result;
    std::copy_if(newestFirst.begin(), newestFirst.end(), std::back_inserter(result),
                 [photographerId](const Series* series) {
                     return series->photographerId == photographerId;
                 });
    return result;
}

std::vector<const Series*> SiteContent::seriesOfCountry(int countryId) const {
    std::vector<int> modelIds;
    for (const Model& model : modelList) {
        if (model.countryId == countryId) {
            modelIds.push_back(model.id);
        }
    }
    std::vector<const Series*> result;
    std::copy_if(newestFirst.begin(), newestFirst.end(), std::back_inserter(result),
                 [&modelIds](const Series* series) {
                     return std::find_first_of(series->modelIds.begin(), series->modelIds.end(),
                                               modelIds.begin(),
                                               modelIds.end()) != series->modelIds.end();
                 });
    return result;
}

std::vector<const Series*> SiteContent::seriesNamed(std::string_view modelOrPhotographer) const {
    std::vector<const Series*> result;
    std::copy_if(newestFirst.begin(), newestFirst.end(), std::back_inserter(result),
                 [modelOrPhotographer](const Series* series) {
                     return sameLetters(series->photographer, modelOrPhotographer) ||
                            std::any_of(series->models.begin(), series->models.end(),
                                        [modelOrPhotographer](const std::string& model) {
                                            return sameLetters(model, modelOrPhotographer);
                                        });
                 });
    return result;
}

PictureSize SiteContent::pictureSize(const Series& series, int resolution, int number) const {
    // About one picture in five is landscape; all resolutions of one picture agree.
    const bool landscape =
        mixHash({seedValue, hashText(series.key), static_cast<std::uint64_t>(number)}) % 5 == 0;
    static constexpr PictureSize portrait[4] = {{1200, 1800}, {800, 1200}, {400, 600}, {100, 150}};
    const PictureSize size = portrait[std::clamp(resolution, 0, 3)];
    return landscape ? PictureSize{size.height, size.width} : size;
}

} // namespace demosite
