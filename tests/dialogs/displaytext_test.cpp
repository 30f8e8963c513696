#include "gui/displaytext.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using zob::displayLineBreaks;
using zob::fromDisplay;
using zob::toDisplay;

TEST(DisplayText, ValidUtf8RoundTripsUnchanged) {
    for (const std::string& bytes :
         {std::string(), std::string("plain ascii"),
          std::string("caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D"),
          std::string("\xF0\x9F\x93\xB7 camera"), std::string("\xEF\xBF\xBF edge")}) {
        EXPECT_EQ(fromDisplay(toDisplay(bytes)), bytes) << bytes;
    }
    EXPECT_EQ(toDisplay("caf\xC3\xA9"), QStringLiteral(u"café"));
}

TEST(DisplayText, OtherBytesReadAsWindows1252) {
    EXPECT_EQ(toDisplay("\x93quoted\x94"), QStringLiteral(u"\u201Cquoted\u201D"));
    EXPECT_EQ(toDisplay("caf\xE9"), QStringLiteral(u"café"));
    EXPECT_EQ(toDisplay("\x80 \x8A \x9F \xA0\xFF"),
              QStringLiteral(u"\u20AC \u0160 \u0178 \u00A0\u00FF"));
    // Codes Windows-1252 leaves unassigned keep their own value.
    EXPECT_EQ(toDisplay("\x81\x8D\x8F\x90\x9D"), QStringLiteral(u"\u0081\u008D\u008F\u0090\u009D"));
    // Typed text goes back as UTF-8, whatever the original bytes were.
    EXPECT_EQ(fromDisplay(toDisplay("caf\xE9")), "caf\xC3\xA9");
}

TEST(DisplayText, MalformedUtf8IsNotTakenForUtf8) {
    // Overlong, surrogate, above U+10FFFF, truncated, and a stray continuation byte.
    EXPECT_EQ(toDisplay("\xC0\xAF"), QStringLiteral(u"\u00C0\u00AF"));
    EXPECT_EQ(toDisplay("\xED\xA0\x80"), QStringLiteral(u"\u00ED\u00A0\u20AC"));
    EXPECT_EQ(toDisplay("\xF4\x90\x80\x80"), QStringLiteral(u"\u00F4\u0090\u20AC\u20AC"));
    EXPECT_EQ(toDisplay("ab\xE2\x82"), QStringLiteral(u"ab\u00E2\u201A"));
    EXPECT_EQ(toDisplay("\x80"), QStringLiteral(u"\u20AC"));
}

TEST(DisplayText, CarriageReturnsBecomeLineBreaks) {
    EXPECT_EQ(displayLineBreaks("one\r\ntwo\rthree\nfour"),
              QStringLiteral("one\ntwo\nthree\nfour"));
    EXPECT_EQ(displayLineBreaks("\r\r\n"), QStringLiteral("\n\n"));
    EXPECT_EQ(displayLineBreaks("caf\xE9\r\n"), QStringLiteral(u"café\n"));
}

} // namespace
