#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace zob {

// True when `path` names a regular file with at least one byte: an empty file
// is what an interrupted transfer leaves, so it counts as missing.
bool hasContent(const std::string& path);

// Creates the folder that will hold `filePath` (with its parents); errors are
// left to the open or rename that follows.
void makeParentFolder(const std::string& filePath);

// A worker's temporary download file. A picture or logo only ever appears
// under its final name after a complete, successful transfer: `commitTo`
// moves it there, everything else (including destruction) throws it away.
class DownloadFile {
public:
    // Creates (or truncates) `tempPath`, making its folder first.
    explicit DownloadFile(std::string tempPath);
    ~DownloadFile();

    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    std::FILE* file() const { return file_.get(); }

    // Closes the file and moves it onto `finalPath` (making its folder),
    // replacing an empty file left there earlier. Nothing is stored when the transfer delivered no
    // bytes. False when the file could not be written or moved.
    bool commitTo(const std::string& finalPath);
    // Closes and deletes the file.
    void discard();

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::string path_;
    std::unique_ptr<std::FILE, Closer> file_;
};

} // namespace zob
