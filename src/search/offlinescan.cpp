#include "search/offlinescan.h"

#include "catalogue/artlist.h"
#include "catalogue/artlistlist.h"
#include "catalogue/cataloguefile.h"
#include "catalogue/monthlyartlist.h"
#include "platform/debuglog.h"
#include "site/joining.h"
#include "site/sitenames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace zob {

namespace {

// Removes the gathered lines' file however the scan ends.
class RemoveOnExit {
public:
    explicit RemoveOnExit(std::filesystem::path path) : path_(std::move(path)) {}
    RemoveOnExit(const RemoveOnExit&) = delete;
    RemoveOnExit& operator=(const RemoveOnExit&) = delete;
    ~RemoveOnExit() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }

private:
    std::filesystem::path path_;
};

// Reads a whole file into `text`, reusing its storage from month to month.
// False when it is no regular file or cannot be read.
bool readWhole(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        text.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t got = ::read(fd, text.data() + done, text.size() - done);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;
            }
            done += static_cast<std::size_t>(got);
        }
        // A file that shrank meanwhile is taken as far as it went.
        text.resize(done);
        ok = !(done == 0 && info.st_size > 0);
    }
    ::close(fd);
    return ok;
}

// Appends every line of `text` holding `name` to `out`, ended by CR LF. Only
// the lines that match are touched: the search runs over the whole text and
// a hit is widened to its line.
void collectMatches(std::string_view text, std::string_view name, std::string& out) {
    std::size_t from = 0;
    // The header names a file version; it is no series.
    if (text.starts_with(catalogueHeaderPrefix)) {
        from = text.find('\n');
        if (from == std::string_view::npos) {
            return;
        }
        ++from;
    }
    while (from < text.size()) {
        const void* hit =
            ::memmem(text.data() + from, text.size() - from, name.data(), name.size());
        if (hit == nullptr) {
            return;
        }
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        // `from` always starts a line, so the line's start is not before it.
        const std::size_t newline = text.rfind('\n', at);
        const std::size_t lineStart = newline == std::string_view::npos ? 0 : newline + 1;
        std::size_t lineEnd = text.find('\n', at);
        if (lineEnd == std::string_view::npos) {
            lineEnd = text.size();
        }
        std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        out += line;
        out += "\r\n";
        from = lineEnd + 1;
    }
}

void writeGathered(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::system_error(errno != 0 ? errno : EIO, std::generic_category(),
                                "cannot write " + path.string());
    }
}

} // namespace

bool offlineScan(ArtList& list, const std::string& searchName,
                 const OfflineScanSettings& settings) {
    const YearMonth today = settings.today ? settings.today() : currentYearMonth();
    std::string gathered;
    int monthsRead = 0;
    // A line never holds a line break, so such a name cannot match either.
    const bool canMatch =
        !searchName.empty() && searchName.find_first_of("\r\n") == std::string::npos;
    if (canMatch) {
        const std::string indexFolder = list.registry().localPath(indexFolderName);
        std::string text;
        monthlyArtList month(list.registry(), today.year, today.month);
        // Like the menu and the load-status lists, the walk leaves out the
        // site's first year; a clock in that year or earlier reads its month alone.
        do {
            const std::string path = joinPath(indexFolder, monthlyCsvName(month.year, month.month));
            if (readWhole(path, text)) {
                ++monthsRead;
                if (settings.progress != nullptr) {
                    char message[64];
                    std::snprintf(message, sizeof message, "check %d/%d archive ... ", month.year,
                                  month.month);
                    settings.progress->showProgressText(message);
                }
                collectMatches(text, searchName, gathered);
            }
            month.prevMonth();
        } while (month.year > firstSiteYear);
    }

    // The lines go through a file so that they are read exactly as any
    // catalogue file is; without a header they read as the oldest version.
    const RemoveOnExit removeGathered(settings.temporaryFile);
    writeGathered(settings.temporaryFile, gathered);
    if (!gathered.empty()) {
        list.loadFromFile(settings.temporaryFile.string());
    }
    if (settings.debugLog != nullptr) {
        settings.debugLog->dbgLog("offline scan \"" + searchName +
                                      "\": " + std::to_string(monthsRead) + " months, " +
                                      std::to_string(list.size()) + " series",
                                  true);
    }
    return !gathered.empty();
}

} // namespace zob
