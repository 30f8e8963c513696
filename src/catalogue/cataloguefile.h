#pragma once

#include "catalogue/seriesrec.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zob {

class ArtList;

// The catalogue file: comma-separated text, lines ended by CR LF, a header
// "version=N" and then one line per series. Every version of the format can
// be read, since a file is rewritten only when its list changes and a folder
// so holds files of many versions; the newest form is written.

inline constexpr std::string_view catalogueHeaderPrefix = "version=";
// The version a file without the header is read as: the format's first form
// had none.
inline constexpr int headerlessCatalogueVersion = 52;

// What this program writes in the header: major*100 + minor*10 + release.
int catalogueVersion();

// The whole file for `records`, header included.
std::string catalogueText(const std::vector<SeriesPtr>& records);

// One record line, without its line end. The title's double quotes become
// "&quot;"; other texts double theirs. Line breaks inside a text are written
// as spaces so that a record always stays on one line.
std::string toCsvLine(const SeriesRec& record);

// The comma-text rule: fields separated by commas, white space and control
// characters between fields skipped, a field starting with a double quote
// running to its closing quote (two inside stand for one), any other field
// ending at a comma or white space, and a comma at the very end giving one
// more empty field.
std::vector<std::string> splitCommaText(std::string_view line);

// A record owned by `owner` from one line of a file of `version`. Throws
// CatalogueError for a missing field, a number that is not one or a series
// name that is malformed or unsafe.
SeriesPtr recordFromCsvLine(ArtList& owner, std::string_view line, int version);

// Reads the file's `text` up to its first empty line, handing each record to
// `append` as it is made. Throws CatalogueError "FILE, line N: why" at the
// first bad line (N counts from 1, the header included); the records before
// it have been handed over.
void readCatalogue(std::string_view text, const std::string& fileName, ArtList& owner,
                   const std::function<void(SeriesPtr)>& append);

} // namespace zob
