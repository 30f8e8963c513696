#pragma once

#include "catalogue/pagescanner.h"

#include <string>
#include <string_view>
#include <vector>

namespace zob::testing {

inline std::vector<ParsedSeries> scanAll(std::string_view page) {
    std::vector<ParsedSeries> found;
    scanArchivePage(page, [&found](ParsedSeries&& series) { found.push_back(std::move(series)); });
    return found;
}

// The pieces of one series block; each test changes the one it is about.
struct BlockParts {
    std::string link = "/members/gallery/2008/mira_kt0413_200803/";
    std::string coverImage =
        R"(<img src="/members/gallery/2008/mira_kt0413_200803/cover.jpg" width="113" height="170">)";
    std::string model = "Mira Tanne";
    std::string date = "2008/03/04";
    std::string title = "Red Door";
    std::string photographer = "BY Kent Tate";
    std::string specs = "24 photos";
};

// A block in the site's layout: cover cell with link and image, then the
// series, date, title, photographer and specs cells, closed by the table end.
inline std::string block(const BlockParts& parts = {}) {
    std::string text = "<table class=\"item\">\r\n<tr><td class=\"cover\" rowspan=\"5\">";
    text += "<a href=\"" + parts.link + "\">" + parts.coverImage + "</a></td>\r\n";
    text += "<td class=\"series\">" + parts.model + "</td></tr>\r\n";
    text += "<tr><td class=\"date\">" + parts.date + "</td></tr>\r\n";
    text += "<tr><td class=\"title\">" + parts.title + "</td></tr>\r\n";
    text += "<tr><td class=\"photographer\">" + parts.photographer + "</td></tr>\r\n";
    text += "<tr><td class=\"specs\">" + parts.specs + "</td></tr>\r\n";
    text += "</table>\r\n";
    return text;
}

} // namespace zob::testing
