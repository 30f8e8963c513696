// Any bytes as a catalogue file, whatever version its header names: reading
// never crashes, and the records it reads are written so that they read back
// the same, field for field, and are written again byte for byte.

#include "catalogue/cataloguefile.h"

#include "catalogue/catalogueerror.h"
#include "catalogue/scanbatch.h"
#include "fuzzsupport.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace zob;

// The records up to the first bad line, as a load keeps them.
std::vector<SeriesPtr> readRecords(std::string_view text, ArtList& owner) {
    std::vector<SeriesPtr> records;
    try {
        readCatalogue(text, "fuzz.csv", owner,
                      [&records](SeriesPtr record) { records.push_back(std::move(record)); });
    } catch (const CatalogueError&) {
    }
    return records;
}

template <typename T>
void expectSame(std::size_t index, const char* field, const T& read, const T& reread) {
    if (read != reread) {
        fuzz::fail("record " + std::to_string(index) + ": " + field + " changed");
    }
}

void expectSameRecord(std::size_t i, const SeriesRec& a, const SeriesRec& b) {
    expectSame(i, "title", a.title, b.title);
    expectSame(i, "date", a.date, b.date);
    expectSame(i, "model", a.model, b.model);
    expectSame(i, "photographer", a.photographer, b.photographer);
    expectSame(i, "name", a.name, b.name);
    expectSame(i, "seriesKey", a.seriesKey, b.seriesKey);
    expectSame(i, "folderName", a.folderName, b.folderName);
    expectSame(i, "section", a.section, b.section);
    expectSame(i, "year", a.year, b.year);
    expectSame(i, "month", a.month, b.month);
    expectSame(i, "photoCount", a.photoCount.load(), b.photoCount.load());
    expectSame(i, "isMovie", a.isMovie, b.isMovie);
    expectSame(i, "inArchive", a.inArchive.load(), b.inArchive.load());
    expectSame(i, "coverFile", a.coverFile, b.coverFile);
    expectSame(i, "favoriteId", a.favoriteId, b.favoriteId);
    expectSame(i, "modelId", a.modelId, b.modelId);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Registry registry;
    const LocalScanBatch scanBatch;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const auto list = std::make_shared<fuzz::MonthList>(registry.lists);
    const std::vector<SeriesPtr> read = readRecords(text, *list);
    const std::string written = catalogueText(read);

    const auto again = std::make_shared<fuzz::MonthList>(registry.lists);
    std::vector<SeriesPtr> reread;
    try {
        readCatalogue(written, "written.csv", *again,
                      [&reread](SeriesPtr record) { reread.push_back(std::move(record)); });
    } catch (const CatalogueError& error) {
        fuzz::fail(std::string("what was written does not read: ") + error.what());
    }
    if (reread.size() != read.size()) {
        fuzz::fail("wrote " + std::to_string(read.size()) + " records, read back " +
                   std::to_string(reread.size()));
    }
    for (std::size_t i = 0; i < read.size(); ++i) {
        expectSameRecord(i, *read[i], *reread[i]);
    }
    if (catalogueText(reread) != written) {
        fuzz::fail("written again, the text differs");
    }
    return 0;
}
