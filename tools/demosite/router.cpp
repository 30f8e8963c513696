#include "demosite/router.h"

#include "demosite/folderpages.h"
#include "demosite/jpegencoder.h"
#include "demosite/markup.h"
#include "demosite/random.h"
#include "demosite/sitepages.h"
#include "demosite/urlcodec.h"

#include <cstdio>

namespace demosite {
namespace {

Answer html(std::string body) {
    return {200, "text/html", std::move(body), {}};
}

Answer notFound(std::string_view path) {
    return {404, "text/html", notFoundPage(path), {}};
}

Answer redirect(std::string_view baseUrl, std::string_view path) {
    const std::string location = std::string(baseUrl) + std::string(path);
    return {302, "text/html", movedPage(location), {{"Location", location}}};
}

std::string_view targetQuery(std::string_view target) {
    const std::size_t mark = target.find('?');
    return mark == std::string_view::npos ? std::string_view{} : target.substr(mark + 1);
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The picture number in a file name of the given shape, when the name is
// exactly what the site itself would call that picture.
int numberIn(std::string_view fileName, std::string_view prefix, std::string_view suffix,
             std::string (*nameOf)(std::string_view, int), std::string_view key) {
    if (fileName.size() <= prefix.size() + suffix.size() || !startsWith(fileName, prefix) ||
        fileName.substr(fileName.size() - suffix.size()) != suffix) {
        return 0;
    }
    const auto number = parseNumber(
        fileName.substr(prefix.size(), fileName.size() - prefix.size() - suffix.size()));
    if (!number || *number < 1 || nameOf(key, *number) != fileName) {
        return 0;
    }
    return *number;
}

std::string monthCaption(int year, int month) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d/%02d", year, month);
    return text;
}

} // namespace

std::string_view targetPath(std::string_view target) {
    return target.substr(0, target.find('?'));
}

bool isMembersPath(std::string_view path) {
    return path == "/members" || startsWith(path, "/members/");
}

Router::Router(SiteContent& content_, PictureCache& pictures_)
    : content(content_), pictures(pictures_) {}

Answer Router::answer(const SiteRequest& request, std::string_view baseUrl) {
    const std::string_view path = targetPath(request.target);
    const std::string_view query = targetQuery(request.target);

    if (path == "/" || path == "/index.html") {
        return html(publicFrontPage());
    }
    if (path == "/members" || path == "/members/favorites" || path == "/members/bestofzel" ||
        path == "/members/gallery/archive") {
        return redirect(baseUrl, std::string(path) + "/");
    }
    if (path == "/members/" || path == "/members/home.html" || path == "/members/index.html") {
        return html(homePage(content));
    }
    if (path == "/members/search.html") {
        return searchPage(request, query);
    }
    // The client asks for the favorites in several address forms; all are one page.
    if (path == "/members/favorites/" || path == "/members/favorites/index.html" ||
        path == "/members/favorites/index.html/") {
        return favoritesPage(query);
    }
    if (path == "/members/bestofzel/" || path == "/members/bestofzel/index.html") {
        return html(listPage("Best of Zel", "", content.bestOf(), BlockStyle::ranked,
                             "Nothing ranked yet."));
    }
    if (path == "/members/gallery/archive/" || path == "/members/gallery/archive/index.html") {
        Answer archive = html(listPage("Archive", "", content.archivePage(), BlockStyle::plain,
                                       "The archive is empty."));
        archive.updatesList = true;
        return archive;
    }

    // /members/gallery/FOLDER/NAME..., /members/movies/NAME...
    std::string_view rest = path;
    std::string_view section, folder, name;
    const auto takeSegment = [&rest]() {
        const std::size_t end = rest.find('/');
        const std::string_view segment = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end);
        return segment;
    };
    if (startsWith(path, "/members/gallery/")) {
        rest = path.substr(17);
        section = "gallery";
        folder = takeSegment();
        if (rest.empty() || rest == "/") {
            return notFound(path);
        }
        rest = rest.substr(1);
        name = takeSegment();
        if (rest.empty() && name.ends_with(".html") && folder != "archive") {
            return monthPage(folder, name);
        }
    } else if (startsWith(path, "/members/movies/")) {
        rest = path.substr(16);
        section = "movies";
        name = takeSegment();
    } else {
        return notFound(path);
    }
    const Series* series = seriesServedAt(section, folder, name);
    if (series == nullptr) {
        return notFound(path);
    }
    return seriesFile(*series, rest, path, baseUrl);
}

const Series* Router::seriesServedAt(std::string_view section, std::string_view folder,
                                     std::string_view name) const {
    if (section == "movies") {
        const Series* series = content.seriesByName(name);
        return series != nullptr && series->isMovie ? series : nullptr;
    }
    if (folder == "archive") {
        static constexpr std::string_view suffix = "_archive";
        if (!name.ends_with(suffix)) {
            return nullptr;
        }
        const Series* series = content.seriesByKey(name.substr(0, name.size() - suffix.size()));
        return series != nullptr && (series->onArchivePage || series->archiveOnly) ? series
                                                                                   : nullptr;
    }
    const Series* series = content.seriesByName(name);
    if (series == nullptr || series->isMovie || series->archiveOnly || series->onArchivePage) {
        return nullptr;
    }
    char yearText[16];
    std::snprintf(yearText, sizeof yearText, "%04d", series->year);
    return folder == yearText ? series : nullptr;
}

Answer Router::seriesFile(const Series& series, std::string_view rest, std::string_view path,
                          std::string_view baseUrl) {
    if (rest.empty()) {
        return redirect(baseUrl, std::string(path) + "/");
    }
    if (rest == "/") {
        return html(seriesFolderPage(series));
    }
    const std::uint64_t keyHash = hashText(series.key);
    if (rest == series.coverFile()) {
        return jpeg(series.filesPath + "#cover", SiteContent::coverSize(),
                    mixHash({content.seed(), keyHash, 'c'}));
    }
    if (rest == series.logoPath.substr(series.logoPath.rfind('/'))) {
        return jpeg(series.logoPath, SiteContent::logoSize(),
                    mixHash({content.seed(), keyHash, 'l'}));
    }
    for (int resolution = resHigh; resolution <= resLow; ++resolution) {
        const std::string folder = "/" + std::string(resolutionFolder(resolution));
        if (series.isMovie || !startsWith(rest, folder) ||
            series.existingPictures[static_cast<std::size_t>(resolution)] == 0) {
            continue;
        }
        const std::string_view inFolder = rest.substr(folder.size());
        if (inFolder.empty()) {
            return redirect(baseUrl, std::string(path) + "/");
        }
        if (inFolder == "/") {
            return html(resolutionFolderPage(series, resolution));
        }
        if (inFolder.find('/', 1) == std::string_view::npos) {
            return pictureFile(series, resolution, inFolder.substr(1));
        }
    }
    return notFound(path);
}

Answer Router::pictureFile(const Series& series, int resolution, std::string_view fileName) {
    const std::string key = series.key;
    if (const int number = numberIn(fileName, "ZEL-ORA_" + key + "_", ".jpg", pictureFileName, key);
        number > 0 && series.hasPicture(resolution, number)) {
        Answer picture = jpeg(
            series.picturePath(resolution, number), content.pictureSize(series, resolution, number),
            mixHash({content.seed(), hashText(key), static_cast<std::uint64_t>(number)}));
        picture.pictureNumber = number;
        return picture;
    }
    if (const int number =
            numberIn(fileName, "tn_ZEL-ORA_" + key + "_", ".jpg", thumbnailFileName, key);
        number > 0 && resolution == resHigh && series.hasPicture(resThumbnail, number)) {
        // A thumbnail shows the same picture as its full-size file.
        Answer thumbnail =
            jpeg(series.picturePath(resThumbnail, number),
                 content.pictureSize(series, resThumbnail, number),
                 mixHash({content.seed(), hashText(key), static_cast<std::uint64_t>(number)}));
        thumbnail.pictureNumber = number;
        return thumbnail;
    }
    if (const int number = numberIn(fileName, "zel-ora_ZEL-ORA_" + key + "_", "_jpg.htm",
                                    picturePageFileName, key);
        number > 0 && series.hasPicture(resolution, number)) {
        return html(picturePage(series, content, resolution, number));
    }
    return notFound(series.resolutionFolderPath(resolution) + std::string(fileName));
}

Answer Router::jpeg(const std::string& cacheKey, PictureSize size, std::uint64_t pattern) {
    const auto bytes = pictures.get(cacheKey, [size, pattern] { return makeJpeg(size, pattern); });
    return {200, "image/jpeg", *bytes, {}};
}

Answer Router::monthPage(std::string_view yearText, std::string_view fileName) const {
    const auto year = parseNumber(yearText);
    const auto yearMonth = parseNumber(fileName.substr(0, fileName.size() - 5));
    const MonthContent* month = nullptr;
    if (year && yearMonth && yearText.size() == 4 && fileName.size() == 11 &&
        *yearMonth / 100 == *year) {
        month = content.month(*year, *yearMonth % 100);
    }
    const std::string path =
        "/members/gallery/" + std::string(yearText) + "/" + std::string(fileName);
    if (month == nullptr) {
        return notFound(path);
    }
    std::string navigation;
    const int ordinal = monthOrdinal(month->year, month->month);
    if (const MonthContent* previous = content.month((ordinal - 1) / 12, (ordinal - 1) % 12 + 1)) {
        navigation += "<a href=\"" + previous->pagePath() + "\">&lt;&lt; " +
                      monthCaption(previous->year, previous->month) + "</a> ";
    }
    if (const MonthContent* next = content.month((ordinal + 1) / 12, (ordinal + 1) % 12 + 1)) {
        navigation += "<a href=\"" + next->pagePath() + "\">" +
                      monthCaption(next->year, next->month) + " &gt;&gt;</a>";
    }
    Answer page = html(listPage("Updates " + monthCaption(month->year, month->month), navigation,
                                month->series, BlockStyle::plain, "No updates yet this month."));
    page.updatesList = true;
    return page;
}

Answer Router::favoritesPage(std::string_view query) {
    const auto fields = parseFormFields(query);
    if (const auto add = fields.find("add"); add != fields.end()) {
        if (const auto id = parseNumber(add->second)) {
            content.addFavorite(*id);
        }
    }
    if (const auto remove = fields.find("remove"); remove != fields.end()) {
        if (const auto id = parseNumber(remove->second)) {
            content.removeFavorite(*id);
        }
    }
    return html(listPage("My favorites", "", content.favorites(), BlockStyle::favorites,
                         "You have no favorites yet."));
}

Answer Router::searchPage(const SiteRequest& request, std::string_view query) {
    auto fields = parseFormFields(query);
    if (request.method == "POST") {
        fields.merge(parseFormFields(request.body));
    }
    const auto field = [&fields](const char* name) -> std::string {
        const auto found = fields.find(name);
        return found == fields.end() ? std::string{} : found->second;
    };
    // A select left at "Any" (0) or at the '' entry does not narrow the search.
    const auto chosenId = [&field](const char* name) -> std::optional<int> {
        const std::string value = field(name);
        if (value.empty() || value == "0" || value == "''") {
            return std::nullopt;
        }
        return parseNumber(value).value_or(-1);
    };

    std::string heading;
    std::vector<const Series*> found;
    if (const std::string name = field("search"); !name.empty()) {
        heading = "Search: " + escapeHtml(name);
        found = content.seriesNamed(name);
    } else if (const auto model = chosenId("model") ? chosenId("model") : chosenId("model_id")) {
        heading = "Search: model #" + std::to_string(*model);
        found = content.seriesOfModel(*model);
    } else if (const auto photographer = chosenId("photographer")) {
        heading = "Search: photographer #" + std::to_string(*photographer);
        found = content.seriesOfPhotographer(*photographer);
    } else if (const auto country = chosenId("country")) {
        heading = "Search: country #" + std::to_string(*country);
        found = content.seriesOfCountry(*country);
    } else {
        return html(searchFormPage(content));
    }
    return html(listPage(heading, "<a href=\"/members/search.html\">new search</a>", found,
                         BlockStyle::plain, "No series found."));
}

} // namespace demosite
