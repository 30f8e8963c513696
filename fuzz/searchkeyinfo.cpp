// Any bytes as "searchInfo.csv", and the same bytes as the options of a
// select element of the search page: reading and learning never crash, the
// tables saved read back the same, and saved again give the same file.

#include "search/searchkeyinfo.h"

#include "fuzzsupport.h"
#include "platform/debuglog.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace zob;

void expectSameTable(const char* name, const SearchKeyTable& saved, const SearchKeyTable& loaded) {
    if (saved.size() != loaded.size()) {
        fuzz::fail(std::string(name) + ": saved " + std::to_string(saved.size()) +
                   " entries, loaded " + std::to_string(loaded.size()));
    }
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i] != loaded[i]) {
            fuzz::fail(std::string(name) + " entry " + std::to_string(i) + ": saved \"" +
                       saved[i].name + "\"," + std::to_string(saved[i].number) + ", loaded \"" +
                       loaded[i].name + "\"," + std::to_string(loaded[i].number));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Registry registry;
    static DebugLog log; // off, as in a normal run: nothing piles up
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    searchKeyInfoClass keys(registry.lists, log);
    fuzz::writeFile(keys.filePath(), text);
    keys.loadSearchInfo();
    keys.parseOptions(keys.models, text);
    keys.saveSearchInfo();
    const std::string saved = fuzz::readFile(keys.filePath());

    searchKeyInfoClass loaded(registry.lists, log);
    expectSameTable("models", keys.models, loaded.models);
    expectSameTable("photographers", keys.photographers, loaded.photographers);
    expectSameTable("countries", keys.countries, loaded.countries);
    loaded.saveSearchInfo();
    if (fuzz::readFile(loaded.filePath()) != saved) {
        fuzz::fail("saved again, the file differs");
    }
    return 0;
}
