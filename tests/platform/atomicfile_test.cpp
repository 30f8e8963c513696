#include "platform/atomicfile.h"
#include "testsupport/filetesting.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <system_error>

namespace {

using std::filesystem::perms;
using zob::writeFileAtomically;

constexpr perms ownerOnly = perms::owner_read | perms::owner_write;

TEST(AtomicFile, NewFileGetsExactlyTheRequestedMode) {
    ScratchFolder folder;
    const auto settings = folder / "settings.ini";
    const auto shared = folder / "shared.txt";
    constexpr perms worldReadable =
        perms::owner_read | perms::owner_write | perms::group_read | perms::others_read;

    writeFileAtomically(settings, "a=1\n", ownerOnly);
    const mode_t previous = ::umask(0077);
    writeFileAtomically(shared, "x", worldReadable);
    ::umask(previous);

    EXPECT_EQ(readBytes(settings), "a=1\n");
    EXPECT_EQ(permissionsOf(settings), ownerOnly);
    EXPECT_EQ(permissionsOf(shared), worldReadable);
    EXPECT_EQ(folder.entryCount(), 2u) << "no temporary file may be left behind";
}

TEST(AtomicFile, NewFileWithoutModeFollowsUmask) {
    ScratchFolder folder;
    const mode_t previous = ::umask(0027);
    writeFileAtomically(folder / "plain.txt", "");
    ::umask(previous);

    EXPECT_EQ(readBytes(folder / "plain.txt"), "");
    EXPECT_EQ(permissionsOf(folder / "plain.txt"),
              perms::owner_read | perms::owner_write | perms::group_read);
}

TEST(AtomicFile, ReplacingKeepsTheExistingPermissionsNotTheNewFileMode) {
    ScratchFolder folder;
    const auto target = folder / "list.csv";
    writeBytes(target, "old contents that are longer than the new ones\n");
    std::filesystem::permissions(target,
                                 perms::owner_read | perms::owner_write | perms::group_read);

    writeFileAtomically(target, std::string("new\0bytes", 9), ownerOnly);

    EXPECT_EQ(readBytes(target), std::string("new\0bytes", 9));
    EXPECT_EQ(permissionsOf(target), perms::owner_read | perms::owner_write | perms::group_read);
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(AtomicFile, ReplacesAReadOnlyFile) {
    ScratchFolder folder;
    const auto target = folder / "frozen.txt";
    writeBytes(target, "before");
    std::filesystem::permissions(target, perms::owner_read);

    writeFileAtomically(target, "after");

    EXPECT_EQ(readBytes(target), "after");
    EXPECT_EQ(permissionsOf(target), perms::owner_read);
}

TEST(AtomicFile, WritesLargeContentsCompletely) {
    ScratchFolder folder;
    std::string big;
    for (int i = 0; i < 200000; ++i) {
        big += std::to_string(i) + ",";
    }
    writeFileAtomically(folder / "big.csv", big);
    EXPECT_EQ(readBytes(folder / "big.csv"), big);
}

TEST(AtomicFile, FailureNamesTheFileAndLeavesNoTrace) {
    ScratchFolder folder;

    // The folder does not exist: the temporary file cannot even be created.
    const auto missing = folder / "no-such-folder" / "settings.ini";
    try {
        writeFileAtomically(missing, "data");
        FAIL() << "expected an error";
    } catch (const std::system_error& error) {
        EXPECT_NE(std::string(error.what()).find(missing.string()), std::string::npos)
            << error.what();
    }

    // The target is a folder: everything succeeds up to the rename, which must then
    // clean up its temporary file and leave the folder alone.
    const auto occupied = folder / "occupied";
    std::filesystem::create_directory(occupied);
    writeBytes(occupied / "inside.txt", "keep");
    try {
        writeFileAtomically(occupied, "data");
        FAIL() << "expected an error";
    } catch (const std::system_error& error) {
        EXPECT_NE(std::string(error.what()).find(occupied.string()), std::string::npos)
            << error.what();
    }
    EXPECT_TRUE(std::filesystem::is_directory(occupied));
    EXPECT_EQ(readBytes(occupied / "inside.txt"), "keep");
    EXPECT_EQ(folder.entryCount(), 1u) << "the temporary file must be removed";
}

TEST(AtomicFile, FullDiskLeavesTheOldFileIntact) {
    ScratchFolder folder;
    const auto target = folder / "catalogue.csv";
    writeBytes(target, "version=100\nold line\n");

    {
        const FileSizeLimit diskFull(16);
        EXPECT_THROW(writeFileAtomically(target, std::string(4096, 'n')), std::system_error);
    }

    EXPECT_EQ(readBytes(target), "version=100\nold line\n");
    EXPECT_EQ(folder.entryCount(), 1u) << "the partial temporary file must be removed";
}

} // namespace
