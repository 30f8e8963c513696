#include "demosite/urlcodec.h"

#include <charconv>

namespace demosite {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::string decodeFormText(std::string_view text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            result += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
                   hexValue(text[i + 2]) >= 0) {
            result += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::map<std::string, std::string> parseFormFields(std::string_view text) {
    std::map<std::string, std::string> fields;
    while (!text.empty()) {
        const std::size_t end = text.find('&');
        const std::string_view field = text.substr(0, end);
        if (!field.empty()) {
            const std::size_t equals = field.find('=');
            const std::string name = decodeFormText(field.substr(0, equals));
            const std::string value =
                equals == std::string_view::npos ? "" : decodeFormText(field.substr(equals + 1));
            fields.emplace(name, value);
        }
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return fields;
}

std::string encodeBase64(std::string_view bytes) {
    static constexpr char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string result;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned value = static_cast<unsigned char>(bytes[i]) << 16 |
                               static_cast<unsigned char>(bytes[i + 1]) << 8 |
                               static_cast<unsigned char>(bytes[i + 2]);
        result += alphabet[(value >> 18) & 63];
        result += alphabet[(value >> 12) & 63];
        result += alphabet[(value >> 6) & 63];
        result += alphabet[value & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        unsigned value = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2) {
            value |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        }
        result += alphabet[(value >> 18) & 63];
        result += alphabet[(value >> 12) & 63];
        result += rest == 2 ? alphabet[(value >> 6) & 63] : '=';
        result += '=';
    }
    return result;
}

std::optional<int> parseNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

} // namespace demosite
