#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zob {

// "bytes FIRST-LAST/TOTAL" of a 206 answer, the part a resumed transfer checks.
struct ContentRange {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::uint64_t total = 0;
};

// Nothing for any other form ("bytes */TOTAL", an unknown total, garbage).
std::optional<ContentRange> parseContentRange(std::string_view value);

} // namespace zob
