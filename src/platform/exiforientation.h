#pragma once

// Which way up a camera meant its JPEG to be seen, as the EXIF orientation tag
// says. Cameras store the sensor's pixels as they came and only tag the file;
// a viewer that ignores the tag shows portraits on their side.

#include <filesystem>
#include <string_view>

namespace zob {

// The EXIF orientation values: 1 as stored, 2 mirrored, 3 turned half round,
// 4 flipped, 5 transposed, 6 turned a quarter clockwise to view, 7
// transversed, 8 turned a quarter anticlockwise to view.
enum class ExifOrientation {
    asStored = 1,
    mirrored = 2,
    halfTurn = 3,
    flipped = 4,
    transposed = 5,
    quarterClockwise = 6,
    transversed = 7,
    quarterAnticlockwise = 8,
};

// The tag of the file's first EXIF block; asStored when the file has none,
// is no JPEG, or the block is damaged. Reads only the file's first segments.
ExifOrientation jpegOrientation(const std::filesystem::path& file);
// The same for a JPEG in memory.
ExifOrientation jpegOrientationOf(std::string_view bytes);

// True when viewing the picture swaps its width and height.
bool swapsSides(ExifOrientation orientation);

} // namespace zob
