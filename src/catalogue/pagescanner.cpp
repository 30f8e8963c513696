#include "catalogue/pagescanner.h"

#include "catalogue/seriesrec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zob {
namespace {

// Only this much of a tag's attribute text is ever read, so a page with a
// huge tag costs no more than one without; the tail of a longer tag stays
// unread. The site's links and picture addresses are far shorter.
constexpr std::size_t attributeTextLimit = 255;

// Setting bit 5 turns exactly "A" to "Z" into "a" to "z" and makes no other
// byte a letter, so a letter is compared without regard to case by one OR;
// any other character must match as it is. No lower-cased copies are made.
bool equalsNoCase(std::string_view text, std::string_view lowerWord) {
    if (text.size() != lowerWord.size()) {
        return false;
    }
    for (std::size_t i = 0; i < lowerWord.size(); ++i) {
        const char wanted = lowerWord[i];
        const bool letter = wanted >= 'a' && wanted <= 'z';
        if ((letter ? static_cast<char>(text[i] | 0x20) : text[i]) != wanted) {
            return false;
        }
    }
    return true;
}

// A tag's first characters as one machine word, for the tests made on every
// tag: one load, one OR that folds the letters to lower case (as above), one
// compare.
class TagStart {
public:
    consteval explicit TagStart(std::string_view lower) : length(lower.size()) {
        if (lower.size() > sizeof(std::uint64_t)) {
            throw "a tag start is at most 8 characters"; // stops the compilation
        }
        std::array<char, sizeof(std::uint64_t)> chars{}, folds{};
        for (std::size_t i = 0; i < lower.size(); ++i) {
            chars[i] = lower[i];
            folds[i] = lower[i] >= 'a' && lower[i] <= 'z' ? 0x20 : 0;
        }
        word = std::bit_cast<std::uint64_t>(chars);
        foldMask = std::bit_cast<std::uint64_t>(folds);
    }

    bool begins(std::string_view tag) const {
        if (tag.size() < length) {
            return false;
        }
        std::uint64_t head = 0;
        std::memcpy(&head, tag.data(), length);
        return (head | foldMask) == word;
    }

    std::size_t size() const { return length; }

private:
    std::size_t length;
    std::uint64_t word = 0, foldMask = 0;
};

constexpr TagStart linkTag("<a ");
constexpr TagStart imageTag("<img ");
constexpr TagStart cellTag("<td ");
constexpr TagStart cellEndTag("</td");
constexpr TagStart tableEndTag("</table");

// What a byte means to the attribute reader, looked up once per byte: the
// reader walks every attribute name of every tag the scanner reads.
enum class AttributeChar : unsigned char { plain, space, equals };

constexpr std::array<AttributeChar, 256> attributeChars = [] {
    std::array<AttributeChar, 256> table{};
    for (const char c : {' ', '\t', '\n', '\r'}) {
        table[static_cast<unsigned char>(c)] = AttributeChar::space;
    }
    table['='] = AttributeChar::equals;
    return table;
}();

AttributeChar attributeChar(char c) {
    return attributeChars[static_cast<unsigned char>(c)];
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number formed by the digits at the start of `text`, 0 when there are
// none. A page with an absurdly long digit run saturates instead of wrapping
// into a negative or small value.
std::int32_t leadingNumber(std::string_view text) {
    constexpr std::int32_t largest = std::numeric_limits<std::int32_t>::max();
    std::int32_t value = 0;
    for (const char c : text) {
        if (!isDigit(c)) {
            break;
        }
        const std::int32_t digit = c - '0';
        if (value > (largest - digit) / 10) {
            return largest;
        }
        value = value * 10 + digit;
    }
    return value;
}

// Sets `id` from the digits after `marker` when the tag holds the marker; the
// site never uses id 0, so a missing or zero number means "none".
void takeIdAfter(std::string_view tag, std::string_view marker, std::int32_t& id) {
    const std::size_t at = tag.find(marker);
    if (at == std::string_view::npos) {
        return;
    }
    const std::int32_t value = leadingNumber(tag.substr(at + marker.size()));
    id = value == 0 ? -1 : value;
}

// Calls `take`(name, value) for every attribute that has a value, in the
// order of the text. The scanner wants one to three attributes of a tag and
// keeps them as views into the page, so nothing is copied or allocated here.
template <typename Take> void forEachAttribute(std::string_view s, Take&& take) {
    // An unquoted last value runs into the tag's closing ">", which is not
    // part of it.
    const bool closesTag = !s.empty() && s.back() == '>';
    std::size_t at = 0;
    while (at < s.size()) {
        while (at < s.size() && attributeChar(s[at]) == AttributeChar::space) {
            ++at;
        }
        const std::size_t nameStart = at;
        while (at < s.size() && attributeChar(s[at]) == AttributeChar::plain) {
            ++at;
        }
        if (at >= s.size() || s[at] != '=') {
            ++at; // an attribute without a value says nothing we use
            continue;
        }
        const std::string_view name = s.substr(nameStart, at - nameStart);
        ++at;
        char delimiter = ' ';
        if (at < s.size() && (s[at] == '"' || s[at] == '\'')) {
            delimiter = s[at];
            ++at;
        }
        const std::size_t valueEnd = std::min(s.find(delimiter, at), s.size());
        std::string_view value = s.substr(at, valueEnd - at);
        if (valueEnd == s.size() && closesTag && !value.empty()) {
            value.remove_suffix(1);
        }
        take(name, value);
        at = valueEnd + 1;
    }
}

std::string_view attributeText(std::string_view tag, std::size_t tagNameLength) {
    return tag.substr(tagNameLength, attributeTextLimit);
}

// Bit i is set when byte `start` + i of the page is a "<" or a ">" (up to 64
// bytes). Tags and the text between them are mostly a few bytes long, too
// short for a search per tag to pay for itself; marking a block at a time
// lets the scanner go from bracket to bracket by bit arithmetic.
constexpr std::size_t markBlockSize = 64;

#if defined(__SSE2__)
std::uint64_t matchBits(__m128i matches) {
    return static_cast<std::uint16_t>(_mm_movemask_epi8(matches));
}
#endif

std::uint64_t bracketMarks(std::string_view page, std::size_t start) {
    const char* bytes = page.data() + start;
    const std::size_t length = std::min(markBlockSize, page.size() - start);
    std::uint64_t marks = 0;
#if defined(__SSE2__)
    if (length == markBlockSize) {
        const __m128i open = _mm_set1_epi8('<');
        const __m128i close = _mm_set1_epi8('>');
        for (std::size_t part = 0; part < markBlockSize; part += 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + part));
            const __m128i brackets =
                _mm_or_si128(_mm_cmpeq_epi8(chunk, open), _mm_cmpeq_epi8(chunk, close));
            marks |= matchBits(brackets) << part;
        }
        return marks;
    }
#endif
    for (std::size_t i = 0; i < length; ++i) {
        marks |= std::uint64_t{bytes[i] == '<' || bytes[i] == '>'} << i;
    }
    return marks;
}

// The classes of table cell the scanner cares about; every other class counts
// as `other`. Kept as a kind rather than the class text so that the cell end,
// met on every "</td", is a plain switch.
enum class CellKind { other, series, date, title, photographer, specs, cover };

CellKind cellKindOf(std::string_view cls) {
    switch (cls.size()) {
    case 4:
        return equalsNoCase(cls, "date") ? CellKind::date : CellKind::other;
    case 5:
        if (equalsNoCase(cls, "title")) {
            return CellKind::title;
        }
        if (equalsNoCase(cls, "specs")) {
            return CellKind::specs;
        }
        return equalsNoCase(cls, "cover") ? CellKind::cover : CellKind::other;
    case 6:
        return equalsNoCase(cls, "series") ? CellKind::series : CellKind::other;
    case 12:
        return equalsNoCase(cls, "photographer") ? CellKind::photographer : CellKind::other;
    default:
        return CellKind::other;
    }
}

// The state of one scan. Link and cover are views into the page (tags are
// contiguous in it); cell texts skip the tags inside a cell, so they are
// collected into strings whose buffers are reused from cell to cell.
class PageScanner {
public:
    explicit PageScanner(const std::function<void(ParsedSeries&&)>& emit_) : emit(emit_) {}

    void scan(std::string_view page) {
        bool inTag = false;
        std::size_t textStart = 0, tagStart = 0;
        for (std::size_t block = 0; block < page.size(); block += markBlockSize) {
            for (std::uint64_t marks = bracketMarks(page, block); marks != 0; marks &= marks - 1) {
                const std::size_t at = block + static_cast<std::size_t>(std::countr_zero(marks));
                if (!inTag) {
                    if (page[at] == '<') {
                        collectText(page.substr(textStart, at - textStart));
                        inTag = true;
                        tagStart = at;
                    }
                } else if (page[at] == '>') {
                    inTag = false;
                    handleTag(page.substr(tagStart, at + 1 - tagStart));
                    textStart = at + 1;
                }
            }
        }
        // Text after the last complete tag is never stored, and an
        // unterminated tag swallows the rest of the page: nothing left to do.
    }

private:
    void collectText(std::string_view text) {
        if (collecting) {
            cellText.append(text);
        }
    }

    void handleTag(std::string_view tag) {
        if (inSpecs) {
            // Inside the specs cell links carry ids, never the series link.
            // Most tags there carry no query at all; one search rules them out.
            if (tag.find('?') != std::string_view::npos) {
                takeIdAfter(tag, "?remove=", favoriteId);
                takeIdAfter(tag, "?model_id=", modelId);
            }
            handleTableTag(tag);
        } else if (linkTag.begins(tag)) {
            readLink(attributeText(tag, linkTag.size()));
            return; // a link alone never completes a block
        } else if (imageTag.begins(tag)) {
            readImage(attributeText(tag, imageTag.size()));
        } else {
            handleTableTag(tag);
        }
        emitWhenComplete();
    }

    void readLink(std::string_view attributes) {
        std::string_view href;
        forEachAttribute(attributes, [&href](std::string_view name, std::string_view value) {
            if (name == "href") {
                href = value;
            }
        });
        seriesLink = href;
    }

    void readImage(std::string_view attributes) {
        std::string_view src, width, height;
        forEachAttribute(attributes, [&](std::string_view name, std::string_view value) {
            if (name == "src") {
                src = value;
            } else if (name == "width") {
                width = value;
            } else if (name == "height") {
                height = value;
            }
        });
        if ((width == "113" && height == "170") ||
            src.find("logo1.jpg") != std::string_view::npos) {
            coverSource = src;
        }
    }

    void handleTableTag(std::string_view tag) {
        if (cellTag.begins(tag)) {
            std::string_view cls;
            forEachAttribute(attributeText(tag, cellTag.size()),
                             [&cls](std::string_view name, std::string_view value) {
                                 if (name == "class") {
                                     cls = value;
                                 }
                             });
            startCell(cls);
        } else if (cellEndTag.begins(tag)) {
            endCell();
        } else if (tableEndTag.begins(tag)) {
            tableEnded = true;
        }
    }

    void startCell(std::string_view cls) {
        cellClass = cellKindOf(cls);
        switch (cellClass) {
        case CellKind::specs:
            inSpecs = true;
            collecting = true;
            break;
        case CellKind::series:
        case CellKind::date:
        case CellKind::title:
        case CellKind::photographer:
            collecting = true;
            break;
        case CellKind::cover:
            // A new block begins: the end of an earlier table (page chrome)
            // must not complete it.
            tableEnded = false;
            break;
        case CellKind::other:
            break;
        }
    }

    void endCell() {
        if (collecting && !cellText.empty()) {
            switch (cellClass) {
            case CellKind::series:
                model = cellText;
                break;
            case CellKind::date:
                date = cellText;
                break;
            case CellKind::title:
                title = cellText;
                break;
            case CellKind::photographer:
                photographer.assign(std::string_view(cellText).starts_with("BY ")
                                        ? std::string_view(cellText).substr(3)
                                        : std::string_view(cellText));
                break;
            case CellKind::specs:
                // Only a specs cell with text ends the specs part; an empty
                // one keeps links and images there out of the series.
                inSpecs = false;
                photoCount = leadingNumber(cellText);
                break;
            case CellKind::cover:
            case CellKind::other:
                break;
            }
        }
        collecting = false;
        cellText.clear();
    }

    void emitWhenComplete() {
        if (!tableEnded || seriesLink.empty() || coverSource.empty() || model.empty() ||
            title.empty() || photographer.empty() || date.empty()) {
            return;
        }
        ParsedSeries series;
        series.title = std::move(title);
        series.seriesLink = std::string(seriesLink);
        series.date = std::move(date);
        series.model = std::move(model);
        series.photographer = std::move(photographer);
        series.coverSource = std::string(coverSource);
        // A page that gives no count leaves it to be determined later.
        series.photoCount = photoCount == 0 ? photoCountUnknown : photoCount;
        series.favoriteId = favoriteId;
        series.modelId = modelId;

        title.clear();
        seriesLink = {};
        date.clear();
        model.clear();
        photographer.clear();
        coverSource = {};
        photoCount = 0;
        favoriteId = -1;
        modelId = -1;
        tableEnded = false;

        emit(std::move(series));
    }

    const std::function<void(ParsedSeries&&)>& emit;

    CellKind cellClass = CellKind::other;
    bool collecting = false;
    std::string cellText;
    bool inSpecs = false;
    bool tableEnded = false;

    std::string_view seriesLink, coverSource;
    std::string model, date, title, photographer;
    std::int32_t photoCount = 0;
    std::int32_t favoriteId = -1, modelId = -1;
};

} // namespace

TagAttributes readTagAttributes(std::string_view text) {
    TagAttributes record;
    forEachAttribute(text, [&record](std::string_view name, std::string_view value) {
        if (name == "href") {
            record.href = value;
        } else if (name == "width") {
            record.width = value;
        } else if (name == "height") {
            record.height = value;
        } else if (name == "alt") {
            record.alt = value;
        } else if (name == "src") {
            record.src = value;
        } else if (name == "name") {
            record.name = value;
        } else if (name == "class") {
            record.cls = value;
        }
    });
    return record;
}

void scanArchivePage(std::string_view page, const std::function<void(ParsedSeries&&)>& emit) {
    PageScanner(emit).scan(page);
}

std::vector<ParsedSeries> scanPageSeries(std::string_view page) {
    std::vector<ParsedSeries> found;
    scanArchivePage(page, [&found](ParsedSeries&& series) { found.push_back(std::move(series)); });
    return found;
}

} // namespace zob
