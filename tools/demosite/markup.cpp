#include "demosite/markup.h"

namespace demosite {

std::string escapeHtml(std::string_view text) {
    std::string result;
    for (const char c : text) {
        switch (c) {
        case '<':
            result += "&lt;";
            break;
        case '>':
            result += "&gt;";
            break;
        case '&':
            result += "&amp;";
            break;
        case '"':
            result += "&quot;";
            break;
        default:
            result += c;
        }
    }
    return result;
}

// Old hand-written markup: tag case varies and the layout is tables, as on the
// pages this site imitates.
std::string memberPage(std::string_view title, std::string_view body) {
    std::string page;
    page += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n";
    page += "<HTML>\r\n<HEAD>\r\n";
    page += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\r\n";
    page += "<TITLE>Zel-Ora members - " + std::string(title) + "</TITLE>\r\n";
    page += "<style type=\"text/css\">body{font-family:Verdana,sans-serif;font-size:12px}"
            "td.nav a{margin:0 6px}</style>\r\n";
    page += "</HEAD>\r\n<body bgcolor=\"#FFFFFF\" text=\"#333333\">\r\n";
    page += "<TABLE width=\"760\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\">\r\n";
    page +=
        "<TR><TD class=\"logo\"><font size=\"5\"><b>ZEL-ORA</b></font> members area</TD></TR>\r\n";
    page += "<tr><td class=\"nav\"><a href=\"/members/home.html\">Home</a> | "
            "<A href=\"/members/gallery/archive/index.html\">Archive</A> | "
            "<a href=\"/members/favorites/index.html?add=\">My favorites</a> | "
            "<a href=\"/members/bestofzel/index.html\">Best of Zel</a> | "
            "<a href=\"/members/search.html\">Search</a></td></tr>\r\n";
    page += "</TABLE>\r\n";
    page += body;
    page += "<table width=\"760\" class=\"footer\"><tr><td class=\"copy\">&copy; Zel-Ora. "
            "All rights reserved. <A HREF=\"/members/home.html\">members home</A></td></tr>"
            "</table>\r\n";
    page += "</body>\r\n</HTML>\r\n";
    return page;
}

std::string seriesBlock(const Series& series, BlockStyle style, int rank) {
    const std::string date =
        style == BlockStyle::ranked ? "Rank " + std::to_string(rank) : series.date;
    std::string specs = series.specsText();
    if (style == BlockStyle::favorites) {
        specs += " | <a href=\"/members/favorites/index.html?remove=" +
                 std::to_string(series.favoriteId) + "\">remove</a>";
    }
    for (std::size_t i = 0; i < series.models.size(); ++i) {
        specs +=
            " | <a href=\"/members/search.html?model_id=" + std::to_string(series.modelIds[i]) +
            "\">more of " + series.models[i] + "</a>";
    }

    std::string block;
    block += "<table class=\"item\" width=\"100%\" border=\"0\" cellspacing=\"2\">\r\n";
    block += "<tr>\r\n<td class=\"cover\" rowspan=\"5\" width=\"120\"><a href=\"" +
             series.folderPath + "\"><IMG src=\"" + series.coverPath +
             "\" width=\"113\" height=\"170\" border=\"0\" alt=\"" + series.name +
             "\"></a></td>\r\n";
    block += "<td class=\"series\">" + series.modelText + "</td>\r\n</tr>\r\n";
    block += "<tr><TD class=\"date\">" + date + "</TD></tr>\r\n";
    block += "<tr><td class=\"title\">" + series.title + "</td></tr>\r\n";
    block += "<tr><td class=\"photographer\">BY " + series.photographer + "</td></tr>\r\n";
    block += "<tr><td class=\"specs\">" + specs + "</td></tr>\r\n";
    block += "</TABLE>\r\n";
    return block;
}

std::string listPage(std::string_view heading, std::string_view navigation,
                     const std::vector<const Series*>& series, BlockStyle style,
                     std::string_view emptyNote) {
    std::string body = "<h2>" + std::string(heading) + "</h2>\r\n";
    if (!navigation.empty()) {
        body += "<p class=\"pager\">" + std::string(navigation) + "</p>\r\n";
    }
    if (series.empty()) {
        body += "<p>" + std::string(emptyNote) + "</p>\r\n";
    }
    for (std::size_t i = 0; i < series.size(); ++i) {
        body += seriesBlock(*series[i], style, static_cast<int>(i) + 1);
    }
    return memberPage(heading, body);
}

} // namespace demosite
