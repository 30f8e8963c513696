#include "app/seriesmenu.h"

#include <gtest/gtest.h>

namespace zob {
namespace {

// States by their number: 0 none, 1 downloading, 2 stopped, 3 stopping, 4 complete.
std::array<JobState, 4> statesOf(std::array<int, 4> numbers) {
    std::array<JobState, 4> states{};
    for (std::size_t r = 0; r < states.size(); ++r) {
        states[r] = static_cast<JobState>(numbers[r]);
    }
    return states;
}

SeriesMenuInput gallery(std::array<int, 4> states, int crntResolution = 2) {
    SeriesMenuInput input;
    input.title = "Morning Studio";
    input.model = "Lena";
    input.modelNames = {"Lena"};
    input.photographer = "Marco Ferri";
    input.statusText = "----";
    input.states = statesOf(states);
    input.crntResolution = *resolutionNumbered(crntResolution);
    return input;
}

// Entries 2..5 of the menu by position: low, mid, high, thumbnails.
const LoadMenuEntry& entry(const SeriesMenu& menu, int position) {
    return menu.loads.at(static_cast<std::size_t>(position - 2));
}

TEST(SeriesMenu, NothingOnDiskOffersEveryDownloadWithTheCurrentResolutionAsDefault) {
    const SeriesMenu menu = buildSeriesMenu(gallery({0, 0, 0, 0}));
    EXPECT_EQ(menu.openCaption, "open URL: Morning Studio");
    EXPECT_EQ(entry(menu, 2).caption, "Download &low-res pics");
    EXPECT_EQ(entry(menu, 3).caption, "Download &mid-res pics");
    EXPECT_EQ(entry(menu, 4).caption, "Download &high-res pics");
    EXPECT_EQ(entry(menu, 5).caption, "Download &only thumbnails");
    EXPECT_TRUE(entry(menu, 2).isDefault);
    EXPECT_FALSE(entry(menu, 3).isDefault);
    for (int position = 2; position <= 5; ++position) {
        EXPECT_TRUE(entry(menu, position).enabled);
        EXPECT_EQ(entry(menu, position).command, LoadCommand::load);
        // The tag names the entry's resolution again.
        EXPECT_EQ(loadEntryPosition(tagToResolution(entry(menu, position).tag)), position);
    }
    EXPECT_FALSE(menu.showPics);
    EXPECT_EQ(menu.models.size(), 1U);
    EXPECT_EQ(menu.models[0].name, "srch1");
    EXPECT_EQ(menu.models[0].caption, "Search model:Lena");
    EXPECT_EQ(menu.photoCaption, "Search photographer:Marco Ferri");
}

TEST(SeriesMenu, CompleteLowResolutionOffersDeleteAndShowPics) {
    const SeriesMenu menu = buildSeriesMenu(gallery({0, 0, 4, 0}));
    EXPECT_EQ(entry(menu, 2).caption, "**DELETE** &low-res pics");
    EXPECT_EQ(entry(menu, 2).command, LoadCommand::remove);
    EXPECT_FALSE(entry(menu, 2).isDefault);
    EXPECT_TRUE(menu.showPics);
}

TEST(SeriesMenu, CompleteThumbnailsDeleteAllPictures) {
    const SeriesMenu menu = buildSeriesMenu(gallery({0, 0, 0, 4}));
    EXPECT_EQ(entry(menu, 5).caption, "**DELETE** ALL PICS");
    EXPECT_EQ(tagToResolution(entry(menu, 5).tag), resThumb);
}

TEST(SeriesMenu, WhileMidResolutionDownloadsOnlyItsStopEntryIsEnabled) {
    const SeriesMenu menu = buildSeriesMenu(gallery({0, 1, 0, 4}));
    EXPECT_EQ(entry(menu, 3).caption, "Stop or Delete &mid-res pics");
    EXPECT_EQ(entry(menu, 3).command, LoadCommand::stopOrDelete);
    for (int position = 2; position <= 5; ++position) {
        EXPECT_EQ(entry(menu, position).enabled, position == 3) << position;
    }
    EXPECT_TRUE(menu.modelEnabled);
    EXPECT_TRUE(menu.photoEnabled);
}

TEST(SeriesMenu, WhileStoppingNoDownloadEntryIsEnabled) {
    const SeriesMenu menu = buildSeriesMenu(gallery({0, 0, 3, 2}));
    EXPECT_EQ(entry(menu, 2).caption, "stopping &low-res pics");
    EXPECT_EQ(entry(menu, 2).command, LoadCommand::none);
    EXPECT_EQ(entry(menu, 5).caption, "Continue to download &only thumbnails");
    for (int position = 2; position <= 5; ++position) {
        EXPECT_FALSE(entry(menu, position).enabled);
    }
}

TEST(SeriesMenu, OfflineWithNothingOnDiskEveryDownloadIsGrey) {
    SeriesMenuInput input = gallery({0, 0, 0, 0});
    input.offline = true;
    SeriesMenu menu = buildSeriesMenu(input);
    for (int position = 2; position <= 5; ++position) {
        EXPECT_EQ(entry(menu, position).caption.substr(0, 8), "Download");
        EXPECT_FALSE(entry(menu, position).enabled);
    }
    EXPECT_TRUE(menu.openEnabled);
    EXPECT_FALSE(menu.modelEnabled);
    EXPECT_TRUE(menu.photoEnabled);
    input.offlineSearch = true;
    EXPECT_TRUE(buildSeriesMenu(input).modelEnabled);
    // What is on disk can still be deleted offline.
    input.states = statesOf({0, 0, 4, 0});
    EXPECT_TRUE(entry(buildSeriesMenu(input), 2).enabled);
}

TEST(SeriesMenu, AMovieOpensItsAddressOnlineAndDownloadsNothing) {
    SeriesMenuInput input = gallery({0, 0, 0, 0});
    input.isMovie = true;
    SeriesMenu menu = buildSeriesMenu(input);
    EXPECT_TRUE(menu.openDefault);
    for (int position = 2; position <= 5; ++position) {
        EXPECT_FALSE(entry(menu, position).enabled);
        EXPECT_FALSE(entry(menu, position).isDefault);
    }
    input.offline = true;
    EXPECT_FALSE(buildSeriesMenu(input).openDefault);
}

TEST(SeriesMenu, SeveralModelsGiveASubmenuWithOneEntryEach) {
    SeriesMenuInput input = gallery({0, 0, 0, 0});
    input.model = "Anna & Berta & Cora";
    input.modelNames = {"Anna", "Berta", "Cora"};
    const SeriesMenu menu = buildSeriesMenu(input);
    ASSERT_TRUE(menu.modelSubmenu);
    ASSERT_EQ(menu.models.size(), 3U);
    EXPECT_EQ(menu.models[0].name, "srch1");
    EXPECT_EQ(menu.models[2].name, "srch3");
    EXPECT_EQ(menu.models[1].caption, "Search model:Berta");
}

TEST(SeriesMenu, MembershipTurnsAddIntoRemove) {
    SeriesMenuInput input = gallery({0, 0, 0, 0});
    input.statusText = "TL--FB";
    const SeriesMenu menu = buildSeriesMenu(input);
    EXPECT_TRUE(menu.inFavorites);
    EXPECT_TRUE(menu.inBadList);
    input.statusText = "TL--";
    EXPECT_FALSE(buildSeriesMenu(input).inFavorites);
}

TEST(SeriesMenu, TagsStandForResolutions) {
    EXPECT_EQ(indexOf(tagToResolution(0)), 2U);
    EXPECT_EQ(indexOf(tagToResolution(1)), 1U);
    EXPECT_EQ(indexOf(tagToResolution(2)), 0U);
    EXPECT_EQ(indexOf(tagToResolution(3)), 3U);
    EXPECT_EQ(indexOf(tagToResolution(6)), 3U);
}

} // namespace
} // namespace zob
