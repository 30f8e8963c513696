#pragma once

// What the fuzz targets share: a scratch local folder for the process, a
// registry over it and a list kind to read catalogues into.

#include "catalogue/artlist.h"
#include "catalogue/artlistlist.h"
#include "config/configinfo.h"
#include "site/sitenames.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>

namespace zob::fuzz {

// A folder of the process's own under the temporary folder, removed when
// libFuzzer ends the run with exit(). scripts/fuzz points TMPDIR at memory
// when it can (the saves under test flush to the disk, thousands of times a
// second) and removes what a crash leaves there.
class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("zob-fuzz-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_ / indexFolderName);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline const std::filesystem::path& scratchFolder() {
    static const ScratchFolder folder;
    return folder.path();
}

inline void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A registry whose local folder is the scratch folder.
struct Registry {
    configInfoClass config = [] {
        configInfoClass made = configInfoClass::defaults(scratchFolder() / iniFileName);
        made.local = scratchFolder().string();
        return made;
    }();
    ArtListList lists{"http://127.0.0.1:9", config};
};

// A month of the gallery, the kind most catalogue files belong to.
class MonthList : public ArtList {
public:
    explicit MonthList(ArtListList& registry) : ArtList(registry) { siteSection = "gallery"; }

    std::string siteFolder() const override { return "2008"; }
    std::string csvFileName() const override { return monthlyCsvName(2008, 3); }
    std::string pageFileName() const override { return monthlyPageName(2008, 3); }
    std::shared_ptr<ArtList> cloneEmpty() const override {
        return std::make_shared<MonthList>(registry());
    }
    std::string caption() const override { return csvFileName(); }
    std::string menuCaption() const override { return csvFileName(); }
};

// Ends the run with a message libFuzzer reports as a crash, input saved.
[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "round trip failed: %s\n", what.c_str());
    std::abort();
}

} // namespace zob::fuzz
