#include "catalogue/seriesrec.h"

#include "catalogue/artlist.h"
#include "catalogue/artlistlist.h"
#include "catalogue/catalogueerror.h"
#include "catalogue/scanbatch.h"
#include "site/joining.h"
#include "site/sitenames.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace zob {

namespace {

constexpr std::int32_t countMovie = 0;

bool isKnownCount(std::int32_t count) {
    return count != countMovie && count != photoCountUnknown;
}

// Empty files are what a failed transfer leaves behind: they count as missing.
// A plain stat: a series scan looks at up to a dozen files, for every series
// of every list loaded.
bool fileHasContent(const std::string& path) {
    struct stat status {};
    return !path.empty() && ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           status.st_size > 0;
}

bool isAddressSeparator(char c) {
    return c == '/' || c == '\\' || c == ':';
}

bool folderExists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// One look at the series folder spares a dozen at the files inside it; in a
// batch, one look at a missing year folder spares one per series of that year.
bool seriesFolderExists(const SeriesRec& record) {
    LocalScanBatch* const batch = LocalScanBatch::active();
    if (batch == nullptr) {
        return folderExists(record.localSeriesFolder());
    }
    std::string year = record.yearFolder();
    if (batch->isKnownMissing(record.registry(), year)) {
        return false;
    }
    if (folderExists(record.localSeriesFolder())) {
        return true;
    }
    if (!folderExists(record.registry().localPath(year))) {
        batch->rememberMissing(record.registry(), std::move(year));
    }
    return false;
}

// A series of a dated month with files under the local archive folder was
// switched to the archive address in an earlier run: the catalogue keeps its
// dated address (and so its name), the disk remembers the switch. Taking the
// switch over keeps later downloads with those files and spares a not-found
// answer per run. The dated folder may hold pictures as well, fetched before
// the site moved the series; the archive folder wins, since every download
// after the switch goes there.
void followEarlierSwitch(SeriesRec& record) {
    if (record.inArchive || record.isMovie || record.year == 1) {
        return;
    }
    const ArtListList& registry = record.registry();
    LocalScanBatch* const batch = LocalScanBatch::active();
    if (batch != nullptr && batch->isKnownMissing(registry, menuArchive)) {
        return;
    }
    const std::string archiveFolder = registry.localPath(menuArchive);
    if (!folderExists(archiveFolder)) {
        if (batch != nullptr) {
            batch->rememberMissing(registry, std::string(menuArchive));
        }
        return;
    }
    if (folderExists(joinPath(archiveFolder, record.name)) ||
        fileHasContent(joinPath(archiveFolder, logoFolderName, record.name + "_s.jpg"))) {
        record.setInArchive(true);
    }
}

std::int32_t digitsValue(std::string_view text, std::string_view name) {
    std::int32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            throw CatalogueError("malformed series name: \"" + std::string(name) + "\"");
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string trimmedSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// The series name: only the last element of the address names the series,
// whichever separator the address was written with.
std::string_view seriesNameOf(std::string_view seriesAddress) {
    std::string_view address = seriesAddress;
    if (!address.empty() && (address.back() == '/' || address.back() == '\\')) {
        address.remove_suffix(1);
    }
    // A plain loop: find_last_of runs a search of the set for every character.
    std::size_t nameStart = address.size();
    while (nameStart > 0 && !isAddressSeparator(address[nameStart - 1])) {
        --nameStart;
    }
    const std::string_view name = address.substr(nameStart);
    if (!isSafeLocalName(name)) {
        throw CatalogueError("unsafe series name: \"" + std::string(name) + "\"");
    }
    return name;
}

// The key ("ab_cd") and the year and month after it ("200803"; "archive" is
// year and month 1).
void setKeyAndMonth(SeriesRec& record, std::string_view name) {
    const auto firstUnderscore = name.find('_');
    const auto secondUnderscore = firstUnderscore == std::string_view::npos
                                      ? std::string_view::npos
                                      : name.find('_', firstUnderscore + 1);
    const std::size_t keyEnd = std::min(secondUnderscore, name.size());
    record.seriesKey = name.substr(0, keyEnd);
    const std::string_view afterKey = keyEnd < name.size() ? name.substr(keyEnd + 1) : "";
    // Exactly "archive": an archive series lives in the folder KEY_archive,
    // so any longer name would share it and come back from the catalogue as
    // KEY_archive.
    if (afterKey == "archive") {
        record.year = 1;
        record.month = 1;
        return;
    }
    if (afterKey.size() < 6) {
        throw CatalogueError("malformed series name: \"" + std::string(name) + "\"");
    }
    record.year = digitsValue(afterKey.substr(0, 4), name);
    record.month = digitsValue(afterKey.substr(4, 2), name);
}

// The cover's file name as the record keeps it: from the address's last
// slash on, the slash included.
std::string_view coverFileOf(std::string_view coverAddress) {
    const auto coverSlash = coverAddress.rfind('/');
    const std::string_view coverFile =
        coverSlash == std::string_view::npos ? coverAddress : coverAddress.substr(coverSlash);
    const std::string_view coverName = coverFile.starts_with('/') ? coverFile.substr(1) : coverFile;
    if (!isSafeLocalName(coverName)) {
        throw CatalogueError("unsafe cover name: \"" + std::string(coverAddress) + "\"");
    }
    return coverFile;
}

} // namespace

bool isSafeLocalName(std::string_view name) {
    if (name.empty() || name == "." || name.find("..") != std::string_view::npos) {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || byte < 0x20 || byte == 0x7f;
    });
}

SeriesRec::SeriesRec(ArtList& ownerList)
    : owner(ownerList.weak_from_this()), registry_(&ownerList.registry()) {}

std::shared_ptr<SeriesRec> SeriesRec::create(ArtList& ownerList, std::string_view seriesAddress,
                                             std::string title, std::string_view coverAddress) {
    // The constructor is private; this local class lends it to make_shared.
    struct Constructible : SeriesRec {
        explicit Constructible(ArtList& list) : SeriesRec(list) {}
    };
    auto record = std::make_shared<Constructible>(ownerList);

    const std::string_view name = seriesNameOf(seriesAddress);
    record->name = name;
    setKeyAndMonth(*record, name);

    record->coverFile = coverFileOf(coverAddress);
    // The movies folder, not the word: a gallery whose name holds "movies"
    // would turn into a movie once its catalogue line is read back.
    record->isMovie = coverAddress.find("/movies/") != std::string_view::npos;
    record->section = record->isMovie ? "movies" : "gallery";
    record->title = std::move(title);
    record->setInArchive(record->year == 1);
    return record;
}

std::shared_ptr<SeriesRec> SeriesRec::copy(const SeriesRec& record, ArtList& ownerList) {
    struct Constructible : SeriesRec {
        explicit Constructible(ArtList& list) : SeriesRec(list) {}
    };
    auto twin = std::make_shared<Constructible>(ownerList);
    twin->seriesKey = record.seriesKey;
    twin->section = record.section;
    twin->loadedRes = record.loadedRes;
    twin->partialRes = record.partialRes.load();
    twin->zeroBasedRes = record.zeroBasedRes.load();
    twin->loadingRes = record.loadingRes.load();
    for (std::size_t r = 0; r < twin->loadedCount.size(); ++r) {
        twin->loadedCount[r] = record.loadedCount[r].load();
    }
    twin->title = record.title;
    twin->date = record.date;
    twin->model = record.model;
    twin->photographer = record.photographer;
    twin->name = record.name;
    twin->year = record.year;
    twin->month = record.month;
    twin->photoCount = record.photoCount.load();
    twin->isMovie = record.isMovie;
    twin->coverFile = record.coverFile;
    twin->favoriteId = record.favoriteId;
    twin->modelId = record.modelId;
    twin->inArchive = record.inArchive.load();
    return twin;
}

void SeriesRec::setDetails(std::string dateValue, std::string modelValue,
                           std::string photographerValue, std::int32_t count,
                           std::int32_t favoriteIdValue, std::int32_t modelIdValue) {
    date = std::move(dateValue);
    model = std::move(modelValue);
    if (photographerValue.starts_with("BY ")) {
        photographerValue.erase(0, 3);
    }
    photographer = std::move(photographerValue);
    photoCount = isMovie ? countMovie : count;
    scanLocalFiles();
    if (const auto list = owner.lock()) {
        list->saved = false;
    }
    if (favoriteIdValue != -1) {
        favoriteId = favoriteIdValue;
    }
    if (modelIdValue != -1) {
        modelId = modelIdValue;
    }
}

void SeriesRec::takeKnownValues(const SeriesRec& other) {
    const std::int32_t ownCount = photoCount;
    const std::int32_t otherCount = other.photoCount;
    const std::int32_t count =
        isKnownCount(otherCount) && !isKnownCount(ownCount) ? otherCount : ownCount;
    const std::int32_t favorite =
        other.favoriteId != -1 && favoriteId == -1 ? other.favoriteId : favoriteId;
    const std::int32_t modelIdValue =
        other.modelId != -1 && modelId == -1 ? other.modelId : modelId;
    if (count != ownCount || favorite != favoriteId || modelIdValue != modelId) {
        setDetails(date, model, photographer, count, favorite, modelIdValue);
    }
}

void SeriesRec::setInArchive(bool flag) {
    inArchive = flag;
}

void SeriesRec::scanLocalFiles() {
    ResolutionSet loaded = 0;
    ResolutionSet partial = 0;
    ResolutionSet zeroBased = 0;
    followEarlierSwitch(*this);
    if (!isMovie && seriesFolderExists(*this)) {
        // File numbers as they stand on disk: the numbering in use is what
        // this scan finds out, and a running job keeps reading the old one.
        const bool archived = inArchive;
        const std::int32_t count = photoCount;
        for (const Resolution r : allResolutions) {
            const std::size_t index = indexOf(r);
            if (fileHasContent(localFileNumbered(r, count, archived))) {
                loaded = withResolution(loaded, r);
                loadedCount[index] = count;
            } else if (fileHasContent(localFileNumbered(r, 0, archived))) {
                loaded = withResolution(loaded, r);
                zeroBased = withResolution(zeroBased, r);
                loadedCount[index] = count;
            }
            if (!hasResolution(loaded, r) && fileHasContent(localFileNumbered(r, 1, archived))) {
                partial = withResolution(partial, r);
            }
        }
    }
    loadedRes = loaded;
    partialRes = partial;
    zeroBasedRes = zeroBased;
}

void SeriesRec::recountFiles() {
    const std::int32_t count = photoCount;
    for (const Resolution r : allResolutions) {
        std::int32_t found = count;
        if (!hasResolution(loadedRes, r)) {
            found = 0;
            while (fileHasContent(localPictureFile(r, found + 1))) {
                ++found;
            }
        }
        loadedCount[indexOf(r)] = found;
    }
}

std::string SeriesRec::statusText() const {
    static constexpr std::array<std::pair<Resolution, char>, 4> letters{
        {{resThumb, 'T'}, {resLow, 'L'}, {resMid, 'M'}, {resHigh, 'H'}}};
    std::string status;
    for (const auto& [r, letter] : letters) {
        if (hasResolution(loadedRes, r)) {
            status += letter;
        } else if (hasResolution(partialRes, r)) {
            status += static_cast<char>(std::tolower(letter));
        } else {
            status += '-';
        }
    }
    const ArtListList& lists = registry();
    if (lists.favoriteList && lists.favoriteList->indexOfName(*this) >= 0) {
        status += 'F';
    }
    if (lists.badList && lists.badList->indexOfName(*this) >= 0) {
        status += 'B';
    }
    return status;
}

std::string specsText(std::int32_t photoCount) {
    if (photoCount == countMovie) {
        return "movie";
    }
    if (photoCount == photoCountUnknown) {
        return "???";
    }
    return std::to_string(photoCount);
}

std::string SeriesRec::photoText() const {
    const std::int32_t count = photoCount;
    if (count == countMovie) {
        return "movie";
    }
    if (count == photoCountUnknown) {
        return "??? photos";
    }
    return std::to_string(count) + "  photos";
}

std::string SeriesRec::summary() const {
    return date + "   " + title + " (" + model + " / " + photographer + ") " + photoText() + " " +
           statusText();
}

int SeriesRec::modelCount() const {
    return static_cast<int>(std::count(model.begin(), model.end(), '&')) + 1;
}

std::string SeriesRec::modelName(int i) const {
    if (i < 1) {
        return {};
    }
    std::string_view rest = model;
    for (int part = 1; part < i; ++part) {
        const auto separator = rest.find('&');
        if (separator == std::string_view::npos) {
            return {};
        }
        rest.remove_prefix(separator + 1);
    }
    return trimmedSpaces(rest.substr(0, rest.find('&')));
}

void SeriesRec::deletePictures(Resolution r) {
    const std::int32_t count = photoCount;
    for (std::int32_t n = 0; n <= count; ++n) {
        std::error_code ignored;
        std::filesystem::remove(localPictureFile(r, n), ignored);
    }
    loadedCount[indexOf(r)] = 0;
}

void SeriesRec::detachJobs(JobKind which) {
    (which == JobKind::thumbnail ? thumbJob : pictureJob).reset();
}

std::int32_t SeriesRec::missingPictures(Resolution r) const {
    const std::int32_t count = photoCount;
    if (isMovie || count == countMovie) {
        return 0;
    }
    if (count == photoCountUnknown) {
        return count;
    }
    std::int32_t missing = 0;
    for (std::int32_t n = 1; n <= count; ++n) {
        missing += fileHasContent(localPictureFile(r, n)) ? 0 : 1;
    }
    return missing;
}

// --- site addresses

std::string SeriesRec::folderName(bool archived) const {
    return archived ? seriesKey + "_archive" : name;
}

std::string SeriesRec::yearFolder(bool archived) const {
    return archived || year == 1 ? std::string(menuArchive) : yearFolderName(year);
}

std::string SeriesRec::seriesUrl(bool archived) const {
    if (isMovie) {
        return registry().siteUrl(joinUrl("movies", name));
    }
    if (archived) {
        return registry().siteUrl(joinUrl("gallery", menuArchive, folderName(true)));
    }
    return registry().siteUrl(joinUrl("gallery", yearFolder(false), name));
}

std::string SeriesRec::resolutionUrl(Resolution r, bool archived) const {
    return isMovie ? seriesUrl(archived) : joinUrl(seriesUrl(archived), resolutionFolder(r));
}

std::string SeriesRec::coverUrl(bool archived) const {
    return joinUrl(seriesUrl(archived), coverFile);
}

std::string SeriesRec::logoUrl() const {
    return joinUrl(seriesUrl(), isMovie ? movieLogoName : galleryLogoName);
}

std::string SeriesRec::pictureUrl(Resolution r, int n, bool archived) const {
    return joinUrl(resolutionUrl(r, archived), r == resThumb ? siteThumbnailFileName(seriesKey, n)
                                                             : pictureFileName(seriesKey, n));
}

std::string SeriesRec::pictureHtmlUrl(Resolution r, int n) const {
    return joinUrl(resolutionUrl(r), picturePageFileName(seriesKey, n));
}

// --- local paths

std::string SeriesRec::localSeriesFolder(bool archived) const {
    return registry().localPath(joinPath(yearFolder(archived), name));
}

std::string SeriesRec::localResolutionFolder(Resolution r, bool archived) const {
    if (isMovie) {
        return {};
    }
    if (r == resThumb) {
        return localSeriesFolder(archived);
    }
    return registry().localPath(joinPath(yearFolder(archived), name, resolutionFolder(r)));
}

std::string SeriesRec::localPictureFile(Resolution r, int n, bool archived) const {
    return localFileNumbered(r, hasResolution(zeroBasedRes, r) ? n - 1 : n, archived);
}

std::string SeriesRec::localFileNumbered(Resolution r, int number, bool archived) const {
    if (isMovie) {
        return {};
    }
    if (r == resThumb) {
        return joinPath(localSeriesFolder(archived), localThumbnailFileName(seriesKey, number));
    }
    return joinPath(localResolutionFolder(r, archived), pictureFileName(seriesKey, number));
}

std::string SeriesRec::localLogoFolder(bool archived) const {
    return registry().localPath(joinPath(yearFolder(archived), logoFolderName));
}

std::string SeriesRec::localLogoFile(bool small, bool archived) const {
    return joinPath(localLogoFolder(archived), name + (small ? "_s.jpg" : "_l.jpg"));
}

std::string SeriesRec::folderPictureFile() const {
    return joinPath(localSeriesFolder(), folderPictureName);
}

} // namespace zob
