#pragma once

#include "demosite/content.h"

#include <string>
#include <string_view>
#include <vector>

namespace demosite {

std::string escapeHtml(std::string_view text);

// A complete page: head, the members' header with its navigation, the given
// body and the footer.
std::string memberPage(std::string_view title, std::string_view body);

// How a list page shows each series block.
enum class BlockStyle {
    plain,     // monthly, archive and search pages
    favorites, // the specs cell also carries the "?remove=" link
    ranked,    // best-of: the date cell shows "Rank N"
};

// One series as the block list pages repeat it; rank is used by BlockStyle::ranked.
std::string seriesBlock(const Series& series, BlockStyle style, int rank = 0);

// A heading, an optional line of links, then the blocks (or the empty note).
std::string listPage(std::string_view heading, std::string_view navigation,
                     const std::vector<const Series*>& series, BlockStyle style,
                     std::string_view emptyNote);

} // namespace demosite
