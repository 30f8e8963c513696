#pragma once

#include <string>
#include <string_view>

namespace zob {

// A "name=value" form field as a form post sends it
// (application/x-www-form-urlencoded): letters, digits and "-_.*" stay, a
// space becomes "+", every other byte of the value "%XX". The name and the
// "=" are kept as given; a text without "=" is encoded whole.
std::string formEncodedField(std::string_view field);

} // namespace zob
