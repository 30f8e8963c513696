#include "demosite/demosite.h"
#include "testsupport/filetesting.h"
#include "testsupport/loopback.h"
#include "testsupport/runprogram.h"
#include "testsupport/sitesession.h"

#include <gtest/gtest.h>

namespace zob {
namespace {

class ZobCheck : public testing::DemoSiteSuite {
protected:
    void writeIni(const std::string& text) {
        std::ofstream(folder_.path() / "ZObrowser.ini", std::ios::binary) << text;
    }
    std::string iniFor(const std::string& password, const std::string& host = "") const {
        return "[user]\nlogin=demo\npassword=" + password +
               "\n[env]\nlocal=" + (folder_.path() / "Zel-Ora").string() +
               "\n[debug]\ndbgHost=" + (host.empty() ? site().baseUrl() + "/" : host) + "\n";
    }

    ScratchFolder folder_;
};

TEST_F(ZobCheck, SignsInAgainstTheSite) {
    writeIni(iniFor("demo"));
    const std::string before = readBytes(folder_.path() / "ZObrowser.ini");
    const ProgramRun run = runInFolder(folder_.path(), zobProgram() + " check");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "online\tfetchOk\n");
    EXPECT_EQ(run.err, "");
    // The settings are only read.
    EXPECT_EQ(readBytes(folder_.path() / "ZObrowser.ini"), before);
}

TEST_F(ZobCheck, RefusedLoginEndsAborted) {
    writeIni(iniFor("wrong"));
    const ProgramRun run = runInFolder(folder_.path(), zobProgram() + " check");
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out, "aborted\tfetchUnauthorized\n");
    EXPECT_NE(run.err.find("Your ID/Pasword pair will not correct.\nplease check config"),
              std::string::npos)
        << run.err;
}

TEST_F(ZobCheck, FirstRunEndsAbortedWithoutWritingSettings) {
    const ProgramRun run = runInFolder(folder_.path(), zobProgram() + " check");
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out, "aborted\t-\n");
    EXPECT_EQ(run.err.rfind("authentication: Enter your zel-ora ID/Password\n then restart this "
                            "program again\n",
                            0),
              0u)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder_.path() / "ZObrowser.ini"));
}

TEST_F(ZobCheck, WithoutATerminalQuestionsAreCancelled) {
    writeIni(iniFor("demo", "http://127.0.0.1:" + std::to_string(unusedLoopbackPort())));
    ProgramRun run = runInFolder(folder_.path(), zobProgram() + " check");
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out, "aborted\tfetchTerminate\n");
    EXPECT_NE(run.err.find("cannot connect: Cannot connect to TCP/IP network. Retry ?\n"),
              std::string::npos)
        << run.err;

    writeIni("[user]\nlogin=demo\n[env]\nlocal=" + (folder_.path() / "Zel-Ora").string() +
             "\n[debug]\ndbgHost=" + site().baseUrl() + "\n");
    run = runInFolder(folder_.path(), zobProgram() + " check");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "offline\t-\n");
    EXPECT_NE(run.err.find("information: password is not defined.\n Turn into offline mode"),
              std::string::npos)
        << run.err;
}

TEST_F(ZobCheck, RejectsUnknownCommandsAndOptionsAndHelpsWithEach) {
    const auto zob = [this](const std::string& arguments) {
        return runInFolder(folder_.path(), zobProgram() + " " + arguments);
    };
    const ProgramRun unknown = zob("frobnicate");
    EXPECT_EQ(unknown.status, 64);
    EXPECT_NE(unknown.err.find("usage: zob"), std::string::npos);

    const ProgramRun option = zob("list --frobnicate month 2008/03");
    EXPECT_EQ(option.status, 64);
    EXPECT_NE(option.err.find("zob list: unknown option --frobnicate\n\nusage: zob list"),
              std::string::npos)
        << option.err;
    EXPECT_EQ(zob("list --month 2008/03 favorites").status, 64) << "list takes no --month";
    EXPECT_EQ(zob("download --month 2008 x").status, 64);

    // "--help" is a request for help wherever it stands, never a series name.
    for (const char* asking : {"download --help", "help download", "download x --help"}) {
        const ProgramRun help = zob(asking);
        EXPECT_EQ(help.status, 0) << asking;
        EXPECT_TRUE(help.out.starts_with("usage: zob download")) << asking << help.out;
    }
    EXPECT_EQ(zob("--version").out, "zob 1.0.0\n");
    EXPECT_EQ(zob("-- --version").status, 64) << "after --, words are no options";
}

} // namespace
} // namespace zob
