#include "catalogue/catalogueerror.h"
#include "catalogue/listtesting.h"
#include "catalogue/seriesrec.h"

#include <gtest/gtest.h>

namespace zob {
namespace {

using cataloguetest::addGallery;
using cataloguetest::CatalogueWorld;

class SeriesRecTest : public ::testing::Test {
protected:
    SeriesPtr make(std::string_view address, std::string_view cover = "/x/cover.jpg") {
        return SeriesRec::create(*list, address, "Title", cover);
    }
    // A picture file of `record` with content (or empty, as a failed transfer leaves it).
    void putPicture(const SeriesRec& record, Resolution r, int n, std::string_view bytes = "jpeg") {
        const std::filesystem::path file = record.localPictureFile(r, n);
        std::filesystem::create_directories(file.parent_path());
        writeBytes(file, bytes);
    }

    CatalogueWorld world;
    std::shared_ptr<cataloguetest::MonthList> list = world.month(2008, 3);
};

TEST_F(SeriesRecTest, NameComesFromTheLastElementOfTheAddress) {
    for (const std::string_view address :
         {"http://h/members/gallery/2008/ab_cd_200803/", "/members/gallery/2008/ab_cd_200803",
          "x\\y\\ab_cd_200803\\", "c:ab_cd_200803", "ab_cd_200803"}) {
        const SeriesPtr record = make(address);
        EXPECT_EQ(record->name, "ab_cd_200803") << address;
        EXPECT_EQ(record->seriesKey, "ab_cd");
        EXPECT_EQ(record->year, 2008);
        EXPECT_EQ(record->month, 3);
        EXPECT_FALSE(record->inArchive);
        EXPECT_EQ(record->folderName(), "ab_cd_200803");
    }
    const SeriesPtr longer = make("/g/mira_kt0413_201112_extra");
    EXPECT_EQ(longer->seriesKey, "mira_kt0413");
    EXPECT_EQ(longer->year, 2011);
    EXPECT_EQ(longer->month, 12);
}

TEST_F(SeriesRecTest, ArchiveNameGivesYearOneAndTheArchiveFolder) {
    const SeriesPtr record = make("/members/gallery/archive/ab_cd_archive/");
    EXPECT_EQ(record->year, 1);
    EXPECT_EQ(record->month, 1);
    EXPECT_TRUE(record->inArchive);
    EXPECT_EQ(record->folderName(), "ab_cd_archive");
    EXPECT_EQ(record->yearFolder(), "archive");
}

TEST_F(SeriesRecTest, MalformedOrUnsafeNamesAreRefused) {
    for (const std::string_view address :
         {"/g/abcd_200803", "/g/ab_cd_2008", "/g/ab_cd_20x803", "/g/ab_cd_2008-3", "/g/ab_cd_",
          "/g/", "", "/g/ab_cd..x_200803", "/g/ab_cd\x01_200803", "/g/..", "/g/.",
          "/g/ab_cd_archive2"}) {
        EXPECT_THROW(make(address), CatalogueError) << address;
    }
    EXPECT_THROW(make("/g/ab_cd_200803", "/x/"), CatalogueError);
    EXPECT_THROW(make("/g/ab_cd_200803", "/x/.."), CatalogueError);
    EXPECT_THROW(make("/g/ab_cd_200803", "/x/a\nb.jpg"), CatalogueError);
}

TEST_F(SeriesRecTest, SafeLocalNames) {
    EXPECT_TRUE(isSafeLocalName("ab_cd_200803"));
    EXPECT_TRUE(isSafeLocalName("caf\xc3\xa9.jpg"));
    EXPECT_TRUE(isSafeLocalName(".hidden"));
    for (const std::string_view name : {"", ".", "..", "a..b", "a/b", "a\\b", "a\tb", "a\x7f"}) {
        EXPECT_FALSE(isSafeLocalName(name)) << name;
    }
}

TEST_F(SeriesRecTest, CoverGivesFileAndKind) {
    const SeriesPtr gallery = make("/g/ab_cd_200803", "/members/gallery/2008/ab_cd_200803/c1.jpg");
    EXPECT_EQ(gallery->coverFile, "/c1.jpg");
    EXPECT_FALSE(gallery->isMovie);
    EXPECT_EQ(gallery->section, "gallery");
    const SeriesPtr movie = make("/g/ab_cd_200803", "/members/movies/ab_cd_200803/cover.jpg");
    EXPECT_TRUE(movie->isMovie);
    EXPECT_EQ(movie->section, "movies");
    EXPECT_EQ(make("/g/ab_cd_200803", "bare.jpg")->coverFile, "bare.jpg");
    // The word alone, here in the name, does not make a movie.
    EXPECT_FALSE(make("/g/ab_moviescd_200803", "/g/ab_moviescd_200803/c.jpg")->isMovie);
}

TEST_F(SeriesRecTest, DetailsDropBylineKeepKnownIdsAndMarkTheOwner) {
    const SeriesPtr record = make("/g/ab_cd_200803");
    EXPECT_EQ(record->favoriteId, -1);
    EXPECT_EQ(record->modelId, -1);
    list->saved = true;
    record->setDetails("2008/03/04", "Ann", "BY Carl", 30, 17, 5);
    EXPECT_FALSE(list->saved);
    EXPECT_EQ(record->photographer, "Carl");
    EXPECT_EQ(record->photoCount, 30);
    record->setDetails("2008/03/04", "Ann", "BYRON", 31, -1, -1);
    EXPECT_EQ(record->photographer, "BYRON");
    EXPECT_EQ(record->favoriteId, 17);
    EXPECT_EQ(record->modelId, 5);

    const SeriesPtr movie = make("/g/ab_cd_200803", "/members/movies/ab_cd_200803/c.jpg");
    movie->setDetails("d", "m", "p", 24, -1, -1);
    EXPECT_EQ(movie->photoCount, 0);
}

TEST_F(SeriesRecTest, TakeKnownValuesFillsOnlyWhatIsUnknown) {
    const SeriesPtr mine = make("/g/ab_cd_200803");
    const SeriesPtr other = make("/g/ab_cd_200803");
    other->setDetails("d", "m", "p", 40, 7, 8);

    mine->setDetails("d", "m", "p", 999, -1, -1);
    mine->takeKnownValues(*other);
    EXPECT_EQ(mine->photoCount, 40);
    EXPECT_EQ(mine->favoriteId, 7);
    EXPECT_EQ(mine->modelId, 8);

    const SeriesPtr known = make("/g/ab_cd_200803");
    known->setDetails("d", "m", "p", 12, 1, 2);
    known->takeKnownValues(*other);
    EXPECT_EQ(known->photoCount, 12);
    EXPECT_EQ(known->favoriteId, 1);
    EXPECT_EQ(known->modelId, 2);

    // Neither an undetermined count nor a movie's 0 is knowledge to pass on.
    const SeriesPtr unknown = make("/g/ab_cd_200803");
    unknown->setDetails("d", "m", "p", 999, -1, -1);
    const SeriesPtr zero = make("/g/ab_cd_200803");
    zero->setDetails("d", "m", "p", 0, -1, -1);
    zero->takeKnownValues(*unknown);
    EXPECT_EQ(zero->photoCount, 0);
    unknown->takeKnownValues(*zero);
    EXPECT_EQ(unknown->photoCount, 999);
}

TEST_F(SeriesRecTest, SiteAddresses) {
    const SeriesPtr record = make("/g/ab_cd_200803", "/x/cover.jpg");
    const std::string series = "http://127.0.0.1:9/members/gallery/2008/ab_cd_200803";
    EXPECT_EQ(record->seriesUrl(), series);
    EXPECT_EQ(record->resolutionUrl(resMid), series + "/midres");
    EXPECT_EQ(record->resolutionUrl(resThumb), series + "/hires");
    EXPECT_EQ(record->coverUrl(), series + "/cover.jpg");
    EXPECT_EQ(record->logoUrl(), series + "/logo.jpg");
    EXPECT_EQ(record->pictureUrl(resLow, 7), series + "/lores/ZEL-ORA_ab_cd_0007.jpg");
    EXPECT_EQ(record->pictureUrl(resThumb, 7), series + "/hires/tn_ZEL-ORA_ab_cd_0007.jpg");
    EXPECT_EQ(record->pictureUrl(resHigh, 10000), series + "/hires/ZEL-ORA_ab_cd_10000.jpg");
    EXPECT_EQ(record->pictureHtmlUrl(resHigh, 12),
              series + "/hires/zel-ora_ZEL-ORA_ab_cd_0012_jpg.htm");

    // Once the normal address is gone, the archive form takes over.
    record->setInArchive(true);
    const std::string archived = "http://127.0.0.1:9/members/gallery/archive/ab_cd_archive";
    EXPECT_EQ(record->seriesUrl(), archived);
    EXPECT_EQ(record->pictureUrl(resMid, 1), archived + "/midres/ZEL-ORA_ab_cd_0001.jpg");
    EXPECT_EQ(record->localSeriesFolder(), world.scratch.path().string() + "/archive/ab_cd_200803");

    const SeriesPtr movie = make("/g/ab_cd_200803", "/members/movies/ab_cd_200803/c.jpg");
    const std::string movieUrl = "http://127.0.0.1:9/members/movies/ab_cd_200803";
    EXPECT_EQ(movie->seriesUrl(), movieUrl);
    EXPECT_EQ(movie->resolutionUrl(resHigh), movieUrl);
    EXPECT_EQ(movie->logoUrl(), movieUrl + "/fullmoviecover.jpg");
}

TEST_F(SeriesRecTest, LocalPaths) {
    const std::string local = world.scratch.path().string();
    const SeriesPtr record = make("/g/ab_cd_200803");
    EXPECT_EQ(record->localSeriesFolder(), local + "/2008/ab_cd_200803");
    EXPECT_EQ(record->localResolutionFolder(resThumb), local + "/2008/ab_cd_200803");
    EXPECT_EQ(record->localResolutionFolder(resMid), local + "/2008/ab_cd_200803/midres");
    EXPECT_EQ(record->localPictureFile(resThumb, 3),
              local + "/2008/ab_cd_200803/tn_ab_cd_0003.jpg");
    EXPECT_EQ(record->localPictureFile(resHigh, 10000),
              local + "/2008/ab_cd_200803/hires/ZEL-ORA_ab_cd_10000.jpg");
    EXPECT_EQ(record->localLogoFolder(), local + "/2008/00logo");
    EXPECT_EQ(record->localLogoFile(true), local + "/2008/00logo/ab_cd_200803_s.jpg");
    EXPECT_EQ(record->localLogoFile(false), local + "/2008/00logo/ab_cd_200803_l.jpg");
    EXPECT_EQ(record->folderPictureFile(), local + "/2008/ab_cd_200803/FOLDER.JPG");

    record->zeroBasedRes = withResolution(0, resLow);
    EXPECT_EQ(record->localPictureFile(resLow, 1),
              local + "/2008/ab_cd_200803/lores/ZEL-ORA_ab_cd_0000.jpg");
    EXPECT_EQ(record->localPictureFile(resMid, 1),
              local + "/2008/ab_cd_200803/midres/ZEL-ORA_ab_cd_0001.jpg");

    const SeriesPtr movie = make("/g/ab_cd_200803", "/members/movies/ab_cd_200803/c.jpg");
    EXPECT_EQ(movie->localResolutionFolder(resHigh), "");
    EXPECT_EQ(movie->localPictureFile(resThumb, 1), "");
}

TEST_F(SeriesRecTest, ScanFindsCompleteZeroBasedAndPartialResolutions) {
    const SeriesPtr record = make("/g/ab_cd_200803");
    record->setDetails("d", "m", "p", 5, -1, -1);
    putPicture(*record, resHigh, 5); // last picture: complete
    putPicture(*record, resMid, 0);  // numbered from 0, last one missing: complete
    putPicture(*record, resMid, 1);
    putPicture(*record, resLow, 1);       // only the first: started
    putPicture(*record, resThumb, 5, ""); // empty files do not count
    putPicture(*record, resThumb, 1, "");
    record->scanLocalFiles();

    EXPECT_EQ(record->loadedRes, withResolution(withResolution(0, resHigh), resMid));
    EXPECT_EQ(record->zeroBasedRes, withResolution(0, resMid));
    EXPECT_EQ(record->partialRes, withResolution(0, resLow));
    EXPECT_EQ(record->loadedCountOf(resHigh), 5);
    EXPECT_EQ(record->loadedCountOf(resMid), 5);
    EXPECT_EQ(record->localPictureFile(resMid, 5),
              world.scratch.path().string() + "/2008/ab_cd_200803/midres/ZEL-ORA_ab_cd_0004.jpg");
    EXPECT_EQ(record->statusText(), "-lMH");

    putPicture(*record, resLow, 2);
    putPicture(*record, resLow, 4);
    record->recountFiles();
    EXPECT_EQ(record->loadedCountOf(resLow), 2);
    EXPECT_EQ(record->loadedCountOf(resHigh), 5);
    EXPECT_EQ(record->loadedCountOf(resThumb), 0);

    std::filesystem::remove_all(record->localSeriesFolder());
    record->scanLocalFiles();
    EXPECT_EQ(record->loadedRes, 0);
    EXPECT_EQ(record->partialRes, 0);
    EXPECT_EQ(record->zeroBasedRes, 0);
}

TEST_F(SeriesRecTest, MovieHasNoLocalPictures) {
    const SeriesPtr movie = make("/g/ab_cd_200803", "/members/movies/ab_cd_200803/c.jpg");
    std::filesystem::create_directories(movie->localSeriesFolder());
    writeBytes(std::filesystem::path(movie->localSeriesFolder()) / "tn_ab_cd_0000.jpg", "x");
    movie->scanLocalFiles();
    EXPECT_EQ(movie->loadedRes, 0);
    EXPECT_EQ(movie->photoText(), "movie");
    EXPECT_EQ(movie->statusText(), "----");
}

TEST_F(SeriesRecTest, TextsDescribeTheSeries) {
    const SeriesPtr record = addGallery(*list, "ab_cd_200803", 24, "Sunny");
    EXPECT_EQ(record->photoText(), "24  photos");
    EXPECT_EQ(record->summary(), "2008/03/01   Sunny (Ann & Bea / Carl) 24  photos ----");
    record->setDetails("d", "m", "p", 999, -1, -1);
    EXPECT_EQ(record->photoText(), "??? photos");

    auto favorites = world.named("fav.csv");
    auto bad = world.named("bad.csv");
    world.registry.favoriteList = favorites;
    EXPECT_EQ(record->statusText(), "----");
    favorites->append(record);
    EXPECT_EQ(record->statusText(), "----F");
    world.registry.badList = bad;
    bad->append(SeriesRec::create(*bad, record->name, "other", "/c.jpg"));
    EXPECT_EQ(record->statusText(), "----FB");
}

TEST_F(SeriesRecTest, ModelNamesSplitAtAmpersands) {
    const SeriesPtr record = make("/g/ab_cd_200803");
    record->model = "Ann Lee & Bea";
    EXPECT_EQ(record->modelCount(), 2);
    EXPECT_EQ(record->modelName(1), "Ann Lee");
    EXPECT_EQ(record->modelName(2), "Bea");
    EXPECT_EQ(record->modelName(3), "");
    EXPECT_EQ(record->modelName(0), "");
    record->model = "Ann&Bea&Cy";
    EXPECT_EQ(record->modelCount(), 3);
    EXPECT_EQ(record->modelName(1), "Ann");
    EXPECT_EQ(record->modelName(3), "Cy");
    record->model = "";
    EXPECT_EQ(record->modelCount(), 1);
    EXPECT_EQ(record->modelName(1), "");
}

} // namespace
} // namespace zob
