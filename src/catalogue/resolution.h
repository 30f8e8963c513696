#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zob {

// Picture resolutions, numbered as everywhere in the program and its files
// (the settings keep the number).
enum class Resolution : std::uint8_t { high = 0, mid = 1, low = 2, thumb = 3 };
inline constexpr Resolution resHigh = Resolution::high;
inline constexpr Resolution resMid = Resolution::mid;
inline constexpr Resolution resLow = Resolution::low;
inline constexpr Resolution resThumb = Resolution::thumb;
inline constexpr int resolutionCount = 4;
// In their numbers' order, for walking over every resolution.
inline constexpr std::array<Resolution, resolutionCount> allResolutions{resHigh, resMid, resLow,
                                                                        resThumb};

// The resolution's number: its place in per-resolution arrays and files.
constexpr std::size_t indexOf(Resolution r) {
    return static_cast<std::size_t>(r);
}
// The resolution a stored number stands for; nothing for a number out of range.
constexpr std::optional<Resolution> resolutionNumbered(int number) {
    if (number < 0 || number >= resolutionCount) {
        return std::nullopt;
    }
    return static_cast<Resolution>(number);
}

// A set of resolutions: bit r for resolution r.
using ResolutionSet = std::uint8_t;

constexpr bool hasResolution(ResolutionSet set, Resolution r) {
    return (set & (1u << indexOf(r))) != 0;
}
constexpr ResolutionSet withResolution(ResolutionSet set, Resolution r) {
    return static_cast<ResolutionSet>(set | (1u << indexOf(r)));
}
constexpr ResolutionSet withoutResolution(ResolutionSet set, Resolution r) {
    return static_cast<ResolutionSet>(set & ~(1u << indexOf(r)));
}

// Folder of a resolution on the site and on disk; thumbnails come from the
// high-resolution folder on the site.
constexpr std::string_view resolutionFolder(Resolution r) {
    constexpr std::array<std::string_view, 3> folders{"hires", "midres", "lores"};
    return r == resThumb ? folders[0] : folders[indexOf(r)];
}

} // namespace zob
