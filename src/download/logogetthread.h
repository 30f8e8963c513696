#pragma once

#include "download/downloadenv.h"
#include "download/threadmanager.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zob {

class ArtList;
class HttpClient;
class SeriesRec;

// The worker of a list's cover job: jobs 1..N are the small covers of the
// list's series in order, N+1..2N the large ones. Failures never shorten
// the run: every cover is announced, fetched or not. After a cover this
// machine could not store (a full disk), the rest are announced without
// being fetched, as offline, rather than failing one by one.
class LogoGetThread final : public myActionThread {
public:
    LogoGetThread(std::weak_ptr<ArtList> artList, bool offlineMode, const DownloadEnv& env);

    std::string_view className() const override { return "LogoGetThread"; }

    // Weak: the list keeps its cover job in `logoJob` for good, and a strong
    // reference back would keep both alive forever. The run holds it strongly.
    const std::weak_ptr<ArtList> list;
    const bool offline;

private:
    void run() override;
    // False when no further cover should be fetched in this run.
    bool fetchLogo(SeriesRec& record, bool small, HttpClient& http);
    void log(const std::string& text, bool append) const;

    DownloadEnv env_;
};

} // namespace zob
