#include "site/fetchsink.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

using zob::FileSink;
using zob::MemorySink;

using File = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

std::string wholeFile(std::FILE* file) {
    std::rewind(file);
    std::string contents(4096, '\0');
    contents.resize(std::fread(contents.data(), 1, contents.size(), file));
    return contents;
}

TEST(MemorySink, AppendsAfterExistingTextAndCutsBackToAMark) {
    std::string text = "head|";
    MemorySink sink(text);
    const auto start = sink.mark();
    ASSERT_TRUE(sink.append("first"));
    ASSERT_TRUE(sink.append(std::string_view("\0x", 2)));
    EXPECT_EQ(text, std::string("head|first\0x", 12));

    ASSERT_TRUE(sink.truncateTo(start));
    EXPECT_EQ(text, "head|");
    ASSERT_TRUE(sink.append("second"));
    EXPECT_EQ(text, "head|second");
    EXPECT_FALSE(sink.truncateTo(start + 100)) << "a mark past the end cannot be a real one";
}

TEST(FileSink, WritesAtTheCurrentPositionAndTruncatesThere) {
    File file(std::tmpfile(), &std::fclose);
    ASSERT_TRUE(file);
    std::fputs("0123456789", file.get());
    std::fseek(file.get(), 4, SEEK_SET); // a caller that deliberately writes over a tail

    FileSink sink(file.get());
    const auto start = sink.mark();
    EXPECT_EQ(start, 4u);
    ASSERT_TRUE(sink.append("ab"));
    ASSERT_TRUE(sink.flush());
    EXPECT_EQ(wholeFile(file.get()), "0123ab6789");

    std::fseek(file.get(), 6, SEEK_SET);
    ASSERT_TRUE(sink.append("partial answer"));
    ASSERT_TRUE(sink.truncateTo(start));
    ASSERT_TRUE(sink.append("final"));
    ASSERT_TRUE(sink.flush());
    EXPECT_EQ(wholeFile(file.get()), "0123final");
}

TEST(FileSink, ReportsAFileItCannotWrite) {
    File readOnly(std::fopen("/dev/null", "r"), &std::fclose);
    ASSERT_TRUE(readOnly);
    FileSink sink(readOnly.get());
    EXPECT_FALSE(sink.append("bytes") && sink.flush());
}

} // namespace
