#include "sitefixture.h"

#include <cstdio>
#include <jpeglib.h>
#include <stdexcept>

namespace demosite::testing {
namespace {

struct DecodeError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void throwDecodeError(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    throw DecodeError(message);
}

// Decodes every scanline, so a truncated or corrupt file cannot pass.
PictureSize decodedSize(const std::string& bytes) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    errors.error_exit = throwDecodeError;
    jpeg_create_decompress(&info);
    struct Destroy {
        jpeg_decompress_struct* info;
        ~Destroy() { jpeg_destroy_decompress(info); }
    } destroy{&info};
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    std::vector<unsigned char> row(static_cast<std::size_t>(info.output_width) *
                                   info.output_components);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    return {static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
}

class PicturesTest : public SiteTest {
protected:
    // Fetches a JPEG and checks what any client relies on before decoding it.
    std::string jpeg(const std::string& target) {
        const auto result = member->Get(target.c_str());
        if (!result) {
            ADD_FAILURE() << "no answer for " << target;
            return {};
        }
        EXPECT_EQ(result->status, 200) << target;
        EXPECT_EQ(result->get_header_value("Content-Type"), "image/jpeg") << target;
        EXPECT_EQ(result->get_header_value("Content-Length"), std::to_string(result->body.size()));
        return result->body;
    }

    void expectPicture(const std::string& target, PictureSize size) {
        const std::string bytes = jpeg(target);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(decodedSize(bytes), size) << target;
    }
};

TEST_F(PicturesTest, EveryKindOfPictureDecodesAtItsSize) {
    const Series& gallery = plainGallery(2008, 2);
    expectPicture(gallery.coverPath, SiteContent::coverSize());
    expectPicture(gallery.logoPath, SiteContent::logoSize());
    const int last = gallery.existingPictures[resHigh];
    for (const int number : {1, last}) {
        for (const int resolution : {resHigh, resMid, resLow, resThumbnail}) {
            expectPicture(gallery.picturePath(resolution, number),
                          site.content().pictureSize(gallery, resolution, number));
        }
    }
    EXPECT_TRUE(gallery.picturePath(resThumbnail, 3)
                    .ends_with("/hires/" + thumbnailFileName(gallery.key, 3)));
    EXPECT_EQ(status(gallery.picturePath(resHigh, last + 1)), 404);
    EXPECT_EQ(status(gallery.picturePath(resHigh, 0)), 404);
}

TEST_F(PicturesTest, LandscapePicturesAreServedLandscape) {
    for (const Series* series : site.content().month(2007, 5)->series) {
        for (int number = 1; number <= series->existingPictures[resLow]; ++number) {
            const PictureSize size = site.content().pictureSize(*series, resLow, number);
            if (size.width > size.height) {
                expectPicture(series->picturePath(resLow, number), size);
                return;
            }
        }
    }
    FAIL() << "no landscape picture in 2007/05";
}

TEST_F(PicturesTest, OnlyExactPictureNamesAreServed) {
    const Series& gallery = plainGallery(2008, 2);
    const std::string folder = gallery.resolutionFolderPath(resHigh);
    EXPECT_EQ(status(folder + "ZEL-ORA_" + gallery.key + "_1.jpg"), 404);
    EXPECT_EQ(status(folder + "ZEL-ORA_" + gallery.key + "_00001.jpg"), 404);
    EXPECT_EQ(status(folder + "ZEL-ORA_" + gallery.key + "_0001.JPG"), 404);
    EXPECT_EQ(status(folder + "ZEL-ORA_other_xx0001_0001.jpg"), 404);
    EXPECT_EQ(status(gallery.resolutionFolderPath(resLow) + thumbnailFileName(gallery.key, 1)),
              404);
    EXPECT_EQ(status(gallery.folderPath + "hires/sub/" + pictureFileName(gallery.key, 1)), 404);
}

TEST_F(PicturesTest, MoviesHaveCoversButNoPictures) {
    const Series& movie = *site.content().select([](const Series& s) { return s.isMovie; }).back();
    EXPECT_TRUE(movie.folderPath.starts_with("/members/movies/"));
    expectPicture(movie.coverPath, SiteContent::coverSize());
    expectPicture(movie.folderPath + "fullmoviecover.jpg", SiteContent::logoSize());
    EXPECT_EQ(status(movie.folderPath + "logo.jpg"), 404);
    EXPECT_EQ(status(movie.folderPath + "hires/"), 404);
    EXPECT_EQ(status(movie.folderPath + "hires/" + pictureFileName(movie.key, 1)), 404);
    // A movie is no gallery, whatever year folder is tried.
    EXPECT_EQ(status("/members/gallery/" + std::to_string(movie.year) + "/" + movie.name + "/"),
              404);
}

TEST_F(PicturesTest, MissingLastPicturesAndMissingMidResolution) {
    const Series& shortened =
        *site.content().select([](const Series& s) { return s.lastPicturesMissing; }).back();
    const int present = shortened.existingPictures[resHigh];
    ASSERT_LT(present, shortened.announcedPhotos);
    expectPicture(shortened.picturePath(resHigh, present),
                  site.content().pictureSize(shortened, resHigh, present));
    for (int number = present + 1; number <= shortened.announcedPhotos; ++number) {
        EXPECT_EQ(status(shortened.picturePath(resHigh, number)), 404);
        EXPECT_EQ(status(shortened.picturePath(resThumbnail, number)), 404);
    }

    const Series& noMid = *site.content().select([](const Series& s) { return s.noMidRes; }).back();
    EXPECT_EQ(status(noMid.picturePath(resMid, 1)), 404);
    EXPECT_EQ(status(noMid.archiveFolderPath + "midres/" + pictureFileName(noMid.key, 1)), 404);
    expectPicture(noMid.picturePath(resLow, 1), site.content().pictureSize(noMid, resLow, 1));
}

TEST_F(PicturesTest, ArchiveOnlySeriesLiveUnderTheArchiveAddress) {
    const Series& moved =
        *site.content().select([](const Series& s) { return s.archiveOnly; }).back();
    ASSERT_NE(moved.folderPath, moved.archiveFolderPath);
    EXPECT_EQ(moved.archiveFolderPath, "/members/gallery/archive/" + moved.key + "_archive/");
    // Everything under the address the month page links is gone, even the redirect.
    EXPECT_EQ(status(moved.folderPath), 404);
    EXPECT_EQ(status(moved.folderPath.substr(0, moved.folderPath.size() - 1)), 404);
    EXPECT_EQ(status(moved.coverPath), 404);
    EXPECT_EQ(status(moved.folderPath + "hires/" + pictureFileName(moved.key, 1)), 404);

    // The client retries the cover file it saw in the page under the archive folder.
    expectPicture(moved.archiveFolderPath + moved.coverFile().substr(1), SiteContent::coverSize());
    expectPicture(moved.archiveFolderPath + "logo.jpg", SiteContent::logoSize());
    expectPicture(moved.picturePath(resHigh, 1), site.content().pictureSize(moved, resHigh, 1));
    expectPicture(moved.picturePath(resThumbnail, 2),
                  site.content().pictureSize(moved, resThumbnail, 2));
    EXPECT_EQ(status(moved.archiveFolderPath), 200);

    // An ordinary series has no archive form.
    const Series& gallery = plainGallery(2008, 2);
    EXPECT_EQ(status(gallery.archiveFolderPath), 404);

    const Series& old = *site.content().archivePage().front();
    expectPicture(old.coverPath, SiteContent::coverSize());
    expectPicture(old.picturePath(resMid, 1), site.content().pictureSize(old, resMid, 1));
}

TEST_F(PicturesTest, SameSeedSameBytesOtherSeedOtherBytes) {
    const Series& gallery = plainGallery(2008, 2);
    const std::string first = jpeg(gallery.picturePath(resLow, 1));
    EXPECT_EQ(jpeg(gallery.picturePath(resLow, 1)), first); // from the cache
    EXPECT_NE(jpeg(gallery.picturePath(resLow, 2)), first);

    DemoSite twin(fixedOptions());
    twin.start();
    auto client = boundedClient(twin.port());
    client->set_basic_auth("demo", "demo");
    EXPECT_EQ(client->Get(gallery.picturePath(resLow, 1).c_str())->body, first);
    EXPECT_EQ(client->Get(gallery.coverPath.c_str())->body, jpeg(gallery.coverPath));

    // Another seed names its series differently, so compare by position.
    DemoSite other(fixedOptions(7));
    other.start();
    auto otherClient = boundedClient(other.port());
    otherClient->set_basic_auth("demo", "demo");
    const Series* counterpart = nullptr;
    for (const Series* series : other.content().month(2008, 2)->series) {
        if (!series->isMovie && !series->archiveOnly && series->existingPictures[resLow] > 0) {
            counterpart = series;
        }
    }
    ASSERT_NE(counterpart, nullptr);
    const std::string otherBytes =
        otherClient->Get(counterpart->picturePath(resLow, 1).c_str())->body;
    EXPECT_FALSE(otherBytes.empty());
    EXPECT_NE(otherBytes, first);
}

} // namespace
} // namespace demosite::testing
