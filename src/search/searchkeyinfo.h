#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zob {

class ArtListList;
class DebugLog;
struct FetchEnv;

// One name of a search table and the site's number for it.
struct SearchKeyEntry {
    std::string name;
    std::int32_t number = 0;

    bool operator==(const SearchKeyEntry&) const = default;
};

// Insertion order, duplicates allowed: the first entry of a name wins.
using SearchKeyTable = std::vector<SearchKeyEntry>;

// The first entry named `name`, letter case ignored (ASCII).
const SearchKeyEntry* findSearchKey(const SearchKeyTable& table, std::string_view name);

// The search key index: the site's numbers for models, photographers and
// countries, kept in "searchInfo.csv" of the index folder. Lines it cannot
// read are skipped and told to the debug log; nothing here throws for bad
// content, so a damaged file or page never stops a search.
class searchKeyInfoClass {
public:
    // Reads the file at once; the site is asked only when a lookup needs it.
    searchKeyInfoClass(const ArtListList& registry, DebugLog& debugLog);

    searchKeyInfoClass(const searchKeyInfoClass&) = delete;
    searchKeyInfoClass& operator=(const searchKeyInfoClass&) = delete;

    // Replaces the tables with what the file holds; a missing file gives
    // empty tables. Clears `modified`.
    void loadSearchInfo();
    // Replaces the file atomically; throws std::system_error when it cannot.
    void saveSearchInfo() const;
    // Saves when `modified` is set, for the end of the run. A failure is
    // logged, not thrown: losing the learned tables is not worth a crash.
    // True when nothing was left unsaved.
    bool saveIfModified();

    // Appends the model and photographer choices of the site's search page.
    // Sets `modified` when something was learned, so that it is kept.
    void refreshFromSite(const FetchEnv& env);
    // Appends the options of one select element's text to `table`.
    void parseOptions(SearchKeyTable& table, std::string_view text);

    // The site's number for a photographer; asks the site first while the
    // model table is empty. Nothing for a name the index does not know.
    std::optional<std::int32_t> photographerId(std::string_view name, const FetchEnv& env);

    std::filesystem::path filePath() const;

    SearchKeyTable photographers;
    SearchKeyTable models;
    SearchKeyTable countries;
    bool modified = false;

private:
    void skipped(const std::string& what) const;
    // The file's text; nothing when there is no file or it cannot be read.
    std::optional<std::string> readIndexFile() const;
    // True when the first line is the version header rather than a table line.
    bool readVersionHeader(std::string_view line, const std::string& where) const;
    // The table a section marker line starts; null for any other line.
    SearchKeyTable* tableOfMarker(std::string_view line);
    // Adds the "NAME,NUMBER" line to the section's table, or tells why not.
    void addEntry(SearchKeyTable* target, std::string_view line, const std::string& where) const;

    const ArtListList& registry_;
    DebugLog& debugLog_;
};

} // namespace zob
