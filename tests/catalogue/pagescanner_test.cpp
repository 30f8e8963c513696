#include "catalogue/pagescannertesting.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <stdexcept>
#include <string>

namespace zob::testing {
namespace {

constexpr std::int32_t saturated = std::numeric_limits<std::int32_t>::max();

TEST(PageScannerTest, ReadsEveryFieldOfABlockAmidPageChrome) {
    const std::string page =
        "<html><body><table><tr><td class=\"nav\"><a href=\"/members/home.html\">"
        "Home</a></td></tr></table>\r\n" +
        block() + "<p>footer</p></body></html>";
    const auto found = scanAll(page);
    ASSERT_EQ(found.size(), 1u);
    const ParsedSeries& series = found[0];
    EXPECT_EQ(series.title, "Red Door");
    EXPECT_EQ(series.seriesLink, "/members/gallery/2008/mira_kt0413_200803/");
    EXPECT_EQ(series.date, "2008/03/04");
    EXPECT_EQ(series.model, "Mira Tanne");
    EXPECT_EQ(series.photographer, "Kent Tate");
    EXPECT_EQ(series.coverSource, "/members/gallery/2008/mira_kt0413_200803/cover.jpg");
    EXPECT_EQ(series.photoCount, 24);
    EXPECT_EQ(series.favoriteId, -1);
    EXPECT_EQ(series.modelId, -1);
}

TEST(PageScannerTest, EmitsBlocksInPageOrderAndStartsEachFromScratch) {
    BlockParts second;
    second.link = "/members/movies/ann_bc0101_200801/";
    second.title = "Second";
    second.specs = "movie | <a href=\"/members/search.html?model_id=7\">more</a>";
    BlockParts third;
    third.title = "Third";
    const auto found = scanAll(block() + block(second) + block(third));
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].title, "Red Door");
    EXPECT_EQ(found[1].title, "Second");
    EXPECT_EQ(found[1].seriesLink, "/members/movies/ann_bc0101_200801/");
    EXPECT_EQ(found[1].photoCount, 999);
    EXPECT_EQ(found[1].modelId, 7);
    EXPECT_EQ(found[2].title, "Third");
    EXPECT_EQ(found[2].photoCount, 24);
    EXPECT_EQ(found[2].modelId, -1) << "ids are reset after each emitted series";
}

TEST(PageScannerTest, TagNamesMatchInAnyCaseAttributeNamesOnlyInLowerCase) {
    const std::string upper =
        "<TABLE><TR><TD class=\"cover\"><A href=\"/members/gallery/2008/up_ab0001_200801/\">"
        "<IMG src=\"c.jpg\" width=\"113\" height=\"170\"></A></TD>"
        "<Td class=\"SERIES\">M</tD><TD class=\"Date\">D</TD><TD class=\"title\">T</TD>"
        "<TD class=\"photographer\">P</TD><TD class=\"specs\">3</TD></TR></TaBlE>";
    const auto found = scanAll(upper);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].seriesLink, "/members/gallery/2008/up_ab0001_200801/");
    EXPECT_EQ(found[0].model, "M");
    EXPECT_EQ(found[0].date, "D");
    EXPECT_EQ(found[0].photoCount, 3);

    BlockParts upperSrc;
    upperSrc.coverImage = R"(<img SRC="c.jpg" width="113" height="170">)";
    EXPECT_TRUE(scanAll(block(upperSrc)).empty()) << "SRC is not src: no cover";

    const std::string upperClass = "<table><tr><td CLASS=\"title\">lost</td></tr></table>";
    BlockParts noTitle;
    noTitle.title = "";
    EXPECT_TRUE(scanAll(upperClass + block(noTitle)).empty());

    // A link tag always sets the link, so one whose href goes unread empties it.
    BlockParts upperLink;
    upperLink.title = "<a HREF=\"/members/gallery/2008/mira_kt0413_200803/\">T</a>";
    EXPECT_TRUE(scanAll(block(upperLink)).empty());
}

TEST(PageScannerTest, ReadsAtMost255CharactersOfAttributes) {
    // The attribute text after "<img " is cut to 255 characters. A closing
    // quote or ">" lost to the cut still leaves "170"; one more character
    // cuts into the value itself.
    const auto imageWithAttributeLength = [](std::size_t length) {
        const std::string tail = R"( src="c.jpg" width="113" height="170">)";
        const std::string padding(length - tail.size() - 6, 'x');
        const std::string attributes = "alt=\"" + padding + "\"" + tail;
        EXPECT_EQ(attributes.size(), length);
        return "<img " + attributes;
    };
    for (const std::size_t length : {255u, 256u, 257u}) {
        BlockParts parts;
        parts.coverImage = imageWithAttributeLength(length);
        EXPECT_EQ(scanAll(block(parts)).size(), 1u) << length;
    }
    BlockParts cut;
    cut.coverImage = imageWithAttributeLength(258);
    EXPECT_TRUE(scanAll(block(cut)).empty());

    BlockParts longLink;
    longLink.link = "/members/gallery/2008/" + std::string(240, 'a') + "_kt0413_200803/";
    const auto found = scanAll(block(longLink));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].seriesLink, longLink.link.substr(0, 255 - 6))
        << "href=\" takes 6 of the 255 characters";
}

TEST(PageScannerTest, RecognisesCoverBySizeExactlyOrByLogoName) {
    const auto coverOf = [](const std::string& image) -> std::string {
        BlockParts parts;
        parts.coverImage = image;
        const auto found = scanAll(block(parts));
        return found.empty() ? std::string("(none)") : found[0].coverSource;
    };
    EXPECT_EQ(coverOf(R"(<img src="a.jpg" width="113" height="170">)"), "a.jpg");
    EXPECT_EQ(coverOf(R"(<img height='170' src=a.jpg width=113>)"), "a.jpg");
    EXPECT_EQ(coverOf(R"(<img src="a.jpg" width=113 height=170>)"), "a.jpg")
        << "the closing > is not part of an unquoted value";
    EXPECT_EQ(coverOf(R"(<img src="a.jpg" width="113">)"), "(none)");
    EXPECT_EQ(coverOf(R"(<img src="a.jpg" width="113px" height="170">)"), "(none)");
    EXPECT_EQ(coverOf(R"(<img src="a.jpg" width="113" height="170 ">)"), "(none)");
    EXPECT_EQ(coverOf(R"(<img src="a.jpg" width="170" height="113">)"), "(none)");
    EXPECT_EQ(coverOf(R"(<img src="/m/x/logo1.jpg">)"), "/m/x/logo1.jpg");
    EXPECT_EQ(coverOf(R"(<img src="/m/x/logo1.jpg" width="400" height="600">)"), "/m/x/logo1.jpg");
    EXPECT_EQ(coverOf(R"(<img src="/m/x/LOGO1.JPG">)"), "(none)");
    EXPECT_EQ(coverOf(R"(<img src="a.jpg" width="113" height="170"><img src="b.gif">)"), "a.jpg")
        << "an image that is no cover leaves the cover alone";
    EXPECT_EQ(coverOf(R"(<img src="a.jpg" width="113" height="170"><img src="logo1.jpg">)"),
              "logo1.jpg");
    EXPECT_EQ(coverOf(R"(<imgsrc="a.jpg" width="113" height="170">)"), "(none)");
}

TEST(PageScannerTest, LastLinkOutsideTheSpecsCellIsTheSeriesLink) {
    BlockParts parts;
    parts.title = "<a href=\"/later/\">T</a>";
    parts.specs = "24 photos | <a href=\"/members/favorites/index.html?remove=17\">remove</a> | "
                  "<a href=\"/members/search.html?model_id=42\">more of M</a>";
    const auto found = scanAll(block(parts));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].seriesLink, "/later/");
    EXPECT_EQ(found[0].title, "T") << "text of tags inside a cell is dropped";
    EXPECT_EQ(found[0].favoriteId, 17);
    EXPECT_EQ(found[0].modelId, 42);
    EXPECT_EQ(found[0].photoCount, 24);

    // A link tag completes nothing by itself: the series emitted at the next
    // tag carries the link that came last.
    BlockParts noLink;
    noLink.link = "";
    const std::string page = block(noLink) + "<a href=\"/first/\"><a href=\"/second/\"></a>";
    const auto late = scanAll(page);
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].seriesLink, "/second/");
}

TEST(PageScannerTest, ReadsCountAndIdsFromTheSpecsCell) {
    const auto scanSpecs = [](const std::string& specs) {
        BlockParts parts;
        parts.specs = specs;
        const auto found = scanAll(block(parts));
        return found.empty() ? ParsedSeries{} : found[0];
    };
    EXPECT_EQ(scanSpecs("movie").photoCount, 999);
    EXPECT_EQ(scanSpecs("0 photos").photoCount, 999);
    EXPECT_EQ(scanSpecs(" 24 photos").photoCount, 999) << "digits must come first";
    EXPECT_EQ(scanSpecs("007").photoCount, 7);
    EXPECT_EQ(scanSpecs("99999999999 photos").photoCount, saturated);
    EXPECT_EQ(scanSpecs("2147483647").photoCount, saturated);
    EXPECT_EQ(scanSpecs("2147483646").photoCount, 2147483646);

    const auto removeLink = [](const std::string& after) {
        return "24 photos <a href=\"/members/favorites/index.html?remove=" + after + "\">x</a>";
    };
    EXPECT_EQ(scanSpecs(removeLink("0")).favoriteId, -1);
    EXPECT_EQ(scanSpecs(removeLink("")).favoriteId, -1);
    EXPECT_EQ(scanSpecs(removeLink("12&x=3")).favoriteId, 12);
    EXPECT_EQ(scanSpecs(removeLink("123456789012")).favoriteId, saturated);
    EXPECT_EQ(scanSpecs("1 <a href=\"?REMOVE=5\">x</a>").favoriteId, -1) << "marker case matters";
    EXPECT_EQ(scanSpecs("1 <a href=\"?model_id=0\">x</a>").modelId, -1);
    EXPECT_EQ(scanSpecs("1 <a href=\"?model_id=3\">a</a><a href=\"?model_id=9\">b</a>").modelId, 9);
    EXPECT_EQ(scanSpecs("1 <a href=\"?model_id=3\">a</a><a href=\"?model_id=\">b</a>").modelId, -1)
        << "each link with the marker sets the id again";

    BlockParts outside;
    outside.title = "<a href=\"/members/search.html?model_id=5\">T</a>";
    const auto found = scanAll(block(outside));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].modelId, -1) << "ids are only read inside the specs cell";
}

TEST(PageScannerTest, EmptySpecsCellKeepsLinksAndImagesOutUntilASpecsCellWithText) {
    BlockParts first;
    first.specs = "";
    BlockParts second;
    second.link = "/members/gallery/2008/second_ab0002_200802/";
    second.title = "Second";
    second.specs = "12 photos <a href=\"?remove=5\">remove</a>";
    BlockParts third;
    third.link = "/members/gallery/2008/third_ab0003_200803/";
    third.title = "Third";
    third.specs = "30 photos";

    const auto found = scanAll(block(first) + block(second) + block(third));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].seriesLink, first.link);
    EXPECT_EQ(found[0].photoCount, 999);
    // The second block's link and cover went unseen; its favorite id stays
    // pending and lands on the third series.
    EXPECT_EQ(found[1].seriesLink, third.link);
    EXPECT_EQ(found[1].title, "Third");
    EXPECT_EQ(found[1].photoCount, 30);
    EXPECT_EQ(found[1].favoriteId, 5);
}

TEST(PageScannerTest, PartialBlocksCombineWithTheNext) {
    BlockParts noPhotographer;
    noPhotographer.photographer = "";
    noPhotographer.date = "2008/01/01";
    noPhotographer.title = "Lost";
    std::string noDate = block();
    const std::string dateCell = "<tr><td class=\"date\">2008/03/04</td></tr>\r\n";
    noDate.erase(noDate.find(dateCell), dateCell.size());

    const auto found = scanAll(block(noPhotographer) + noDate);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].date, "2008/01/01");
    EXPECT_EQ(found[0].title, "Red Door");
    EXPECT_EQ(found[0].photographer, "Kent Tate");

    EXPECT_TRUE(scanAll(noDate).empty());
    std::string noTableEnd = block();
    noTableEnd.erase(noTableEnd.find("</table>"));
    EXPECT_TRUE(scanAll(noTableEnd).empty());
    EXPECT_EQ(scanAll(noTableEnd + "</TABLEAU>").size(), 1u) << "only the first 7 characters count";
}

TEST(PageScannerTest, TableEndBeforeTheCoverCellDoesNotCompleteTheBlock) {
    // The texts come first and a table ends before the cover cell; only the
    // block's own table end may complete it, after its specs cell.
    const std::string page =
        "<table><tr><td class=series>M</td><td class=date>D</td><td class=title>T</td>"
        "<td class=photographer>P</td></tr></table>"
        "<table><tr><td class=cover><a href=/l/><img src=/l/logo1.jpg></a></td></tr>"
        "<tr><td class=specs>5 photos</td></tr></table>";
    const auto found = scanAll(page);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].photoCount, 5);
    EXPECT_EQ(found[0].seriesLink, "/l/");
}

TEST(PageScannerTest, KeepsCellTextsExactly) {
    BlockParts parts;
    parts.title = "\r\n  Tom &amp; Jerry &quot;at\tsea&quot; \xe9t\xe9 ";
    parts.model = "Ann &amp; Bea";
    parts.photographer = "BY BY Kent";
    parts.date = "<b>2008</b>/03/<i></i>04";
    const auto found = scanAll(block(parts));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].title, parts.title);
    EXPECT_EQ(found[0].model, "Ann &amp; Bea");
    EXPECT_EQ(found[0].photographer, "BY Kent") << "only one BY is removed";
    EXPECT_EQ(found[0].date, "2008/03/04");

    for (const char* kept : {"by Kent", "BYKent", " BY Kent"}) {
        parts.photographer = kept;
        const auto withKept = scanAll(block(parts));
        ASSERT_EQ(withKept.size(), 1u);
        EXPECT_EQ(withKept[0].photographer, kept);
    }
}

TEST(PageScannerTest, CollectsOnlyTheCellsItReads) {
    // Text of other cells is dropped; an empty cell keeps an earlier text.
    const std::string page =
        "<table><tr><td class=\"cover\"><a href=\"/l/\"><img src=\"logo1.jpg\"></a></td>"
        "<td class=\"series\">M</td><td class=\"extra\">noise</td><td class=\"date\">D</td>"
        "<td class=\"title\">T</td><td class=\"title\"></td><td>loose</td>"
        "<td class=\"photographer\">P</td></tr></table>";
    const auto found = scanAll(page);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].title, "T");
    EXPECT_EQ(found[0].model, "M");
}

TEST(PageScannerTest, FindsTagsWhereverThePageBytesFall) {
    // The page is walked in blocks of bytes; a block shifted by every offset
    // puts each tag and text run across a block border at least once.
    BlockParts parts;
    parts.title = "a > b, c >> d";
    parts.link = "/members/gallery/2008/x<y_kt0413_200803/";
    const std::string text = block(parts);
    for (std::size_t offset = 0; offset < 140; ++offset) {
        const std::string page = std::string(offset, '>') + text + std::string(offset % 7, 'x');
        const auto found = scanAll(page);
        ASSERT_EQ(found.size(), 1u) << offset;
        EXPECT_EQ(found[0].title, parts.title) << offset;
        EXPECT_EQ(found[0].seriesLink, parts.link) << offset;
        EXPECT_EQ(found[0].photoCount, 24) << offset;
    }
}

TEST(PageScannerTest, UnterminatedTagSwallowsTheRestOfThePage) {
    BlockParts second;
    second.title = "Second";
    EXPECT_EQ(scanAll(block() + "<td class=\"title\">" + block(second)).size(), 2u);
    EXPECT_EQ(scanAll(block() + "<td class=\"title\"" + "Second</td></table").size(), 1u);
    std::string cut = block();
    cut.resize(cut.size() - 3); // "</table" without its ">"
    EXPECT_TRUE(scanAll(cut).empty());
    EXPECT_TRUE(scanAll("").empty());
    EXPECT_TRUE(scanAll("<").empty());
}

TEST(PageScannerTest, ExceptionFromEmitEndsTheScan) {
    BlockParts second;
    second.title = "Second";
    BlockParts third;
    third.title = "Third";
    const std::string page = block() + block(second) + block(third);
    std::vector<std::string> titles;
    const auto emit = [&titles](ParsedSeries&& series) {
        titles.push_back(series.title);
        if (series.title == "Second") {
            throw std::runtime_error("malformed name");
        }
    };
    EXPECT_THROW(scanArchivePage(page, emit), std::runtime_error);
    EXPECT_EQ(titles, (std::vector<std::string>{"Red Door", "Second"}));
}

TEST(TagAttributesTest, ReadsQuotedAndUnquotedValues) {
    const TagAttributes all = readTagAttributes(
        "href=\"/a b/\" class='c\"d' src=e.jpg width=\"1\" height='2' name=n alt=\"x'y\">");
    EXPECT_EQ(all.href, "/a b/");
    EXPECT_EQ(all.cls, "c\"d");
    EXPECT_EQ(all.src, "e.jpg");
    EXPECT_EQ(all.width, "1");
    EXPECT_EQ(all.height, "2");
    EXPECT_EQ(all.name, "n");
    EXPECT_EQ(all.alt, "x'y");

    EXPECT_EQ(readTagAttributes("src=e.jpg>").src, "e.jpg");
    EXPECT_EQ(readTagAttributes("src=e.jpg").src, "e.jpg") << "text cut before the >";
    EXPECT_EQ(readTagAttributes("src=\"e.jpg>").src, "e.jpg") << "unclosed quote at the tag end";
    EXPECT_EQ(readTagAttributes("src=\"e.jpg").src, "e.jpg");
    EXPECT_EQ(readTagAttributes("alt=\"a>b\">").alt, "a>b");
    EXPECT_EQ(readTagAttributes("src=>").src, "");
    EXPECT_EQ(readTagAttributes("\t\r\nsrc=e\nwidth=1>").src, "e\nwidth=1")
        << "an unquoted value ends at a space only";
}

TEST(TagAttributesTest, IgnoresWhatItDoesNotKnow) {
    const TagAttributes record =
        readTagAttributes("nowrap HREF=\"/up/\" data-x=\"1\" class=\"cover\" selected>");
    EXPECT_EQ(record.href, "");
    EXPECT_EQ(record.cls, "cover");

    EXPECT_EQ(readTagAttributes("href = \"/x/\">").href, "") << "no spaces around =";
    EXPECT_EQ(readTagAttributes("").href, "");
    EXPECT_EQ(readTagAttributes(">").href, "");
    EXPECT_EQ(readTagAttributes("href=\"/x/\"class=\"c\">").cls, "c");
    EXPECT_EQ(readTagAttributes("href=\"/x/\" href=\"/y/\">").href, "/y/");
}

} // namespace
} // namespace zob::testing
