#pragma once

#include <filesystem>
#include <memory>
#include <string>

// A real nginx on a free 127.0.0.1 port, configured and run from a private
// temporary folder, stopped (and the folder removed) on destruction.
//
//   /page.html             a small page          /big.bin     1 MiB of bytes
//   /empty.html            an empty page         /elsewhere   where /moved points
//   /moved                 302 to /elsewhere     /broken      500
//   /members/home.html     basic auth (demo/demo); /members without slash: 301
//   /setcookie             sets zobtest=yes      /needcookie  200 with that cookie, 403 without
//   /post                  200 "posted" for any method
class NginxServer {
public:
    // Starts nginx, or returns null and says why in `whyNot`.
    static std::unique_ptr<NginxServer> start(std::string& whyNot);
    ~NginxServer();
    NginxServer(const NginxServer&) = delete;
    NginxServer& operator=(const NginxServer&) = delete;

    std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::string bigBody() const;

private:
    static std::unique_ptr<NginxServer> startIn(std::string& whyNot);
    NginxServer(std::filesystem::path folder, int pid, int port)
        : folder_(std::move(folder)), pid_(pid), port_(port) {}

    std::filesystem::path folder_;
    int pid_;
    int port_;
};
