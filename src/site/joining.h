#pragma once

#include <string>
#include <string_view>

namespace zob {

// Joins two parts of a local path or a site address with one rule: an empty
// part yields the other; when a already ends with the separator or b already
// starts with it the two are simply concatenated (so "x/" + "/y" keeps both);
// otherwise one separator goes between them.
std::string joinWith(char separator, std::string_view a, std::string_view b);

inline constexpr char pathSeparator = '/';

inline std::string joinPath(std::string_view a, std::string_view b) {
    return joinWith(pathSeparator, a, b);
}
inline std::string joinPath(std::string_view a, std::string_view b, std::string_view c) {
    return joinPath(a, joinPath(b, c));
}
inline std::string joinUrl(std::string_view a, std::string_view b) {
    return joinWith('/', a, b);
}
inline std::string joinUrl(std::string_view a, std::string_view b, std::string_view c) {
    return joinUrl(a, joinUrl(b, c));
}

} // namespace zob
