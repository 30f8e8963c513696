#pragma once

#include "site/fetchsink.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zob {

// True when `path` names a regular file with at least one byte: an empty file
// is what an interrupted transfer leaves, so it counts as missing.
bool hasContent(const std::string& path);

// Creates the folder that will hold `filePath` (with its parents); 0 or the
// system's error number.
int makeParentFolder(const std::string& filePath);

// Removes the temporary files that another (dead) process left in `folder`.
// Only one program at a time works in a local folder (see FolderLock), so a
// temporary file that is not ours belongs to a run that ended without
// cleaning up. A kept partial file stays for a later run to resume, unless
// its picture is complete by now. Missing folders and files that vanish
// meanwhile are fine.
void removeStaleParts(const std::string& folder);

// Where a picture, thumbnail or cover is fetched: a temporary file beside its
// final file (so the rename never crosses file systems) under a hidden name
// no other worker or process shares. A resumable file is ".NAME.part", one
// name per picture that a later run finds again; it is locked while open, and
// whoever finds it locked or taken falls back to ".NAME.PID-N.part". The file and its
// folder are made when the first byte arrives, so an answer that brings
// nothing (a "not found") leaves no empty series folder behind, which would
// hide that the series lives in the archive. The picture only ever appears
// under its final name after a complete, successful transfer: `commit`
// moves it there, everything else (including destruction) throws it away.
class DownloadFile : public FetchSink {
public:
    // A resumable file takes over the partial file an earlier transfer kept.
    explicit DownloadFile(std::string finalPath, bool resumable = false);
    ~DownloadFile() override;

    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;

    bool append(std::string_view bytes) override;
    Mark mark() const override;
    bool truncateTo(Mark position) override;
    bool flush() override;
    // A resumable file continues where its bytes end.
    std::optional<Mark> resumeOrigin() const override;

    const std::string& finalPath() const { return finalPath_; }
    // Empty until the first byte arrived.
    const std::string& temporaryPath() const { return path_; }

    // Whether the bytes so far start the way every JPEG file starts.
    bool startsLikeJpeg() const;

    // Closes the file and moves it onto the final name, replacing an empty
    // file left there earlier. 0, or the system's error number of the step
    // that failed (the temporary file is then gone too); ENODATA when no
    // byte ever arrived.
    int commit();
    // Closes and deletes the file, and the folders made for it when they
    // are empty.
    void discard();
    // Closes a resumable file and leaves it for a later transfer to continue
    // (a non-resumable one is discarded).
    void keep();

private:
    // Creates the temporary file (and its folder); 0 or the error number.
    int open();
    int openShared(const std::filesystem::path& target);
    int openUnique(const std::filesystem::path& target);
    // Takes the descriptor of a file just created or adopted at `path`.
    int take(int fd, std::string path);
    void adoptKeptFile();
    int makeFolders(const std::filesystem::path& folder);

    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::string finalPath_;
    bool resumable_;
    bool holdsSharedName_ = false;
    std::string path_;
    std::unique_ptr<std::FILE, Closer> file_;
    std::unique_ptr<FileSink> sink_;
    // The folders this file had to make, deepest first, removed again with
    // a transfer that broke.
    std::vector<std::string> madeFolders_;
};

} // namespace zob
