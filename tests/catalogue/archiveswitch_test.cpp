#include "catalogue/cataloguefile.h"
#include "catalogue/listtesting.h"
#include "catalogue/seriesrec.h"

#include <gmock/gmock.h>

// A dated series that the site only serves under its archive address keeps
// its name and dated catalogue line; where its files lie tells later runs
// that it moved.

namespace zob {
namespace {

using cataloguetest::addGallery;
using cataloguetest::CatalogueWorld;
using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

class ArchiveSwitchTest : public ::testing::Test {
protected:
    void put(const fs::path& file) {
        fs::create_directories(file.parent_path());
        writeBytes(file, "jpeg");
    }
    // The month's catalogue as a later run reads it.
    SeriesPtr readBack() {
        const auto later = world.month(2008, 3);
        later->loadFromFile(list->csvPath());
        return later->size() == 1 ? later->item(0) : nullptr;
    }

    CatalogueWorld world;
    std::shared_ptr<cataloguetest::MonthList> list = world.month(2008, 3);
    fs::path local = world.scratch.path();
};

TEST_F(ArchiveSwitchTest, TheCatalogueLineKeepsTheDatedAddress) {
    const SeriesPtr series = addGallery(*list, "ab_cd_200803");
    series->setInArchive(true);
    const std::string line = toCsvLine(*series);
    EXPECT_THAT(line, HasSubstr("\"http://127.0.0.1:9/members/gallery/2008/ab_cd_200803\""));
    EXPECT_THAT(line, HasSubstr("/members/gallery/2008/ab_cd_200803/cover.jpg"));
    EXPECT_THAT(line, Not(HasSubstr("archive")));

    // A series of the site's archive page is written as before.
    const SeriesPtr old = SeriesRec::create(*list, "/members/gallery/archive/ef_gh_archive/", "Old",
                                            "/members/gallery/archive/ef_gh_archive/c.jpg");
    EXPECT_THAT(toCsvLine(*old), HasSubstr("/members/gallery/archive/ef_gh_archive\""));
}

TEST_F(ArchiveSwitchTest, ASwitchedSeriesComesBackWithItsNameAndFiles) {
    const SeriesPtr series = addGallery(*list, "ab_cd_200803", 3);
    series->setInArchive(true);
    for (int n = 1; n <= 3; ++n) {
        put(series->localPictureFile(resLow, n));
    }
    put(series->localLogoFile(true));
    ASSERT_EQ(series->localResolutionFolder(resLow),
              (local / "archive/ab_cd_200803/lores").string());
    list->save();

    const SeriesPtr back = readBack();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->name, "ab_cd_200803");
    EXPECT_EQ(back->year, 2008);
    EXPECT_EQ(back->month, 3);
    EXPECT_TRUE(back->inArchive);
    EXPECT_EQ(back->folderName(), "ab_cd_archive");
    EXPECT_EQ(back->seriesUrl(), "http://127.0.0.1:9/members/gallery/archive/ab_cd_archive");
    EXPECT_TRUE(hasResolution(back->loadedRes, resLow));
    EXPECT_EQ(back->localLogoFile(true), series->localLogoFile(true));
}

TEST_F(ArchiveSwitchTest, OnlyFilesUnderTheArchiveFolderMarkASwitch) {
    addGallery(*list, "ab_cd_200803", 3);
    list->save();
    EXPECT_FALSE(readBack()->inArchive); // nothing on disk

    fs::create_directories(local / "archive" / "zz_other_archive");
    put(local / "2008" / "ab_cd_200803" / "lores" / "ZEL-ORA_ab_cd_0001.jpg");
    EXPECT_FALSE(readBack()->inArchive); // another series' archive folder

    // A cover alone is enough: covers are fetched before any picture.
    put(local / "archive" / "00logo" / "ab_cd_200803_s.jpg");
    EXPECT_TRUE(readBack()->inArchive);
}

TEST_F(ArchiveSwitchTest, TreesOfOlderRunsAreReadFromTheArchiveFolder) {
    // Older runs stored picture 1 before the switch in the dated folder and
    // everything after it under the archive folder.
    put(local / "2008" / "ab_cd_200803" / "lores" / "ZEL-ORA_ab_cd_0001.jpg");
    for (int n = 2; n <= 3; ++n) {
        put(local / "archive" / "ab_cd_200803" / "lores" /
            ("ZEL-ORA_ab_cd_000" + std::to_string(n) + ".jpg"));
    }
    const SeriesPtr series = addGallery(*list, "ab_cd_200803", 3);
    EXPECT_TRUE(series->inArchive);
    EXPECT_EQ(series->localPictureFile(resLow, 3),
              (local / "archive/ab_cd_200803/lores/ZEL-ORA_ab_cd_0003.jpg").string());
    EXPECT_TRUE(hasResolution(series->loadedRes, resLow));
}

} // namespace
} // namespace zob
