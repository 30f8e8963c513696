#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace demosite::testing {

// A series block as the client reads it from a list page: a byte-by-byte
// scan that knows a few tags by their first characters. Pages must satisfy
// exactly this reading, so the tests use it rather than a lenient parser.
struct ReadBlock {
    std::string link, cover, models, date, title, photographer;
    int photoCount = 0; // 0 already replaced by 999
    int favoriteId = -1;
    int modelId = -1;
};

std::vector<ReadBlock> readBlocks(std::string_view page);

// The (label, number) entries the client takes from <select name=NAME>.
std::vector<std::pair<std::string, int>> readSelectOptions(std::string_view page,
                                                           std::string_view name);

} // namespace demosite::testing
