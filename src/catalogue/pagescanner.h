#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zob {

// What one series block of a list page says about its series, texts exactly
// as the page has them (entities not decoded, white space kept).
struct ParsedSeries {
    std::string title, seriesLink, date, model, photographer, coverSource;
    std::int32_t photoCount =
        0; // 999 when the specs cell gave no count (0 is turned into 999 here)
    std::int32_t favoriteId = -1, modelId = -1;
};

// The attribute record of one tag.
struct TagAttributes {
    std::string name, cls, src, width, height, href, alt;
};

// Reads the attributes of one tag from the text after its tag name, which the
// caller has already cut to at most 255 characters. Names are matched exactly
// (lower case); values are quoted with " or ', or run up to the next space.
TagAttributes readTagAttributes(std::string_view text);

// One pass over the page's bytes; `emit` is called for every complete series
// block, in page order. An exception thrown by `emit` ends the scan and
// propagates (the series emitted before stay emitted). Digit runs that would
// overflow a 32-bit count or id saturate at INT32_MAX.
void scanArchivePage(std::string_view page, const std::function<void(ParsedSeries&&)>& emit);
// Every series block of the page, in page order.
std::vector<ParsedSeries> scanPageSeries(std::string_view page);

} // namespace zob
