#pragma once

#include "demosite/series.h"

#include <cstdint>
#include <string>

namespace demosite {

// Paints a picture of the given size whose colours and shapes follow from
// pattern, and returns it as JPEG bytes. Equal arguments give equal bytes.
// Throws std::runtime_error when the encoder fails.
std::string makeJpeg(PictureSize size, std::uint64_t pattern);

} // namespace demosite
