#include "demosite/content.h"
#include "demosite/picturecache.h"
#include "sitefixture.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace demosite::testing {
namespace {

// The client's reading of a series name: key up to the second underscore,
// then four year digits and two month digits, or "archive". Two more digits
// may follow the month: the day, which the client does not read.
struct NameParts {
    std::string key;
    int year = 0, month = 0;
    int day = 0; // 0 when the name carries none
    bool valid = false;
};

NameParts readName(const std::string& name) {
    NameParts parts;
    const std::size_t first = name.find('_');
    const std::size_t second = first == std::string::npos ? first : name.find('_', first + 1);
    if (second == std::string::npos) {
        return parts;
    }
    parts.key = name.substr(0, second);
    const std::string tail = name.substr(second + 1);
    if (tail == "archive") {
        parts.year = parts.month = 1;
        parts.valid = true;
    } else if ((tail.size() == 6 || tail.size() == 8) &&
               std::all_of(tail.begin(), tail.end(),
                           [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        parts.year = std::stoi(tail.substr(0, 4));
        parts.month = std::stoi(tail.substr(4, 2));
        parts.day = tail.size() == 8 ? std::stoi(tail.substr(6)) : 0;
        parts.valid = true;
    }
    return parts;
}

bool validUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = byte < 0x80         ? 1
                                   : (byte >> 5) == 6  ? 2
                                   : (byte >> 4) == 14 ? 3
                                                       : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

class ContentTest : public ::testing::Test {
protected:
    SiteContent content{fixedOptions()};
};

TEST_F(ContentTest, SameSeedSameContentOtherSeedOtherContent) {
    const SiteContent again(fixedOptions());
    ASSERT_EQ(again.allSeries().size(), content.allSeries().size());
    for (std::size_t i = 0; i < content.allSeries().size(); ++i) {
        const Series& a = content.allSeries()[i];
        const Series& b = again.allSeries()[i];
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.title, b.title);
        EXPECT_EQ(a.modelText, b.modelText);
        EXPECT_EQ(a.date, b.date);
        EXPECT_EQ(a.existingPictures, b.existingPictures);
        EXPECT_EQ(a.favoriteId, b.favoriteId);
    }
    const SiteContent other(fixedOptions(2));
    std::set<std::string> names;
    for (const Series& series : content.allSeries()) {
        names.insert(series.name);
    }
    const auto shared = std::count_if(other.allSeries().begin(), other.allSeries().end(),
                                      [&names](const Series& s) { return names.contains(s.name); });
    EXPECT_LT(shared, static_cast<long>(names.size() / 10));
}

TEST_F(ContentTest, MonthsRunFromTheFirstToTodayNewestSeriesFirst) {
    ASSERT_EQ(content.months().size(), 5u * 12 + 3);
    EXPECT_EQ(content.month(2002, 12), nullptr);
    EXPECT_EQ(content.month(2008, 4), nullptr);
    EXPECT_EQ(content.month(2008, 13), nullptr);
    EXPECT_EQ(content.month(2003, 1)->pagePath(), "/members/gallery/2003/200301.html");

    int complete = 0;
    for (const MonthContent& month : content.months()) {
        const bool current = month.year == 2008 && month.month == 3;
        if (!current) {
            EXPECT_GE(month.series.size(), 3u);
        }
        EXPECT_LE(month.series.size(), 7u);
        for (std::size_t i = 0; i < month.series.size(); ++i) {
            const Series& series = *month.series[i];
            EXPECT_EQ(series.year, month.year);
            EXPECT_EQ(series.month, month.month);
            EXPECT_EQ(series.date.substr(8, 2),
                      (series.day < 10 ? "0" : "") + std::to_string(series.day));
            EXPECT_EQ(series.date.substr(0, 8), std::to_string(month.year) + "/" +
                                                    (month.month < 10 ? "0" : "") +
                                                    std::to_string(month.month) + "/");
            if (i > 0) {
                EXPECT_LT(series.day, month.series[i - 1]->day) << series.name;
            }
            if (current) {
                EXPECT_LE(series.day, 15);
            }
        }
        complete += month.complete() ? 1 : 0;
    }
    // Both kinds exist in plenty, so the client's refetch rule gets exercised.
    EXPECT_GT(complete, 15);
    EXPECT_LT(complete, 50);
}

TEST_F(ContentTest, TodayMovingOnKeepsThePastAsItWas) {
    SiteOptions later = fixedOptions();
    later.todayDay = 31;
    const SiteContent endOfMonth(later);
    const MonthContent* before = content.month(2008, 3);
    const MonthContent* after = endOfMonth.month(2008, 3);
    ASSERT_GE(after->series.size(), before->series.size());
    for (std::size_t i = 0; i < before->series.size(); ++i) {
        const Series& old = *before->series[before->series.size() - 1 - i];
        const Series& now = *after->series[after->series.size() - 1 - i];
        EXPECT_EQ(old.name, now.name);
        EXPECT_EQ(old.title, now.title);
    }
    EXPECT_EQ(content.month(2008, 2)->series.front()->name,
              endOfMonth.month(2008, 2)->series.front()->name);
}

TEST_F(ContentTest, NamesReadBackAsTheClientReadsThem) {
    std::set<std::string> keys;
    int withDay = 0;
    for (const Series& series : content.allSeries()) {
        const NameParts parts = readName(series.name);
        ASSERT_TRUE(parts.valid) << series.name;
        EXPECT_EQ(parts.key, series.key);
        EXPECT_EQ(parts.year, series.year);
        EXPECT_EQ(parts.month, series.month);
        if (parts.day != 0) {
            ++withDay;
            EXPECT_EQ(parts.day, series.day) << series.name;
            // Series singled out for a property keep the short form.
            EXPECT_FALSE(series.isMovie || series.lastPicturesMissing || series.noMidRes ||
                         series.archiveOnly || series.favoriteAtStart)
                << series.name;
        }
        EXPECT_TRUE(keys.insert(series.key).second) << "key used twice: " << series.key;
        EXPECT_TRUE(std::all_of(series.name.begin(), series.name.end(), [](char c) {
            return std::islower(static_cast<unsigned char>(c)) ||
                   std::isdigit(static_cast<unsigned char>(c)) || c == '_';
        })) << series.name;
        // The cover's last element is what the client keeps as the cover file.
        EXPECT_TRUE(series.folderPath.ends_with(series.name + "/") ||
                    series.folderPath == series.archiveFolderPath);
        EXPECT_EQ(series.coverPath, series.folderPath + series.coverFile().substr(1));
        EXPECT_EQ(series.coverPath.find("movies") != std::string::npos, series.isMovie);
    }
    // Both forms are in use, the short one the more common.
    EXPECT_GT(withDay, static_cast<int>(content.allSeries().size()) / 6);
    EXPECT_LT(withDay, static_cast<int>(content.allSeries().size()) / 2);
    EXPECT_EQ(content.archivePage().size(), 12u);
    for (const Series* series : content.archivePage()) {
        EXPECT_EQ(series->name, series->key + "_archive");
        EXPECT_EQ(series->folderPath, "/members/gallery/archive/" + series->name + "/");
        EXPECT_EQ(series->date.substr(0, 4), "2002");
    }
}

TEST_F(ContentTest, PropertiesTheClientMustSurviveRecurInEverySixMonths) {
    const auto& months = content.months();
    for (std::size_t start = 0; start + 6 <= months.size() - 1; start += 6) {
        bool missing = false, noMid = false, moved = false, movie = false;
        for (std::size_t m = start; m < start + 6; ++m) {
            for (const Series* series : months[m].series) {
                missing |= series->lastPicturesMissing;
                noMid |= series->noMidRes;
                moved |= series->archiveOnly;
                movie |= series->isMovie;
            }
        }
        EXPECT_TRUE(missing && noMid && moved && movie) << "months from " << start;
    }

    const auto movies = content.select([](const Series& s) { return s.isMovie; });
    const auto monthly = content.select([](const Series& s) { return !s.onArchivePage; });
    const double movieShare =
        static_cast<double>(movies.size()) / static_cast<double>(monthly.size());
    EXPECT_GT(movieShare, 0.10);
    EXPECT_LT(movieShare, 0.25);

    for (const Series& series : content.allSeries()) {
        const auto& exist = series.existingPictures;
        if (series.isMovie) {
            EXPECT_EQ(series.announcedPhotos, 0);
            EXPECT_EQ(exist, (std::array<int, 4>{0, 0, 0, 0}));
            EXPECT_EQ(series.specsText(), "movie");
            EXPECT_TRUE(series.logoPath.ends_with("/fullmoviecover.jpg"));
            EXPECT_TRUE(series.coverPath.ends_with("/logo1.jpg"));
            continue;
        }
        EXPECT_GE(series.announcedPhotos, 6);
        EXPECT_LE(series.announcedPhotos, 30);
        EXPECT_EQ(series.specsText(), std::to_string(series.announcedPhotos) + " photos");
        const int missing = series.announcedPhotos - exist[resHigh];
        EXPECT_EQ(missing == 3 || missing == 4, series.lastPicturesMissing) << series.name;
        EXPECT_TRUE(series.lastPicturesMissing || missing == 0);
        EXPECT_EQ(exist[resThumbnail], exist[resHigh]);
        EXPECT_EQ(exist[resLow], exist[resHigh]);
        EXPECT_EQ(exist[resMid], series.noMidRes ? 0 : exist[resHigh]);
        EXPECT_EQ(series.filesPath,
                  series.archiveOnly ? series.archiveFolderPath : series.folderPath);
    }
}

TEST_F(ContentTest, ModelsAndPhotographersRecurAcrossMonths) {
    std::map<int, std::set<int>> monthsOfModel;
    std::map<std::size_t, int> seriesByModelCount;
    for (const Series& series : content.allSeries()) {
        ASSERT_EQ(series.models.size(), series.modelIds.size());
        ++seriesByModelCount[series.models.size()];
        std::string joined;
        for (std::size_t i = 0; i < series.models.size(); ++i) {
            joined += (i ? " & " : "") + series.models[i];
            const auto model =
                std::find_if(content.models().begin(), content.models().end(),
                             [&](const Model& m) { return m.id == series.modelIds[i]; });
            ASSERT_NE(model, content.models().end());
            EXPECT_EQ(model->name, series.models[i]);
            monthsOfModel[model->id].insert(series.year * 12 + series.month);
        }
        EXPECT_EQ(series.modelText, joined);
        EXPECT_FALSE(series.photographer.empty());
    }
    EXPECT_GT(seriesByModelCount[2], 0);
    EXPECT_GT(seriesByModelCount[3], 0);
    EXPECT_TRUE(std::any_of(monthsOfModel.begin(), monthsOfModel.end(),
                            [](const auto& entry) { return entry.second.size() >= 3; }));

    const std::string name = content.month(2008, 2)->series.front()->models.front();
    std::string shouted = name;
    std::transform(shouted.begin(), shouted.end(), shouted.begin(), [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
    const auto found = content.seriesNamed(shouted);
    EXPECT_GE(found.size(), 2u);
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_TRUE(std::find(found[i]->models.begin(), found[i]->models.end(), name) !=
                        found[i]->models.end() ||
                    found[i]->photographer == name);
        if (i > 0) {
            EXPECT_LT(found[i]->date, found[i - 1]->date);
        }
    }
    const int modelId = content.month(2008, 2)->series.front()->modelIds.front();
    EXPECT_EQ(content.seriesOfModel(modelId).size(), found.size());
    EXPECT_EQ(content.modelId(shouted), modelId);
    EXPECT_EQ(content.modelId("Nobody"), -1);
    EXPECT_EQ(content.photographerId(content.photographers().back().name),
              content.photographers().back().id);
    const Series& any = *content.month(2007, 7)->series.front();
    const auto byPhotographer = content.seriesOfPhotographer(any.photographerId);
    EXPECT_NE(std::find(byPhotographer.begin(), byPhotographer.end(), &any), byPhotographer.end());
    EXPECT_TRUE(content.seriesNamed("Nobody At All").empty());
    EXPECT_TRUE(content.seriesOfModel(-5).empty());
}

TEST_F(ContentTest, TitlesComeInEveryKindTheClientMustKeep) {
    bool rawQuote = false, entity = false, utf8 = false, singleByte = false;
    for (const Series& series : content.allSeries()) {
        const std::string& title = series.title;
        rawQuote |= title.find('"') != std::string::npos;
        entity |= title.find("&quot;") != std::string::npos;
        const bool nonAscii = std::any_of(title.begin(), title.end(), [](char c) {
            return static_cast<unsigned char>(c) >= 0x80;
        });
        utf8 |= nonAscii && validUtf8(title);
        singleByte |= nonAscii && !validUtf8(title);
    }
    EXPECT_TRUE(rawQuote);
    EXPECT_TRUE(entity);
    EXPECT_TRUE(utf8);
    EXPECT_TRUE(singleByte);
}

TEST_F(ContentTest, FavoritesStartWithAFewAndChangeByAddAndRemove) {
    const auto initial = content.favorites();
    ASSERT_GE(initial.size(), 3u);
    for (std::size_t i = 0; i < initial.size(); ++i) {
        EXPECT_TRUE(initial[i]->favoriteAtStart);
        EXPECT_TRUE(content.isFavorite(*initial[i]));
        EXPECT_EQ(content.seriesByFavoriteId(initial[i]->favoriteId), initial[i]);
        if (i > 0) {
            EXPECT_LT(initial[i]->date, initial[i - 1]->date);
        }
    }
    EXPECT_EQ(initial.front()->month, 3); // one in the current month

    const Series& series =
        *content.select([](const Series& s) { return s.year == 2007 && !s.favoriteAtStart; })
             .front();
    EXPECT_FALSE(content.removeFavorite(series.favoriteId));
    EXPECT_TRUE(content.addFavorite(series.favoriteId));
    EXPECT_FALSE(content.addFavorite(series.favoriteId));
    EXPECT_FALSE(content.addFavorite(12345678));
    EXPECT_EQ(content.favorites().front(), &series);
    EXPECT_EQ(content.favorites().size(), initial.size() + 1);
    EXPECT_TRUE(content.removeFavorite(series.favoriteId));
    EXPECT_EQ(content.favorites(), initial);
}

TEST_F(ContentTest, PicturesArePortraitOrLandscapeAlikeInEveryResolution) {
    int landscape = 0, portrait = 0;
    for (const Series* series : content.month(2007, 5)->series) {
        for (int number = 1; number <= series->existingPictures[resHigh]; ++number) {
            const PictureSize high = content.pictureSize(*series, resHigh, number);
            const PictureSize thumb = content.pictureSize(*series, resThumbnail, number);
            (high.width > high.height ? landscape : portrait) += 1;
            EXPECT_EQ(high.width > high.height, thumb.width > thumb.height);
            EXPECT_EQ(std::max(high.width, high.height), 1800);
            EXPECT_EQ(std::max(thumb.width, thumb.height), 150);
            EXPECT_EQ(std::max(content.pictureSize(*series, resMid, number).width,
                               content.pictureSize(*series, resMid, number).height),
                      1200);
            EXPECT_EQ(std::max(content.pictureSize(*series, resLow, number).width,
                               content.pictureSize(*series, resLow, number).height),
                      600);
        }
    }
    EXPECT_GT(portrait, landscape);
    EXPECT_GT(landscape, 0);
}

TEST(PictureCache, KeepsRecentEntriesWithinItsBounds) {
    PictureCache cache(3, 100);
    int made = 0;
    const auto maker = [&made](std::size_t size) {
        return [&made, size] {
            ++made;
            return std::string(size, 'x');
        };
    };
    const auto a = cache.get("a", maker(10));
    EXPECT_EQ(cache.get("a", maker(10)), a); // a hit makes nothing
    EXPECT_EQ(made, 1);
    cache.get("b", maker(10));
    cache.get("c", maker(10));
    cache.get("a", maker(10)); // a becomes the most recent
    cache.get("d", maker(10)); // b, the least recent, goes
    EXPECT_EQ(cache.entries(), 3u);
    EXPECT_EQ(made, 4);
    cache.get("a", maker(10));
    EXPECT_EQ(made, 4);
    cache.get("b", maker(10));
    EXPECT_EQ(made, 5);

    cache.get("big", maker(95)); // the byte bound pushes out all but the newest
    EXPECT_EQ(cache.entries(), 1u);
    EXPECT_EQ(cache.bytes(), 95u);
    cache.get("huge", maker(500)); // too big alone, yet kept until the next
    EXPECT_EQ(cache.entries(), 1u);
    EXPECT_EQ(*cache.get("huge", maker(1)), std::string(500, 'x'));
}

} // namespace
} // namespace demosite::testing
