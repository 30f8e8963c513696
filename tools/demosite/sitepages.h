#pragma once

#include "demosite/content.h"

#include <string>
#include <string_view>

namespace demosite {

std::string homePage(const SiteContent& content);
std::string publicFrontPage();
std::string searchFormPage(const SiteContent& content);
std::string notFoundPage(std::string_view path);
std::string unauthorizedPage();
std::string serverErrorPage();
std::string statusPage(int status); // an error page for any status, the 500 page for 500
// What a picture address answers when the site sends a page instead of the picture.
std::string pictureErrorPage();
std::string movedPage(std::string_view location);

} // namespace demosite
