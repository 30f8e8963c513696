#pragma once

#include <string>
#include <string_view>

// The fixed names of the site and of the local folder tree. Every address and
// path the program forms is built from these, so a name the site changes is
// changed here once. The literals are exact, including case.
//
// Numbered names pad with zeros to at least the width shown (four digits for
// years and picture numbers, two for months) and grow beyond it: picture
// 10000 has five digits.

namespace zob {

// --- local folder tree
// Logo pictures of one year, inside each local year folder.
inline constexpr std::string_view logoFolderName = "00logo";
// Catalogue files and the search index, directly under the local folder.
inline constexpr std::string_view indexFolderName = "00index";
// Copy of the large logo inside a local series folder.
inline constexpr std::string_view folderPictureName = "FOLDER.JPG";
inline constexpr std::string_view searchIndexFileName = "searchInfo.csv";

// A year as the site's and the local year folders name it.
std::string yearFolderName(int year);

// --- catalogue files
std::string monthlyCsvName(int year, int month);
std::string archiveCsvName(int pageNumber);
inline constexpr std::string_view favoritesCsvName = "MyFavorite.csv";
inline constexpr std::string_view badListCsvName = "BadList.csv";

// --- site pages and pictures
inline constexpr std::string_view membersPath = "members/";
inline constexpr std::string_view searchPageName = "search.html";
std::string monthlyPageName(int year, int month);
// Large logo in a series folder on the site.
inline constexpr std::string_view galleryLogoName = "logo.jpg";
inline constexpr std::string_view movieLogoName = "fullmoviecover.jpg";
// A picture has the same name on the site and on disk.
std::string pictureFileName(std::string_view seriesKey, int number);
std::string picturePageFileName(std::string_view seriesKey, int number);
std::string siteThumbnailFileName(std::string_view seriesKey, int number);
std::string localThumbnailFileName(std::string_view seriesKey, int number);

// --- archive menu entries, matched against the entry the user chose
inline constexpr std::string_view menuFavorites = "My favorites";
// Also the site folder and the local year folder of the site's archive.
inline constexpr std::string_view menuArchive = "archive";
inline constexpr std::string_view menuBadList = "Bad list";
inline constexpr std::string_view menuDownloading = "Downloading";
inline constexpr std::string_view menuDownloaded = "Downloaded";
inline constexpr std::string_view menuStoppingOrLoading = "Stopping or loading";
inline constexpr std::string_view menuNotDownloaded = "Not downloaded";
inline constexpr std::string_view menuBestOf = "Best of ZEL";

// --- search menu captions
inline constexpr std::string_view searchModelCaption = "Search model:";
inline constexpr std::string_view searchPhotographerCaption = "Search photographer:";

} // namespace zob
