#include "rawclient.h"
#include "sitefixture.h"

#include <chrono>
#include <cstdint>
#include <initializer_list>

namespace demosite::testing {
namespace {

using namespace std::chrono_literals;

class PictureFaultsTest : public SiteTest {
protected:
    // Faults as the command line names them.
    void switchOn(std::initializer_list<std::string_view> names) {
        Faults faults;
        for (const std::string_view name : names) {
            parseFault(name, faults);
        }
        site.setFaults(faults);
    }

    const Series& series = plainGallery(2008, 2);
};

TEST_F(PictureFaultsTest, ErrorStatusesHitPicturesAndThumbnailsButNotCoversOrLogos) {
    for (const auto& [name, code] : {std::pair{"picture-503", 503}, {"picture-500", 500}}) {
        switchOn({name});
        for (const int resolution : {resHigh, resMid, resLow, resThumbnail}) {
            const auto answer = member->Get(series.picturePath(resolution, 1).c_str());
            ASSERT_TRUE(answer) << name;
            EXPECT_EQ(answer->status, code) << name << " " << resolution;
            EXPECT_EQ(answer->get_header_value("Retry-After"), code == 503 ? "1" : "") << name;
            EXPECT_EQ(answer->get_header_value("Content-Type"), "text/html");
            EXPECT_NE(answer->body.find(std::to_string(code)), std::string::npos);
            EXPECT_LT(answer->body.size(), 1000u);
        }
        EXPECT_EQ(site.requests().back().status, code);
        EXPECT_EQ(status(series.coverPath), 200);
        EXPECT_EQ(status(series.logoPath), 200);
        EXPECT_EQ(status(series.picturePagePath(resLow, 1)), 200);
    }
}

TEST_F(PictureFaultsTest, HtmlInsteadOfThePicture) {
    switchOn({"picture-html"});
    const auto answer = member->Get(series.picturePath(resLow, 3).c_str());
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    EXPECT_EQ(answer->get_header_value("Content-Type"), "text/html");
    EXPECT_NE(answer->body.find("<body"), std::string::npos);
    EXPECT_FALSE(answer->body.starts_with("\xFF\xD8"));
}

TEST_F(PictureFaultsTest, CutBodyEndsShortOfItsLengthWithTheConnectionClosed) {
    switchOn({"picture-cut"});
    RawConnection cut(site.port(), series.picturePath(resThumbnail, 2));
    EXPECT_EQ(cut.read(SIZE_MAX, 5s), RawConnection::Ended::closed);
    EXPECT_TRUE(cut.head.starts_with("HTTP/1.1 200")) << cut.head;
    EXPECT_GT(cut.body.size(), 0u);
    EXPECT_LT(cut.body.size(), contentLength(cut.head));
}

TEST_F(PictureFaultsTest, NumberLimitsTheFaultToThatPictureOfEverySeries) {
    switchOn({"picture-500=2"});
    const Series& other = plainGallery(2007, 6);
    for (const Series* gallery : {&series, &other}) {
        for (const int resolution : {resHigh, resMid, resLow, resThumbnail}) {
            EXPECT_EQ(status(gallery->picturePath(resolution, 2)), 500) << resolution;
            EXPECT_EQ(status(gallery->picturePath(resolution, 1)), 200) << resolution;
            EXPECT_EQ(status(gallery->picturePath(resolution, 3)), 200) << resolution;
        }
    }
}

TEST_F(PictureFaultsTest, MissingMidResFoldersAnswerNotFound) {
    switchOn({"no-midres"});
    EXPECT_EQ(status(series.resolutionFolderPath(resMid)), 404);
    EXPECT_EQ(status(series.picturePath(resMid, 1)), 404);
    EXPECT_EQ(status(series.picturePagePath(resMid, 1)), 404);
    EXPECT_EQ(status(series.picturePath(resHigh, 1)), 200);
    EXPECT_EQ(status(series.resolutionFolderPath(resLow)), 200);
}

TEST(ParseFault, RejectsWhatItCannotMeanAndLeavesTheFaultsAlone) {
    Faults faults;
    parseFault("picture-stall=4", faults);
    for (const char* bad :
         {"picture-404", "", "picture-cut=", "picture-cut=0", "picture-cut=x", "picture-cut=10000",
          "no-midres=2", "page-endless=1", "picture-503=5", "picture-503"}) {
        EXPECT_THROW(parseFault(bad, faults), std::invalid_argument) << bad;
    }
    EXPECT_EQ(faults.pictureBody, BodyFault::stall);
    EXPECT_EQ(faults.pictureNumber, 4);
    EXPECT_EQ(faults.pictureStatus, 0);
    EXPECT_FALSE(faults.noMidRes);
    EXPECT_EQ(faults.pageBody, PageBody::normal);
}

} // namespace
} // namespace demosite::testing
