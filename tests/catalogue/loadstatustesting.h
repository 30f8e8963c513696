#pragma once

#include "catalogue/seriesrec.h"
#include "testsupport/filetesting.h"

#include <filesystem>
#include <initializer_list>

// Puts a series' picture files on disk, where the record looks for them, so
// its resolution sets come out as a test needs them.

namespace zob::loadstatustest {

inline void putPictures(const SeriesRec& record, Resolution resolution,
                        std::initializer_list<int> numbers) {
    for (const int number : numbers) {
        const std::filesystem::path file = record.localPictureFile(resolution, number);
        std::filesystem::create_directories(file.parent_path());
        writeBytes(file, "jpeg");
    }
}

} // namespace zob::loadstatustest
