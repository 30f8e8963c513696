#pragma once

#include "catalogue/seriesrec.h"
#include "download/downloadenv.h"
#include "download/threadmanager.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zob {

class HttpClient;

// The worker of a series download: job j is picture j of one resolution.
// It skips pictures on disk, stores the others, tells the window after each
// one and shortens the series' count when the site has fewer pictures.
class ImageGetThread final : public myActionThread {
public:
    ImageGetThread(SeriesPtr seriesRecord, std::uint8_t r, bool offlineMode,
                   const DownloadEnv& env);

    std::string_view className() const override { return "ImageGetThread"; }

    const SeriesPtr series;
    const std::uint8_t resolution;
    const bool offline;

private:
    enum class Outcome { stored, failed, endRun };

    void run() override;
    // Steps through one missing picture; `localFile` follows a switch of the
    // series to the archive address.
    Outcome fetchPicture(std::int32_t job, std::string& localFile, HttpClient& http);
    void log(const std::string& text, bool append) const;

    DownloadEnv env_;
};

} // namespace zob
