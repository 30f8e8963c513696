#include "demosite/pictureranges.h"

#include "demosite/random.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>

namespace demosite {
namespace {

std::optional<std::size_t> openRangeStart(std::string_view range) {
    constexpr std::string_view prefix = "bytes=";
    if (!range.starts_with(prefix) || !range.ends_with('-')) {
        return std::nullopt;
    }
    range = range.substr(prefix.size(), range.size() - prefix.size() - 1);
    std::size_t start = 0;
    const auto [end, error] = std::from_chars(range.data(), range.data() + range.size(), start);
    if (error != std::errc() || end != range.data() + range.size() || range.empty()) {
        return std::nullopt;
    }
    return start;
}

std::string entityTag(const std::string& body) {
    char text[24];
    std::snprintf(text, sizeof text, "\"%016llx\"",
                  static_cast<unsigned long long>(hashText(body)));
    return text;
}

} // namespace

void applyPictureRange(const std::string& range, const std::string& ifRange, Answer& answer) {
    if (answer.pictureNumber == 0 || answer.status != 200) {
        return;
    }
    const std::string tag = entityTag(answer.body);
    answer.headers.emplace_back("ETag", tag);
    const std::optional<std::size_t> start = openRangeStart(range);
    if (!start || (!ifRange.empty() && ifRange != tag)) {
        return;
    }
    if (*start >= answer.body.size()) {
        answer.headers.emplace_back("Content-Range",
                                    "bytes */" + std::to_string(answer.body.size()));
        answer.status = 416;
        answer.body.clear();
        return;
    }
    // The server library cuts the body to the asked range and names it in
    // Content-Range; the status is all it leaves to the handler.
    answer.status = 206;
}

} // namespace demosite
