// Any bytes as a settings file, plus a section, a key and a value to set:
// reading never crashes, an unedited file is written back byte for byte, a
// value set reads back as the reading rules give it (blanks around it
// dropped, line breaks dropped, cut to the longest value read), also after
// the edited text is written and read again, and setting it leaves another
// key's value alone.

#include "platform/profilefile.h"

#include "fuzzsupport.h"

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <string_view>

namespace {

using namespace zob;

// Sections and keys are the program's own names: letters, digits and a few
// marks, with blanks that the matching ignores and letter case that it folds.
// Other bytes become '_', so that names from a seed still match its file.
std::string nameFrom(std::string_view bytes) {
    std::string name;
    for (const char c : bytes) {
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '.' || c == ' ' || c == '\t';
        name += kept ? c : '_';
    }
    return name;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string lowerTrimmed(std::string_view text) {
    std::string lower = trimmed(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

std::string expectedValue(std::string_view value) {
    std::string kept;
    for (const char c : value) {
        if (c != '\r' && c != '\n') {
            kept += c;
        }
    }
    return trimmed(kept).substr(0, ProfileFile::maxValueLength);
}

void expectValue(const ProfileFile& profile, const std::string& section, const std::string& key,
                 const std::string& expected, const char* when) {
    // No value this test makes holds a byte 0x01: the default shows a missing key.
    const std::string read = profile.readString(section, key, "\x01");
    if (read != expected) {
        fuzz::fail(std::string(when) + ": [" + section + "] " + key + " reads \"" + read +
                   "\", not \"" + expected + "\"");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = nameFrom(input.ConsumeRandomLengthString(16));
    const std::string key = nameFrom(input.ConsumeRandomLengthString(16));
    const std::string otherSection = nameFrom(input.ConsumeRandomLengthString(16));
    const std::string otherKey = nameFrom(input.ConsumeRandomLengthString(16));
    std::string value = input.ConsumeRandomLengthString(4096);
    std::erase(value, '\x01');
    const std::string file = input.ConsumeRemainingBytesAsString();

    const std::filesystem::path path = fuzz::scratchFolder() / "fuzz.ini";
    fuzz::writeFile(path, file);
    ProfileFile profile(path);
    if (profile.text() != file) {
        fuzz::fail("an unedited file is not written back as it was");
    }
    profile.readInt(section, key, 0);
    const bool sameKey = lowerTrimmed(section) == lowerTrimmed(otherSection) &&
                         lowerTrimmed(key) == lowerTrimmed(otherKey);
    const std::string other = profile.readString(otherSection, otherKey, "\x01");

    profile.writeString(section, key, value);
    const std::string expected = expectedValue(value);
    expectValue(profile, section, key, expected, "after setting");
    if (!sameKey) {
        expectValue(profile, otherSection, otherKey, other, "another key after setting");
    }

    fuzz::writeFile(path, profile.text());
    const ProfileFile reread(path);
    expectValue(reread, section, key, expected, "read again");
    if (reread.text() != profile.text()) {
        fuzz::fail("the edited file is not written back as it was");
    }
    return 0;
}
