#include "platform/profilefile.h"
#include "testsupport/filetesting.h"

#include <gtest/gtest.h>
#include <string>
#include <system_error>

namespace {

using std::filesystem::perms;
using zob::ProfileFile;

class ProfileFileTest : public testing::Test {
protected:
    ProfileFile fileWith(std::string_view bytes) {
        writeBytes(path(), bytes);
        return ProfileFile(path());
    }
    std::filesystem::path path() const { return folder / "test.ini"; }

    ScratchFolder folder;
};

TEST_F(ProfileFileTest, ReadingMatchesCaseInsensitivelyAndIgnoresBlanks) {
    const ProfileFile ini = fileWith("; leading comment\n"
                                     "orphan=before any section\n"
                                     "  [ Env ]  trailing text\n"
                                     "\tLocal\t =  /home/x/Zel Ora  \r\n"
                                     "empty=\n"
                                     ";viewerCmd=commented out\n"
                                     "no equals sign here\n"
                                     "[user]\n"
                                     "login=first\n"
                                     "LOGIN=second\n"
                                     "[USER]\n"
                                     "password=in a duplicate section\n");

    EXPECT_EQ(ini.readString("env", "local", "dflt"), "/home/x/Zel Ora");
    EXPECT_EQ(ini.readString("ENV", "LOCAL", "dflt"), "/home/x/Zel Ora");
    EXPECT_EQ(ini.readString("env", "empty", "dflt"), "");
    EXPECT_EQ(ini.readString("env", "viewerCmd", "dflt"), "dflt");
    EXPECT_EQ(ini.readString("env", "orphan", "dflt"), "dflt");
    EXPECT_EQ(ini.readString("env", "no equals sign here", "dflt"), "dflt");
    EXPECT_EQ(ini.readString("user", "login", "dflt"), "first");
    // Only the first section of a name is looked at.
    EXPECT_EQ(ini.readString("user", "password", "dflt"), "dflt");
    EXPECT_EQ(ini.readString("proxy", "server", "dflt"), "dflt");
}

TEST_F(ProfileFileTest, MissingFileReadsAsEmpty) {
    const ProfileFile ini(folder / "absent.ini");
    EXPECT_EQ(ini.readString("user", "login", "dflt"), "dflt");
    EXPECT_EQ(ini.readInt("env", "resolution", 7), 7);
    EXPECT_EQ(ini.text(), "");
}

TEST_F(ProfileFileTest, UnreadableFileIsAnErrorNotAnEmptyFile) {
    std::filesystem::create_directory(path());
    EXPECT_THROW(ProfileFile{path()}, std::system_error);
}

TEST_F(ProfileFileTest, LongValuesAreCutOnReading) {
    const std::string exact(2047, 'a');
    const std::string longer = std::string(2047, 'b') + "12345";
    const ProfileFile ini = fileWith("[s]\nexact=" + exact + "\nlonger=" + longer + "\n");

    EXPECT_EQ(ini.readString("s", "exact", ""), exact);
    EXPECT_EQ(ini.readString("s", "longer", ""), std::string(2047, 'b'));
    // The cut applies to numbers too: the digits past the limit are never seen.
    const ProfileFile numbers = fileWith("[s]\nn=" + std::string(2046, '0') + "12\n");
    EXPECT_EQ(numbers.readInt("s", "n", -5), 1);
}

TEST_F(ProfileFileTest, ReadIntFollowsThePrivateProfileRules) {
    const ProfileFile ini = fileWith("[n]\n"
                                     "plain=42\n"
                                     "negative=-1\n"
                                     "plus=+7\n"
                                     "hex=0x10\n"
                                     "hexUpper=0XfF\n"
                                     "negHex=-0x10\n"
                                     "trailing=12abc\n"
                                     "padded=   305   \n"
                                     "word=abc\n"
                                     "empty=\n"
                                     "sign=-\n"
                                     "bareHexPrefix=0xg\n"
                                     "blankAfterSign=- 5\n"
                                     "wraps=4294967297\n");
    struct Case {
        const char* key;
        std::int32_t expected;
    };
    for (const Case& c :
         {Case{"plain", 42}, Case{"negative", -1}, Case{"plus", 7}, Case{"hex", 16},
          Case{"hexUpper", 255}, Case{"negHex", -16}, Case{"trailing", 12}, Case{"padded", 305},
          Case{"word", 99}, Case{"empty", 99}, Case{"sign", 99}, Case{"bareHexPrefix", 0},
          Case{"blankAfterSign", 99}, Case{"wraps", 1}, Case{"missing", 99}}) {
        EXPECT_EQ(ini.readInt("n", c.key, 99), c.expected) << c.key;
    }
    EXPECT_EQ(ini.readInt("nowhere", "plain", 99), 99);
}

TEST_F(ProfileFileTest, EditsTouchOnlyTheLinesConcerned) {
    ProfileFile ini = fileWith("; my settings\n"
                               "[User]\n"
                               "  LOGIN = old\n"
                               "custom=keep me\n"
                               "\n"
                               "; about env\n"
                               "[env]\n"
                               "offline=1\n"
                               "local=/x\n"
                               "OFFLINE=1\n"
                               "[mine]\n"
                               "x = y \n");

    ini.writeString("user", "login", "new");
    ini.writeString("user", "password", "secret");
    ini.deleteKey("ENV", "Offline");
    ini.deleteKey("env", "notThere");
    ini.deleteKey("nowhere", "offline");
    ini.writeString("window", "mainX", "-1");
    ini.writeString("Window", "mainY", "5");

    EXPECT_EQ(ini.text(), "; my settings\n"
                          "[User]\n"
                          "LOGIN=new\n"
                          "custom=keep me\n"
                          "password=secret\n"
                          "\n"
                          "; about env\n"
                          "[env]\n"
                          "local=/x\n"
                          "[mine]\n"
                          "x = y \n"
                          "[window]\n"
                          "mainX=-1\n"
                          "mainY=5\n");
    EXPECT_EQ(ini.readString("user", "login", ""), "new");
    EXPECT_EQ(ini.readString("window", "mainy", ""), "5");
}

TEST_F(ProfileFileTest, KeyAddedToASectionWithoutKeysFollowsItsHeader) {
    ProfileFile ini = fileWith("[proxy]\n; nothing yet\n[env]\n");
    ini.writeString("proxy", "port", "8080");
    ini.writeString("env", "local", "/y");
    EXPECT_EQ(ini.text(), "[proxy]\nport=8080\n; nothing yet\n[env]\nlocal=/y\n");
}

TEST_F(ProfileFileTest, LineEndingsAreKeptAndNewLinesFollowTheFile) {
    ProfileFile ini = fileWith("[user]\r\nlogin=a\r\nmixed=lf\n[env]\r\nlast=no newline");
    ini.writeString("user", "login", "b");
    ini.writeString("user", "mixed", "still lf");
    ini.writeString("env", "added", "1");
    ini.writeString("debug", "dbgHost", "http://127.0.0.1:1");

    EXPECT_EQ(ini.text(), "[user]\r\nlogin=b\r\nmixed=still lf\n[env]\r\nlast=no newline\r\n"
                          "added=1\r\n[debug]\r\ndbgHost=http://127.0.0.1:1\r\n");
}

TEST_F(ProfileFileTest, UnterminatedLastLineGetsAnEndingOnlyWhenSomethingFollows) {
    ProfileFile untouched = fileWith("[a]\nk=v");
    untouched.writeString("a", "k", "w");
    EXPECT_EQ(untouched.text(), "[a]\nk=w");

    ProfileFile appended = fileWith("[a]\nk=v");
    appended.writeString("b", "k", "w");
    EXPECT_EQ(appended.text(), "[a]\nk=v\n[b]\nk=w\n");
}

TEST_F(ProfileFileTest, LineBreaksInValuesAreDropped) {
    ProfileFile ini(folder / "new.ini");
    ini.writeString("user", "password", "pa\r\nss\nword\r");
    EXPECT_EQ(ini.text(), "[user]\npassword=password\n");
    EXPECT_EQ(ini.readString("user", "password", ""), "password");
}

TEST_F(ProfileFileTest, CommitAlwaysLeavesAPrivateFile) {
    ProfileFile fresh(folder / "fresh.ini");
    fresh.writeString("user", "login", "me");
    EXPECT_FALSE(std::filesystem::exists(folder / "fresh.ini")) << "nothing written before commit";
    fresh.commit();
    EXPECT_EQ(readBytes(folder / "fresh.ini"), "[user]\nlogin=me\n");
    EXPECT_EQ(permissionsOf(folder / "fresh.ini"), perms::owner_read | perms::owner_write);

    ProfileFile existing = fileWith("[user]\nlogin=a\n");
    std::filesystem::permissions(path(),
                                 perms::owner_read | perms::owner_write | perms::group_read);
    existing.writeString("user", "login", "b");
    existing.commit();
    EXPECT_EQ(readBytes(path()), "[user]\nlogin=b\n");
    // A file made by hand with wider bits must not keep them once it holds a password.
    EXPECT_EQ(permissionsOf(path()), perms::owner_read | perms::owner_write);
    EXPECT_EQ(ProfileFile(path()).readString("USER", "Login", ""), "b");
}

} // namespace
