#include "search/searchkeyinfo.h"

#include "catalogue/artlistlist.h"
#include "catalogue/cataloguefile.h"
#include "platform/atomicfile.h"
#include "platform/debuglog.h"
#include "site/fetch.h"
#include "site/fetchsink.h"
#include "site/joining.h"
#include "site/sitenames.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <system_error>

namespace zob {

namespace {

constexpr std::string_view versionPrefix = "version=";
constexpr std::string_view writtenVersion = "version=074";
constexpr std::string_view modelMarker = "==model";
constexpr std::string_view photographerMarker = "==photographer";
constexpr std::string_view countryMarker = "==country";

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<std::int32_t> toNumber(std::string_view text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// A name the comma-text rule would split or unquote is written quoted (with
// its quotes doubled), so that every name the site taught us reads back
// whole; plain names keep the bare "NAME,NUMBER" form.
void appendName(std::string& out, std::string_view name) {
    bool plain = !name.empty();
    for (const char c : name) {
        if (c == ',' || c == '"' || static_cast<unsigned char>(c) <= ' ') {
            plain = false;
            break;
        }
    }
    if (plain) {
        out += name;
        return;
    }
    out += '"';
    for (const char c : name) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

void appendTable(std::string& out, std::string_view marker, const SearchKeyTable& table) {
    out += marker;
    out += "\r\n";
    for (const SearchKeyEntry& entry : table) {
        appendName(out, entry.name);
        out += ',';
        out += std::to_string(entry.number);
        out += "\r\n";
    }
}

// The line starting at `position`, which moves past the line's end: CR LF,
// LF or a lone CR, as in the catalogue files.
std::string_view takeLine(const std::string& text, std::size_t& position) {
    const std::size_t end = std::min(text.find_first_of("\r\n", position), text.size());
    const std::string_view line(text.data() + position, end - position);
    position = end + 1;
    if (end < text.size() && text[end] == '\r' && position < text.size() &&
        text[position] == '\n') {
        ++position;
    }
    return line;
}

} // namespace

const SearchKeyEntry* findSearchKey(const SearchKeyTable& table, std::string_view name) {
    for (const SearchKeyEntry& entry : table) {
        if (equalIgnoringCase(entry.name, name)) {
            return &entry;
        }
    }
    return nullptr;
}

searchKeyInfoClass::searchKeyInfoClass(const ArtListList& registry, DebugLog& debugLog)
    : registry_(registry), debugLog_(debugLog) {
    loadSearchInfo();
}

std::filesystem::path searchKeyInfoClass::filePath() const {
    return registry_.localPath(joinPath(indexFolderName, searchIndexFileName));
}

void searchKeyInfoClass::skipped(const std::string& what) const {
    debugLog_.dbgLog(std::string(searchIndexFileName) + ": " + what, true);
}

void searchKeyInfoClass::loadSearchInfo() {
    photographers.clear();
    models.clear();
    countries.clear();
    modified = false;

    const std::optional<std::string> text = readIndexFile();
    if (!text) {
        return;
    }
    SearchKeyTable* target = nullptr;
    std::size_t position = 0;
    for (int lineNumber = 1; position < text->size(); ++lineNumber) {
        const std::string_view line = takeLine(*text, position);
        const std::string where = "line " + std::to_string(lineNumber);
        if (lineNumber == 1 && readVersionHeader(line, where)) {
            continue;
        }
        if (SearchKeyTable* const table = tableOfMarker(line)) {
            target = table;
        } else if (!line.empty()) {
            addEntry(target, line, where);
        }
    }
}

std::optional<std::string> searchKeyInfoClass::readIndexFile() const {
    const std::filesystem::path path = filePath();
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        skipped("cannot be read; the index starts empty");
        return std::nullopt;
    }
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool searchKeyInfoClass::readVersionHeader(std::string_view line, const std::string& where) const {
    if (line.starts_with(versionPrefix)) {
        // The version's value decides nothing; a bad one is only noted.
        if (!toNumber(line.substr(versionPrefix.size()))) {
            skipped(where + ": the version is not a number");
        }
        return true;
    }
    // A file that lost its header still holds usable tables.
    skipped(where + ": no version header, read as a table line");
    return false;
}

SearchKeyTable* searchKeyInfoClass::tableOfMarker(std::string_view line) {
    if (line == modelMarker) {
        return &models;
    }
    if (line == photographerMarker) {
        return &photographers;
    }
    if (line == countryMarker) {
        return &countries;
    }
    return nullptr;
}

void searchKeyInfoClass::addEntry(SearchKeyTable* target, std::string_view line,
                                  const std::string& where) const {
    std::vector<std::string> fields = splitCommaText(line);
    const std::optional<std::int32_t> number =
        fields.size() >= 2 ? toNumber(fields[1]) : std::nullopt;
    if (target == nullptr) {
        skipped(where + " skipped: an entry before any section marker");
    } else if (!number) {
        skipped(where + " skipped: no number after the name");
    } else {
        target->push_back(SearchKeyEntry{std::move(fields[0]), *number});
    }
}

void searchKeyInfoClass::saveSearchInfo() const {
    std::string text;
    text += writtenVersion;
    text += "\r\n";
    appendTable(text, modelMarker, models);
    appendTable(text, photographerMarker, photographers);
    appendTable(text, countryMarker, countries);
    const std::filesystem::path path = filePath();
    std::filesystem::create_directories(path.parent_path());
    writeFileAtomically(path, text);
}

bool searchKeyInfoClass::saveIfModified() {
    if (!modified) {
        return true;
    }
    try {
        saveSearchInfo();
    } catch (const std::exception& error) {
        skipped(std::string("not saved: ") + error.what());
        return false;
    }
    modified = false;
    return true;
}

void searchKeyInfoClass::refreshFromSite(const FetchEnv& env) {
    std::string page;
    MemorySink sink(page);
    // Whatever the fetch brought is parsed; a failed one brings nothing.
    getHtml(env, registry_.siteUrl(searchPageName), sink, true);

    constexpr std::string_view selectStart = "select name=";
    constexpr std::string_view selectEnd = "</select>";
    const std::size_t before = models.size() + photographers.size();
    std::size_t position = 0;
    while (true) {
        const std::size_t found = page.find(selectStart, position);
        if (found == std::string::npos) {
            break;
        }
        const std::size_t start = found + selectStart.size();
        const std::size_t close = page.find(selectEnd, start);
        if (close == std::string::npos) {
            skipped("search page: a select element without its end");
            break;
        }
        // Up to and including the "<" of the closing tag.
        const std::string_view block(page.data() + start, close + 1 - start);
        position = close + 1;

        const std::size_t nameEnd = block.find('>');
        if (nameEnd == std::string_view::npos) {
            continue;
        }
        const std::string_view name = block.substr(0, nameEnd);
        SearchKeyTable* table = name == "model"          ? &models
                                : name == "photographer" ? &photographers
                                                         : nullptr;
        if (table == nullptr) {
            continue;
        }
        std::string_view options = block.substr(nameEnd + 1);
        options.remove_suffix(std::min<std::size_t>(2, options.size()));
        parseOptions(*table, options);
    }
    if (models.size() + photographers.size() != before) {
        modified = true;
    }
}

void searchKeyInfoClass::parseOptions(SearchKeyTable& table, std::string_view text) {
    constexpr std::string_view optionStart = "<option value=";
    // One walk forward: each option is looked for where the last label
    // ended, and a value may not run past the next tag, so a page of broken
    // options costs no more than a page of good ones.
    std::size_t position = 0;
    while (true) {
        const std::size_t found = text.find(optionStart, position);
        if (found == std::string_view::npos) {
            return;
        }
        const std::size_t valueStart = found + optionStart.size();
        std::size_t valueEnd = valueStart;
        while (valueEnd < text.size() && text[valueEnd] != '>' && text[valueEnd] != '<') {
            ++valueEnd;
        }
        if (valueEnd == text.size() || text[valueEnd] == '<') {
            skipped("search page: an option without its \">\"");
            return;
        }
        const std::size_t labelEnd = text.find('<', valueEnd + 1);
        if (labelEnd == std::string_view::npos) {
            skipped("search page: an option label running to the end of its select");
            return;
        }
        position = labelEnd;
        const std::string_view value = text.substr(valueStart, valueEnd - valueStart);
        const std::string_view label = text.substr(valueEnd + 1, labelEnd - valueEnd - 1);
        if (label == "Any" || value.empty() || value == "''") {
            continue;
        }
        const std::optional<std::int32_t> number = toNumber(value);
        if (!number) {
            skipped("search page: option \"" + std::string(label) + "\" skipped, its value \"" +
                    std::string(value) + "\" is not a number");
            continue;
        }
        // The index keeps a name per line: a label the page breaks over
        // lines is learned as it shows, on one.
        std::string name(label);
        std::replace_if(
            name.begin(), name.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        table.push_back(SearchKeyEntry{std::move(name), *number});
    }
}

std::optional<std::int32_t> searchKeyInfoClass::photographerId(std::string_view name,
                                                               const FetchEnv& env) {
    if (models.empty()) {
        refreshFromSite(env);
    }
    if (const SearchKeyEntry* entry = findSearchKey(photographers, name)) {
        return entry->number;
    }
    return std::nullopt;
}

} // namespace zob
