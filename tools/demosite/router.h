#pragma once

#include "demosite/content.h"
#include "demosite/picturecache.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace demosite {

struct SiteRequest {
    std::string method; // "GET", "POST", ...
    std::string target; // path and query exactly as requested
    std::string body;
};

struct Answer {
    int status = 200;
    std::string contentType = "text/html";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
    // What the faults may act on; never sent.
    int pictureNumber = 0;    // a picture file the site has (thumbnails too)
    bool updatesList = false; // a month page or the archive index page
};

// The path part of a request target (everything before the first "?").
std::string_view targetPath(std::string_view target);
// Whether the address lies in the members area, which needs basic authentication.
bool isMembersPath(std::string_view path);

// Maps requests to the site's answers. Knows nothing of authentication or
// faults: those are the server's business.
class Router {
public:
    Router(SiteContent& content, PictureCache& pictures);
    // baseUrl is used for the absolute Location of redirects.
    Answer answer(const SiteRequest& request, std::string_view baseUrl);

private:
    Answer favoritesPage(std::string_view query);
    Answer searchPage(const SiteRequest& request, std::string_view query);
    Answer monthPage(std::string_view yearText, std::string_view fileName) const;
    Answer seriesFile(const Series& series, std::string_view rest, std::string_view path,
                      std::string_view baseUrl);
    Answer pictureFile(const Series& series, int resolution, std::string_view fileName);
    Answer jpeg(const std::string& cacheKey, PictureSize size, std::uint64_t pattern);
    const Series* seriesServedAt(std::string_view section, std::string_view folder,
                                 std::string_view name) const;

    SiteContent& content;
    PictureCache& pictures;
};

} // namespace demosite
