#include "catalogue/artlist.h"

#include "catalogue/artlistlist.h"
#include "catalogue/catalogueerror.h"
#include "catalogue/cataloguefile.h"
#include "catalogue/pagescanner.h"
#include "catalogue/scanbatch.h"
#include "platform/atomicfile.h"
#include "site/joining.h"
#include "site/sitenames.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

namespace zob {

namespace {

// A title as the catalogue gives it back: the file keeps a double quote as
// "&quot;" and reads it back as the quote, so a page's "&quot;" becomes the
// quote at once, and a title reads the same on every run.
std::string titleAsStored(std::string title) {
    constexpr std::string_view entity = "&quot;";
    for (std::size_t at = title.find(entity); at != std::string::npos;
         at = title.find(entity, at + 1)) {
        title.replace(at, entity.size(), "\"");
    }
    return title;
}

bool beginsWithRank(const std::string& date) {
    return date.starts_with("Rank");
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string text;
    if (in) {
        text.resize(static_cast<std::size_t>(in.tellg()));
        in.seekg(0);
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in.gcount()));
    }
    if (!in) {
        throw std::system_error(errno, std::generic_category(), "cannot read " + path);
    }
    return text;
}

// The first free name beside `path` for a copy of it: NAME.bak, else
// NAME.bak2, NAME.bak3, ... An earlier copy is never overwritten, since it
// may hold the only record of series a later file lost.
std::filesystem::path freeBackupName(const std::filesystem::path& path) {
    std::filesystem::path candidate = path.string() + ".bak";
    for (int n = 2; std::filesystem::exists(candidate); ++n) {
        candidate = path.string() + ".bak" + std::to_string(n);
    }
    return candidate;
}

} // namespace

ArtList::ArtList(ArtListList& registry) : registry_(registry) {}

ArtList::~ArtList() = default;

bool ArtList::isSame(const ArtList& /*other*/) const {
    return true;
}

bool ArtList::load() {
    return loadFromFile(csvPath());
}

void ArtList::save(const std::string& fileName) {
    if (fileName.empty() && (saved || csvFileName().empty())) {
        return;
    }
    const std::filesystem::path target = fileName.empty() ? csvPath() : fileName;
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path());
    }
    keepOriginalBefore(target);
    writeFileAtomically(target, catalogueText(records_));
    saved = true;
}

void ArtList::keepOriginalBefore(const std::filesystem::path& target) {
    if (!keepOriginalOnSave_) {
        return;
    }
    std::error_code error;
    if (!std::filesystem::equivalent(target, brokenFile_, error) || error) {
        return;
    }
    std::filesystem::copy_file(brokenFile_, freeBackupName(brokenFile_));
    // Once kept, later saves write over our own file, not the original.
    keepOriginalOnSave_ = false;
    brokenFile_.clear();
}

bool ArtList::hasFile() const {
    std::error_code error;
    const auto size = std::filesystem::file_size(csvPath(), error);
    return !error && size > 0;
}

// --- the records

void ArtList::append(SeriesPtr record) {
    records_.push_back(std::move(record));
    contentsChanged();
}

void ArtList::insert(std::size_t position, SeriesPtr record) {
    if (position > records_.size()) {
        throw std::out_of_range("ArtList::insert: position past the end");
    }
    records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(position), std::move(record));
    contentsChanged();
}

void ArtList::erase(std::size_t position) {
    if (position >= records_.size()) {
        throw std::out_of_range("ArtList::erase: no such position");
    }
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(position));
    contentsChanged();
}

void ArtList::replace(std::size_t position, SeriesPtr record) {
    records_.at(position) = std::move(record);
    contentsChanged();
}

void ArtList::clear() {
    records_.clear();
    contentsChanged();
}

void ArtList::contentsChanged() {
    if (registered_) {
        registry_.registeredListChanged();
    }
}

int ArtList::indexOfName(const SeriesRec& record) const {
    for (std::size_t i = 0; i < records_.size(); ++i) {
        if (records_[i]->name == record.name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void ArtList::addRecord(SeriesPtr& record) {
    if (SeriesPtr known = registry_.findSeries(*record); known && known != record) {
        record = std::move(known);
    }
    append(record);
}

void ArtList::addParsed(std::string title, std::string_view seriesAddress, std::string date,
                        std::string model, std::string photographer, std::string_view coverAddress,
                        std::int32_t photoCount, std::int32_t favoriteId, std::int32_t modelId) {
    SeriesPtr record = SeriesRec::create(*this, seriesAddress, std::move(title), coverAddress);
    record->setDetails(std::move(date), std::move(model), std::move(photographer), photoCount,
                       favoriteId, modelId);
    addRecord(record);
    saved = false;
}

void ArtList::mergeFrom(const ArtList& source) {
    // First position of each series in the source, as a search from the front finds it.
    std::unordered_map<std::string_view, std::size_t> sourcePosition;
    sourcePosition.reserve(source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
        sourcePosition.emplace(source.records_[i]->name, i);
    }

    for (std::size_t i = records_.size(); i-- > 0;) {
        const SeriesPtr target = records_[i];
        const auto found = sourcePosition.find(target->name);
        if (found == sourcePosition.end()) {
            continue;
        }
        const SeriesPtr& fresh = source.records_[found->second];
        std::int32_t count = target->photoCount;
        if (const std::int32_t freshCount = fresh->photoCount;
            freshCount != 0 && freshCount != photoCountUnknown) {
            count = freshCount;
        }
        const std::int32_t modelId = fresh->modelId != -1 ? fresh->modelId : target->modelId;
        const std::int32_t favoriteId =
            fresh->favoriteId != -1 ? fresh->favoriteId : target->favoriteId;
        // A rank stands where a page shows no date: a real date always wins.
        if (beginsWithRank(fresh->date)) {
            fresh->date = target->date;
        }
        if (beginsWithRank(target->date)) {
            target->date = fresh->date;
        }
        target->setDetails(fresh->date, fresh->model, fresh->photographer, count, favoriteId,
                           modelId);
        saved = false;
    }

    // Series new to this list go to the front in source order; of a series
    // the source holds twice, its last record is the one taken.
    std::unordered_set<std::string_view> present;
    present.reserve(records_.size() + source.size());
    for (const SeriesPtr& record : records_) {
        present.insert(record->name);
    }
    std::vector<SeriesPtr> missing;
    for (std::size_t i = source.size(); i-- > 0;) {
        const SeriesRec& fresh = *source.records_[i];
        if (present.insert(fresh.name).second) {
            missing.push_back(SeriesRec::copy(fresh, *this));
        }
    }
    if (!missing.empty()) {
        records_.insert(records_.begin(), std::make_move_iterator(missing.rbegin()),
                        std::make_move_iterator(missing.rend()));
        saved = false;
        contentsChanged();
    }
}

bool ArtList::loadFromFile(const std::string& path) {
    // Unsaved changes win over the file, and over its absence too: a list
    // fetched before its first save must not be taken for saved by reading.
    if (!saved) {
        return true;
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return true;
    }
    const std::string text = readWholeFile(path);
    clear();
    keepOriginalOnSave_ = false;
    brokenFile_.clear();
    try {
        const LocalScanBatch scanBatch;
        readCatalogue(text, path, *this,
                      [this](SeriesPtr record) { records_.push_back(std::move(record)); });
    } catch (const CatalogueError&) {
        keepOriginalOnSave_ = true;
        brokenFile_ = path;
        // What is in memory now is less than the file holds.
        saved = false;
        contentsChanged();
        throw;
    }
    contentsChanged();
    registry_.shareRecords(*this);
    saved = true;
    return true;
}

std::vector<std::string> ArtList::parsePage(std::string_view page) {
    return takeParsed(scanPageSeries(page));
}

std::vector<std::string> ArtList::takeParsed(std::vector<ParsedSeries> found) {
    if (!saved) {
        save();
    }
    clear();
    std::vector<std::string> skipped;
    for (ParsedSeries& series : found) {
        try {
            addParsed(titleAsStored(std::move(series.title)), series.seriesLink,
                      std::move(series.date), std::move(series.model),
                      std::move(series.photographer), series.coverSource, series.photoCount,
                      series.favoriteId, series.modelId);
        } catch (const CatalogueError& error) {
            // One block the program cannot take must not cost the others.
            skipped.emplace_back(error.what());
        }
    }
    registry_.shareRecords(*this);
    return skipped;
}

// --- addresses

std::string ArtList::sectionUrl() const {
    return registry_.siteUrl(siteSection);
}

std::string ArtList::folderUrl() const {
    return joinUrl(sectionUrl(), siteFolder());
}

std::string ArtList::pageUrl() const {
    return joinUrl(folderUrl(), pageFileName());
}

std::string ArtList::requestUrl() const {
    const std::string queryText = query();
    if (queryText.empty()) {
        return pageUrl();
    }
    return pageUrl() + (pageFileName().empty() ? "/?" : "?") + queryText;
}

std::string ArtList::csvPath() const {
    return joinPath(registry_.localPath(indexFolderName), csvFileName());
}

} // namespace zob
