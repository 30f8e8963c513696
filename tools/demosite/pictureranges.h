#pragma once

#include "demosite/router.h"

#include <string>

namespace demosite {

// Picture answers carry an ETag and honour "Range: bytes=N-" (with If-Range)
// as an ordinary web server does, so a client can resume a broken transfer:
// a range inside the picture makes the answer 206 (the server cuts the body
// and adds Content-Range), one past its end 416, and an If-Range that no
// longer matches the full 200. Other answers and other range forms are left
// as they are.
void applyPictureRange(const std::string& range, const std::string& ifRange, Answer& answer);

} // namespace demosite
