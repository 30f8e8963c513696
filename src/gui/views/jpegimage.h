#pragma once

// JPEG files as Qt images, decoded by the core's JPEG decoder.

#include <QImage>
#include <string>

namespace zob {

// A Format_RGB32 image of the file, shrunk while decoding as far as it stays
// at least minWidth x minHeight. Throws JpegError for an undecodable file.
QImage loadJpegImage(const std::string& path, int minWidth = 0, int minHeight = 0);

} // namespace zob
