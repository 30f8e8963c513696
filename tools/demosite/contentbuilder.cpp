#include "demosite/contentbuilder.h"

#include "demosite/namepools.h"
#include "demosite/random.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>

namespace demosite {
namespace {

// Salts keep the hash streams of different purposes apart.
enum Salt : std::uint64_t {
    saltPeople = 1,
    saltMonth,
    saltSeries,
    saltArchive,
    saltBestOf,
};

constexpr int archivePageSeries = 12;
constexpr int bestOfSeries = 10;
constexpr int firstArchiveSerial = 9000;

struct People {
    std::vector<Model> models;
    std::vector<NamedId> photographers;
    std::vector<NamedId> countries;
};

template <typename T> void shuffle(std::vector<T>& items, DetRandom& random) {
    for (std::size_t i = items.size(); i > 1; --i) {
        const auto j = static_cast<std::size_t>(random.below(static_cast<int>(i)));
        std::swap(items[i - 1], items[j]);
    }
}

// Ids rise in irregular steps, as a site's database numbers do.
std::vector<int> risingIds(std::size_t count, int first, DetRandom& random) {
    std::vector<int> ids;
    int id = first;
    for (std::size_t i = 0; i < count; ++i) {
        id += random.between(1, 17);
        ids.push_back(id);
    }
    return ids;
}

People makePeople(unsigned seed) {
    DetRandom random(mixHash({seed, saltPeople}));
    People people;
    const auto countryPool = countryNamePool();
    for (std::size_t i = 0; i < countryPool.size(); ++i) {
        people.countries.push_back({std::string(countryPool[i]), static_cast<int>(i) + 1});
    }

    std::vector<std::string_view> modelNames(modelNamePool().begin(), modelNamePool().end());
    shuffle(modelNames, random);
    modelNames.resize(36);
    const auto modelIds = risingIds(modelNames.size(), 100, random);
    for (std::size_t i = 0; i < modelNames.size(); ++i) {
        const int country = random.between(1, static_cast<int>(people.countries.size()));
        people.models.push_back({std::string(modelNames[i]), modelIds[i], country});
    }

    std::vector<std::string_view> photographerNames(photographerNamePool().begin(),
                                                    photographerNamePool().end());
    shuffle(photographerNames, random);
    photographerNames.resize(12);
    const auto photographerIds = risingIds(photographerNames.size(), 0, random);
    for (std::size_t i = 0; i < photographerNames.size(); ++i) {
        people.photographers.push_back({std::string(photographerNames[i]), photographerIds[i]});
    }
    return people;
}

std::string lowerLetters(std::string_view text, std::size_t limit) {
    std::string result;
    for (const char c : text) {
        if (std::isalpha(static_cast<unsigned char>(c)) && result.size() < limit) {
            result += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return result;
}

std::string initials(std::string_view fullName) {
    std::string result;
    bool atWordStart = true;
    for (const char c : fullName) {
        if (c == ' ') {
            atWordStart = true;
        } else if (atWordStart) {
            result += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            atWordStart = false;
        }
    }
    return result;
}

// Titles come in the kinds a client must store faithfully: plain, with a raw
// double quote, with the entity the site sometimes sends instead, and with
// non-ASCII bytes both as UTF-8 and as a single Windows-1252 byte.
enum class TitleKind { plain, rawQuote, quoteEntity, utf8, singleByte };

std::string makeTitle(TitleKind kind, DetRandom& random) {
    const auto adjectives = titleAdjectives();
    const auto nouns = titleNouns();
    const std::string adjective(
        adjectives[static_cast<std::size_t>(random.below(static_cast<int>(adjectives.size())))]);
    const std::string noun(
        nouns[static_cast<std::size_t>(random.below(static_cast<int>(nouns.size())))]);
    switch (kind) {
    case TitleKind::rawQuote:
        return "The \"" + adjective + "\" " + noun;
    case TitleKind::quoteEntity:
        return adjective + " &quot;" + noun + "&quot;";
    case TitleKind::utf8:
        return adjective + " " + noun + " at the Caf\xC3\xA9";
    case TitleKind::singleByte:
        return adjective + " Caf\xE9 " + noun;
    case TitleKind::plain:
        break;
    }
    return adjective + " " + noun;
}

std::string keyFor(const std::vector<std::string>& models, const std::string& photographer,
                   int serial) {
    char number[16];
    std::snprintf(number, sizeof number, "%04d", serial);
    return lowerLetters(models.front(), 4) + "_" + initials(photographer) + number;
}

void pickPeople(Series& series, const People& people, DetRandom& random) {
    const int roll = random.below(100);
    const int modelCount = roll < 70 ? 1 : (roll < 92 ? 2 : 3);
    std::set<std::size_t> chosen;
    while (static_cast<int>(chosen.size()) < modelCount) {
        const auto index =
            static_cast<std::size_t>(random.below(static_cast<int>(people.models.size())));
        if (chosen.insert(index).second) {
            series.models.push_back(people.models[index].name);
            series.modelIds.push_back(people.models[index].id);
        }
    }
    for (std::size_t i = 0; i < series.models.size(); ++i) {
        series.modelText += (i == 0 ? "" : " & ") + series.models[i];
    }
    const auto& photographer = people.photographers[static_cast<std::size_t>(
        random.below(static_cast<int>(people.photographers.size())))];
    series.photographer = photographer.name;
    series.photographerId = photographer.id;
}

void setPictureCounts(Series& series, DetRandom& random) {
    if (series.isMovie) {
        series.announcedPhotos = 0;
        series.existingPictures = {0, 0, 0, 0};
        return;
    }
    series.announcedPhotos = random.between(series.lastPicturesMissing ? 9 : 6, 30);
    // At least three missing, so a client that gives up after three failures
    // in a row corrects its count to what really exists.
    const int present = series.lastPicturesMissing ? series.announcedPhotos - 3 - random.below(2)
                                                   : series.announcedPhotos;
    series.existingPictures = {present, series.noMidRes ? 0 : present, present, present};
}

void setAddresses(Series& series) {
    char yearText[16];
    std::snprintf(yearText, sizeof yearText, "%04d", series.year);
    series.archiveFolderPath = "/members/gallery/archive/" + series.key + "_archive/";
    if (series.isMovie) {
        series.folderPath = "/members/movies/" + series.name + "/";
    } else if (series.onArchivePage) {
        series.folderPath = series.archiveFolderPath;
    } else {
        series.folderPath = "/members/gallery/" + std::string(yearText) + "/" + series.name + "/";
    }
    series.filesPath = series.archiveOnly ? series.archiveFolderPath : series.folderPath;
    series.coverPath = series.folderPath + (series.isMovie ? "logo1.jpg" : "cover.jpg");
    series.logoPath = series.filesPath + (series.isMovie ? "fullmoviecover.jpg" : "logo.jpg");
}

// Which days of a month have a series. Drawn for the whole month and cut at
// today afterwards, so the days already past never change as today moves on.
std::vector<int> seriesDays(unsigned seed, int year, int month, CalendarDate today) {
    DetRandom random(mixHash(
        {seed, saltMonth, static_cast<std::uint64_t>(year), static_cast<std::uint64_t>(month)}));
    const int count = random.between(3, 7);
    const int lastDay = daysInMonth(year, month);
    std::set<int> days;
    if (random.chance(1, 2)) {
        days.insert(lastDay); // a complete month
    }
    while (static_cast<int>(days.size()) < count) {
        days.insert(random.between(1, lastDay - 1));
    }
    std::vector<int> result;
    for (const int day : days) {
        if (year != today.year || month != today.month || day <= today.day) {
            result.push_back(day);
        }
    }
    return result;
}

Series makeMonthlySeries(unsigned seed, const People& people, int year, int month, int day,
                         int index) {
    const int ordinal = monthOrdinal(year, month);
    DetRandom random(
        mixHash({seed, saltSeries, static_cast<std::uint64_t>(year),
                 static_cast<std::uint64_t>(month), static_cast<std::uint64_t>(index)}));
    Series series;
    series.year = year;
    series.month = month;
    series.day = day;
    series.date = dateText(year, month, day);

    // Every second month carries one series with a property the client must
    // cope with, rotating through them, so any six months hold each of them.
    if (index == 1 && ordinal % 2 == 0) {
        switch ((ordinal / 2) % 3) {
        case 0:
            series.lastPicturesMissing = true;
            break;
        case 1:
            series.noMidRes = true;
            break;
        default:
            series.archiveOnly = true;
            break;
        }
    }
    const bool special = series.lastPicturesMissing || series.noMidRes || series.archiveOnly;
    series.isMovie = !special && ((index == 0 && ordinal % 3 == 1) || random.chance(1, 9));

    pickPeople(series, people, random);
    TitleKind kind = TitleKind::plain;
    if (index == 2) {
        kind = static_cast<TitleKind>(1 + ordinal % 4);
    } else if (random.chance(1, 5)) {
        kind = static_cast<TitleKind>(1 + random.below(4));
    }
    series.title = makeTitle(kind, random);
    setPictureCounts(series, random);

    const int serial = (ordinal * 8 + index) % firstArchiveSerial;
    series.key = keyFor(series.models, series.photographer, serial);
    // The site names some galleries with their day as well (KEY_YYYYMMDD);
    // the client takes year and month from the first six digits either way.
    // A series with a property the client must cope with keeps the short
    // form, so each such property comes on its own.
    const bool dayInName = !special && !series.isMovie && serial % 3 == 0;
    char date[16];
    std::snprintf(date, sizeof date, "%04d%02d%02d", year, month, day);
    series.name = series.key + "_" + std::string(date, dayInName ? 8 : 6);
    series.favoriteId = 40000 + serial * 7 + random.below(7);
    setAddresses(series);
    return series;
}

// Old series that only the index archive page lists, dated the year before
// the monthly pages begin.
std::vector<Series> makeArchivePageSeries(unsigned seed, const People& people, int firstYear) {
    std::vector<Series> result;
    for (int i = 0; i < archivePageSeries; ++i) {
        DetRandom random(mixHash({seed, saltArchive, static_cast<std::uint64_t>(i)}));
        Series series;
        series.onArchivePage = true;
        series.year = 1;
        series.month = 1;
        const int shownMonth = 12 - i;
        series.day = random.between(1, daysInMonth(firstYear - 1, shownMonth));
        series.date = dateText(firstYear - 1, shownMonth, series.day);
        pickPeople(series, people, random);
        series.title = makeTitle(i == 3 ? TitleKind::quoteEntity : TitleKind::plain, random);
        setPictureCounts(series, random);
        const int serial = firstArchiveSerial + i;
        series.key = keyFor(series.models, series.photographer, serial);
        series.name = series.key + "_archive";
        series.favoriteId = 40000 + serial * 7 + random.below(7);
        setAddresses(series);
        result.push_back(std::move(series));
    }
    return result;
}

bool hasDayInName(const Series& series) {
    return series.name.size() == series.key.size() + 9; // "_YYYYMMDD"
}

std::vector<std::string> pickBestOf(unsigned seed, const std::vector<Series>& monthly) {
    std::vector<std::string> names;
    if (monthly.empty()) {
        return names;
    }
    DetRandom random(mixHash({seed, saltBestOf}));
    std::set<std::size_t> used;
    const std::size_t wanted = std::min<std::size_t>(bestOfSeries, monthly.size());
    while (names.size() < wanted) {
        const auto index = static_cast<std::size_t>(random.below(static_cast<int>(monthly.size())));
        if (used.insert(index).second) {
            names.push_back(monthly[index].name);
        }
    }
    return names;
}

// A few favorites spread over the years, and one in the current month when it
// has a series, so a fresh start of the client already finds some. They are
// series with the short name form, which every part of the client knows.
std::vector<std::size_t> pickFavorites(const std::vector<Series>& monthly, CalendarDate today) {
    std::vector<std::size_t> picked;
    const auto addIndex = [&picked](std::size_t index) {
        if (std::find(picked.begin(), picked.end(), index) == picked.end()) {
            picked.push_back(index);
        }
    };
    for (std::size_t i = 0; i < monthly.size(); ++i) {
        if (monthly[i].year == today.year && monthly[i].month == today.month &&
            !hasDayInName(monthly[i])) {
            addIndex(i);
            break;
        }
    }
    for (std::size_t k = 1; k <= 4 && !monthly.empty(); ++k) {
        std::size_t index = monthly.size() * k / 5;
        while (index + 1 < monthly.size() && hasDayInName(monthly[index])) {
            ++index;
        }
        addIndex(index);
    }
    return picked;
}

} // namespace

GeneratedContent generateContent(const SiteOptions& options, CalendarDate today) {
    const People people = makePeople(options.seed);
    GeneratedContent content;
    content.models = people.models;
    content.photographers = people.photographers;
    content.countries = people.countries;

    const int lastOrdinal = monthOrdinal(today.year, today.month);
    for (int ordinal = monthOrdinal(options.firstYear, options.firstMonth); ordinal <= lastOrdinal;
         ++ordinal) {
        const int year = ordinal / 12;
        const int month = ordinal % 12 + 1;
        const auto days = seriesDays(options.seed, year, month, today);
        for (std::size_t index = 0; index < days.size(); ++index) {
            content.series.push_back(makeMonthlySeries(options.seed, people, year, month,
                                                       days[index], static_cast<int>(index)));
        }
    }

    if (options.longGalleryPictures > 0) {
        // Monthly series are stored oldest first: the newest plain gallery is
        // the last one that is neither a movie nor carries a fault nor a day
        // in its name.
        for (auto series = content.series.rbegin(); series != content.series.rend(); ++series) {
            if (!series->isMovie && !series->lastPicturesMissing && !series->noMidRes &&
                !series->archiveOnly && !hasDayInName(*series)) {
                const int count = options.longGalleryPictures;
                series->announcedPhotos = count;
                series->existingPictures = {count, count, count, count};
                break;
            }
        }
    }

    content.bestOfNames = pickBestOf(options.seed, content.series);
    auto favorites = pickFavorites(content.series, today);
    // Page order is newest first; monthly series are stored oldest first.
    std::sort(favorites.begin(), favorites.end(), std::greater<>());
    for (const std::size_t index : favorites) {
        content.series[index].favoriteAtStart = true;
        content.initialFavorites.push_back(content.series[index].favoriteId);
    }

    for (auto& series : makeArchivePageSeries(options.seed, people, options.firstYear)) {
        content.series.push_back(std::move(series));
    }
    return content;
}

} // namespace demosite
