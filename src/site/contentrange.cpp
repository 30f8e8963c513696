#include "site/contentrange.h"

#include <charconv>

namespace zob {

namespace {

// Reads a number up to `stop` (or the end when stop is 0) and moves past it.
bool readNumber(std::string_view& text, char stop, std::uint64_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data()) {
        return false;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    if (stop == 0) {
        return text.empty();
    }
    if (text.empty() || text.front() != stop) {
        return false;
    }
    text.remove_prefix(1);
    return true;
}

} // namespace

std::optional<ContentRange> parseContentRange(std::string_view value) {
    constexpr std::string_view unit = "bytes ";
    if (!value.starts_with(unit)) {
        return std::nullopt;
    }
    value.remove_prefix(unit.size());
    ContentRange range;
    if (!readNumber(value, '-', range.first) || !readNumber(value, '/', range.last) ||
        !readNumber(value, 0, range.total) || range.first > range.last ||
        range.last >= range.total) {
        return std::nullopt;
    }
    return range;
}

} // namespace zob
