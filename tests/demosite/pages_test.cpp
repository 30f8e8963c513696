#include "blockreader.h"
#include "sitefixture.h"

#include <algorithm>

namespace demosite::testing {
namespace {

class PagesTest : public SiteTest {
protected:
    // The client's way of learning a favorite id from a folder page.
    static int addLinkId(const std::string& page) {
        static const std::string marker = "members/favorites/?add=";
        const std::size_t at = page.find(marker);
        if (at == std::string::npos) {
            return -1;
        }
        const std::size_t start = at + marker.size();
        return std::stoi(page.substr(start, page.find('"', start) - start));
    }

    std::vector<int> favoriteIdsOnPage(const std::string& target) {
        std::vector<int> ids;
        for (const ReadBlock& block : readBlocks(page(target))) {
            ids.push_back(block.favoriteId);
        }
        return ids;
    }

    std::vector<int> favoriteIdsInContent() const {
        std::vector<int> ids;
        for (const Series* series : site.content().favorites()) {
            ids.push_back(series->favoriteId);
        }
        return ids;
    }

    static std::vector<std::string> names(const std::vector<ReadBlock>& blocks) {
        std::vector<std::string> result;
        for (const ReadBlock& block : blocks) {
            std::string link = block.link.substr(0, block.link.size() - 1);
            result.push_back(link.substr(link.rfind('/') + 1));
        }
        return result;
    }

    static std::vector<std::string> names(const std::vector<const Series*>& series) {
        std::vector<std::string> result;
        for (const Series* one : series) {
            result.push_back(one->name);
        }
        return result;
    }
};

void expectBlockShows(const ReadBlock& block, const Series& series) {
    EXPECT_EQ(block.link, series.folderPath);
    EXPECT_EQ(block.cover, series.coverPath);
    EXPECT_EQ(block.models, series.modelText);
    EXPECT_EQ(block.title, series.title);
    EXPECT_EQ(block.photographer, series.photographer);
    EXPECT_EQ(block.photoCount, series.isMovie ? 999 : series.announcedPhotos);
    EXPECT_EQ(block.modelId, series.modelIds.back());
}

TEST_F(PagesTest, MonthPagesHoldTheMonthsBlocksInPageOrder) {
    int checked = 0;
    for (const auto& [year, month] : {std::pair{2008, 3}, {2008, 2}, {2006, 8}, {2003, 1}}) {
        const MonthContent& content = *site.content().month(year, month);
        const auto blocks = readBlocks(page(content.pagePath()));
        ASSERT_EQ(blocks.size(), content.series.size()) << content.pagePath();
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            expectBlockShows(blocks[i], *content.series[i]);
            EXPECT_EQ(blocks[i].date, content.series[i]->date);
            EXPECT_EQ(blocks[i].favoriteId, -1);
            ++checked;
        }
    }
    EXPECT_GT(checked, 12);

    EXPECT_EQ(status("/members/gallery/2002/200212.html"), 404);
    EXPECT_EQ(status("/members/gallery/2008/200804.html"), 404);
    EXPECT_EQ(status("/members/gallery/2008/200813.html"), 404);
    EXPECT_EQ(status("/members/gallery/2008/2008031.html"), 404);
}

TEST_F(PagesTest, EverySeriesOfEveryMonthReadsBackWhole) {
    std::size_t read = 0;
    for (const MonthContent& month : site.content().months()) {
        const auto blocks = readBlocks(page(month.pagePath()));
        EXPECT_EQ(names(blocks), names(month.series)) << month.pagePath();
        read += blocks.size();
    }
    EXPECT_EQ(read + site.content().archivePage().size(), site.content().allSeries().size());
}

TEST_F(PagesTest, PagesMixTagCaseAroundTheBlocks) {
    const std::string month = page("/members/gallery/2008/200802.html");
    EXPECT_NE(month.find("<TABLE"), std::string::npos);
    EXPECT_NE(month.find("<table"), std::string::npos);
    EXPECT_NE(month.find("<IMG "), std::string::npos);
    EXPECT_NE(month.find("<a href=\"/members/gallery/2008/200801.html\">"), std::string::npos);
    EXPECT_NE(month.find("<a href=\"/members/gallery/2008/200803.html\">"), std::string::npos);
    EXPECT_EQ(page("/members/gallery/2008/200803.html").find("200804"), std::string::npos);
    EXPECT_NE(page("/members/home.html").find("/members/gallery/2008/200803.html"),
              std::string::npos);
}

TEST_F(PagesTest, ArchiveAndBestOfPages) {
    const auto archive = readBlocks(page("/members/gallery/archive/index.html"));
    ASSERT_EQ(archive.size(), site.content().archivePage().size());
    for (std::size_t i = 0; i < archive.size(); ++i) {
        expectBlockShows(archive[i], *site.content().archivePage()[i]);
        EXPECT_TRUE(archive[i].link.ends_with("_archive/"));
    }
    EXPECT_EQ(page("/members/gallery/archive/"), page("/members/gallery/archive/index.html"));

    const auto best = readBlocks(page("/members/bestofzel/index.html"));
    ASSERT_EQ(best.size(), site.content().bestOf().size());
    ASSERT_FALSE(best.empty());
    for (std::size_t i = 0; i < best.size(); ++i) {
        expectBlockShows(best[i], *site.content().bestOf()[i]);
        EXPECT_EQ(best[i].date, "Rank " + std::to_string(i + 1));
    }
}

TEST_F(PagesTest, FavoritesRoundTripInEveryAddressForm) {
    const std::vector<int> initial = favoriteIdsInContent();
    ASSERT_FALSE(initial.empty());
    EXPECT_EQ(favoriteIdsOnPage("/members/favorites/index.html?add="), initial);
    const auto blocks = readBlocks(page("/members/favorites/index.html?add="));
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        expectBlockShows(blocks[i], *site.content().favorites()[i]);
    }

    const Series& first = plainGallery(2008, 2);
    const Series& second = plainGallery(2007, 6);
    const auto id = [](const Series& s) { return std::to_string(s.favoriteId); };

    // The page answering an add or remove already shows the change.
    auto expected = initial;
    expected.insert(expected.begin(), first.favoriteId);
    EXPECT_EQ(favoriteIdsOnPage("/members/favorites/?add=" + id(first)), expected);
    expected.insert(expected.begin(), second.favoriteId);
    EXPECT_EQ(favoriteIdsOnPage("/members/favorites/index.html?add=" + id(second)), expected);
    EXPECT_EQ(favoriteIdsInContent(), expected);

    expected.erase(expected.begin() + 1);
    EXPECT_EQ(favoriteIdsOnPage("/members/favorites/?remove=" + id(first)), expected);
    page("/members/favorites/index.html/?remove=" + id(second));
    EXPECT_EQ(favoriteIdsInContent(), initial);
    page("/members/favorites/index.html?remove=" + std::to_string(initial.back()));
    EXPECT_EQ(favoriteIdsInContent(), std::vector<int>(initial.begin(), initial.end() - 1));

    // Unknown and malformed ids change nothing and still answer the page.
    page("/members/favorites/?add=999999999");
    page("/members/favorites/?add=abc");
    page("/members/favorites/?remove=");
    EXPECT_EQ(favoriteIdsInContent(), std::vector<int>(initial.begin(), initial.end() - 1));
}

TEST_F(PagesTest, HighResolutionFolderOffersTheAddLink) {
    const Series& gallery = plainGallery(2008, 2);
    const std::string hires = page(gallery.resolutionFolderPath(resHigh));
    EXPECT_EQ(addLinkId(hires), gallery.favoriteId);
    EXPECT_NE(hires.find("<a href=\"/members/favorites/?add=" + std::to_string(gallery.favoriteId) +
                         "\">"),
              std::string::npos);
    EXPECT_EQ(addLinkId(page(gallery.resolutionFolderPath(resLow))), -1);

    const Series& movie = *site.content().select([](const Series& s) { return s.isMovie; }).back();
    EXPECT_EQ(addLinkId(page(movie.folderPath)), movie.favoriteId);

    const Series& moved =
        *site.content().select([](const Series& s) { return s.archiveOnly; }).back();
    EXPECT_EQ(status(moved.folderPath + "hires/"), 404);
    EXPECT_EQ(addLinkId(page(moved.archiveFolderPath + "hires/")), moved.favoriteId);
}

TEST_F(PagesTest, SeriesFolderAndPicturePagesLinkWhatExists) {
    const Series& noMid = *site.content().select([](const Series& s) { return s.noMidRes; }).back();
    const std::string folder = page(noMid.folderPath);
    EXPECT_NE(folder.find(noMid.resolutionFolderPath(resHigh)), std::string::npos);
    EXPECT_EQ(folder.find(noMid.resolutionFolderPath(resMid)), std::string::npos);
    EXPECT_EQ(status(noMid.resolutionFolderPath(resMid)), 404);
    EXPECT_EQ(status(noMid.filesPath + "midres"), 404);

    const Series& gallery = plainGallery(2008, 2);
    const std::string lores = page(gallery.resolutionFolderPath(resLow));
    EXPECT_NE(lores.find(gallery.picturePath(resThumbnail, gallery.existingPictures[resLow])),
              std::string::npos);
    const std::string picture = page(gallery.picturePagePath(resMid, 2));
    const PictureSize size = site.content().pictureSize(gallery, resMid, 2);
    EXPECT_NE(picture.find("<img src=\"" + pictureFileName(gallery.key, 2) + "\" width=\"" +
                           std::to_string(size.width) + "\" height=\"" +
                           std::to_string(size.height) + "\""),
              std::string::npos);
    EXPECT_EQ(status(gallery.picturePagePath(resMid, gallery.existingPictures[resMid] + 1)), 404);
}

TEST_F(PagesTest, SearchFormListsModelsAndPhotographersTheClientCanRead) {
    const std::string form = page("/members/search.html");
    const auto models = readSelectOptions(form, "model");
    ASSERT_EQ(models.size(), site.content().models().size());
    for (std::size_t i = 0; i < models.size(); ++i) {
        EXPECT_EQ(models[i].first, site.content().models()[i].name);
        EXPECT_EQ(models[i].second, site.content().models()[i].id);
    }
    const auto photographers = readSelectOptions(form, "photographer");
    ASSERT_EQ(photographers.size(), site.content().photographers().size());
    EXPECT_EQ(photographers.front().first, site.content().photographers().front().name);
    EXPECT_EQ(readSelectOptions(form, "country").size(), site.content().countries().size());
    EXPECT_NE(form.find("<option value=0>Any</option>"), std::string::npos);
    EXPECT_NE(form.find("<option value=''>"), std::string::npos);
    EXPECT_TRUE(readBlocks(form).empty());
}

TEST_F(PagesTest, SearchAnswersPostsAndNumberQueriesInArchiveMarkup) {
    const Series& sample = *site.content().month(2007, 9)->series.front();
    const std::string model = sample.models.front();
    std::string lowered = model;
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });

    const auto posted = member->Post("/members/search.html", "search=" + lowered,
                                     "application/x-www-form-urlencoded");
    ASSERT_TRUE(posted);
    EXPECT_EQ(posted->status, 200);
    const auto byName = readBlocks(posted->body);
    EXPECT_EQ(names(byName), names(site.content().seriesNamed(model)));
    EXPECT_GE(byName.size(), 2u);

    const auto byModel =
        readBlocks(page("/members/search.html?model=" + std::to_string(sample.modelIds.front())));
    EXPECT_EQ(names(byModel), names(byName));
    for (std::size_t i = 0; i < byModel.size(); ++i) {
        expectBlockShows(byModel[i], *site.content().seriesByName(names(byModel)[i]));
    }

    const std::string photographer = sample.photographer; // holds a space
    std::string encoded = photographer;
    std::replace(encoded.begin(), encoded.end(), ' ', '+');
    const auto postedPhotographer = member->Post("/members/search.html", "search=" + encoded,
                                                 "application/x-www-form-urlencoded");
    const auto byPhotographer = readBlocks(
        page("/members/search.html?photographer=" + std::to_string(sample.photographerId)));
    EXPECT_EQ(names(readBlocks(postedPhotographer->body)), names(byPhotographer));
    EXPECT_EQ(names(byPhotographer),
              names(site.content().seriesOfPhotographer(sample.photographerId)));

    EXPECT_TRUE(readBlocks(page("/members/search.html?model=999999")).empty());
    const auto nothing =
        member->Post("/members/search.html", "search=Nobody", "application/x-www-form-urlencoded");
    EXPECT_EQ(nothing->status, 200);
    EXPECT_TRUE(readBlocks(nothing->body).empty());
}

} // namespace
} // namespace demosite::testing
