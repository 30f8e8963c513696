#include "site/formencoding.h"

namespace zob {

namespace {

bool keptAsIs(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '*';
}

} // namespace

std::string formEncodedField(std::string_view field) {
    constexpr const char* hex = "0123456789ABCDEF";
    const std::size_t equals = field.find('=');
    const std::size_t valueStart = equals == std::string_view::npos ? 0 : equals + 1;
    std::string encoded(field.substr(0, valueStart));
    for (const char raw : field.substr(valueStart)) {
        const auto c = static_cast<unsigned char>(raw);
        if (keptAsIs(c)) {
            encoded += raw;
        } else if (c == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 0x0F];
        }
    }
    return encoded;
}

} // namespace zob
