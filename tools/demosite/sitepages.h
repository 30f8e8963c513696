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
std::string movedPage(std::string_view location);

} // namespace demosite
