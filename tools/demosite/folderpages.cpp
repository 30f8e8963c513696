#include "demosite/folderpages.h"

#include "demosite/markup.h"

namespace demosite {
namespace {

std::string addLink(const Series& series) {
    return "<p><a href=\"/members/favorites/?add=" + std::to_string(series.favoriteId) +
           "\">Add to my favorites</a></p>\r\n";
}

std::string heading(const Series& series) {
    return "<h2>" + series.title + "</h2>\r\n<p>" + series.modelText + " &middot; BY " +
           series.photographer + " &middot; " + series.date + " &middot; " + series.specsText() +
           "</p>\r\n";
}

} // namespace

std::string seriesFolderPage(const Series& series) {
    std::string body = heading(series);
    if (series.isMovie) {
        body += "<img src=\"" + series.logoPath + "\" width=\"400\" height=\"600\" alt=\"" +
                series.name + "\">\r\n";
        body += addLink(series);
        body += "<p>Streaming is not available in this preview.</p>\r\n";
        return memberPage(series.name, body);
    }
    body += "<IMG src=\"" + series.logoPath + "\" width=\"400\" height=\"600\" alt=\"" +
            series.name + "\">\r\n<ul>\r\n";
    static constexpr const char* captions[3] = {"High resolution", "Medium resolution",
                                                "Low resolution"};
    for (int resolution = resHigh; resolution <= resLow; ++resolution) {
        if (series.existingPictures[static_cast<std::size_t>(resolution)] > 0) {
            body += "<li><a href=\"" + series.resolutionFolderPath(resolution) + "\">" +
                    captions[resolution] + "</a></li>\r\n";
        }
    }
    body += "</ul>\r\n";
    return memberPage(series.name, body);
}

std::string resolutionFolderPage(const Series& series, int resolution) {
    std::string body = heading(series);
    if (resolution == resHigh) {
        body += addLink(series);
    }
    body += "<table border=\"0\" cellspacing=\"4\">\r\n<tr>\r\n";
    const int count = series.existingPictures[static_cast<std::size_t>(resolution)];
    for (int number = 1; number <= count; ++number) {
        body += "<td><a href=\"" + picturePageFileName(series.key, number) + "\"><img src=\"" +
                series.picturePath(resThumbnail, number) + "\" border=\"0\"></a></td>\r\n";
        if (number % 6 == 0 && number != count) {
            body += "</tr>\r\n<tr>\r\n";
        }
    }
    body += "</tr>\r\n</table>\r\n";
    return memberPage(series.name, body);
}

std::string picturePage(const Series& series, const SiteContent& content, int resolution,
                        int number) {
    const PictureSize size = content.pictureSize(series, resolution, number);
    const int count = series.existingPictures[static_cast<std::size_t>(resolution)];
    std::string body = heading(series);
    body += "<p>";
    if (number > 1) {
        body +=
            "<a href=\"" + picturePageFileName(series.key, number - 1) + "\">&lt; previous</a> ";
    }
    body += "<a href=\"" + series.resolutionFolderPath(resolution) + "\">index</a>";
    if (number < count) {
        body += " <a href=\"" + picturePageFileName(series.key, number + 1) + "\">next &gt;</a>";
    }
    body += "</p>\r\n<img src=\"" + pictureFileName(series.key, number) + "\" width=\"" +
            std::to_string(size.width) + "\" height=\"" + std::to_string(size.height) +
            "\" alt=\"" + std::to_string(number) + "\">\r\n";
    return memberPage(series.name, body);
}

} // namespace demosite
