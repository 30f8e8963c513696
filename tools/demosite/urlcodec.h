#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace demosite {

// Decodes %XX escapes and, as forms encode spaces, "+".
std::string decodeFormText(std::string_view text);
// "a=1&b=x+y" -> {a: "1", b: "x y"}; a name without "=" maps to an empty value.
std::map<std::string, std::string> parseFormFields(std::string_view text);
std::string encodeBase64(std::string_view bytes);
// A whole decimal number (optionally negative); none for anything else.
std::optional<int> parseNumber(std::string_view text);

} // namespace demosite
