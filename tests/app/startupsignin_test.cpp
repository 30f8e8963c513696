#include "app/appcontext.h"
#include "app/startupsignin.h"
#include "demosite/demosite.h"
#include "platform/scriptedprompt.h"
#include "testsupport/filetesting.h"
#include "testsupport/loopback.h"
#include "testsupport/sitesession.h"

#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zob {
namespace {

using Kind = ScriptedPrompt::Kind;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class StartupSignIn : public testing::DemoSiteSuite {
protected:
    void SetUp() override { site().clearRequests(); }

    std::filesystem::path iniPath() const { return folder_.path() / "ZObrowser.ini"; }

    void writeIni(const std::string& user, const std::string& extra = "",
                  const std::string& host = "") {
        std::ofstream out(iniPath(), std::ios::binary);
        out << "[user]\n"
            << user << "[env]\nlocal=" << (folder_.path() / "Zel-Ora").string() << "\n"
            << extra << "[debug]\ndbgHost=" << (host.empty() ? site().baseUrl() : host) << "\n";
    }

    StartupOutcome run() {
        AppContext context(iniPath(), prompt_);
        StartupDialogs dialogs;
        dialogs.showConfigDialog = [this] { ++configDialogs_; };
        dialogs.askPassword = [this] { return typedPassword_; };
        StartupOutcome outcome = decideModeAndSignIn(context, dialogs);
        offline_ = context.offlineMode;
        clientPassword_ = context.defaultHttp.requestSettings().password;
        settingPassword_ = context.configInfo.password;
        return outcome;
    }

    ScratchFolder folder_;
    ScriptedPrompt prompt_;
    int configDialogs_ = 0;
    std::optional<std::string> typedPassword_;
    bool offline_ = false;
    std::string clientPassword_, settingPassword_;
};

TEST_F(StartupSignIn, SignsInOnlineWithTheSettings) {
    writeIni("login=demo\npassword=demo\n");
    const StartupOutcome outcome = run();
    EXPECT_EQ(outcome.mode, StartMode::online);
    EXPECT_EQ(outcome.signInResult, fetchOk);
    EXPECT_FALSE(offline_);
    EXPECT_THAT(prompt_.shown(), IsEmpty());
    const auto requests = site().requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, "/members/home.html");
    EXPECT_TRUE(requests[0].authorized);
}

TEST_F(StartupSignIn, OfflineSettingFetchesNothing) {
    writeIni("login=demo\npassword=demo\n", "offline=1\n");
    const StartupOutcome outcome = run();
    EXPECT_EQ(outcome.mode, StartMode::offline);
    EXPECT_FALSE(outcome.signInResult.has_value());
    EXPECT_TRUE(offline_);
    EXPECT_THAT(prompt_.shown(), IsEmpty());
    EXPECT_THAT(site().requests(), IsEmpty());
}

TEST_F(StartupSignIn, FirstRunAsksForTheAccountAndEnds) {
    const StartupOutcome outcome = run();
    EXPECT_EQ(outcome.mode, StartMode::aborted);
    EXPECT_EQ(configDialogs_, 1);
    EXPECT_THAT(
        prompt_.shown(),
        ElementsAre(ScriptedPrompt::Shown{
            Kind::Message, "authentication",
            "Enter your zel-ora ID/Password\n then restart this program again", PromptAnswer::Ok}));
    EXPECT_FALSE(std::filesystem::exists(iniPath()));
}

TEST_F(StartupSignIn, EmptyLoginRunsOffline) {
    writeIni("login=\n");
    const StartupOutcome outcome = run();
    EXPECT_EQ(outcome.mode, StartMode::offline);
    EXPECT_THAT(prompt_.shown(), ElementsAre(ScriptedPrompt::Shown{
                                     Kind::Message, "information",
                                     "account/password is not defined.\n Turn into offline mode",
                                     PromptAnswer::Ok}));
    EXPECT_THAT(site().requests(), IsEmpty());
}

TEST_F(StartupSignIn, TypedPasswordServesThisRunOnly) {
    writeIni("login=demo\n");
    typedPassword_ = "demo";
    const StartupOutcome outcome = run();
    EXPECT_EQ(outcome.mode, StartMode::online);
    EXPECT_EQ(outcome.signInResult, fetchOk);
    EXPECT_EQ(clientPassword_, "demo");
    EXPECT_EQ(settingPassword_, "");
}

TEST_F(StartupSignIn, CancelledOrEmptyPasswordRunsOffline) {
    for (const std::optional<std::string>& typed :
         {std::optional<std::string>{}, std::optional<std::string>{""}}) {
        prompt_.clear();
        writeIni("login=demo\n");
        typedPassword_ = typed;
        const StartupOutcome outcome = run();
        EXPECT_EQ(outcome.mode, StartMode::offline);
        EXPECT_THAT(prompt_.shown(),
                    ElementsAre(ScriptedPrompt::Shown{
                        Kind::Message, "information",
                        "password is not defined.\n Turn into offline mode", PromptAnswer::Ok}));
    }
    EXPECT_THAT(site().requests(), IsEmpty());
}

TEST_F(StartupSignIn, RefusedLoginShowsTheConfigurationAndEnds) {
    writeIni("login=demo\npassword=wrong\n");
    const StartupOutcome outcome = run();
    EXPECT_EQ(outcome.mode, StartMode::aborted);
    EXPECT_EQ(outcome.signInResult, fetchUnauthorized);
    EXPECT_EQ(configDialogs_, 1);
    EXPECT_THAT(prompt_.shown(), ElementsAre(ScriptedPrompt::Shown{
                                     Kind::Message, "",
                                     "Your ID/Pasword pair will not correct.\nplease check config",
                                     PromptAnswer::Ok}));
}

TEST_F(StartupSignIn, UnreachableSiteFollowsTheUsersChoice) {
    const std::string host = "http://127.0.0.1:" + std::to_string(unusedLoopbackPort());
    writeIni("login=demo\npassword=demo\n", "", host);

    prompt_.script({PromptAnswer::Cancel});
    StartupOutcome outcome = run();
    EXPECT_EQ(outcome.mode, StartMode::aborted);
    EXPECT_EQ(outcome.signInResult, fetchTerminate);

    prompt_.clear();
    prompt_.script({PromptAnswer::No});
    outcome = run();
    EXPECT_EQ(outcome.mode, StartMode::offline);
    EXPECT_EQ(outcome.signInResult, fetchGoOffline);
    EXPECT_TRUE(offline_);
    EXPECT_EQ(prompt_.shown().size(), 2u);
}

TEST_F(StartupSignIn, OtherFailuresStayOnline) {
    writeIni("login=demo\npassword=demo\n");
    demosite::Faults faults;
    faults.fixedAnswers["/members/home.html"] = {404, ""};
    site().setFaults(faults);
    const StartupOutcome outcome = run();
    site().setFaults({});
    EXPECT_EQ(outcome.mode, StartMode::online);
    EXPECT_EQ(outcome.signInResult, fetchNotFound);
}

} // namespace
} // namespace zob
