#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace demosite {

// Resolution indexes as the client numbers them; thumbnails live in "hires".
inline constexpr int resHigh = 0;
inline constexpr int resMid = 1;
inline constexpr int resLow = 2;
inline constexpr int resThumbnail = 3;
std::string_view resolutionFolder(int resolution);

struct PictureSize {
    int width = 0, height = 0;
    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// One series (a gallery or a movie) as the site holds and shows it.
struct Series {
    // Last element of its address: KEY_YYYYMM ("mira_kt0413_200803"), for some
    // galleries KEY_YYYYMMDD ("mira_kt0413_20080314"), or KEY_archive.
    std::string name;
    std::string key;   // name up to its second underscore: the picture file key
    int year = 0;      // first four digits after the key; 1 for series of the index archive page
    int month = 0;     // the two digits after those; 1 for series of the index archive page
    int day = 0;       // day of the date the pages show
    std::string date;  // "YYYY/MM/DD", as the pages show it
    std::string title; // bytes exactly as the pages show them (quotes, entities, non-ASCII)
    std::vector<std::string> models;
    std::vector<int> modelIds; // parallel to models
    std::string modelText;     // models joined by " & "
    std::string photographer;  // without the "BY " the pages put in front
    int photographerId = 0;
    bool isMovie = false;
    int announcedPhotos = 0;               // the count the pages announce; 0 for a movie
    std::array<int, 4> existingPictures{}; // pictures really served, per resolution index
    int favoriteId = 0;

    // Properties the client must cope with; each sits on a few known series.
    bool lastPicturesMissing = false; // pages announce more pictures than exist
    bool noMidRes = false;            // nothing under midres/
    bool archiveOnly = false; // the address pages link answers 404; files live in the archive form
    bool onArchivePage = false; // named KEY_archive and listed on the index archive page
    bool favoriteAtStart = false;

    std::string folderPath;        // what list pages link, "/members/gallery/2008/NAME/"
    std::string filesPath;         // where its folder pages and files are served
    std::string archiveFolderPath; // "/members/gallery/archive/KEY_archive/"
    std::string coverPath;         // the cover img src of list pages (under folderPath)
    std::string logoPath;          // the large logo (under filesPath)

    std::string coverFile() const; // last element of coverPath with its "/", e.g. "/cover.jpg"
    std::string specsText() const; // "24 photos", or "movie"
    bool hasPicture(int resolution, int number) const;
    std::string resolutionFolderPath(int resolution) const;    // under filesPath, with a slash
    std::string picturePath(int resolution, int number) const; // thumbnails: tn_ file in hires
    std::string picturePagePath(int resolution, int number) const;
};

std::string pictureFileName(std::string_view key, int number);
std::string thumbnailFileName(std::string_view key, int number);
std::string picturePageFileName(std::string_view key, int number);

} // namespace demosite
