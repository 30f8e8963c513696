#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zob {

class ProfileFile;

// The settings file, in the working directory of the process.
inline constexpr std::string_view iniFileName = "./ZObrowser.ini";

// Sections of the settings file, in the order a new file receives them.
inline constexpr std::string_view iniSectionUser = "user";
inline constexpr std::string_view iniSectionProxy = "proxy";
inline constexpr std::string_view iniSectionEnv = "env";
inline constexpr std::string_view iniSectionWindow = "window";
inline constexpr std::string_view iniSectionDebug = "debug";
inline constexpr std::string_view iniSectionViewer = "viewer";
inline constexpr std::string_view iniSectionQueue = "queue";
inline constexpr std::string_view iniSectionNet = "net";

// "Zel-Ora" in the user's home folder (the current folder when HOME is not set).
std::string defaultLocalFolder();

// All user settings of the program and their file. The member initialisers are the
// defaults a missing key falls back to.
class configInfoClass {
public:
    // Reads the settings from `iniPath` at once; a missing file leaves the defaults.
    // Throws std::system_error when the file exists but cannot be read.
    explicit configInfoClass(std::filesystem::path iniPath = std::filesystem::path(iniFileName));

    // Every field at its default, without touching any file.
    static configInfoClass
    defaults(std::filesystem::path iniPath = std::filesystem::path(iniFileName));

    void loadFromIni();

    // Writes every setting into the file in one atomic replacement, keeping the keys,
    // sections and comments it does not know. A new file is readable by its owner only,
    // as it holds the password. Throws std::system_error naming the file on failure; the
    // previous file is then left untouched.
    void saveToIni() const;

    // True when the settings file does not exist right now: the first run.
    bool iniFileMissing() const;

    const std::filesystem::path& iniPath() const { return iniPath_; }

    bool operator==(const configInfoClass&) const = default;

    std::string login;
    std::string password;
    bool useProxy = false;
    std::string server;
    std::string port;
    std::string local = defaultLocalFolder();
    std::string viewerCmd;
    std::string viewerParam = "%f";
    bool offline = false;
    std::uint8_t resolution = 2;
    std::int32_t historyCount = 16;
    std::string dbgHost;
    bool noSplash = false;
    std::string htmlToFile;
    std::int32_t srchHist = 8;
    std::int32_t dbgMemo = 0;
    std::int32_t mainWidth = 590;
    std::int32_t mainHeight = 730;
    std::int32_t mainX = -1;
    std::int32_t mainY = -1;
    std::int32_t sideWidth = 525;
    std::int32_t sideHeight = 790;
    std::int32_t sideX = -1;
    std::int32_t sideY = -1;
    std::int32_t dbgWait = 0;
    bool dbgNoImg = false;
    // The picture viewer's slideshow: seconds a picture stays (at least 1).
    std::int32_t slideshowSeconds = 4;
    // The download queue: series downloaded at once (at least 1).
    std::int32_t parallelSeries = 2;
    // How requests to the site behave on a real link ([net]; each key is
    // written only once it differs from its default).
    std::int32_t retries = 4;            // asks again after a busy site or a broken link
    std::int32_t retryDelayMs = 1000;    // the first wait; each further one doubles
    std::int32_t connectionsPerHost = 4; // transfers in flight at once, process-wide
    std::int32_t requestIntervalMs = 0;  // least time between two request starts
    std::int32_t bandwidthLimitKBps = 0; // all transfers together; 0 = no limit

private:
    struct NoLoad {};
    void writeNetSettings(ProfileFile& ini, const configInfoClass& d) const;
    configInfoClass(std::filesystem::path iniPath, NoLoad);

    std::filesystem::path iniPath_;
};

} // namespace zob
