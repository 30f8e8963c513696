#include "app/serieslookup.h"

#include "app/appcontext.h"
#include "app/archiveloader.h"
#include "catalogue/artlistlist.h"
#include "catalogue/monthlyartlist.h"
#include "site/sitenames.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace zob {

namespace {

namespace fs = std::filesystem;

SeriesPtr recordIn(const ArtList& list, const std::string& name) {
    for (const SeriesPtr& series : list.records()) {
        if (series->name == name) {
            return series;
        }
    }
    return nullptr;
}

SeriesPtr inLoadedLists(const ArtListList& registry, const std::string& name) {
    for (std::size_t i = 0; i < registry.size(); ++i) {
        if (SeriesPtr found = recordIn(*registry.list(i), name)) {
            return found;
        }
    }
    return nullptr;
}

std::optional<int> digitsOf(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// A catalogue file of the index folder: a month (YYYYMM.csv) or an archive
// page (ArchiveN.csv, year 1).
struct CatalogueFile {
    fs::path path;
    YearMonth list;
};

// Newest month first, then the archive pages in their order.
std::vector<CatalogueFile> catalogueFiles(const fs::path& index) {
    std::vector<CatalogueFile> months;
    std::vector<CatalogueFile> archive;
    std::error_code error;
    for (fs::directory_iterator it(index, error), end; !error && it != end; it.increment(error)) {
        const std::string file = it->path().filename().string();
        if (!file.ends_with(".csv")) {
            continue;
        }
        const std::string_view stem(file.data(), file.size() - 4);
        if (stem.size() == 6) {
            const auto year = digitsOf(stem.substr(0, 4));
            const auto month = digitsOf(stem.substr(4, 2));
            if (year && month && *month >= 1 && *month <= 12) {
                months.push_back({it->path(), {*year, *month}});
            }
        } else if (stem.starts_with("Archive")) {
            if (const auto page = digitsOf(stem.substr(7)); page && *page >= 1) {
                archive.push_back({it->path(), {1, *page}});
            }
        }
    }
    std::sort(months.begin(), months.end(), [](const auto& a, const auto& b) {
        return std::tie(a.list.year, a.list.month) > std::tie(b.list.year, b.list.month);
    });
    std::sort(archive.begin(), archive.end(),
              [](const auto& a, const auto& b) { return a.list.month < b.list.month; });
    months.insert(months.end(), archive.begin(), archive.end());
    return months;
}

// Whether a catalogue's text holds a series address ending in `name`: a
// cheap look before the file is read as a catalogue.
bool namesSeries(const fs::path& file, const std::string& name) {
    std::ifstream in(file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return text.find("/" + name + "\"") != std::string::npos;
}

SeriesPtr inLocalCatalogues(ArtListList& registry, const std::string& name) {
    for (const CatalogueFile& file : catalogueFiles(registry.localPath(indexFolderName))) {
        if (!namesSeries(file.path, name)) {
            continue;
        }
        ArtListPtr list =
            std::make_shared<monthlyArtList>(registry, file.list.year, file.list.month);
        if (const int same = registry.indexOfSame(*list); same >= 0) {
            list = registry.list(static_cast<std::size_t>(same));
        } else {
            list->load();
            list = registry.registerList(list);
        }
        if (SeriesPtr found = recordIn(*list, name)) {
            return found;
        }
    }
    return nullptr;
}

// The list a name's last part points at: "_archive" the archive page,
// "_YYYYMM" or "_YYYYMMDD" that month.
std::optional<YearMonth> listNamedBy(const std::string& name) {
    const std::size_t cut = name.rfind('_');
    if (cut == std::string::npos || cut == 0) {
        return std::nullopt;
    }
    const std::string_view last = std::string_view(name).substr(cut + 1);
    if (last == "archive") {
        return YearMonth{1, 1};
    }
    if (last.size() != 6 && last.size() != 8) {
        return std::nullopt;
    }
    const auto year = digitsOf(last.substr(0, 4));
    const auto month = digitsOf(last.substr(4, 2));
    if (!year || !month || *month < 1 || *month > 12 ||
        (last.size() == 8 && !digitsOf(last.substr(6)))) {
        return std::nullopt;
    }
    return YearMonth{*year, *month};
}

std::string monthText(const YearMonth& month) {
    if (month.year == 1) {
        return "archive " + std::to_string(month.month);
    }
    char text[16];
    std::snprintf(text, sizeof text, "%04d/%02d", month.year, month.month);
    return text;
}

} // namespace

SeriesLookup findSeriesNamed(AppContext& context, ArchiveLoaderHost& host, const std::string& name,
                             std::optional<YearMonth> month) {
    ArtListList& registry = context.loadedArchives;
    if (SeriesPtr found = inLoadedLists(registry, name)) {
        return {std::move(found), {}};
    }
    if (SeriesPtr found = inLocalCatalogues(registry, name)) {
        return {std::move(found), {}};
    }
    const std::optional<YearMonth> online = month ? month : listNamedBy(name);
    if (context.offlineMode) {
        return {nullptr, "not in the local catalogue (offline: the site was not asked)"};
    }
    if (!online) {
        return {nullptr,
                "not in the local catalogue; give --month YYYY/MM to load its month from the site"};
    }
    const ArtListPtr shown = addLoadedArchive(
        context, std::make_shared<monthlyArtList>(registry, online->year, online->month), host);
    if (shown) {
        if (SeriesPtr found = recordIn(*shown, name)) {
            return {std::move(found), {}};
        }
    }
    return {nullptr, "not in the local catalogue nor in " + monthText(*online) +
                         " on the site; give --month YYYY/MM to look in another month"};
}

} // namespace zob
