#include "platform/textencoding.h"

#include <gtest/gtest.h>

namespace zob {
namespace {

TEST(TerminalSafe, ShowsTextAsTheWindowDoesAndNeverControlsTheTerminal) {
    EXPECT_EQ(terminalSafe("Caf\xC3\xA9 \xE2\x82\xAC"), "Caf\xC3\xA9 \xE2\x82\xAC")
        << "UTF-8 stays";
    EXPECT_EQ(terminalSafe("Caf\xE9 \x80"), "Caf\xC3\xA9 \xE2\x82\xAC") << "else Windows-1252";
    // An escape sequence from a page must not retitle the terminal or clear it.
    EXPECT_EQ(terminalSafe("a\x1B]0;owned\x07\tb\r\n\x7F"),
              "a\\x1B]0;owned\\x07\tb\\x0D\\x0A\\x7F");
    EXPECT_EQ(terminalSafe("c1 \xC2\x9B"), "c1 \\x9B") << "C1 controls as well";
    EXPECT_EQ(terminalSafe("\x81"), "\\x81") << "a byte Windows-1252 leaves unassigned";
}

} // namespace
} // namespace zob
