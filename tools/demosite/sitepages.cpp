#include "demosite/sitepages.h"

#include "demosite/markup.h"

#include <cstdio>

namespace demosite {
namespace {

std::string plainPage(std::string_view title, std::string_view body) {
    return "<html><head><title>" + std::string(title) + "</title></head><body>\r\n<h1>" +
           std::string(title) + "</h1>\r\n" + std::string(body) + "\r\n</body></html>\r\n";
}

template <typename Entry>
std::string selectElement(std::string_view name, const std::vector<Entry>& entries) {
    // The options carry nothing but their value, unquoted: the client reads
    // the number up to the tag's ">".
    std::string text = "<select name=" + std::string(name) + ">\r\n";
    text += "<option value=0>Any</option>\r\n";
    text += "<option value=''>----------</option>\r\n";
    for (const auto& entry : entries) {
        text += "<option value=" + std::to_string(entry.id) + ">" + entry.name + "</option>\r\n";
    }
    text += "</select>\r\n";
    return text;
}

} // namespace

std::string homePage(const SiteContent& content) {
    std::string body = "<h2>Welcome back</h2>\r\n<ul>\r\n";
    if (!content.months().empty()) {
        const MonthContent& latest = content.months().back();
        char caption[32];
        std::snprintf(caption, sizeof caption, "%04d/%02d", latest.year, latest.month);
        body += "<li><a href=\"" + latest.pagePath() + "\">Latest updates (" + caption +
                ")</a></li>\r\n";
    }
    body += "<li><a href=\"/members/gallery/archive/index.html\">The archive</a></li>\r\n";
    body += "<li><a href=\"/members/favorites/index.html?add=\">My favorites</a></li>\r\n";
    body += "<li><a href=\"/members/bestofzel/index.html\">Best of Zel</a></li>\r\n";
    body += "<li><a href=\"/members/search.html\">Search models and photographers</a></li>\r\n";
    body += "</ul>\r\n";
    return memberPage("Home", body);
}

std::string publicFrontPage() {
    return plainPage("Zel-Ora", "<p>Photography by Zel-Ora. Members please "
                                "<a href=\"/members/home.html\">sign in</a>.</p>");
}

std::string searchFormPage(const SiteContent& content) {
    std::string body = "<h2>Search</h2>\r\n";
    body += "<form method=\"post\" action=\"/members/search.html\">\r\n";
    body += "<table border=\"0\">\r\n";
    body += "<tr><td>Name</td><td><input type=\"text\" name=\"search\" size=\"30\"></td></tr>\r\n";
    body += "<tr><td>Model</td><td>" + selectElement("model", content.models()) + "</td></tr>\r\n";
    body += "<tr><td>Photographer</td><td>" +
            selectElement("photographer", content.photographers()) + "</td></tr>\r\n";
    body += "<tr><td>Country</td><td>" + selectElement("country", content.countries()) +
            "</td></tr>\r\n";
    body += "</table>\r\n<input type=\"submit\" value=\"Search\">\r\n</form>\r\n";
    return memberPage("Search", body);
}

std::string notFoundPage(std::string_view path) {
    return plainPage("404 Not Found", "<p>The requested URL " + escapeHtml(path) +
                                          " was not found on this server.</p>");
}

std::string unauthorizedPage() {
    return plainPage("401 Authorization Required",
                     "<p>This server could not verify that you are authorized to access the "
                     "members area.</p>");
}

std::string serverErrorPage() {
    return plainPage("500 Internal Server Error",
                     "<p>The server encountered an internal error.</p>");
}

std::string statusPage(int status) {
    if (status == 500) {
        return serverErrorPage();
    }
    if (status == 503) {
        return plainPage("503 Service Unavailable",
                         "<p>The server is temporarily unable to service your request. Please "
                         "try again later.</p>");
    }
    return plainPage(std::to_string(status) + " Error", "<p>The request failed.</p>");
}

std::string pictureErrorPage() {
    return plainPage("Picture unavailable",
                     "<p>This picture cannot be shown right now. Please come back later.</p>");
}

std::string movedPage(std::string_view location) {
    return plainPage("302 Found", "<p>The document has moved <a href=\"" + escapeHtml(location) +
                                      "\">here</a>.</p>");
}

} // namespace demosite
