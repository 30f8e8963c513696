#pragma once

#include <span>
#include <string_view>

namespace demosite {

// Raw material for generated content. Model names are plain ASCII letters so
// that series keys built from them stay file-name safe.
std::span<const std::string_view> modelNamePool();
std::span<const std::string_view> photographerNamePool();
std::span<const std::string_view> countryNamePool();
std::span<const std::string_view> titleAdjectives();
std::span<const std::string_view> titleNouns();

} // namespace demosite
