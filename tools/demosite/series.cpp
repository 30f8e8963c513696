#include "demosite/series.h"

#include <cstdio>

namespace demosite {
namespace {

std::string numbered(const char* pattern, std::string_view key, int number) {
    char text[256];
    std::snprintf(text, sizeof text, pattern, static_cast<int>(key.size()), key.data(), number);
    return text;
}

} // namespace

std::string_view resolutionFolder(int resolution) {
    switch (resolution) {
    case resMid:
        return "midres";
    case resLow:
        return "lores";
    default:
        return "hires";
    }
}

std::string pictureFileName(std::string_view key, int number) {
    return numbered("ZEL-ORA_%.*s_%4.4d.jpg", key, number);
}

std::string thumbnailFileName(std::string_view key, int number) {
    return numbered("tn_ZEL-ORA_%.*s_%4.4d.jpg", key, number);
}

std::string picturePageFileName(std::string_view key, int number) {
    return numbered("zel-ora_ZEL-ORA_%.*s_%4.4d_jpg.htm", key, number);
}

std::string Series::coverFile() const {
    return coverPath.substr(coverPath.rfind('/'));
}

std::string Series::specsText() const {
    return isMovie ? "movie" : std::to_string(announcedPhotos) + " photos";
}

bool Series::hasPicture(int resolution, int number) const {
    return resolution >= 0 && resolution < 4 && number >= 1 &&
           number <= existingPictures[static_cast<std::size_t>(resolution)];
}

std::string Series::resolutionFolderPath(int resolution) const {
    return filesPath + std::string(resolutionFolder(resolution)) + "/";
}

std::string Series::picturePath(int resolution, int number) const {
    return resolutionFolderPath(resolution) + (resolution == resThumbnail
                                                   ? thumbnailFileName(key, number)
                                                   : pictureFileName(key, number));
}

std::string Series::picturePagePath(int resolution, int number) const {
    return resolutionFolderPath(resolution) + picturePageFileName(key, number);
}

} // namespace demosite
