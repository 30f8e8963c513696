#pragma once

#include "catalogue/pagescanner.h"
#include "catalogue/seriesrec.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zob {

class ArtListList;
class threadManagerNg;

// A catalogue list: the series of one page of the site (a month, the
// favorites, the best-of page, a search) or of a list the member keeps, in
// page order. The list does not own its records: they are shared with every
// other list that shows the same series. Kinds fill in the virtual
// operations; lists are always made with std::make_shared.
class ArtList : public std::enable_shared_from_this<ArtList> {
public:
    explicit ArtList(ArtListList& registry);
    virtual ~ArtList();
    ArtList(const ArtList&) = delete;
    ArtList& operator=(const ArtList&) = delete;

    // --- what the kinds decide
    virtual std::string siteFolder() const = 0;
    // Empty: the list is never stored.
    virtual std::string csvFileName() const = 0;
    virtual std::string pageFileName() const = 0;
    virtual std::shared_ptr<ArtList> cloneEmpty() const = 0;
    // Must be (re)fetched from the site when online.
    virtual bool isIncomplete() const { return false; }
    virtual void rebuild() {}
    virtual bool isSame(const ArtList& other) const;
    virtual bool load();
    // Writes the catalogue file: to `fileName` when given (always), else to
    // `csvPath` when the list has changes and a file name. Replaces the file
    // atomically. After a load that stopped at a bad line, the original file
    // is first kept beside it as NAME.csv.bak.
    virtual void save(const std::string& fileName = {});
    virtual bool hasFile() const;
    virtual bool hasPrevious() const { return false; }
    virtual std::string caption() const = 0;
    virtual std::string menuCaption() const = 0;
    virtual std::string query() const { return {}; }

    // --- the records
    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    const SeriesPtr& item(std::size_t i) const { return records_.at(i); }
    const std::vector<SeriesPtr>& records() const { return records_; }
    void append(SeriesPtr record);
    void insert(std::size_t position, SeriesPtr record);
    void erase(std::size_t position);
    void replace(std::size_t position, SeriesPtr record);
    void clear();

    // Position of the first record of the same series, -1 when none.
    int indexOfName(const SeriesRec& record) const;
    // Appends the registered record of the same series when there is one,
    // else `record`; `record` is set to the one appended.
    void addRecord(SeriesPtr& record);
    // Makes a record from what a page says of a series and appends it.
    // Throws CatalogueError for a malformed series address.
    void addParsed(std::string title, std::string_view seriesAddress, std::string date,
                   std::string model, std::string photographer, std::string_view coverAddress,
                   std::int32_t photoCount, std::int32_t favoriteId, std::int32_t modelId);
    // Takes over what a freshly read page says: details of known series,
    // new series at the front in page order.
    void mergeFrom(const ArtList& source);
    // Reads a catalogue file (unless the list has unsaved changes). Throws
    // CatalogueError naming the file and line for a bad line; the records
    // before it stay and the list counts as changed. No file (or a folder)
    // at `path` leaves the list as it is, saved. A file that exists but
    // cannot be read throws std::system_error.
    bool loadFromFile(const std::string& path);
    // Reads a list page of the site (the whole page) into this list. A
    // series block whose name is malformed or unsafe is skipped; what was
    // wrong with each goes back to the caller, for the user.
    std::vector<std::string> parsePage(std::string_view page);
    // The same for the series a scan of the page found (scanPageSeries); the
    // scan may run on any thread, this on the one that owns the lists.
    std::vector<std::string> takeParsed(std::vector<ParsedSeries> found);

    // --- addresses
    std::string sectionUrl() const;
    std::string folderUrl() const;
    std::string pageUrl() const;
    std::string requestUrl() const;
    std::string csvPath() const;

    ArtListList& registry() const { return registry_; }
    bool isRegistered() const { return registered_; }

    // --- fields
    std::string siteSection;
    bool saved = true;
    std::shared_ptr<threadManagerNg> logoJob;
    // 1: the query goes into the address; 2: it is posted as a form.
    std::uint8_t requestKind = 1;

private:
    friend class ArtListList;
    void contentsChanged();
    // Copies the file a broken load came from before `target` replaces it.
    void keepOriginalBefore(const std::filesystem::path& target);

    ArtListList& registry_;
    std::vector<SeriesPtr> records_;
    bool registered_ = false;
    // The last load stopped at a bad line: keep the original before saving over it.
    bool keepOriginalOnSave_ = false;
    std::string brokenFile_;
};

using ArtListPtr = std::shared_ptr<ArtList>;

} // namespace zob
