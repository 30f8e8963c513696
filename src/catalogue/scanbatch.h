#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zob {

class ArtListList;

// While one lives on a thread, the series scans on that thread remember the
// local year folders they found missing, so that reading a catalogue file
// looks for a year folder once instead of once per series. Keep one no longer
// than a single load: a download may create a folder at any moment.
class LocalScanBatch {
public:
    LocalScanBatch();
    ~LocalScanBatch();
    LocalScanBatch(const LocalScanBatch&) = delete;
    LocalScanBatch& operator=(const LocalScanBatch&) = delete;

    // The innermost batch alive on this thread, null when none.
    static LocalScanBatch* active();

    // Year folders by name under the local folder of `registry`.
    bool isKnownMissing(const ArtListList& registry, std::string_view yearFolder) const;
    void rememberMissing(const ArtListList& registry, std::string yearFolder);

private:
    LocalScanBatch* outer_;
    std::vector<std::pair<const ArtListList*, std::string>> missing_;
};

} // namespace zob
