#pragma once

#include "demosite/content.h"

#include <string>

namespace demosite {

// The index of a series folder: a gallery's resolutions, or a movie's cover.
// A movie's folder doubles as its high-resolution folder for the client, so
// it carries the add-to-favorites link too.
std::string seriesFolderPage(const Series& series);
// Thumbnails of one resolution, each linking its picture page; the
// high-resolution folder also offers the add-to-favorites link.
std::string resolutionFolderPage(const Series& series, int resolution);
std::string picturePage(const Series& series, const SiteContent& content, int resolution,
                        int number);

} // namespace demosite
