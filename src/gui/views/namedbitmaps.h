#pragma once

// The program's own small pictures: placeholders for missing covers and
// thumbnails, the favorite and bad-list marks with their masks, and the
// load-status strip's edge. Drawn in code on first use.

#include <QImage>
#include <string_view>

namespace zob {

// "NOIMG_ARCHIVE" 113 x 170, "NOIMG_SERIES" 130 x 130, "FAVORITE",
// "FAVORITE_MASK", "BADMARK", "BADMARK_MASK" 18 x 18, "STAT_IMG" 8 x 20; all
// Format_RGB32. A mask is black where its mark is opaque and white elsewhere;
// a mark is black where it is transparent. Throws std::out_of_range for any
// other name. GUI thread only: the pictures are cached on first use.
const QImage& namedBitmap(std::string_view name);

} // namespace zob
