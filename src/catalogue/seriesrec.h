#pragma once

#include "catalogue/resolution.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zob {

class ArtList;
class ArtListList;
class threadManagerNg;

// One series of the site: a gallery of pictures or a movie. Records are
// shared between every list that shows the series (see ArtListList); the
// identity of a series is its `name`.
//
// The download workers update `loadingRes`, `partialRes`, `loadedCount`,
// `photoCount` and `inArchive` from their own threads, hence the atomics;
// everything else belongs to the main thread. Every address and path
// follows from `inArchive` (`folderName` is derived from it), so a worker
// that reads the flag once gets an address and a local file that agree,
// whatever the series' other job switches meanwhile.
class SeriesRec : public std::enable_shared_from_this<SeriesRec> {
public:
    // Makes a record for the series at `seriesAddress` (only its last
    // element counts: "ab_cd_200803" or "ab_cd_archive") with the cover at
    // `coverAddress`. Throws CatalogueError when the name is malformed or
    // unsafe as a local folder name (empty, ".", "..", control characters).
    static std::shared_ptr<SeriesRec> create(ArtList& owner, std::string_view seriesAddress,
                                             std::string title, std::string_view coverAddress);
    // A copy for another list: everything but the attached jobs.
    static std::shared_ptr<SeriesRec> copy(const SeriesRec& record, ArtList& owner);

    SeriesRec(const SeriesRec&) = delete;
    SeriesRec& operator=(const SeriesRec&) = delete;

    // Sets the details read from a page or a file, then refreshes the
    // resolution sets from the disk and marks the owner list changed. A
    // movie's count is always 0; ids of -1 leave the known ones alone.
    void setDetails(std::string date, std::string model, std::string photographer,
                    std::int32_t count, std::int32_t favoriteIdValue, std::int32_t modelIdValue);
    // Takes over the other record's count and ids where this one knows none.
    void takeKnownValues(const SeriesRec& other);

    // --- operations on the disk and descriptions
    void setInArchive(bool flag);
    void scanLocalFiles();
    void recountFiles();
    std::int32_t loadedCountOf(Resolution r) const { return loadedCount[indexOf(r)]; }
    // Four letters T/t/-, L/l/-, M/m/-, H/h/-, then "F" when in the
    // favorites and "B" when in the bad list of the registry.
    std::string statusText() const;
    std::string photoText() const;
    std::string summary() const;
    int modelCount() const;
    // The i-th model name (from 1), trimmed; empty when there are fewer.
    std::string modelName(int i) const;

    // --- the pictures on disk and the jobs attached (the jobs themselves
    // are started by the download engine: startDownload)
    void deletePictures(Resolution r);
    enum class JobKind { thumbnail, picture };
    void detachJobs(JobKind which);

    // Pictures of resolution r missing on disk among 1..photoCount (all of
    // them while the count is unknown, none for a movie).
    std::int32_t missingPictures(Resolution r) const;

    // --- site addresses and local paths, for the address form in use. The
    // overloads with `archived` give them for the dated (false) or the
    // archive (true) form, for a worker that tries the archive before the
    // series is switched to it.
    // "KEY_archive" in the archive form, else the name.
    std::string folderName() const { return folderName(inArchive); }
    std::string folderName(bool archived) const;
    std::string yearFolder() const { return yearFolder(inArchive); }
    std::string yearFolder(bool archived) const;
    std::string seriesUrl() const { return seriesUrl(inArchive); }
    std::string seriesUrl(bool archived) const;
    std::string resolutionUrl(Resolution r) const { return resolutionUrl(r, inArchive); }
    std::string resolutionUrl(Resolution r, bool archived) const;
    std::string coverUrl() const { return coverUrl(inArchive); }
    std::string coverUrl(bool archived) const;
    std::string logoUrl() const;
    std::string pictureUrl(Resolution r, int n) const { return pictureUrl(r, n, inArchive); }
    std::string pictureUrl(Resolution r, int n, bool archived) const;
    std::string pictureHtmlUrl(Resolution r, int n) const;

    std::string localSeriesFolder() const { return localSeriesFolder(inArchive); }
    std::string localSeriesFolder(bool archived) const;
    std::string localResolutionFolder(Resolution r) const {
        return localResolutionFolder(r, inArchive);
    }
    std::string localResolutionFolder(Resolution r, bool archived) const;
    std::string localPictureFile(Resolution r, int n) const {
        return localPictureFile(r, n, inArchive);
    }
    std::string localPictureFile(Resolution r, int n, bool archived) const;
    std::string localLogoFolder() const { return localLogoFolder(inArchive); }
    std::string localLogoFolder(bool archived) const;
    std::string localLogoFile(bool small) const { return localLogoFile(small, inArchive); }
    std::string localLogoFile(bool small, bool archived) const;
    std::string folderPictureFile() const;

    const ArtListList& registry() const { return *registry_; }
    std::shared_ptr<ArtList> ownerList() const { return owner.lock(); }

    // --- fields, in the catalogue's order
    std::string seriesKey;
    std::shared_ptr<threadManagerNg> thumbJob;
    std::shared_ptr<threadManagerNg> pictureJob;
    std::weak_ptr<ArtList> owner;
    std::string section;
    ResolutionSet loadedRes = 0;
    std::atomic<ResolutionSet> partialRes{0};
    // Atomic: the window rescans the disk while the series' other job runs.
    std::atomic<ResolutionSet> zeroBasedRes{0};
    std::atomic<ResolutionSet> loadingRes{0};
    std::array<std::atomic<std::int32_t>, resolutionCount> loadedCount{};
    std::string title;
    std::string date;
    std::string model;
    std::string photographer;
    std::string name;
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::atomic<std::int32_t> photoCount{0};
    bool isMovie = false;
    std::string coverFile;
    std::int32_t favoriteId = -1;
    std::int32_t modelId = -1;
    std::atomic<bool> inArchive{false};

private:
    explicit SeriesRec(ArtList& ownerList);

    // The file of resolution r numbered `number` on disk, whatever numbering
    // the series uses.
    std::string localFileNumbered(Resolution r, int number, bool archived) const;

    const ArtListList* registry_;
};

using SeriesPtr = std::shared_ptr<SeriesRec>;

// A photo count of 0 is a movie; this one means the count was not read yet.
inline constexpr std::int32_t photoCountUnknown = 999;

// The count as the list shows it: "movie", "???" while unknown, else the digits.
std::string specsText(std::int32_t photoCount);

// True when `name` may become a local file or folder name: not empty, not
// "." or "..", no "..", no path separators, no control characters.
bool isSafeLocalName(std::string_view name);

} // namespace zob
