#include "config/configinfo.h"

#include "platform/profilefile.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <utility>

namespace zob {
namespace {

bool readBool(const ProfileFile& ini, std::string_view section, std::string_view key,
              bool defaultValue) {
    return ini.readInt(section, key, defaultValue ? 1 : 0) != 0;
}

void writeInt(ProfileFile& ini, std::string_view section, std::string_view key,
              std::int32_t value) {
    ini.writeString(section, key, std::to_string(value));
}

void writeBool(ProfileFile& ini, std::string_view section, std::string_view key, bool value) {
    ini.writeString(section, key, value ? "1" : "0");
}

} // namespace

std::string defaultLocalFolder() {
    const char* home = std::getenv("HOME");
    std::filesystem::path base;
    if (home != nullptr && *home != '\0') {
        base = home;
    } else {
        std::error_code ignored;
        base = std::filesystem::current_path(ignored);
    }
    return (base / "Zel-Ora").string();
}

configInfoClass::configInfoClass(std::filesystem::path iniPath, NoLoad)
    : iniPath_(std::move(iniPath)) {}

configInfoClass::configInfoClass(std::filesystem::path iniPath)
    : configInfoClass(std::move(iniPath), NoLoad{}) {
    loadFromIni();
}

configInfoClass configInfoClass::defaults(std::filesystem::path iniPath) {
    return configInfoClass(std::move(iniPath), NoLoad{});
}

void configInfoClass::loadFromIni() {
    const ProfileFile ini(iniPath_);
    const configInfoClass d = defaults(iniPath_);

    login = ini.readString(iniSectionUser, "login", d.login);
    password = ini.readString(iniSectionUser, "password", d.password);

    useProxy = readBool(ini, iniSectionProxy, "useProxy", d.useProxy);
    server = ini.readString(iniSectionProxy, "server", d.server);
    port = ini.readString(iniSectionProxy, "port", d.port);

    local = ini.readString(iniSectionEnv, "local", d.local);
    viewerCmd = ini.readString(iniSectionEnv, "viewerCmd", d.viewerCmd);
    viewerParam = ini.readString(iniSectionEnv, "viewerParam", d.viewerParam);
    offline = readBool(ini, iniSectionEnv, "offline", d.offline);
    // Only the low byte is kept, so an out-of-range value such as 258 reads as 2.
    resolution = static_cast<std::uint8_t>(ini.readInt(iniSectionEnv, "resolution", d.resolution));
    historyCount = ini.readInt(iniSectionEnv, "historyCount", d.historyCount);

    mainWidth = ini.readInt(iniSectionWindow, "mainWidth", d.mainWidth);
    mainHeight = ini.readInt(iniSectionWindow, "mainHeight", d.mainHeight);
    mainX = ini.readInt(iniSectionWindow, "mainX", d.mainX);
    mainY = ini.readInt(iniSectionWindow, "mainY", d.mainY);
    sideWidth = ini.readInt(iniSectionWindow, "sideWidth", d.sideWidth);
    sideHeight = ini.readInt(iniSectionWindow, "sideHeight", d.sideHeight);
    sideX = ini.readInt(iniSectionWindow, "sideX", d.sideX);
    sideY = ini.readInt(iniSectionWindow, "sideY", d.sideY);

    dbgHost = ini.readString(iniSectionDebug, "dbgHost", d.dbgHost);
    noSplash = readBool(ini, iniSectionDebug, "noSplash", d.noSplash);
    htmlToFile = ini.readString(iniSectionDebug, "htmlToFile", d.htmlToFile);
    srchHist = ini.readInt(iniSectionDebug, "srchHist", d.srchHist);
    dbgMemo = ini.readInt(iniSectionDebug, "dbgMemo", d.dbgMemo);
    dbgWait = ini.readInt(iniSectionDebug, "dbgWait", d.dbgWait);
    dbgNoImg = readBool(ini, iniSectionDebug, "dbgNoImg", d.dbgNoImg);
    slideshowSeconds =
        std::max(1, ini.readInt(iniSectionViewer, "slideshowSeconds", d.slideshowSeconds));
    parallelSeries = std::max(1, ini.readInt(iniSectionQueue, "parallelSeries", d.parallelSeries));

    retries = ini.readInt(iniSectionNet, "retries", d.retries);
    retryDelayMs = ini.readInt(iniSectionNet, "retryDelayMs", d.retryDelayMs);
    connectionsPerHost = ini.readInt(iniSectionNet, "connectionsPerHost", d.connectionsPerHost);
    requestIntervalMs = ini.readInt(iniSectionNet, "requestIntervalMs", d.requestIntervalMs);
    bandwidthLimitKBps = ini.readInt(iniSectionNet, "bandwidthLimitKBps", d.bandwidthLimitKBps);
}

void configInfoClass::writeNetSettings(ProfileFile& ini, const configInfoClass& d) const {
    // A key at its default is left out, so a later change of the default reaches the user.
    const auto writeChanged = [&ini](std::string_view key, std::int32_t value,
                                     std::int32_t byDefault) {
        if (value != byDefault) {
            writeInt(ini, iniSectionNet, key, value);
        } else {
            ini.deleteKey(iniSectionNet, key);
        }
    };
    writeChanged("retries", retries, d.retries);
    writeChanged("retryDelayMs", retryDelayMs, d.retryDelayMs);
    writeChanged("connectionsPerHost", connectionsPerHost, d.connectionsPerHost);
    writeChanged("requestIntervalMs", requestIntervalMs, d.requestIntervalMs);
    writeChanged("bandwidthLimitKBps", bandwidthLimitKBps, d.bandwidthLimitKBps);
}

void configInfoClass::saveToIni() const {
    // Re-read at save time: whatever the user edited in the file while we ran is kept.
    ProfileFile ini(iniPath_);
    const configInfoClass d = defaults(iniPath_);

    ini.writeString(iniSectionUser, "login", login);
    ini.writeString(iniSectionUser, "password", password);
    writeBool(ini, iniSectionProxy, "useProxy", useProxy);
    ini.writeString(iniSectionProxy, "server", server);
    ini.writeString(iniSectionProxy, "port", port);
    ini.writeString(iniSectionEnv, "local", local);
    ini.writeString(iniSectionEnv, "viewerCmd", viewerCmd);
    ini.writeString(iniSectionEnv, "viewerParam", viewerParam);

    // Offline is a one-off choice: it is never stored as "0", only removed.
    if (offline) {
        ini.writeString(iniSectionEnv, "offline", "1");
    } else {
        ini.deleteKey(iniSectionEnv, "offline");
    }

    writeInt(ini, iniSectionEnv, "resolution", resolution);
    writeInt(ini, iniSectionEnv, "historyCount", historyCount);
    writeInt(ini, iniSectionWindow, "mainWidth", mainWidth);
    writeInt(ini, iniSectionWindow, "mainHeight", mainHeight);
    writeInt(ini, iniSectionWindow, "mainX", mainX);
    writeInt(ini, iniSectionWindow, "mainY", mainY);
    writeInt(ini, iniSectionWindow, "sideWidth", sideWidth);
    writeInt(ini, iniSectionWindow, "sideHeight", sideHeight);
    writeInt(ini, iniSectionWindow, "sideX", sideX);
    writeInt(ini, iniSectionWindow, "sideY", sideY);

    // Debug keys are the user's own hand edits: written only when switched away from the
    // default and never removed, so a key the user deleted or reset stays that way.
    if (dbgHost != d.dbgHost) {
        ini.writeString(iniSectionDebug, "dbgHost", dbgHost);
    }
    if (noSplash) {
        writeBool(ini, iniSectionDebug, "noSplash", noSplash);
    }
    if (htmlToFile != d.htmlToFile) {
        ini.writeString(iniSectionDebug, "htmlToFile", htmlToFile);
    }
    if (srchHist != d.srchHist) {
        writeInt(ini, iniSectionDebug, "srchHist", srchHist);
    }
    if (dbgMemo != d.dbgMemo) {
        writeInt(ini, iniSectionDebug, "dbgMemo", dbgMemo);
    }
    if (dbgWait != d.dbgWait) {
        writeInt(ini, iniSectionDebug, "dbgWait", dbgWait);
    }
    if (dbgNoImg) {
        writeBool(ini, iniSectionDebug, "dbgNoImg", dbgNoImg);
    }
    if (slideshowSeconds != d.slideshowSeconds) {
        writeInt(ini, iniSectionViewer, "slideshowSeconds", slideshowSeconds);
    }
    if (parallelSeries != d.parallelSeries) {
        writeInt(ini, iniSectionQueue, "parallelSeries", parallelSeries);
    }
    writeNetSettings(ini, d);

    ini.commit();
}

bool configInfoClass::iniFileMissing() const {
    // Only a definite "no such file" counts: a file we merely cannot examine is there,
    // and treating it as a first run would overwrite it with defaults.
    std::error_code ignored;
    return std::filesystem::status(iniPath_, ignored).type() ==
           std::filesystem::file_type::not_found;
}

} // namespace zob
