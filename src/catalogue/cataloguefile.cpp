#include "catalogue/cataloguefile.h"

#include "catalogue/artlistlist.h"
#include "catalogue/catalogueerror.h"
#include "site/joining.h"
#include "site/sitenames.h"
#include "version.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace zob {

namespace {

constexpr std::string_view quoteEntity = "&quot;";

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// A text inside double quotes on a line of its own: line breaks would split
// the record, so they travel as spaces.
void appendQuoted(std::string& line, std::string_view text, bool titleRule) {
    line += '"';
    for (const char c : text) {
        if (c == '"') {
            line += titleRule ? quoteEntity : std::string_view("\"\"");
        } else if (c == '\r' || c == '\n') {
            line += ' ';
        } else {
            line += c;
        }
    }
    line += '"';
}

std::string withQuotesRestored(std::string title) {
    std::size_t at = 0;
    while ((at = title.find(quoteEntity, at)) != std::string::npos) {
        title.replace(at, quoteEntity.size(), 1, '"');
        ++at;
    }
    return title;
}

std::int32_t numberField(const std::vector<std::string>& fields, std::size_t index) {
    const std::string& text = fields[index];
    const char* first = text.data();
    const char* last = text.data() + text.size();
    // from_chars takes a minus sign but not a plus sign.
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-') {
        ++first;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) {
        throw CatalogueError("field " + std::to_string(index + 1) + " is not a number: \"" + text +
                             "\"");
    }
    return value;
}

void requireFields(const std::vector<std::string>& fields, std::size_t count) {
    if (fields.size() < count) {
        throw CatalogueError("expected " + std::to_string(count) + " fields, found " +
                             std::to_string(fields.size()));
    }
}

// The next line of `text` from `position`, which moves past its line end (CR
// LF, LF or a lone CR). One walk up to the first end of either kind: looking
// for each kind on its own would run to the end of a file that never uses
// it, once per line.
std::string_view nextLine(std::string_view text, std::size_t& position) {
    const std::size_t start = position;
    std::size_t end = start;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') {
        ++end;
    }
    if (end == text.size()) {
        position = end;
        return text.substr(start);
    }
    position = end + 1;
    if (text[end] == '\r' && position < text.size() && text[position] == '\n') {
        ++position;
    }
    return text.substr(start, end - start);
}

// Splits into `fields`, reusing the strings already there: a file is read
// line by line with one buffer, so the addresses cost no allocation.
void splitCommaTextInto(std::string_view line, std::vector<std::string>& fields) {
    std::size_t count = 0;
    const auto nextField = [&fields, &count]() -> std::string& {
        if (count == fields.size()) {
            fields.emplace_back();
        }
        std::string& field = fields[count++];
        field.clear();
        return field;
    };
    std::size_t at = 0;
    const std::size_t end = line.size();
    while (at < end && isBlank(line[at])) {
        ++at;
    }
    while (at < end) {
        std::string& field = nextField();
        if (line[at] == '"') {
            ++at;
            while (at < end) {
                const std::size_t quote = std::min(line.find('"', at), end);
                field.append(line.substr(at, quote - at));
                at = quote;
                if (at == end) {
                    break;
                }
                if (at + 1 < end && line[at + 1] == '"') {
                    field += '"';
                    at += 2;
                    continue;
                }
                ++at;
                break;
            }
        } else {
            const std::size_t start = at;
            while (at < end && !isBlank(line[at]) && line[at] != ',') {
                ++at;
            }
            field.assign(line.substr(start, at - start));
        }
        while (at < end && isBlank(line[at])) {
            ++at;
        }
        if (at < end && line[at] == ',') {
            if (at + 1 == end) {
                nextField();
            }
            do {
                ++at;
            } while (at < end && isBlank(line[at]));
        }
    }
    fields.resize(count);
}

SeriesPtr readRecordLine(ArtList& owner, std::string_view line, int version,
                         std::vector<std::string>& f) {
    splitCommaTextInto(line, f);
    const auto title = [&f] { return withQuotesRestored(std::move(f[0])); };
    SeriesPtr record;
    if (version >= 60) {
        requireFields(f, 9);
        const std::int32_t count = numberField(f, 5);
        const std::int32_t favorite = numberField(f, 7);
        const std::int32_t modelIdValue = numberField(f, 8);
        record = SeriesRec::create(owner, f[1], title(), f[6]);
        std::string photographer = f[4];
        record->setDetails(std::move(f[2]), std::move(f[3]), std::move(f[4]), count, favorite,
                           modelIdValue);
        // Our own files hold the photographer with the byline already gone:
        // dropping "BY " once more would eat a name that starts with it.
        if (version >= catalogueVersion()) {
            record->photographer = std::move(photographer);
        }
    } else if (version >= 55) {
        requireFields(f, 8);
        const std::int32_t count = numberField(f, 5);
        const std::int32_t favorite = numberField(f, 7);
        record = SeriesRec::create(owner, f[1], title(), f[6]);
        record->setDetails(std::move(f[2]), std::move(f[3]), std::move(f[4]), count, favorite, -1);
    } else if (version <= 53 && f.size() == 8) {
        // Those files carried one more text before the date; it is not used.
        const std::int32_t count = numberField(f, 6);
        record = SeriesRec::create(owner, f[1], title(), f[7]);
        record->setDetails(std::move(f[3]), std::move(f[4]), std::move(f[5]), count, -1, -1);
    } else {
        requireFields(f, 7);
        const std::int32_t count = numberField(f, 5);
        record = SeriesRec::create(owner, f[1], title(), f[6]);
        record->setDetails(std::move(f[2]), std::move(f[3]), std::move(f[4]), count, -1, -1);
    }
    return record;
}

} // namespace

int catalogueVersion() {
    return versionMajor * 100 + versionMinor * 10 + versionRelease;
}

std::string catalogueText(const std::vector<SeriesPtr>& records) {
    std::string text(catalogueHeaderPrefix);
    text += std::to_string(catalogueVersion());
    text += "\r\n";
    for (const SeriesPtr& record : records) {
        text += toCsvLine(*record);
        text += "\r\n";
    }
    return text;
}

std::string toCsvLine(const SeriesRec& record) {
    // The name is read back from the address's last element, so a gallery in
    // the archive folder is written under its name, not its folder
    // "KEY_archive": a dated series that was switched keeps its dated
    // address (the switch itself is found again from where its files are),
    // and a name of year 1 that is not KEY_archive stays what it is.
    const bool switched = record.inArchive && !record.isMovie;
    const std::string seriesAddress =
        switched ? record.registry().siteUrl(joinUrl("gallery",
                                                     record.year == 1 ? std::string(menuArchive)
                                                                      : yearFolderName(record.year),
                                                     record.name))
                 : record.seriesUrl();
    std::string line;
    line.reserve(2 * seriesAddress.size() + record.title.size() + 96);
    appendQuoted(line, record.title, true);
    line += ',';
    appendQuoted(line, seriesAddress, false);
    line += ',';
    appendQuoted(line, record.date, false);
    line += ',';
    appendQuoted(line, record.model, false);
    line += ',';
    appendQuoted(line, record.photographer, false);
    line += ',';
    line += std::to_string(record.photoCount.load());
    line += ',';
    // Joined with the separator the joining rule adds when the cover has
    // none of its own (a page's relative src), so the field reads back as
    // the address the cover is fetched from, with the series' folder in it.
    appendQuoted(line, joinUrl(seriesAddress, record.coverFile), false);
    line += ',';
    line += std::to_string(record.favoriteId);
    line += ',';
    line += std::to_string(record.modelId);
    return line;
}

std::vector<std::string> splitCommaText(std::string_view line) {
    std::vector<std::string> fields;
    splitCommaTextInto(line, fields);
    return fields;
}

SeriesPtr recordFromCsvLine(ArtList& owner, std::string_view line, int version) {
    std::vector<std::string> fields;
    return readRecordLine(owner, line, version, fields);
}

void readCatalogue(std::string_view text, const std::string& fileName, ArtList& owner,
                   const std::function<void(SeriesPtr)>& append) {
    std::size_t position = 0;
    int lineNumber = 1;
    const auto failure = [&](const CatalogueError& error) {
        return CatalogueError(fileName + ", line " + std::to_string(lineNumber) + ": " +
                              error.what());
    };
    std::string_view line = nextLine(text, position);
    int version = headerlessCatalogueVersion;
    if (line.starts_with(catalogueHeaderPrefix)) {
        const std::string_view number = line.substr(catalogueHeaderPrefix.size(), 255);
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), version);
        if (error != std::errc() || end != number.data() + number.size()) {
            throw failure(
                CatalogueError("the version is not a number: \"" + std::string(number) + "\""));
        }
        line = position < text.size() ? nextLine(text, position) : std::string_view();
        ++lineNumber;
    }
    std::vector<std::string> fields;
    for (;;) {
        // A blank line (a hand edit, a tool that appended to the file) holds
        // no record; stopping there would lose every record after it at the
        // next save.
        if (line.find_first_not_of(" \t") != std::string_view::npos) {
            try {
                append(readRecordLine(owner, line, version, fields));
            } catch (const CatalogueError& error) {
                throw failure(error);
            }
        }
        if (position >= text.size()) {
            break;
        }
        line = nextLine(text, position);
        ++lineNumber;
    }
}

} // namespace zob
