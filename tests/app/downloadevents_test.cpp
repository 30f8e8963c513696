#include "app/downloadevents.h"
#include "catalogue/listtesting.h"
#include "download/queuedmessenger.h"
#include "download/threadmanager.h"
#include "platform/scriptedprompt.h"

#include <gtest/gtest.h>

namespace zob {
namespace {

using cataloguetest::addGallery;
using cataloguetest::CatalogueWorld;

class DownloadEvents : public ::testing::Test {
protected:
    DownloadEvents() { log.switchOn(); }

    static void put(const std::filesystem::path& file, std::string_view bytes = "jpeg") {
        std::filesystem::create_directories(file.parent_path());
        writeBytes(file, bytes);
    }
    void putAll(Resolution r) {
        for (int n = 1; n <= series->photoCount; ++n) {
            put(series->localPictureFile(r, n));
        }
    }

    CatalogueWorld world;
    std::shared_ptr<cataloguetest::MonthList> march = world.month(2008, 3);
    SeriesPtr series = addGallery(*march, "ab_cd_200803", 3, "Spring");
    DebugLog log;
    ScriptedPrompt prompt;
};

TEST_F(DownloadEvents, JobEndsTakeTheStateFromTheDisk) {
    putAll(resThumb);
    put(series->localPictureFile(resLow, 1));
    thumbnailJobEnded(*series);
    EXPECT_EQ(series->statusText(), "Tl--");

    putAll(resLow);
    pictureJobEnded(*series, prompt);
    EXPECT_EQ(series->statusText(), "TL--");
    // No large cover yet: no folder picture either.
    EXPECT_FALSE(std::filesystem::exists(series->folderPictureFile()));
}

TEST_F(DownloadEvents, PictureJobEndCopiesTheLargeCoverOverTheFolderPicture) {
    putAll(resLow);
    put(series->folderPictureFile(), "old");
    put(series->localLogoFile(false), "");
    pictureJobEnded(*series, prompt);
    EXPECT_EQ(readBytes(series->folderPictureFile()), "old") << "an empty cover is no cover";

    put(series->localLogoFile(false), "large cover");
    pictureJobEnded(*series, prompt);
    EXPECT_EQ(readBytes(series->folderPictureFile()), "large cover");
}

TEST_F(DownloadEvents, SpecUpdateMarksEveryListHoldingTheSeries) {
    const auto favorites = world.named("favorites.csv");
    const auto other = world.named("other.csv");
    for (const auto& list : {ArtListPtr(march), ArtListPtr(favorites), ArtListPtr(other)}) {
        world.registry.registerList(list);
    }
    SeriesPtr shared = series;
    favorites->addRecord(shared);
    addGallery(*other, "ef_gh_200803");
    for (const auto& list : {ArtListPtr(march), ArtListPtr(favorites), ArtListPtr(other)}) {
        list->saved = true;
    }

    series->photoCount = 2;
    seriesSpecUpdated(*series, world.registry, log);
    EXPECT_FALSE(march->saved);
    EXPECT_FALSE(favorites->saved);
    EXPECT_TRUE(other->saved);

    // A second update replaces the trace line instead of adding one.
    series->photoCount = 1;
    seriesSpecUpdated(*series, world.registry, log);
    const auto lines = log.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find("Upd:Spring-1"), std::string::npos) << lines.back();
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_EQ(lines[i].find("Upd:Spring-"), std::string::npos) << lines[i];
    }
}

// Managers with no worker end as soon as they start, sending their messages
// from the starting thread: the whole free path without any download.
class ManagerFreed : public DownloadEvents {
protected:
    std::shared_ptr<threadManagerNg> makeManager(std::uint16_t doneMessage, SeriesPtr first) {
        auto manager = threadManagerNg::create(registry, 0, [] { return nullptr; });
        manager->window = &window;
        manager->doneMessage = doneMessage;
        manager->doneWParam = std::move(first);
        return manager;
    }

    ManagerRegistry registry{log};
    DeferredJoins joins;
    std::vector<std::size_t> liveCounts;
    QueuedMessenger window{[this](const WindowMessage& message) {
        if (message.id == WM_freeThreadMngrNg) {
            liveCounts.push_back(managerFreed(message, registry, joins));
        }
    }};
};

TEST_F(ManagerFreed, DetachesOnlyTheEndedJobAndCountsTheRest) {
    auto thumbs = makeManager(WM_loadedThumbAll, series);
    auto pictures = makeManager(WM_loadedLargeAll, series);
    series->thumbJob = thumbs;
    series->pictureJob = pictures;
    ASSERT_EQ(registry.size(), 2u);

    thumbs->start(0);
    EXPECT_EQ(series->thumbJob, nullptr);
    EXPECT_EQ(series->pictureJob, pictures);
    pictures->start(0);
    EXPECT_EQ(series->pictureJob, nullptr);

    EXPECT_EQ(liveCounts, (std::vector<std::size_t>{1, 0}));
    EXPECT_EQ(joins.size(), 2u);
    EXPECT_EQ(joins.drain(), 2u);
    EXPECT_EQ(joins.size(), 0u);
}

TEST_F(ManagerFreed, ForeignManagerLeavesTheSeriesJobsAlone) {
    auto attached = makeManager(WM_loadedThumbAll, series);
    series->thumbJob = attached;
    auto cover = makeManager(WM_loadedMonthlyAll, series);
    cover->start(0);
    EXPECT_EQ(series->thumbJob, attached);
    auto seriesless = makeManager(WM_loadedMonthlyAll, nullptr);
    seriesless->start(0);
    EXPECT_EQ(liveCounts, (std::vector<std::size_t>{1, 1}));
    EXPECT_EQ(joins.drain(), 2u);
    attached->start(0);
    EXPECT_EQ(joins.drain(), 1u);
}

} // namespace
} // namespace zob
