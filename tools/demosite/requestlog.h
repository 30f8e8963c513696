#pragma once

#include "demosite/demosite.h"

#include <filesystem>
#include <fstream>
#include <mutex>
#include <vector>

namespace demosite {

// Every request the site answered, in arrival order; optionally mirrored to a
// file, one line per request.
class RequestLog {
public:
    explicit RequestLog(const std::filesystem::path& file);
    void add(LoggedRequest request);
    std::vector<LoggedRequest> entries() const;
    void clear();

private:
    mutable std::mutex lock;
    std::vector<LoggedRequest> list;
    std::ofstream mirror;
};

// "GET /members/home.html 200 auth cookie ua=\"...\"": what the file holds.
std::string logLine(const LoggedRequest& request);

} // namespace demosite
