#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zob {

// Picture resolutions, numbered as everywhere in the program and its files.
enum Resolution : int { resHigh = 0, resMid = 1, resLow = 2, resThumb = 3 };
inline constexpr int resolutionCount = 4;

// A set of resolutions: bit r for resolution r.
using ResolutionSet = std::uint8_t;

constexpr bool hasResolution(ResolutionSet set, int r) {
    return (set & (1u << r)) != 0;
}
constexpr ResolutionSet withResolution(ResolutionSet set, int r) {
    return static_cast<ResolutionSet>(set | (1u << r));
}
constexpr ResolutionSet withoutResolution(ResolutionSet set, int r) {
    return static_cast<ResolutionSet>(set & ~(1u << r));
}

// Folder of a resolution on the site and on disk; thumbnails come from the
// high-resolution folder on the site.
constexpr std::string_view resolutionFolder(int r) {
    constexpr std::array<std::string_view, 3> folders{"hires", "midres", "lores"};
    return r >= 0 && r < 3 ? folders[static_cast<std::size_t>(r)] : folders[0];
}

} // namespace zob
