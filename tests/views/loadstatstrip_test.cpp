#include "catalogue/listtesting.h"
#include "catalogue/loadstatuslists.h"
#include "catalogue/resolution.h"
#include "gui/views/loadstatstrip.h"
#include "gui/views/namedbitmaps.h"
#include "gui/views/tilegeometry.h"
#include "testsupport/screenshots.h"

#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace zob {
namespace {

using cataloguetest::addGallery;
using cataloguetest::CatalogueWorld;

constexpr QRgb silver = 0xFFC0C0C0;
constexpr QRgb thumbColour = 0xFFFFE0E0;
constexpr QRgb lowColour = 0xFFFFD080;
constexpr QRgb midColour = 0xFFFF8000;
constexpr QRgb highColour = 0xFFFF0000;

void setCounts(SeriesRec& series, int thumbs, int low, int mid, int high) {
    series.loadedCount[indexOf(resThumb)] = thumbs;
    series.loadedCount[indexOf(resLow)] = low;
    series.loadedCount[indexOf(resMid)] = mid;
    series.loadedCount[indexOf(resHigh)] = high;
}

// The length of the bar whose top row is `top`: the run of `colour` from x 10
// on, checked on all four rows, with silver right after it.
::testing::AssertionResult barIs(const QImage& image, int top, QRgb colour, int length) {
    for (int y = top; y < top + 4; ++y) {
        for (int x = 10; x < std::min(10 + length, image.width()); ++x) {
            if (image.pixel(x, y) != colour) {
                return ::testing::AssertionFailure() << "no bar colour at " << x << ", " << y;
            }
        }
        if (10 + length < image.width() && image.pixel(10 + length, y) != silver) {
            return ::testing::AssertionFailure()
                   << "bar runs past " << 10 + length << " on row " << y << ": " << std::hex
                   << image.pixel(10 + length, y);
        }
    }
    return ::testing::AssertionSuccess();
}

class LoadStatStripTest : public ::testing::Test {
protected:
    LoadStatStripTest() {
        box.resize(600, 400);
        contents->resize(580, 2000);
        box.setWidget(contents);
    }

    SeriesPtr gallery(const std::string& name, std::int32_t count = 40) {
        return addGallery(*list, name, count);
    }

    QRect expectedStrip(int index) const {
        const QRect cell = tileRect(index, 133, 190, box, 10);
        return {cell.left() - 10, cell.top() + 160, 133, 20};
    }

    CatalogueWorld world;
    std::shared_ptr<cataloguetest::MonthList> list = world.month(2008, 3);
    QScrollArea box;
    QWidget* contents = new QWidget;
};

TEST(StatBarLength, ScalesToTheStripWidth) {
    CatalogueWorld world;
    const auto list = world.month(2008, 3);
    const SeriesPtr series = addGallery(*list, "ab_cd_200803", 40);
    EXPECT_EQ(statBarLength(*series, 10), 33);
    EXPECT_EQ(statBarLength(*series, 40), 133);

    series->photoCount = 999; // not read yet: the count itself
    EXPECT_EQ(statBarLength(*series, 17), 17);

    series->photoCount = 0; // a movie
    EXPECT_EQ(statBarLength(*series, 12), 0);

    series->photoCount = 3000; // large series must not overflow into nonsense
    EXPECT_EQ(statBarLength(*series, 3000), 133);
}

TEST_F(LoadStatStripTest, PaintsEdgeAndBarsOverSilver) {
    const SeriesPtr series = gallery("ab_cd_200803", 40);
    setCounts(*series, 40, 10, 0, 1);
    const TLoadStatImage strip(series, contents);
    const QImage& image = strip.image();

    ASSERT_EQ(image.size(), QSize(133, 20));
    EXPECT_FALSE(strip.isVisibleTo(contents)) << "a new strip waits for its placement";
    EXPECT_TRUE(barIs(image, 0, thumbColour, 133)) << "a full bar is cut at the edge";
    EXPECT_TRUE(barIs(image, 5, lowColour, 33));
    EXPECT_TRUE(barIs(image, 10, midColour, 0));
    EXPECT_TRUE(barIs(image, 15, highColour, 3));
    for (const int gap : {4, 9, 14, 19}) {
        EXPECT_EQ(image.pixel(60, gap), silver) << "gap row " << gap;
    }

    const QImage& edge = namedBitmap("STAT_IMG");
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(image.pixel(x, y), edge.pixel(x, y)) << x << ", " << y;
        }
    }
    EXPECT_EQ(image.pixel(8, 2), silver);
}

TEST_F(LoadStatStripTest, RepaintingOnlyAddsToTheBars) {
    const SeriesPtr series = gallery("ab_cd_200803", 40);
    setCounts(*series, 4, 10, 0, 0);
    TLoadStatImage strip(series, contents);
    EXPECT_TRUE(barIs(strip.image(), 0, thumbColour, 13));

    setCounts(*series, 20, 5, 0, 0);
    strip.paintLoadStat();
    EXPECT_TRUE(barIs(strip.image(), 0, thumbColour, 66));
    EXPECT_TRUE(barIs(strip.image(), 5, lowColour, 33)) << "a shorter count leaves the old bar";

    series->photoCount = 0; // became a movie: nothing new is drawn
    strip.paintLoadStat();
    EXPECT_TRUE(barIs(strip.image(), 0, thumbColour, 66));
}

TEST_F(LoadStatStripTest, CreateRecountsAndPlacesUnderTheTile) {
    const SeriesPtr series = gallery("ab_cd_200803", 40);
    for (int n = 1; n <= 3; ++n) {
        const std::filesystem::path file = series->localPictureFile(resLow, n);
        std::filesystem::create_directories(file.parent_path());
        writeBytes(file, "jpeg");
    }
    setCounts(*series, 0, 0, 0, 0);

    LoadStatStrips strips(box);
    strips.create(series, 5);
    ASSERT_EQ(strips.size(), 1u);
    TLoadStatImage& strip = *strips.strip(0);
    EXPECT_EQ(series->loadedCountOf(resLow), 3);
    EXPECT_TRUE(barIs(strip.image(), 5, lowColour, 9));

    EXPECT_EQ(strip.parentWidget(), contents);
    EXPECT_EQ(strip.geometry(), expectedStrip(5));
    EXPECT_TRUE(strip.isVisibleTo(contents));
    EXPECT_EQ(strip.series(), series);
}

TEST_F(LoadStatStripTest, UpdateAndRemoveTakeTheFirstStripOfTheSeries) {
    const SeriesPtr a = gallery("aa_a_200803");
    const SeriesPtr b = gallery("bb_b_200803");
    LoadStatStrips strips(box);
    strips.create(a, 0);
    strips.create(b, 1);
    strips.create(a, 2);
    TLoadStatImage* firstA = strips.strip(0);
    TLoadStatImage* secondA = strips.strip(2);

    setCounts(*a, 40, 0, 0, 0);
    strips.updateLoadStat(*a);
    EXPECT_TRUE(barIs(firstA->image(), 0, thumbColour, 133));
    EXPECT_TRUE(barIs(secondA->image(), 0, thumbColour, 0)) << "only the first strip repaints";
    EXPECT_TRUE(barIs(strips.strip(1)->image(), 0, thumbColour, 0));

    // Another list's record of the same series finds the strip by its name.
    const auto other = world.named("other.csv");
    const SeriesPtr copyOfB = SeriesRec::copy(*b, *other);
    setCounts(*b, 20, 0, 0, 0);
    strips.updateLoadStat(*copyOfB);
    EXPECT_TRUE(barIs(strips.strip(1)->image(), 0, thumbColour, 66));

    const QPointer<TLoadStatImage> watched(firstA);
    strips.removeLoadStat(*a);
    EXPECT_TRUE(watched.isNull()) << "the strip is freed";
    ASSERT_EQ(strips.size(), 2u);
    EXPECT_EQ(strips.strip(0)->series(), b);
    EXPECT_EQ(strips.strip(1), secondA);

    const SeriesPtr none = gallery("zz_z_200803");
    strips.updateLoadStat(*none);
    strips.removeLoadStat(*none);
    EXPECT_EQ(strips.size(), 2u);
}

TEST_F(LoadStatStripTest, PlaceLoadStatsFollowsTheCurrentList) {
    const SeriesPtr a = gallery("aa_a_200803");
    const SeriesPtr b = gallery("bb_b_200803");
    const SeriesPtr c = gallery("cc_c_200803");
    LoadStatStrips strips(box);
    strips.create(a, 0);
    strips.create(c, 2);

    // Tiles made after the strips lie on top of them until the strips are raised.
    auto* tile = new QLabel(contents);
    tile->setGeometry(0, 0, 113, 170);
    tile->show();

    const auto other = world.named("other.csv");
    const SeriesPtr d = addGallery(*other, "dd_d_200803");
    other->append(c);
    strips.placeLoadStats(other.get());
    EXPECT_FALSE(strips.strip(0)->isVisibleTo(contents));
    EXPECT_TRUE(strips.strip(1)->isVisibleTo(contents));
    EXPECT_EQ(strips.strip(1)->geometry(), expectedStrip(1));
    EXPECT_EQ(contents->children().last(), strips.strip(1)) << "raised above the tiles";

    strips.placeLoadStats(list.get());
    EXPECT_TRUE(strips.strip(0)->isVisibleTo(contents)) << "back under its tile";
    EXPECT_EQ(strips.strip(0)->geometry(), expectedStrip(0));
    EXPECT_EQ(strips.strip(1)->geometry(), expectedStrip(2));

    strips.hideLoadStats();
    EXPECT_FALSE(strips.strip(0)->isVisibleTo(contents));
    EXPECT_FALSE(strips.strip(1)->isVisibleTo(contents));

    strips.placeLoadStats(list.get());
    strips.placeLoadStats(nullptr);
    EXPECT_FALSE(strips.strip(0)->isVisibleTo(contents));
    EXPECT_FALSE(strips.strip(1)->isVisibleTo(contents));
}

TEST_F(LoadStatStripTest, SeriesOfStripsFeedTheLoadingList) {
    const SeriesPtr a = gallery("aa_a_200803");
    const SeriesPtr b = gallery("bb_b_200803");
    LoadStatStrips strips(box);
    const std::vector<SeriesPtr>* seen = &strips.seriesOfStrips();
    const auto loading = std::make_shared<loadingArtList>(world.registry, seen);

    strips.create(a, 0);
    strips.create(b, 1);
    strips.create(a, 2);
    EXPECT_EQ(*seen, (std::vector<SeriesPtr>{a, b, a}));

    strips.removeLoadStat(*a);
    EXPECT_EQ(&strips.seriesOfStrips(), seen);
    EXPECT_EQ(*seen, (std::vector<SeriesPtr>{b, a}));
    for (std::size_t i = 0; i < strips.size(); ++i) {
        EXPECT_EQ(strips.strip(i)->series(), (*seen)[i]);
    }
    loading->rebuild();
    ASSERT_EQ(loading->size(), 2u);
    EXPECT_EQ(loading->item(0), b);
    EXPECT_EQ(loading->item(1), a);
}

TEST_F(LoadStatStripTest, StripsOutliveTheirBoxQuietly) {
    const SeriesPtr a = gallery("aa_a_200803");
    auto strips = std::make_unique<LoadStatStrips>(box);
    strips->create(a, 0);
    delete box.takeWidget(); // the tile wall goes first, with its children
    strips->updateLoadStat(*a);
    strips->placeLoadStats(list.get());
    strips->hideLoadStats();
    strips.reset();
}

TEST_F(LoadStatStripTest, Screenshot) {
    const SeriesPtr series = gallery("ab_cd_200803", 40);
    box.resize(175, 240);
    auto* cover = new QLabel(contents);
    const QRect cell = tileRect(0, 133, 190, box, 10);
    cover->setGeometry(cell.left(), cell.top(), 113, 170);
    cover->setPixmap(QPixmap::fromImage(namedBitmap("NOIMG_ARCHIVE")));
    cover->show();

    LoadStatStrips strips(box);
    strips.create(series, 0);
    setCounts(*series, 40, 24, 12, 4);
    strips.updateLoadStat(*series);
    box.show();
    zob::testing::saveScreenshot(box, "load_strip");
    EXPECT_EQ(strips.strip(0)->grab().toImage().pixel(20, 1), thumbColour);
}

} // namespace
} // namespace zob
