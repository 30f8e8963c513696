#include "demosite/requestlog.h"

#include <stdexcept>

namespace demosite {

RequestLog::RequestLog(const std::filesystem::path& file) {
    if (!file.empty()) {
        mirror.open(file, std::ios::app | std::ios::binary);
        if (!mirror) {
            throw std::runtime_error("cannot open request log " + file.string());
        }
    }
}

void RequestLog::add(LoggedRequest request) {
    const std::lock_guard guard(lock);
    if (mirror.is_open()) {
        mirror << logLine(request) << '\n' << std::flush;
    }
    list.push_back(std::move(request));
}

std::vector<LoggedRequest> RequestLog::entries() const {
    const std::lock_guard guard(lock);
    return list;
}

void RequestLog::clear() {
    const std::lock_guard guard(lock);
    list.clear();
}

std::string logLine(const LoggedRequest& request) {
    std::string line = request.method + " " + request.target + " " +
                       std::to_string(request.status) + (request.authorized ? " auth" : " noauth") +
                       (request.cookieReturned ? " cookie" : " nocookie") + " ua=\"" +
                       request.userAgent + "\"";
    if (!request.body.empty()) {
        line += " body=\"" + request.body + "\"";
    }
    return line + " port=" + std::to_string(request.clientPort) +
           " sent=" + std::to_string(request.bodyBytesSent);
}

} // namespace demosite
