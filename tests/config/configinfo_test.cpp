#include "config/configinfo.h"
#include "testsupport/filetesting.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <system_error>

namespace {

using std::filesystem::perms;
using zob::configInfoClass;

// Points HOME somewhere known for the test's lifetime, so the default local folder
// is predictable; restores the caller's value afterwards.
class HomeOverride {
public:
    explicit HomeOverride(const char* value) {
        if (const char* old = std::getenv("HOME")) {
            previous_ = old;
        }
        if (value != nullptr) {
            ::setenv("HOME", value, 1);
        } else {
            ::unsetenv("HOME");
        }
    }
    HomeOverride(const HomeOverride&) = delete;
    HomeOverride& operator=(const HomeOverride&) = delete;
    ~HomeOverride() {
        if (previous_) {
            ::setenv("HOME", previous_->c_str(), 1);
        } else {
            ::unsetenv("HOME");
        }
    }

private:
    std::optional<std::string> previous_;
};

class ConfigInfoTest : public testing::Test {
protected:
    std::filesystem::path ini() const { return folder / "ZObrowser.ini"; }

    configInfoClass loadFrom(std::string_view bytes) {
        writeBytes(ini(), bytes);
        return configInfoClass(ini());
    }

    ScratchFolder folder;
    HomeOverride home{"/home/member"};
};

// What a save of untouched defaults adds for the four always-written sections.
const std::string defaultUserSection = "[user]\nlogin=\npassword=\n";
const std::string defaultProxySection = "[proxy]\nuseProxy=0\nserver=\nport=\n";
const std::string defaultEnvKeys = "local=/home/member/Zel-Ora\nviewerCmd=\nviewerParam=%f\n";
const std::string defaultEnvTail = "resolution=2\nhistoryCount=16\n";
const std::string defaultWindowSection = "[window]\nmainWidth=590\nmainHeight=730\nmainX=-1\n"
                                         "mainY=-1\nsideWidth=525\nsideHeight=790\nsideX=-1\n"
                                         "sideY=-1\n";

TEST_F(ConfigInfoTest, FirstRunHasDefaultsAndSaveCreatesAPrivateFile) {
    const configInfoClass config(ini());

    EXPECT_TRUE(config.iniFileMissing());
    EXPECT_EQ(config, configInfoClass::defaults(ini()));
    // The key table itself shows in the bytes of the saved file below.

    config.saveToIni();

    EXPECT_FALSE(config.iniFileMissing());
    EXPECT_EQ(readBytes(ini()), defaultUserSection + defaultProxySection + "[env]\n" +
                                    defaultEnvKeys + defaultEnvTail + defaultWindowSection);
    EXPECT_EQ(permissionsOf(ini()), perms::owner_read | perms::owner_write);
    EXPECT_EQ(configInfoClass(ini()), config);
}

TEST_F(ConfigInfoTest, LocalFolderFallsBackToTheCurrentFolderWithoutHome) {
    const HomeOverride noHome(nullptr);
    EXPECT_EQ(configInfoClass(ini()).local, (std::filesystem::current_path() / "Zel-Ora").string());
}

TEST_F(ConfigInfoTest, ReadsEveryKeyFromItsSection) {
    const configInfoClass config = loadFrom("[user]\nlogin=member01\npassword=p@ss=word\n"
                                            "[proxy]\nuseProxy=1\nserver=proxy.lan\nport=3128\n"
                                            "[env]\nlocal=/data/zo\nviewerCmd=/usr/bin/feh\n"
                                            "viewerParam=-F %f\noffline=1\nresolution=0\n"
                                            "historyCount=30\n"
                                            "[window]\nmainWidth=800\nmainHeight=600\nmainX=10\n"
                                            "mainY=20\nsideWidth=300\nsideHeight=400\nsideX=30\n"
                                            "sideY=40\n"
                                            "[debug]\ndbgHost=http://127.0.0.1:8080\nnoSplash=1\n"
                                            "htmlToFile=out.html\nsrchHist=3\ndbgMemo=1\n"
                                            "dbgWait=250\ndbgNoImg=1\n");

    EXPECT_FALSE(config.iniFileMissing());
    EXPECT_EQ(config.login, "member01");
    EXPECT_EQ(config.password, "p@ss=word");
    EXPECT_TRUE(config.useProxy);
    EXPECT_EQ(config.server, "proxy.lan");
    EXPECT_EQ(config.port, "3128");
    EXPECT_EQ(config.local, "/data/zo");
    EXPECT_EQ(config.viewerCmd, "/usr/bin/feh");
    EXPECT_EQ(config.viewerParam, "-F %f");
    EXPECT_TRUE(config.offline);
    EXPECT_EQ(config.resolution, 0);
    EXPECT_EQ(config.historyCount, 30);
    EXPECT_EQ(config.mainWidth, 800);
    EXPECT_EQ(config.mainHeight, 600);
    EXPECT_EQ(config.mainX, 10);
    EXPECT_EQ(config.mainY, 20);
    EXPECT_EQ(config.sideWidth, 300);
    EXPECT_EQ(config.sideHeight, 400);
    EXPECT_EQ(config.sideX, 30);
    EXPECT_EQ(config.sideY, 40);
    EXPECT_EQ(config.dbgHost, "http://127.0.0.1:8080");
    EXPECT_TRUE(config.noSplash);
    EXPECT_EQ(config.htmlToFile, "out.html");
    EXPECT_EQ(config.srchHist, 3);
    EXPECT_EQ(config.dbgMemo, 1);
    EXPECT_EQ(config.dbgWait, 250);
    EXPECT_TRUE(config.dbgNoImg);
}

TEST_F(ConfigInfoTest, NumbersAreReadLeniently) {
    const configInfoClass config = loadFrom("[ENV]\n"
                                            " Resolution = 258 \n"
                                            "HISTORYCOUNT=many\n"
                                            "offline=2\n"
                                            "[Window]\n"
                                            "mainX=0x10\n"
                                            "mainY=-0X0a\n"
                                            "mainWidth=1024px\n"
                                            "mainHeight=\n"
                                            "[proxy]\n"
                                            "useProxy=yes\n"
                                            "[debug]\n"
                                            "noSplash=0\n"
                                            "dbgNoImg=0x1\n");

    EXPECT_EQ(config.resolution, 2) << "only the low 8 bits are kept";
    EXPECT_EQ(config.historyCount, 16) << "a non-number yields the default";
    EXPECT_TRUE(config.offline) << "any non-zero value is true";
    EXPECT_EQ(config.mainX, 16);
    EXPECT_EQ(config.mainY, -10);
    EXPECT_EQ(config.mainWidth, 1024);
    EXPECT_EQ(config.mainHeight, 730);
    EXPECT_FALSE(config.useProxy);
    EXPECT_FALSE(config.noSplash);
    EXPECT_TRUE(config.dbgNoImg);
}

TEST_F(ConfigInfoTest, OfflineOnlyFileStartsOfflineAndSaveAddsTheAlwaysWrittenKeys) {
    const configInfoClass config = loadFrom("[env]\noffline=1\n");

    configInfoClass expected = configInfoClass::defaults(ini());
    expected.offline = true;
    EXPECT_EQ(config, expected);

    config.saveToIni();
    EXPECT_EQ(readBytes(ini()), "[env]\noffline=1\n" + defaultEnvKeys + defaultEnvTail +
                                    defaultUserSection + defaultProxySection +
                                    defaultWindowSection);
}

TEST_F(ConfigInfoTest, SaveKeepsWhatItDoesNotKnowAndFollowsTheOfflineAndDebugRules) {
    configInfoClass config = loadFrom("; settings of my browser\n"
                                      "[USER]\n"
                                      "Login = someone\n"
                                      "password=old\n"
                                      "nickname=Zed\n"
                                      "\n"
                                      "[plugins]\n"
                                      "Foo=Bar\n"
                                      "[env]\n"
                                      "offline=0\n"
                                      "local=/srv/zo\n"
                                      "; resolution: 0 high .. 3 thumbnails\n"
                                      "resolution=1\n"
                                      "[debug]\n"
                                      "noSplash=0\n"
                                      "srchHist=8\n"
                                      "dbgMemo=5\n"
                                      "[proxy]\n"
                                      "useProxy=0\n");
    config.password = "new";
    config.dbgMemo = 0;
    config.mainX = 123;

    config.saveToIni();

    EXPECT_EQ(readBytes(ini()), "; settings of my browser\n"
                                "[USER]\n"
                                "Login=someone\n"
                                "password=new\n"
                                "nickname=Zed\n"
                                "\n"
                                "[plugins]\n"
                                "Foo=Bar\n"
                                "[env]\n"
                                "local=/srv/zo\n"
                                "; resolution: 0 high .. 3 thumbnails\n"
                                "resolution=1\n"
                                "viewerCmd=\n"
                                "viewerParam=%f\n"
                                "historyCount=16\n"
                                "[debug]\n"
                                "noSplash=0\n"
                                "srchHist=8\n"
                                "dbgMemo=5\n"
                                "[proxy]\n"
                                "useProxy=0\n"
                                "server=\n"
                                "port=\n"
                                "[window]\n"
                                "mainWidth=590\n"
                                "mainHeight=730\n"
                                "mainX=123\n"
                                "mainY=-1\n"
                                "sideWidth=525\n"
                                "sideHeight=790\n"
                                "sideX=-1\n"
                                "sideY=-1\n");
}

TEST_F(ConfigInfoTest, DebugKeysAreWrittenWhenSwitchedOn) {
    writeBytes(ini(), "[debug]\nnoSplash = 1\nsrchHist=8\n");
    configInfoClass config(ini());
    ASSERT_TRUE(config.noSplash);
    config.saveToIni();
    EXPECT_EQ(readBytes(ini()), "[debug]\nnoSplash=1\nsrchHist=8\n" + defaultUserSection +
                                    defaultProxySection + "[env]\n" + defaultEnvKeys +
                                    defaultEnvTail + defaultWindowSection);

    std::filesystem::remove(ini());
    config = configInfoClass(ini());
    config.dbgHost = "http://127.0.0.1:9";
    config.noSplash = true;
    config.htmlToFile = "page.html";
    config.srchHist = 0;
    config.dbgMemo = 1;
    config.dbgWait = -5;
    config.dbgNoImg = true;
    config.saveToIni();
    EXPECT_EQ(readBytes(ini()), defaultUserSection + defaultProxySection + "[env]\n" +
                                    defaultEnvKeys + defaultEnvTail + defaultWindowSection +
                                    "[debug]\ndbgHost=http://127.0.0.1:9\nnoSplash=1\n"
                                    "htmlToFile=page.html\nsrchHist=0\ndbgMemo=1\n"
                                    "dbgWait=-5\ndbgNoImg=1\n");
    EXPECT_EQ(configInfoClass(ini()), config);
}

TEST_F(ConfigInfoTest, CrLfFileStaysCrLf) {
    configInfoClass config = loadFrom("[user]\r\nlogin=me\r\n; note\r\n[env]\r\noffline=1\r\n");
    config.offline = false;
    config.login = "you";
    config.saveToIni();

    const std::string written = readBytes(ini());
    EXPECT_EQ(written.find("[user]\r\nlogin=you\r\npassword=\r\n; note\r\n[env]\r\nlocal="), 0u)
        << written;
    std::size_t bareLf = 0;
    for (std::size_t i = 0; i < written.size(); ++i) {
        bareLf += written[i] == '\n' && (i == 0 || written[i - 1] != '\r');
    }
    EXPECT_EQ(bareLf, 0u) << written;
    EXPECT_EQ(written.find("offline"), std::string::npos);
}

TEST_F(ConfigInfoTest, FailedSaveNamesTheFileAndKeepsTheOldOne) {
    const std::string original = "[user]\nlogin=keep\n";
    configInfoClass config = loadFrom(original);
    config.login = "lost";
    {
        const FileSizeLimit diskFull(original.size());
        try {
            config.saveToIni();
            FAIL() << "expected an error";
        } catch (const std::system_error& error) {
            EXPECT_NE(std::string(error.what()).find(ini().string()), std::string::npos)
                << error.what();
        }
    }
    EXPECT_EQ(readBytes(ini()), original);
    EXPECT_EQ(folder.entryCount(), 1u);

    const configInfoClass nowhere(folder / "missing-folder" / "ZObrowser.ini");
    EXPECT_TRUE(nowhere.iniFileMissing());
    EXPECT_THROW(nowhere.saveToIni(), std::system_error);
}

TEST_F(ConfigInfoTest, UnreadableSettingsAreNotMistakenForAFirstRun) {
    std::filesystem::create_directory(ini());
    EXPECT_THROW(configInfoClass{ini()}, std::system_error);
}

} // namespace
