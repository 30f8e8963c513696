#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zob {

// A sectioned key=value settings file ("[section]" lines followed by "key=value" lines),
// read and edited the way the classic private-profile calls do it:
//
// - section names and keys match without regard to ASCII case; the first matching
//   section, and the first matching key in it, is the one read and written;
// - blanks around section names, keys and values are ignored when reading, and a value
//   read is cut to maxValueLength characters;
// - lines starting with ';' or '#' are comments, as are lines before the first section.
//
// Edits work on the text itself, so that everything the program does not know about
// survives: a key already present is rewritten on its own line (keeping its spelling
// and line ending), a new key goes after the last key of its section, a new section at
// the end of the file. Every other byte stays as it was. Nothing reaches the disk until
// commit(), which replaces the file in one atomic step.
class ProfileFile {
public:
    static constexpr std::size_t maxValueLength = 2047;

    // Reads the whole file; a file that does not exist reads as empty. Throws
    // std::system_error naming the file when it exists but cannot be read: saving over a
    // file we could not read would lose what is in it.
    explicit ProfileFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // Decimal with an optional sign, or hexadecimal after "0x"/"0X"; the leading digits
    // count ("12abc" is 12). A value without any digit yields the default, as does a
    // missing key. Values beyond 32 bits wrap around.
    std::int32_t readInt(std::string_view section, std::string_view key,
                         std::int32_t defaultValue) const;

    // CR and LF cannot be stored in a one-line value, so they are dropped from all three
    // arguments.
    void writeString(std::string_view section, std::string_view key, std::string_view value);

    // Removes every line of the key; nothing happens when the key is not there.
    void deleteKey(std::string_view section, std::string_view key);

    // The bytes commit() writes.
    std::string text() const;

    // Replaces the file atomically with text(); the file is left readable and
    // writable by its owner only, even when it was made wider by hand, since
    // settings may hold a password. Throws
    // std::system_error naming the file on failure, leaving the old file intact.
    void commit() const;

private:
    struct Line {
        std::string content; // without its line ending
        std::string ending;  // "\r\n", "\n", or empty for a last line without one
    };

    // Index range [header, end) of one section: its "[name]" line and the lines up to the
    // next section header or the end of the file.
    struct SectionSpan {
        std::size_t header;
        std::size_t end;
    };

    std::optional<SectionSpan> findSection(std::string_view section) const;
    std::optional<std::size_t> findKey(const SectionSpan& span, std::string_view key) const;
    std::string newLineEnding() const;
    void appendLine(std::string content);
    void insertLine(std::size_t index, std::string content);

    std::filesystem::path path_;
    std::vector<Line> lines_;
};

} // namespace zob
