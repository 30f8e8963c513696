#include "download/downloadfile.h"

#include <filesystem>
#include <system_error>

namespace zob {

namespace fs = std::filesystem;

bool hasContent(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_regular_file(path, error) && fs::file_size(path, error) > 0 &&
           !error;
}

void makeParentFolder(const std::string& filePath) {
    const fs::path folder = fs::path(filePath).parent_path();
    std::error_code error;
    if (!folder.empty()) {
        fs::create_directories(folder, error);
    }
}

DownloadFile::DownloadFile(std::string tempPath) : path_(std::move(tempPath)) {
    makeParentFolder(path_);
    file_.reset(std::fopen(path_.c_str(), "w+b"));
}

DownloadFile::~DownloadFile() {
    discard();
}

bool DownloadFile::commitTo(const std::string& finalPath) {
    if (!file_) {
        return false;
    }
    const bool written = std::fflush(file_.get()) == 0;
    const long size = std::ftell(file_.get());
    const bool closed = std::fclose(file_.release()) == 0;
    std::error_code error;
    if (!written || !closed || size <= 0) {
        discard();
        return written && closed;
    }
    makeParentFolder(finalPath);
    // rename(2) replaces the target in one step, so a reader sees either the
    // old (empty) file or the whole new one.
    fs::rename(path_, finalPath, error);
    if (error) {
        discard();
        return false;
    }
    path_.clear();
    return true;
}

void DownloadFile::discard() {
    if (file_) {
        std::fclose(file_.release());
    }
    if (!path_.empty()) {
        std::error_code error;
        fs::remove(path_, error);
        path_.clear();
    }
}

} // namespace zob
