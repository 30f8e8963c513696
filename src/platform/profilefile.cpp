#include "platform/profilefile.h"

#include "platform/atomicfile.h"

#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace zob {
namespace {

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// The name of a "[name]" line; anything after the closing bracket is ignored.
std::optional<std::string_view> sectionNameOf(std::string_view line) {
    const std::string_view text = trimBlanks(line);
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    const auto close = text.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return trimBlanks(text.substr(1, close - 1));
}

bool isComment(std::string_view line) {
    const std::string_view text = trimBlanks(line);
    return !text.empty() && (text.front() == ';' || text.front() == '#');
}

std::optional<std::string_view> keyOf(std::string_view line) {
    if (isComment(line)) {
        return std::nullopt;
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return trimBlanks(line.substr(0, equals));
}

std::string_view valueOf(std::string_view line) {
    return trimBlanks(line.substr(line.find('=') + 1));
}

std::string withoutLineBreaks(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c != '\r' && c != '\n') {
            result += c;
        }
    }
    return result;
}

int digitValue(char c, unsigned base) {
    int value = 99;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < static_cast<int>(base) ? value : -1;
}

std::optional<std::int32_t> parseLeadingInteger(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    unsigned base = 10;
    // "0x" only counts as a prefix when a hex digit follows; otherwise the "0" alone is
    // the number.
    if (pos + 2 < text.size() && text[pos] == '0' &&
        (text[pos + 1] == 'x' || text[pos + 1] == 'X') && digitValue(text[pos + 2], 16) >= 0) {
        base = 16;
        pos += 2;
    }
    std::uint32_t magnitude = 0;
    std::size_t digits = 0;
    for (; pos < text.size(); ++pos, ++digits) {
        const int digit = digitValue(text[pos], base);
        if (digit < 0) {
            break;
        }
        magnitude = magnitude * base + static_cast<std::uint32_t>(digit);
    }
    if (digits == 0) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
}

std::string readWholeFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            return {};
        }
        throw std::system_error(errno, std::generic_category(),
                                "cannot open \"" + path.string() + "\"");
    }
    std::string bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            throw std::system_error(error, std::generic_category(),
                                    "cannot read \"" + path.string() + "\"");
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

} // namespace

ProfileFile::ProfileFile(std::filesystem::path path) : path_(std::move(path)) {
    const std::string bytes = readWholeFile(path_);
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto newline = bytes.find('\n', start);
        if (newline == std::string::npos) {
            lines_.push_back({bytes.substr(start), ""});
            break;
        }
        const bool crlf = newline > start && bytes[newline - 1] == '\r';
        const std::size_t contentEnd = crlf ? newline - 1 : newline;
        lines_.push_back({bytes.substr(start, contentEnd - start), crlf ? "\r\n" : "\n"});
        start = newline + 1;
    }
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    const auto span = findSection(section);
    if (!span) {
        return std::string(defaultValue);
    }
    const auto line = findKey(*span, key);
    if (!line) {
        return std::string(defaultValue);
    }
    return std::string(valueOf(lines_[*line].content).substr(0, maxValueLength));
}

std::int32_t ProfileFile::readInt(std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) const {
    const auto span = findSection(section);
    const auto line = span ? findKey(*span, key) : std::nullopt;
    if (!line) {
        return defaultValue;
    }
    const std::string_view value = valueOf(lines_[*line].content).substr(0, maxValueLength);
    return parseLeadingInteger(value).value_or(defaultValue);
}

void ProfileFile::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
    const std::string cleanSection = withoutLineBreaks(section);
    const std::string cleanKey = withoutLineBreaks(key);
    const std::string cleanValue = withoutLineBreaks(value);

    const auto span = findSection(cleanSection);
    if (!span) {
        appendLine("[" + cleanSection + "]");
        appendLine(cleanKey + "=" + cleanValue);
        return;
    }
    if (const auto line = findKey(*span, cleanKey)) {
        std::string& content = lines_[*line].content;
        content = std::string(*keyOf(content)) + "=" + cleanValue;
        return;
    }
    // After the section's last key rather than at its very end, so that blank lines and
    // comments leading into the next section stay where they are.
    std::size_t insertAt = span->header + 1;
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        if (keyOf(lines_[i].content)) {
            insertAt = i + 1;
        }
    }
    insertLine(insertAt, cleanKey + "=" + cleanValue);
}

void ProfileFile::deleteKey(std::string_view section, std::string_view key) {
    // Every copy: a hand-edited file may name a key twice, and a copy left
    // behind would be read back as if it had never been deleted.
    for (auto span = findSection(section); span; span = findSection(section)) {
        const auto line = findKey(*span, key);
        if (!line) {
            return;
        }
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*line));
    }
}

std::string ProfileFile::text() const {
    std::string bytes;
    for (const Line& line : lines_) {
        bytes += line.content;
        bytes += line.ending;
    }
    return bytes;
}

void ProfileFile::commit() const {
    writeFileAtomically(path_, text(),
                        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                        ModeRule::always);
}

std::optional<ProfileFile::SectionSpan> ProfileFile::findSection(std::string_view section) const {
    const std::string_view wanted = trimBlanks(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = sectionNameOf(lines_[i].content);
        if (!name || !equalsIgnoringCase(*name, wanted)) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < lines_.size() && !sectionNameOf(lines_[end].content)) {
            ++end;
        }
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> ProfileFile::findKey(const SectionSpan& span,
                                                std::string_view key) const {
    const std::string_view wanted = trimBlanks(key);
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        const auto name = keyOf(lines_[i].content);
        if (name && equalsIgnoringCase(*name, wanted)) {
            return i;
        }
    }
    return std::nullopt;
}

// New lines follow the file's own convention, so a CR LF file does not end up mixed.
std::string ProfileFile::newLineEnding() const {
    for (const Line& line : lines_) {
        if (!line.ending.empty()) {
            return line.ending;
        }
    }
    return "\n";
}

void ProfileFile::appendLine(std::string content) {
    insertLine(lines_.size(), std::move(content));
}

void ProfileFile::insertLine(std::size_t index, std::string content) {
    const std::string ending = newLineEnding();
    // A last line without a line ending must get one before anything can follow it.
    if (index > 0 && lines_[index - 1].ending.empty()) {
        lines_[index - 1].ending = ending;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index),
                  Line{std::move(content), ending});
}

} // namespace zob
