// Any bytes as a list page of the site: the scanner and the attribute reader
// never crash, and the list a page makes is written as a catalogue that reads
// back to the same records and the same text. The first writing may change
// texts (line breaks become spaces, the title's "&quot;" becomes a quote), so
// what must hold is that the written catalogue is read and written again
// unchanged.

#include "catalogue/pagescanner.h"

#include "catalogue/catalogueerror.h"
#include "catalogue/cataloguefile.h"
#include "catalogue/scanbatch.h"
#include "fuzzsupport.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace zob;

void expectSameSeries(std::size_t i, const SeriesRec& a, const SeriesRec& b) {
    if (a.name != b.name || a.year != b.year || a.month != b.month || a.isMovie != b.isMovie ||
        a.coverFile != b.coverFile || a.photoCount != b.photoCount ||
        a.favoriteId != b.favoriteId || a.modelId != b.modelId) {
        fuzz::fail("series " + std::to_string(i) + " \"" + a.name + "\" read back as \"" + b.name +
                   "\" with other values");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Registry registry;
    const LocalScanBatch scanBatch;
    const std::string_view page(reinterpret_cast<const char*>(data), size);

    readTagAttributes(page.substr(0, 255));

    const auto list = std::make_shared<fuzz::MonthList>(registry.lists);
    try {
        list->parsePage(page);
    } catch (const CatalogueError&) {
        // A malformed or unsafe series ends the page; the series before it stay.
    }
    const std::string written = catalogueText(list->records());

    const auto again = std::make_shared<fuzz::MonthList>(registry.lists);
    try {
        readCatalogue(written, "written.csv", *again,
                      [&again](SeriesPtr record) { again->append(std::move(record)); });
    } catch (const CatalogueError& error) {
        fuzz::fail(std::string("the page's list does not read back: ") + error.what());
    }
    if (again->size() != list->size()) {
        fuzz::fail("wrote " + std::to_string(list->size()) + " series, read back " +
                   std::to_string(again->size()));
    }
    for (std::size_t i = 0; i < list->size(); ++i) {
        expectSameSeries(i, *list->item(i), *again->item(i));
    }
    if (catalogueText(again->records()) != written) {
        fuzz::fail("written again, the text differs");
    }
    return 0;
}
