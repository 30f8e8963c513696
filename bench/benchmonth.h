#pragma once

// A month of `count` series whose catalogue file and small covers are written
// through the catalogue's own code into the local folder of `iniPath`, as the
// browser would have stored them. The covers use the seeds of bench_tilewall.

#include "app/appcontext.h"
#include "catalogue/monthlyartlist.h"
#include "demosite/content.h"
#include "demosite/jpegencoder.h"
#include "platform/scriptedprompt.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zob::bench {

// The cover files, in list order.
inline std::vector<std::string> writeBenchMonth(const std::filesystem::path& iniPath, int year,
                                                int month, std::size_t count) {
    ScriptedPrompt prompt{PromptAnswer::Ok};
    AppContext context(iniPath, prompt);
    const auto list = std::make_shared<monthlyArtList>(context.loadedArchives, year, month);
    const std::string folder = "/members/gallery/" + std::to_string(year) + "/";
    for (std::size_t i = 0; i < count; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "bench_%03zu_%04d%02d", i, year, month);
        char date[48];
        std::snprintf(date, sizeof date, "%04d/%02d/%02zu", year, month, 31 - i % 31);
        list->addParsed(std::string("Title of ") + name, folder + name + "/", date, "Ann Model",
                        "BY Carl", folder + name + "/cover.jpg", 24, -1, -1);
    }
    list->save(list->csvPath());
    std::vector<std::string> covers;
    for (std::size_t i = 0; i < count; ++i) {
        const std::filesystem::path cover = list->item(i)->localLogoFile(true);
        std::filesystem::create_directories(cover.parent_path());
        const std::string bytes =
            demosite::makeJpeg(demosite::SiteContent::coverSize(), 0x9E3779B97F4A7C15ull * (i + 1));
        std::ofstream(cover, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        covers.push_back(cover.string());
    }
    return covers;
}

} // namespace zob::bench
