#pragma once

#include <filesystem>
#include <string>

namespace demosite {

// Everything that decides what a site instance holds and whom it lets in.
// Two sites built from equal options hold byte-identical content.
struct SiteOptions {
    std::string user = "demo", password = "demo";
    unsigned seed = 1;
    int firstYear = 2003, firstMonth = 1;            // first month the site has
    int todayYear = 0, todayMonth = 0, todayDay = 0; // "today" for the site; 0 = the system clock
    std::filesystem::path logFile; // optional: the request log is also appended there
    // When above 0: the newest plain gallery holds this many pictures, all
    // present, so downloads can be measured on something the size of a big
    // real series. 0 leaves the generated content as it is.
    int longGalleryPictures = 0;
};

} // namespace demosite
