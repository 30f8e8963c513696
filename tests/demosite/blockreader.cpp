#include "blockreader.h"

#include <cctype>

namespace demosite::testing {
namespace {

struct Attributes {
    std::string href, width, height, alt, src, name, cls;
};

std::string lower(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

Attributes readAttributes(std::string_view s) {
    Attributes result;
    s = s.substr(0, 255);
    std::size_t at = 0;
    while (at < s.size()) {
        while (at < s.size() && isSpace(s[at])) {
            ++at;
        }
        const std::size_t nameStart = at;
        while (at < s.size() && !isSpace(s[at]) && s[at] != '=') {
            ++at;
        }
        const std::string name(s.substr(nameStart, at - nameStart));
        if (at >= s.size() || s[at] != '=') {
            ++at;
            continue;
        }
        ++at;
        char delimiter = ' ';
        if (at < s.size() && (s[at] == '"' || s[at] == '\'')) {
            delimiter = s[at++];
        }
        const std::size_t valueStart = at;
        while (at < s.size() && s[at] != delimiter) {
            ++at;
        }
        std::string value(s.substr(valueStart, at - valueStart));
        if (at >= s.size() && !s.empty() && s.back() == '>' && !value.empty()) {
            value.pop_back();
        }
        ++at;
        if (name == "href") {
            result.href = value;
        } else if (name == "width") {
            result.width = value;
        } else if (name == "height") {
            result.height = value;
        } else if (name == "alt") {
            result.alt = value;
        } else if (name == "src") {
            result.src = value;
        } else if (name == "name") {
            result.name = value;
        } else if (name == "class") {
            result.cls = value;
        }
    }
    return result;
}

int digitsAfter(std::string_view tag, std::string_view marker) {
    const std::size_t at = tag.find(marker);
    if (at == std::string_view::npos) {
        return -2; // absent: leave the value alone
    }
    int value = 0;
    for (std::size_t i = at + marker.size();
         i < tag.size() && std::isdigit(static_cast<unsigned char>(tag[i])); ++i) {
        value = value * 10 + (tag[i] - '0');
    }
    return value == 0 ? -1 : value;
}

} // namespace

std::vector<ReadBlock> readBlocks(std::string_view page) {
    std::vector<ReadBlock> blocks;
    ReadBlock current;
    bool inTag = false, collecting = false, inSpecs = false, tableEnd = false;
    std::string tag, cellClass, cellText;
    for (const char c : page) {
        if (!inTag) {
            if (c == '<') {
                tag.assign(1, '<');
                inTag = true;
            } else if (collecting) {
                cellText += c;
            }
            continue;
        }
        tag += c;
        if (c != '>') {
            continue;
        }
        inTag = false;
        const std::string head = lower(std::string_view(tag).substr(0, 7));
        bool cellStart = false;
        if (inSpecs) {
            if (const int id = digitsAfter(tag, "?remove="); id != -2) {
                current.favoriteId = id;
            }
            if (const int id = digitsAfter(tag, "?model_id="); id != -2) {
                current.modelId = id;
            }
            cellStart = true;
        } else if (head.starts_with("<a ")) {
            current.link = readAttributes(std::string_view(tag).substr(3)).href;
            continue;
        } else if (head.starts_with("<img ")) {
            const Attributes image = readAttributes(std::string_view(tag).substr(5));
            if ((image.width == "113" && image.height == "170") ||
                image.src.find("logo1.jpg") != std::string::npos) {
                current.cover = image.src;
            }
        } else {
            cellStart = true;
        }
        if (cellStart) {
            if (head.starts_with("<td ")) {
                cellClass = lower(readAttributes(std::string_view(tag).substr(4)).cls);
                if (cellClass == "series" || cellClass == "date" || cellClass == "title" ||
                    cellClass == "photographer" || cellClass == "specs") {
                    collecting = true;
                }
                if (cellClass == "cover") {
                    tableEnd = false;
                }
                if (cellClass == "specs") {
                    inSpecs = true;
                }
            } else if (head.starts_with("</td")) {
                if (collecting && !cellText.empty()) {
                    if (cellClass == "series") {
                        current.models = cellText;
                    } else if (cellClass == "date") {
                        current.date = cellText;
                    } else if (cellClass == "photographer") {
                        current.photographer = cellText;
                        if (cellText.starts_with("BY ")) {
                            current.photographer.erase(0, 3);
                        }
                    } else if (cellClass == "specs") {
                        inSpecs = false;
                        int count = 0;
                        for (std::size_t i = 0;
                             i < cellText.size() &&
                             std::isdigit(static_cast<unsigned char>(cellText[i]));
                             ++i) {
                            count = count * 10 + (cellText[i] - '0');
                        }
                        current.photoCount = count;
                    } else if (cellClass == "title") {
                        current.title = cellText;
                    }
                }
                collecting = false;
                cellText.clear();
            } else if (head == "</table") {
                tableEnd = true;
            }
        }
        if (!current.link.empty() && !current.cover.empty() && !current.models.empty() &&
            !current.title.empty() && !current.photographer.empty() && !current.date.empty() &&
            tableEnd) {
            if (current.photoCount == 0) {
                current.photoCount = 999;
            }
            blocks.push_back(current);
            current = ReadBlock{};
            tableEnd = false;
        }
    }
    return blocks;
}

std::vector<std::pair<std::string, int>> readSelectOptions(std::string_view page,
                                                           std::string_view name) {
    std::vector<std::pair<std::string, int>> options;
    std::size_t at = 0;
    while ((at = page.find("select name=", at)) != std::string_view::npos) {
        const std::size_t start = at + 12;
        const std::size_t end = page.find("</select>", start);
        if (end == std::string_view::npos) {
            break;
        }
        const std::string_view block = page.substr(start, end + 1 - start);
        at = end + 1;
        const std::size_t close = block.find('>');
        if (block.substr(0, close) != name) {
            continue;
        }
        std::string_view text = block.substr(close + 1);
        text = text.substr(0, text.size() >= 2 ? text.size() - 2 : 0);
        std::size_t option = 0;
        while ((option = text.find("<option value=", option)) != std::string_view::npos) {
            const std::size_t valueStart = option + 14;
            const std::size_t valueEnd = text.find('>', valueStart);
            const std::size_t labelEnd = text.find('<', valueEnd);
            const std::string value(text.substr(valueStart, valueEnd - valueStart));
            const std::string label(text.substr(valueEnd + 1, labelEnd - valueEnd - 1));
            option = valueStart;
            if (label == "Any" || value.empty() || value == "''") {
                continue;
            }
            options.emplace_back(label, std::stoi(value));
        }
    }
    return options;
}

} // namespace demosite::testing
